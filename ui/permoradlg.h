#pragma once

#include "model/target.h"
#include "model/template_history.h"
#include "template_file/template_file.h"
#include "ui/recovery.h"
#include "ui/templatedocument.h"
#include "ui/toolkit/modal_host.h"
#include "ui/toolkit/window.h"
#include "ui/windowcommands.h"

#include <QCoreApplication>
#include <QIcon>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The application icon in all its sizes (window, taskbar, About box).
QIcon AppIcon();

class FileLabelElider;
class QMenu;
class RecoveryOffer;
class SnapshotKeeper;
class TargetListMenu;
class TargetTableModel;

// The main window: the template of its document as a list of targets, with the commands that
// build, reorder, save and import it. The list's context menu and the shortcuts add undo
// and redo, copying and pasting security, adding many paths at once, renaming an account
// and copying target lines. A command makes its change through the document once; the
// list, the file label and the command states follow the document.
class PermoraDlg : public tk::Dialog {
    Q_DECLARE_TR_FUNCTIONS(PermoraDlg)

public:
    PermoraDlg();
    ~PermoraDlg() override;

    // The template, its history and its file.
    TemplateDocument& Document() { return document_; }
    const TemplateDocument& Document() const { return document_; }

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
    // A click on the list: Edit, Up, Dn and Remove follow the selection.
    void UpdateButtons();
    void OnListReturn();

    // Files to import when the window opens, in order, each as if chosen with Import. A
    // single file read whole becomes the document's file, and the template counts as saved.
    void ImportAtStart(std::vector<std::string> files) { startFiles_ = std::move(files); }
    // Imports one file as Import does once the file is chosen.
    permora::ImportOutcome ImportPath(const std::string& path);
    // When the window opens, offers the recovery files that were never imported or
    // dismissed, in a line above the list.
    void OfferRecoveryAtStart() { offerAtStart_ = true; }
    // The line that offers recovered work.
    const RecoveryOffer& Offer() const { return *offer_; }
    // The recovery snapshot of the unsaved work.
    SnapshotKeeper& Snapshot() { return *snapshot_; }
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
    QMenu* ContextMenu() const;

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
    std::vector<int> SelectedRows() const;
    // Selects just these rows (ascending).
    void SelectRows(const std::vector<int>& rows);
    // Commits a change that has happened as one undo step, with the selection it started
    // from and the one it leaves.
    void Commit(permora::TemplateStep step, const QString& name, std::vector<int> selectionBefore);
    tk::FileDialogRequest FileRequest(bool open, unsigned flags) const;
    // Shows a file dialog; false when cancelled or nothing was chosen.
    bool ChoosePath(bool open, unsigned flags, std::string& path);
    // Writes the template to path. Otherwise shows openMessage when the file could not be
    // opened and the creation message when it could not be written; the file, label and
    // buttons stay as they were.
    void WriteFile(const std::string& path, permora::Encoding encoding,
                   std::string_view openMessage);
    // Before a save to the document's file without a dialog: when another program changed
    // the file since it was last read or saved, asks whether to overwrite it and writes on
    // Yes. False when the file has not changed and the usual question is to be asked.
    bool SaveOverChangedFile(permora::Encoding encoding);
    // Imports what read appends, as Import does, with name for the undo step; file is the
    // file as its messages name it.
    permora::ImportOutcome
    ImportWith(const std::string& name, const std::string& file,
               const std::function<permora::ImportOutcome(const permora::ImportReport&)>& read);
    // Imports a recovery file and marks it as handled.
    void ImportRecovered(const recovery::Recovered& file);

    // Unsaved work to the recovery folder, before it is closed or cleared.
    void KeepUnsavedWork() const;
    // The label shows the document's file, marked with "*" when it has unsaved changes.
    void FollowFile();
    // The commands after the template changed: both saves have something to write.
    void FollowTemplateChange();
    // What the work is of, for a recovery file's side file.
    recovery::Origin WorkOrigin() const;
    // "There is problem in opening this file.", with the file and why under it.
    void ShowOpenFailed(const std::string& file, int error);
    void BuildContextMenu();
    // The command states for the facts, the template and the selection as they are.
    CommandStates Commands() const;
    // Enables the buttons, and with the menu opening also enables and names its items.
    void ShowCommands(bool menuOpening = false);
    // The row commands follow the rows now selected: as a click on the list does (several
    // leave Remove as it was), or after a change (several enable Remove).
    void FollowClick();
    void FollowChange();
    // The targets at the selected rows, in row order.
    std::vector<permora::TargetObject*> SelectedTargets(std::vector<int>& rows) const;

    TemplateDocument document_;
    // Follows document_, so it goes after it; the list's widget shows it.
    std::unique_ptr<TargetTableModel> rows_;
    CommandFacts facts_;
    QIcon icon_;
    std::vector<std::string> startFiles_;
    bool offerAtStart_ = false;
    std::unique_ptr<RecoveryOffer> offer_;
    FileLabelElider* elider_ = nullptr; // owned by the label
    std::unique_ptr<permora::SecurityDescriptor> copied_;
    std::unique_ptr<TargetListMenu> menu_;
    int listWidth_ = 0; // the list's width when the columns were last fitted
    // Reads template_ on a thread of its own, so it goes first.
    std::unique_ptr<SnapshotKeeper> snapshot_;
};
