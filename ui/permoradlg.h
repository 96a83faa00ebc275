#pragma once

#include "model/target.h"
#include "model/template_history.h"
#include "template_file/file_identity.h"
#include "template_file/template_file.h"
#include "ui/recovery.h"
#include "ui/toolkit/modal_host.h"
#include "ui/toolkit/window.h"
#include "ui/windowcommands.h"

#include <QCoreApplication>
#include <QIcon>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The application icon in all its sizes (window, taskbar, About box).
QIcon AppIcon();

class FileLabelElider;
class QAction;
class QMenu;
class RecoveryOffer;
class TargetTableModel;

// The main window: the template as a list of targets, with the commands that build,
// reorder, save and import it. The window owns the template and its targets. The list's
// context menu and the shortcuts add undo and redo, copying and pasting security, adding
// many paths at once, renaming an account and copying target lines.
class PermoraDlg : public tk::Dialog {
    Q_DECLARE_TR_FUNCTIONS(PermoraDlg)

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

    // Files to import when the window opens, in order, each as if chosen with Import. A
    // single file read whole becomes CurrentPath, and the template counts as saved.
    void ImportAtStart(std::vector<std::string> files) { startFiles_ = std::move(files); }
    // Imports one file as Import does once the file is chosen.
    permora::ImportOutcome ImportPath(const std::string& path);
    // When the window opens, offers the recovery files that were never imported or
    // dismissed, in a line above the list.
    void OfferRecoveryAtStart() { offerAtStart_ = true; }
    // The line that offers recovered work.
    const RecoveryOffer& Offer() const { return *offer_; }
    // What the file label shows: the path elided in the middle when it does not fit, the
    // change mark always after it.
    std::string ShownFileLabel() const;

    // Context-menu commands and shortcuts.
    void Undo();
    void Redo();
    void CopySecurity();
    void PasteSecurity();
    void AddPaths();
    void ReplaceAccount();
    void CopyLines();
    // Recover...: one recovery file, chosen from all of them, newest first.
    void Recover();
    // The list's context menu (its items are enabled and named for the moment it opens).
    QMenu* ContextMenu() const { return contextMenu_; }
    // The security Copy Security took; nullptr before the first copy.
    const permora::SecurityDescriptor* CopiedSecurity() const { return copied_.get(); }
    const permora::TemplateHistory& History() const { return history_; }
    // The list's rows.
    const TargetTableModel& TargetRows() const { return *rows_; }

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

protected:
    void OnInitDialog() override;
    void OnSysCommand(int command) override;
    // Close, Escape and the close box: unsaved work goes to the recovery folder first.
    void OnCancel() override;
    void OnSize() override;
    void OnDropFiles(const std::vector<std::string>& paths) override;

private:
    // Up (by -1) and Dn (by 1): the first selected target changes places with its neighbour.
    void MoveTarget(int by);
    // Selects just these rows (ascending).
    void SelectRows(const std::vector<int>& rows);
    tk::FileDialogRequest FileRequest(bool open, unsigned flags) const;
    // Shows a file dialog; false when cancelled or nothing was chosen.
    bool ChoosePath(bool open, unsigned flags, std::string& path);
    // Writes the template to path. Saved: path becomes CurrentPath, the label loses its "*"
    // and the save of that encoding is disabled. Otherwise shows openMessage when the file could
    // not be opened and the creation message when it could not be written; CurrentPath, label and
    // buttons stay as they were.
    void WriteFile(const std::string& path, permora::Encoding encoding,
                   std::string_view openMessage);
    // Before a save to CurrentPath without a dialog: when another program changed the file
    // since it was last read or saved, asks whether to overwrite it and writes on Yes.
    // False when the file has not changed and the usual question is to be asked.
    bool SaveOverChangedFile(permora::Encoding encoding);
    // Remembers the file as it is now on disk, as last read or written.
    void KnowFile(const std::string& path, std::optional<permora::FileIdentity> identity);
    // Imports what read appends, as Import does, with name for the undo step.
    permora::ImportOutcome
    ImportWith(const std::string& name,
               const std::function<permora::ImportOutcome(const permora::MessageSink&)>& read);
    // Imports a recovery file and marks it as handled.
    void ImportRecovered(const recovery::Recovered& file);
    // The recovery line for the files offered and not yet handled.
    void ShowOffer();
    // Places the recovery line above the list and the list under it.
    void LayOutOffer();

    // Unsaved work to the recovery folder, before it is closed or cleared.
    void KeepUnsavedWork() const;
    // The list, label and buttons after an import.
    void ShowImport(const permora::ImportOutcome& outcome);
    void BuildContextMenu();
    // The command states for the facts, the template and the selection as they are.
    CommandStates Commands() const;
    // Enables the buttons, and with the menu opening also enables and names its items.
    void ShowCommands(bool menuOpening = false);
    // The row commands follow the rows now selected: as a click on the list does (several
    // leave Remove as it was), or after a change (several enable Remove).
    void FollowClick();
    void FollowChange();
    // Takes a change that has happened into the history, with the selection it started from.
    void Record(permora::TemplateStep step, std::string name, std::vector<int> selectionBefore);
    // Shows the template after Undo or Redo moved it to the state of step.
    void ShowHistoryMove(const permora::TemplateStep& step, bool undone);
    // The targets at the selected rows, in row order.
    std::vector<permora::TargetObject*> SelectedTargets(std::vector<int>& rows) const;

    permora::SecurityTemplate template_;
    // Reads template_, so it goes first; the list's widget shows it.
    std::unique_ptr<TargetTableModel> rows_;
    CommandFacts facts_;
    QIcon icon_;
    std::vector<std::string> startFiles_;
    bool unsaved_ = false;
    bool offerAtStart_ = false;
    std::vector<recovery::Recovered> offered_; // not yet imported or dismissed
    std::unique_ptr<RecoveryOffer> offer_;
    int offerShift_ = 0;                // how far the line has moved the list down
    FileLabelElider* elider_ = nullptr; // owned by the label
    // The file as last read or written, to tell whether another program changed it.
    std::string knownPath_;
    std::optional<permora::FileIdentity> knownIdentity_;
    permora::TemplateHistory history_;
    std::unique_ptr<permora::SecurityDescriptor> copied_;
    QMenu* contextMenu_ = nullptr; // owned by the window's widget
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* pasteAction_ = nullptr;
    QAction* copyLineAction_ = nullptr;
    QAction* addPathsAction_ = nullptr;
    QAction* replaceAction_ = nullptr;
    QAction* recoverAction_ = nullptr;
    int listWidth_ = 0; // the list's width when the columns were last fitted
};
