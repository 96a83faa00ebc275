#pragma once

#include "model/target.h"
#include "template_file/template_file.h"
#include "ui/toolkit/modal_host.h"
#include "ui/toolkit/window.h"

#include <QIcon>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The application icon in all its sizes (window, taskbar, About box).
QIcon AppIcon();

// The texts of the list's rows, one row per target in template order: path, style name,
// level name (empty for a value without a name).
std::vector<std::vector<std::string>> TargetRows(const permora::SecurityTemplate& tmpl);

// The main window: the template as a list of targets, with the commands that build,
// reorder, save and import it. The window owns the template and its targets.
class PermoraDlg : public tk::Dialog {
public:
    PermoraDlg();
    ~PermoraDlg() override;

    // The template the window shows (hides tk::Window::Template(), the dialog layout).
    permora::SecurityTemplate& Template() { return template_; }
    const permora::SecurityTemplate& Template() const { return template_; }

    // The file the saves write to: "Untitled" (in the working folder) until a file is
    // chosen.
    std::string CurrentPath = "Untitled";

    // Button handlers.
    void NewTemplate();
    void AddTarget();
    void EditTarget();
    void RemoveTargets();
    void Import();
    void SaveUtf8();
    void SaveUnicode();
    void SaveAs();
    void MoveTargetUp();
    void MoveTargetDown();
    void OnListKey(int key);

    // Files to import when the window opens, in order, each as if chosen with Import; with
    // exactly one file, CurrentPath becomes that file.
    void ImportAtStart(std::vector<std::string> files) { startFiles_ = std::move(files); }
    // Imports one file as Import does once the file is chosen.
    void ImportPath(const std::string& path);

    // Rebuilds the rows from the template and selects row 0.
    void RefreshList();
    // Enabling of Edit, Up, Dn and Remove from the list's selection.
    void UpdateButtons();

    // The file label: CurrentPath, marked with "*" when the template has unsaved changes.
    void ShowFileLabel(bool changed);
    // Whether the label shows "*".
    bool HasUnsavedChanges() const { return unsaved_; }
    // Enables or disables Save Unicode and Save UTF8 together.
    void EnableSaves(bool enable);
    // Enables or disables Edit, Up and Dn together.
    void EnableSelectionCommands(bool enable);

protected:
    void OnInitDialog() override;
    void OnSysCommand(int command) override;
    // Close, Escape and the close box: unsaved work goes to the recovery folder first.
    void OnCancel() override;

private:
    // Puts the template's rows into the list without touching the selection or buttons.
    void FillRows();
    tk::FileDialogRequest FileRequest(bool open, unsigned flags) const;
    // Shows a file dialog and makes the chosen file CurrentPath; false when cancelled or
    // nothing was chosen.
    bool ChooseCurrentPath(bool open, unsigned flags);
    // Writes the template to CurrentPath. Saved: the label loses its "*" and saveButton is
    // disabled. Otherwise shows openMessage when the file could not be opened and the
    // creation message when it could not be written; label and buttons stay.
    void WriteFile(permora::Encoding encoding, std::string_view openMessage, int saveButton);

    // Unsaved work to the recovery folder, before it is closed or cleared.
    void KeepUnsavedWork() const;

    permora::SecurityTemplate template_;
    QIcon icon_;
    std::vector<std::string> startFiles_;
    bool unsaved_ = false;
};
