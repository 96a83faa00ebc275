#include "ui/permoradlg.h"

#include "model/checks.h"
#include "model/names.h"
#include "model/template_ops.h"
#include "resources/templates/permoradlg.h"
#include "ui/aboutdlg.h"
#include "ui/addfiledlg.h"
#include "ui/addpathsdlg.h"
#include "ui/filelabel.h"
#include "ui/recoverdlg.h"
#include "ui/recovery.h"
#include "ui/recoveryoffer.h"
#include "ui/replaceaccountdlg.h"
#include "ui/securityproppage.h"
#include "ui/shown_names.h"
#include "ui/snapshot_keeper.h"
#include "ui/targetlistmenu.h"
#include "ui/targettablemodel.h"
#include "ui/toolkit/modal_host.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QWidget>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

namespace {

using namespace res::PermoraDlg;

// The positions of the last count of total rows.
std::vector<int> LastPositions(int count, int total) {
    std::vector<int> positions(static_cast<std::size_t>(std::max(0, count)));
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = total - count + static_cast<int>(i);
    return positions;
}

constexpr const char* kConfFilter =
    QT_TRANSLATE_NOOP("PermoraDlg", "Conf files (*.conf)|*.conf|All files (*.*)|*.*||");
constexpr const char* kOpenFailed =
    QT_TRANSLATE_NOOP("PermoraDlg", "There is problem in opening this file.");
constexpr const char* kCreateFailed =
    QT_TRANSLATE_NOOP("PermoraDlg", "There is problem in creating this file.");
constexpr const char* kBeingWritten =
    QT_TRANSLATE_NOOP("PermoraDlg", "The file is being written by another program.");
constexpr const char* kReplacedMeanwhile = QT_TRANSLATE_NOOP(
    "PermoraDlg", "The file was replaced while it was being edited; nothing was written.");
constexpr const char* kCannotLock =
    QT_TRANSLATE_NOOP("PermoraDlg", "The file cannot be locked; nothing was written.");

constexpr unsigned kSaveDialogFlags =
    tk::OFN_HIDEREADONLY | tk::OFN_OVERWRITEPROMPT | tk::OFN_PATHMUSTEXIST;
constexpr unsigned kImportDialogFlags = tk::OFN_HIDEREADONLY | tk::OFN_FILEMUSTEXIST;
constexpr unsigned kNewDialogFlags = kImportDialogFlags | tk::OFN_CREATEPROMPT;

const tk::Handler<PermoraDlg> kHandlers[] = {
    {IDC_NEW, tk::Notify::Clicked, &PermoraDlg::NewTemplate},
    {IDC_ADD, tk::Notify::Clicked, &PermoraDlg::AddTarget},
    {IDC_EDIT, tk::Notify::Clicked, &PermoraDlg::EditTarget},
    {IDC_REMOVE, tk::Notify::Clicked, &PermoraDlg::RemoveTargets},
    {IDC_IMPORT, tk::Notify::Clicked, &PermoraDlg::Import},
    {IDC_SAVE_UTF8, tk::Notify::Clicked, &PermoraDlg::SaveUtf8},
    {IDC_SAVE_UNICODE, tk::Notify::Clicked, &PermoraDlg::SaveUnicode},
    {IDC_SAVE_AS, tk::Notify::Clicked, &PermoraDlg::SaveAs},
    {IDC_UP, tk::Notify::Clicked, &PermoraDlg::MoveTargetUp},
    {IDC_DOWN, tk::Notify::Clicked, &PermoraDlg::MoveTargetDown},
    {IDC_TARGET_LIST, tk::Notify::Click, &PermoraDlg::UpdateButtons},
    {IDC_TARGET_LIST, tk::Notify::SetFocus, &PermoraDlg::UpdateButtons},
    {IDC_TARGET_LIST, tk::Notify::KillFocus, &PermoraDlg::UpdateButtons},
    {IDC_TARGET_LIST, tk::Notify::DblClick, &PermoraDlg::EditTarget},
    {IDC_TARGET_LIST, tk::Notify::Return, &PermoraDlg::OnListReturn},
    {IDC_TARGET_LIST, &PermoraDlg::OnListKey},
};

// How the controls follow a resized window: the list grows, the command buttons keep to
// the right edge, Close to the bottom right corner, Up and Dn to the bottom under the list.
const struct {
    int id;
    unsigned edges;
} kAnchors[] = {
    {IDC_FILE_LABEL, tk::anchor::kLeft | tk::anchor::kTop | tk::anchor::kRight},
    {IDC_TARGET_LIST, tk::anchor::kAll},
    {IDC_NEW, tk::anchor::kTop | tk::anchor::kRight},
    {IDC_ADD, tk::anchor::kTop | tk::anchor::kRight},
    {IDC_EDIT, tk::anchor::kTop | tk::anchor::kRight},
    {IDC_REMOVE, tk::anchor::kTop | tk::anchor::kRight},
    {IDC_IMPORT, tk::anchor::kTop | tk::anchor::kRight},
    {IDC_SAVE_UTF8, tk::anchor::kTop | tk::anchor::kRight},
    {IDC_SAVE_UNICODE, tk::anchor::kTop | tk::anchor::kRight},
    {IDC_SAVE_AS, tk::anchor::kTop | tk::anchor::kRight},
    {IDC_OK, tk::anchor::kTop | tk::anchor::kRight},
    {IDC_CLOSE, tk::anchor::kBottom | tk::anchor::kRight},
    {IDC_UP, tk::anchor::kLeft | tk::anchor::kBottom},
    {IDC_DOWN, tk::anchor::kLeft | tk::anchor::kBottom},
};

std::string ToStd(const QString& text) {
    return text.toStdString();
}

int Count(std::size_t count) {
    return static_cast<int>(std::min<std::size_t>(count, INT_MAX));
}

} // namespace

QIcon AppIcon() {
    QIcon icon;
    for (const char* file : {":/permora/permora-16.png", ":/permora/permora-32.png",
                             ":/permora/permora-48.png", ":/permora/permora-256.png"})
        icon.addFile(QString::fromLatin1(file));
    return icon;
}

PermoraDlg::PermoraDlg()
    : tk::Dialog(res::PermoraDlg::Template()),
      rows_(std::make_unique<TargetTableModel>(
          document_,
          std::array<QString, 3>{tr("Target Object"), tr("Security Style"), tr("Security Level")})),
      icon_(AppIcon()), snapshot_(std::make_unique<SnapshotKeeper>(document_.Template(), nullptr)) {
    Bind(this, kHandlers);
    snapshot_->origin = [this] { return WorkOrigin(); };
    SetResizable();
    for (const auto& anchor : kAnchors)
        Anchor(anchor.id, anchor.edges);
    AcceptFileDrops();
    // Screen readers: the list is named for what it holds, not by the file label before it,
    // and Up and Dn by what they do.
    SetAccessibleName(IDC_TARGET_LIST, ToStd(tr("Targets")));
    SetAccessibleName(IDC_UP, ToStd(tr("Move Up")));
    SetAccessibleName(IDC_DOWN, ToStd(tr("Move Down")));
    BuildContextMenu();
    elider_ = new FileLabelElider(static_cast<QLabel*>(Control(IDC_FILE_LABEL)));
    offer_ = std::make_unique<RecoveryOffer>(Widget(), Control(IDC_TARGET_LIST));
    offer_->onImportNewest = [this] {
        if (const recovery::Recovered* newest = offer_->Newest())
            ImportRecovered(*newest);
    };
    offer_->onChoose = [this] { Recover(); };
    QObject::connect(&document_, &TemplateDocument::fileChanged, Widget(),
                     [this] { FollowFile(); });
    QObject::connect(&document_, &TemplateDocument::changed, Widget(),
                     [this] { FollowTemplateChange(); });
    QObject::connect(&document_, &TemplateDocument::saved, Widget(),
                     [this](permora::Encoding encoding) {
                         facts_.Saved(encoding);
                         ShowCommands();
                     });
}

PermoraDlg::~PermoraDlg() {
    // The rows and the template they read go before the list's widget does.
    GetListView(IDC_TARGET_LIST).ShowModel(nullptr);
}

void PermoraDlg::OnInitDialog() {
    AddSystemMenuItem(IDM_ABOUTBOX, ToStd(tr(kAboutItemText)));
    SetIcon(icon_);

    tk::ListView list = GetListView(IDC_TARGET_LIST);
    list.SetMultiSelect(true);
    list.SetShowSelAlways(true);
    list.SetFullRowSelect(true);
    // What tells long paths apart is mostly at their ends, as in the file label.
    list.Widget()->setTextElideMode(Qt::ElideMiddle);
    if (list.Widget()->model() != rows_.get()) {
        list.ShowModel(rows_.get());
        // The two name columns fit their captions with room to spare; the path takes the
        // rest of the list's width.
        const int extra =
            tk::SystemMetric(tk::Metric::CxHThumb) + 36 * tk::SystemMetric(tk::Metric::CxBorder);
        const int styleWidth = list.TextWidth(ToStd(tr("Security Style")) + "    ") + extra;
        const int levelWidth = list.TextWidth(ToStd(tr("Security Level")) + "    ") + extra;
        // Room for the vertical scroll bar either way: a longer list then needs no
        // horizontal one.
        const QScrollBar* bar = list.Widget()->verticalScrollBar();
        const int barRoom = bar->isVisibleTo(list.Widget()) ? 0 : bar->sizeHint().width();
        list.SetColumnWidth(0, list.ClientWidth() - barRoom - styleWidth - levelWidth);
        list.SetColumnWidth(1, styleWidth);
        list.SetColumnWidth(2, levelWidth);
    }
    listWidth_ = list.Widget()->width();

    // The list's menu, whichever control has the focus.
    SetMenuKeyControl(IDC_TARGET_LIST);

    const std::vector<std::string> files = std::exchange(startFiles_, {});
    if (!files.empty()) {
        // Shown first, so that a message about a file stands over the window it is for.
        Widget()->show();
        for (const std::string& file : files) {
            const permora::ImportOutcome outcome = ImportPath(file);
            // Saves go back to a single file only when all of it was read: then the
            // template is that file as it stands on disk.
            if (files.size() == 1 && outcome.complete)
                document_.FileRead(file, outcome.identity);
        }
    }
    if (std::exchange(offerAtStart_, false)) {
        std::vector<recovery::Recovered> offered = recovery::List();
        std::erase_if(offered, [](const recovery::Recovered& file) { return file.handled; });
        offer_->Offer(std::move(offered));
    }
    // The rows when there are any, else the default button.
    SetFocus(document_.Template().Count > 0 ? IDC_TARGET_LIST : IDC_NEW);
}

void PermoraDlg::BuildContextMenu() {
    menu_ = std::make_unique<TargetListMenu>(
        Widget(), TargetListMenu::Commands{
                      .undo = [this] { Undo(); },
                      .redo = [this] { Redo(); },
                      .copySecurity = [this] { CopySecurity(); },
                      .pasteSecurity = [this] { PasteSecurity(); },
                      .copyLines = [this] { CopyLines(); },
                      .addPaths = [this] { AddPaths(); },
                      .replaceAccount = [this] { ReplaceAccount(); },
                      .recover = [this] { Recover(); },
                      .about = [this] { RunSystemCommand(IDM_ABOUTBOX); },
                      // Opening the menu is a click on the list: the buttons follow the
                      // selection the right click made.
                      .opening =
                          [this] {
                              FollowClick();
                              ShowCommands(true);
                          },
                  });
    GetListView(IDC_TARGET_LIST).SetContextMenu(menu_->Menu());
}

CommandStates PermoraDlg::Commands() const {
    const std::vector<int> rows = SelectedRows();
    CommandContext now;
    // The selected rows that stand for targets, as SelectedTargets finds them.
    now.selected = static_cast<std::size_t>(
        std::lower_bound(rows.begin(), rows.end(), document_.Template().Count) - rows.begin());
    now.firstSelected = now.selected > 0 ? document_.Template().At(rows.front()) : nullptr;
    now.targets = document_.Template().Count;
    now.canUndo = document_.History().CanUndo();
    now.canRedo = document_.History().CanRedo();
    now.copied = copied_ != nullptr;
    return DeriveCommands(facts_, now);
}

void PermoraDlg::ShowCommands(bool menuOpening) {
    const CommandStates states = Commands();
    for (const auto& [id, enabled] :
         {std::pair{IDC_EDIT, states.edit}, std::pair{IDC_UP, states.up},
          std::pair{IDC_DOWN, states.down}, std::pair{IDC_REMOVE, states.remove},
          std::pair{IDC_SAVE_UNICODE, states.saveUnicode},
          std::pair{IDC_SAVE_UTF8, states.saveUtf8}})
        Enable(id, enabled);
    // Closed, the menu leaves every shortcut live: each command checks for itself.
    if (menuOpening)
        menu_->Show(states, document_.History().NextUndo(), document_.History().NextRedo());
}

std::vector<permora::TargetObject*> PermoraDlg::SelectedTargets(std::vector<int>& rows) const {
    rows = SelectedRows();
    std::vector<permora::TargetObject*> targets;
    targets.reserve(rows.size());
    for (const int row : rows) {
        permora::TargetObject* target = document_.Template().At(row);
        if (target == nullptr)
            break;
        targets.push_back(target);
    }
    return targets;
}

void PermoraDlg::Commit(permora::TemplateStep step, const QString& name,
                        std::vector<int> selectionBefore) {
    document_.Commit(std::move(step), ToStd(name), std::move(selectionBefore), SelectedRows());
}

void PermoraDlg::FollowClick() {
    const tk::ListView list = GetListView(IDC_TARGET_LIST);
    facts_.FollowSelection(list.RowCount(), list.SelectedCount(), false);
}

void PermoraDlg::FollowChange() {
    facts_.FollowSelection(document_.Template().Count, GetListView(IDC_TARGET_LIST).SelectedCount(),
                           true);
}

std::vector<int> PermoraDlg::SelectedRows() const {
    return GetListView(IDC_TARGET_LIST).SelectedRows();
}

void PermoraDlg::SelectRows(const std::vector<int>& rows) {
    GetListView(IDC_TARGET_LIST).SetSelectedRows(rows);
}

void PermoraDlg::Undo() {
    if (const permora::TemplateStep* step = document_.Undo()) {
        SelectRows(step->SelectionBefore);
        FollowChange();
        ShowCommands();
    }
}

void PermoraDlg::Redo() {
    if (const permora::TemplateStep* step = document_.Redo()) {
        SelectRows(step->SelectionAfter);
        FollowChange();
        ShowCommands();
    }
}

void PermoraDlg::CopySecurity() {
    std::vector<int> rows;
    const std::vector<permora::TargetObject*> selected = SelectedTargets(rows);
    if (!Commands().copySecurity)
        return;
    copied_ = selected.front()->Descriptor->Clone();
    QGuiApplication::clipboard()->setText(QString::fromStdString(ToLine(*selected.front())));
}

void PermoraDlg::PasteSecurity() {
    std::vector<int> rows;
    const std::vector<permora::TargetObject*> selected = SelectedTargets(rows);
    if (!Commands().pasteSecurity)
        return;
    std::vector<int> changed;
    std::vector<std::unique_ptr<permora::SecurityDescriptor>> previous;
    changed.reserve(selected.size());
    previous.reserve(selected.size());
    std::size_t others = 0;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        permora::TargetObject* target = selected[i];
        if (target->SecurityStyle != permora::kStyleNtfs) {
            ++others;
            continue;
        }
        previous.push_back(std::exchange(target->Descriptor, copied_->Clone()));
        changed.push_back(rows[i]);
    }
    if (!changed.empty()) {
        const std::size_t count = changed.size();
        document_.DescriptorsChanged(changed);
        Commit(permora::DescriptorsStep(std::move(changed), std::move(previous)),
               count == 1 ? tr("Paste Security onto 1 Target")
                          : tr("Paste Security onto %n Targets", nullptr, Count(count)),
               rows);
    }
    if (others > 0)
        tk::MessageBox(this,
                       ToStd(others == 1 ? tr("1 target is not NTFS and kept its security.")
                                         : tr("%n targets are not NTFS and kept their security.",
                                              nullptr, Count(others))),
                       ToStd(tr("Paste Security")));
}

void PermoraDlg::CopyLines() {
    std::vector<int> rows;
    const std::vector<permora::TargetObject*> selected = SelectedTargets(rows);
    if (!Commands().copyLines)
        return;
    std::string text;
    for (const permora::TargetObject* target : selected) {
        text += ToLine(*target);
        text += '\n';
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void PermoraDlg::AddPaths() {
    AddPathsDlg dialog(document_.Template(), copied_.get(), this);
    if (dialog.DoModal() != tk::IDOK)
        return;
    const permora::PathList& list = dialog.Result();
    tk::ListView view = GetListView(IDC_TARGET_LIST);
    std::vector<int> before = view.SelectedRows();
    const int first = document_.Template().Count;
    const std::vector<permora::TargetObject*> added =
        document_.AppendWith([&](permora::SecurityTemplate& tmpl) {
            return permora::AppendTargets(tmpl, list.paths, dialog.Level(),
                                          dialog.UseCopied() ? copied_.get() : nullptr,
                                          dialog.StandIn(), &list.accounts);
        });
    if (!added.empty()) {
        // The new rows are selected, ready for the next command.
        SelectRows(LastPositions(static_cast<int>(added.size()), document_.Template().Count));
        view.Widget()->scrollTo(rows_->index(first, 0));
        FollowChange();
        Commit(permora::AppendStep(static_cast<int>(added.size())),
               added.size() == 1 ? tr("Add 1 Path")
                                 : tr("Add %n Paths", nullptr, Count(added.size())),
               std::move(before));
    }
    if (list.skipped > 0) {
        const QString addedText = added.size() == 1
                                      ? tr("1 target was added")
                                      : tr("%n targets were added", nullptr, Count(added.size()));
        const QString skippedText =
            list.skipped == 1
                ? tr("1 path was already in the template and skipped.")
                : tr("%n paths were already in the template and skipped.", nullptr, list.skipped);
        tk::MessageBox(this, ToStd(tr("%1; %2").arg(addedText, skippedText)),
                       ToStd(tr("Add Paths")));
    }
}

void PermoraDlg::ReplaceAccount() {
    tk::ListView view = GetListView(IDC_TARGET_LIST);
    std::vector<int> rows = view.SelectedRows();
    ReplaceAccountDlg dialog(!rows.empty(), this);
    if (dialog.DoModal() != tk::IDOK)
        return;
    std::vector<int> changed;
    std::vector<std::unique_ptr<permora::SecurityDescriptor>> previous;
    const permora::AccountReplacement result = permora::ReplaceAccount(
        document_.Template(), dialog.OldName(), dialog.NewName(),
        dialog.SelectedOnly() ? permora::TargetsAt(rows) : permora::AllTargets(),
        [&](permora::TargetObject& target, int index) {
            changed.push_back(index);
            previous.push_back(target.Descriptor ? target.Descriptor->Clone() : nullptr);
        });
    if (!changed.empty()) {
        document_.DescriptorsChanged(changed);
        Commit(permora::DescriptorsStep(std::move(changed), std::move(previous)),
               tr("Replace Account"), rows);
    }
    const QString entries =
        result.entries == 1 ? tr("1 entry") : tr("%n entries", nullptr, result.entries);
    const QString targets = result.targets == 1 ? tr("1 target", "in 1 target")
                                                : tr("%n targets", "in %n targets", result.targets);
    tk::MessageBox(this, ToStd(tr("%1 in %2 changed.").arg(entries, targets)),
                   ToStd(tr("Replace Account")));
}

void PermoraDlg::OnSize() {
    // The toolkit has just put the list back in its own place.
    offer_->ListPlaced();
    // The path column takes what the list gains or loses.
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    const int width = list.Widget()->width();
    if (listWidth_ != 0 && width != listWidth_ && list.ColumnCount() > 0)
        list.SetColumnWidth(0, std::max(list.ColumnWidth(0) + width - listWidth_,
                                        list.TextWidth(ToStd(tr("Target Object")))));
    listWidth_ = width;
}

void PermoraDlg::OnDropFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        ImportPath(path);
}

void PermoraDlg::OnSysCommand(int command) {
    if ((command & 0xFFF0) == IDM_ABOUTBOX) {
        AboutDlg about;
        about.DoModal();
    }
}

// Delete in the list removes the selected targets.
void PermoraDlg::OnListKey(int key) {
    if (key == tk::VK_DELETE)
        RemoveTargets();
}

// Enter on the list edits the selected row, as a double click does, and with several rows
// selected (Edit off) does nothing; it never reaches the default button.
void PermoraDlg::OnListReturn() {
    if (GetListView(IDC_TARGET_LIST).SelectedCount() == 1)
        EditTarget();
}

void PermoraDlg::OnCancel() {
    KeepUnsavedWork();
    tk::Dialog::OnCancel();
}

void PermoraDlg::KeepUnsavedWork() const {
    if (!document_.IsUnsaved())
        return;
    // Quietly: a failure never keeps the window open. The snapshot goes once the work is in
    // a recovery file of its own, and before the program may end.
    const recovery::Origin origin = WorkOrigin();
    if (!recovery::Write(document_.Template(), recovery::Folder(), &origin).empty()) {
        snapshot_->Discard();
        snapshot_->Writer().Wait();
    }
}

recovery::Origin PermoraDlg::WorkOrigin() const {
    recovery::Origin origin;
    origin.targets = document_.Template().Count;
    if (document_.Path() == "Untitled")
        return origin;
    origin.path = document_.Path();
    if (const std::optional<permora::FileIdentity> known = document_.KnownIdentity()) {
        origin.known = true;
        origin.device = known->device;
        origin.inode = known->inode;
        origin.size = known->size;
        origin.modifiedSeconds = known->modifiedSeconds;
        origin.modifiedNanoseconds = known->modifiedNanoseconds;
    }
    return origin;
}

void PermoraDlg::FollowFile() {
    const std::string& path = document_.Path();
    const bool marked = document_.IsUnsaved();
    if (marked)
        snapshot_->Changed();
    else
        snapshot_->Discard();
    // The label's "&" marks its access key; a "&" in a file name is doubled to be shown as
    // it is.
    std::string text;
    text.reserve(path.size() + 1);
    for (const char c : path) {
        text.push_back(c);
        if (c == '&')
            text.push_back('&');
    }
    if (marked)
        text.push_back('*');
    SetText(IDC_FILE_LABEL, text);
    elider_->SetPath(QString::fromStdString(path), marked);
}

void PermoraDlg::FollowTemplateChange() {
    facts_.Changed();
    ShowCommands();
}

QMenu* PermoraDlg::ContextMenu() const {
    return menu_->Menu();
}

std::string PermoraDlg::ShownFileLabel() const {
    return elider_->Shown().toStdString();
}

void PermoraDlg::UpdateButtons() {
    FollowClick();
    ShowCommands();
}

tk::FileDialogRequest PermoraDlg::FileRequest(bool open, unsigned flags) const {
    tk::FileDialogRequest request;
    request.open = open;
    request.owner = this;
    request.defaultExtension = "conf";
    request.initialName = "security.conf";
    request.flags = flags;
    request.filter = ToStd(tr(kConfFilter));
    return request;
}

void PermoraDlg::NewTemplate() {
    std::vector<int> selectionBefore = SelectedRows();
    tk::FileDialogRequest request = FileRequest(true, kNewDialogFlags);
    request.title = ToStd(tr("New Template"));
    const tk::FileDialogResult picked = tk::FileDialog(request);
    if (picked.result != tk::IDOK || picked.path.empty())
        return;
    const std::string chosen = picked.path;
    KeepUnsavedWork();
    // The targets go into the history rather than away, so that New can be undone.
    document_.StartNew(chosen, ToStd(tr("New")), std::move(selectionBefore));
}

void PermoraDlg::AddTarget() {
    AddFileDlg dialog;
    if (dialog.DoModal() != tk::IDOK)
        return;
    std::vector<int> selectionBefore = SelectedRows();
    const bool added = document_.Append(dialog.TakeResultTarget());
    SelectRows({0});
    FollowChange();
    if (added)
        Commit(permora::AppendStep(1), tr("Add Target"), std::move(selectionBefore));
    else
        document_.MarkChanged();
}

void PermoraDlg::EditTarget() {
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    const std::vector<int> selected = list.SelectedRows();
    if (selected.empty())
        return;
    const int index = selected.front();
    const std::string rowText = list.Cell(index, 0);
    permora::TargetObject* target = document_.Template().At(index);
    // Edit only the target the row stands for, and only an NTFS one.
    if (target == nullptr || !rows_->RowShowsTarget(index) ||
        target->SecurityStyle != permora::kStyleNtfs)
        return;
    SecurityPropPage page(*target);
    tk::PropertySheet sheet(ToStd(tr("NTFS Security for %1").arg(QString::fromStdString(rowText))));
    sheet.AddPage(&page);
    // The page changes the descriptor at once; Cancel puts this copy back.
    std::unique_ptr<permora::SecurityDescriptor> before =
        target->Descriptor ? target->Descriptor->Clone() : nullptr;
    if (sheet.DoModal() == tk::IDOK) {
        std::vector<std::unique_ptr<permora::SecurityDescriptor>> previous;
        previous.push_back(std::move(before));
        document_.DescriptorsChanged({index});
        Commit(permora::DescriptorsStep({index}, std::move(previous)), tr("Edit Target"), selected);
    } else {
        target->Descriptor = std::move(before);
    }
    page.ReleaseTarget();
}

void PermoraDlg::RemoveTargets() {
    std::vector<int> selected = SelectedRows();
    if (selected.empty()) {
        // Delete with nothing selected still counts as a change.
        document_.MarkChanged();
    } else {
        // The history keeps the removed targets for Undo.
        permora::TemplateStep step = document_.Remove(selected);
        if (document_.Template().Count > 0)
            SelectRows({0});
        const std::size_t count = selected.size();
        Commit(std::move(step),
               count == 1 ? tr("Remove 1 Target") : tr("Remove %n Targets", nullptr, Count(count)),
               selected);
    }
    if (document_.Template().Count == 0) {
        facts_.SeeEmptyList();
        ShowCommands();
    } else if (selected.empty()) {
        SelectRows({0});
    }
}

void PermoraDlg::MoveTargetUp() {
    MoveTarget(-1);
}

void PermoraDlg::MoveTargetDown() {
    MoveTarget(1);
}

void PermoraDlg::MoveTarget(int by) {
    const std::vector<int> selected = SelectedRows();
    if (selected.empty())
        return;
    const int index = selected.front();
    const int to = index + by;
    if (to < 0 || to >= rows_->rowCount())
        return;
    const int upper = std::min(index, to);
    // Exchange only when both rows still show the targets they stand for.
    const bool exchange = rows_->RowShowsTarget(upper) && rows_->RowShowsTarget(upper + 1);
    if (exchange)
        document_.Swap(upper);
    else
        document_.Refresh();
    SelectRows({to});
    if (exchange)
        Commit(permora::SwapStep(upper), by < 0 ? tr("Move Up") : tr("Move Down"), selected);
    else
        document_.MarkChanged();
}

bool PermoraDlg::ChoosePath(bool open, unsigned flags, std::string& path) {
    const tk::FileDialogResult chosen = tk::FileDialog(FileRequest(open, flags));
    if (chosen.result != tk::IDOK)
        return false;
    path = chosen.path;
    return !path.empty();
}

void PermoraDlg::WriteFile(const std::string& path, permora::Encoding encoding,
                           std::string_view openMessage) {
    switch (document_.Save(path, encoding)) {
    case permora::SaveStatus::Saved:
        return;
    case permora::SaveStatus::OpenFailed:
        tk::MessageBox(this, ToStd(tr(std::string(openMessage).c_str())), ToStd(tr("Error")));
        return;
    case permora::SaveStatus::Locked:
        // The window never waits for another writer; the user saves again later.
        tk::MessageBox(this, ToStd(tr(kBeingWritten)), ToStd(tr("Error")));
        return;
    case permora::SaveStatus::Replaced:
        tk::MessageBox(this, ToStd(tr(kReplacedMeanwhile)), ToStd(tr("Error")));
        return;
    case permora::SaveStatus::LockFailed:
        // Never written unlocked: another writer could lose its change or mix with this one.
        tk::MessageBox(this, ToStd(tr(kCannotLock)), ToStd(tr("Error")));
        return;
    case permora::SaveStatus::WriteFailed:
        break;
    }
    // The save did not happen; the previous file was kept, or put back after a failed
    // in-place write.
    tk::MessageBox(this, ToStd(tr(kCreateFailed)), ToStd(tr("Error")));
}

bool PermoraDlg::SaveOverChangedFile(permora::Encoding encoding) {
    if (!document_.ChangedOnDisk())
        return false;
    const int answer = tk::MessageBox(
        this,
        ToStd(tr("%1 has changed on disk since it was last read or saved. Overwrite it?")
                  .arg(QString::fromStdString(document_.Path()))),
        ToStd(tr("Confirm")), tk::MB_YESNO | tk::MB_ICONQUESTION);
    if (answer == tk::IDYES)
        WriteFile(document_.Path(), encoding, kOpenFailed);
    return true;
}

void PermoraDlg::SaveUnicode() {
    if (document_.Path().empty()) {
        SaveAs();
        return;
    }
    if (SaveOverChangedFile(permora::Encoding::Unicode))
        return;
    const int answer = tk::MessageBox(
        this,
        ToStd(tr("Do you want to overwrite  %1?").arg(QString::fromStdString(document_.Path()))),
        ToStd(tr("Confirm")), tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION);
    if (answer == tk::IDNO) {
        SaveAs();
        return;
    }
    if (answer != tk::IDYES)
        return;
    WriteFile(document_.Path(), permora::Encoding::Unicode, kOpenFailed);
}

void PermoraDlg::SaveUtf8() {
    std::string path = document_.Path();
    bool choose = path.empty();
    if (!choose) {
        if (SaveOverChangedFile(permora::Encoding::EightBit))
            return;
        const int answer = tk::MessageBox(
            this,
            ToStd(tr("Do you want to overwrite %1?").arg(QString::fromStdString(document_.Path()))),
            ToStd(tr("Confirm")), tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION);
        if (answer != tk::IDYES && answer != tk::IDNO)
            return;
        choose = answer == tk::IDNO;
    }
    if (choose && !ChoosePath(false, kSaveDialogFlags, path))
        return;
    WriteFile(path, permora::Encoding::EightBit, kOpenFailed);
}

void PermoraDlg::SaveAs() {
    std::string path;
    if (!ChoosePath(false, kSaveDialogFlags, path))
        return;
    WriteFile(path, permora::Encoding::Unicode, kCreateFailed);
}

void PermoraDlg::Import() {
    const tk::FileDialogResult chosen = tk::FileDialog(FileRequest(true, kImportDialogFlags));
    if (chosen.result != tk::IDOK || chosen.path.empty())
        return;
    ImportPath(chosen.path);
}

permora::ImportOutcome PermoraDlg::ImportPath(const std::string& path) {
    return ImportWith(std::filesystem::path(path).filename().string(), path,
                      [&](const permora::ImportReport& report) {
                          return permora::ImportTemplate(path, document_.Template(), report);
                      });
}

permora::ImportOutcome PermoraDlg::ImportWith(
    const std::string& name, const std::string& file,
    const std::function<permora::ImportOutcome(const permora::ImportReport&)>& read) {
    std::vector<int> selectionBefore = SelectedRows();
    permora::ImportReport report;
    // The message keeps its words; where it comes from and why goes under it.
    report.detailed = [this, &file](std::int64_t line, const std::string& message,
                                    const std::string& detail) {
        QString where = tr("%1, line %2").arg(QString::fromStdString(file)).arg(line);
        if (!detail.empty())
            where = tr("%1: %2").arg(where, QString::fromStdString(detail));
        tk::MessageBox(this, ShownReaderMessage(message), ToStd(tr("Error")), tk::MB_OK,
                       ToStd(where));
    };
    const permora::ImportOutcome outcome =
        document_.AppendWith([&](permora::SecurityTemplate&) { return read(report); });
    if (!outcome.opened) {
        ShowOpenFailed(file, outcome.error);
        return outcome;
    }
    // The lines before a failing one stay imported: they are shown and the template is
    // changed, with the saves enabled so that what was read can be kept, and the row
    // commands as for a click on the selected first row. A whole file enables every command.
    if (outcome.complete || outcome.appended > 0) {
        SelectRows({0});
        if (!outcome.complete)
            FollowClick();
        // One step per file, also for the targets of a file whose import stopped early.
        if (outcome.appended > 0)
            Commit(permora::AppendStep(outcome.appended),
                   tr("Import %1").arg(QString::fromStdString(name)), std::move(selectionBefore));
        else
            document_.MarkChanged();
        if (outcome.complete) {
            facts_.ImportedWhole();
            ShowCommands();
        }
    }
    // A line that failed has said why; a read that failed has not.
    if (outcome.readFailed)
        ShowOpenFailed(file, outcome.error);
    return outcome;
}

void PermoraDlg::Recover() {
    RecoverDlg dialog(recovery::List(), this);
    if (dialog.DoModal() != tk::IDOK)
        return;
    ImportRecovered(dialog.Chosen());
}

void PermoraDlg::ImportRecovered(const recovery::Recovered& file) {
    // Read through the checked folder, never by a path that could lead elsewhere.
    const int fd = recovery::OpenFile(file.name);
    if (fd < 0) {
        ShowOpenFailed(file.name, 0);
    } else {
        const permora::ImportOutcome outcome =
            ImportWith(file.name, file.name, [&](const permora::ImportReport& report) {
                return permora::ImportOpenFile(fd, document_.Template(), report);
            });
        ::close(fd);
        // The work goes back to the file it was of: saves go there, past the question
        // whether another program changed that file meanwhile.
        if (outcome.appended > 0 && file.origin && !file.origin->path.empty()) {
            std::optional<permora::FileIdentity> identity;
            if (file.origin->known)
                identity = permora::FileIdentity{file.origin->device, file.origin->inode,
                                                 file.origin->size, file.origin->modifiedSeconds,
                                                 file.origin->modifiedNanoseconds};
            document_.Recovered(file.origin->path, identity);
        }
        recovery::MarkHandled(file.name);
    }
    offer_->Handled(std::string(file.name)); // file may be one the line holds
}

void PermoraDlg::ShowOpenFailed(const std::string& file, int error) {
    QString why = QString::fromStdString(file);
    if (error != 0)
        why = tr("%1: %2").arg(why, QString::fromStdString(permora::ReasonText(error)));
    tk::MessageBox(this, ToStd(tr(kOpenFailed)), ToStd(tr("Error")), tk::MB_OK, ToStd(why));
}
