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
#include "ui/toolkit/modal_host.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QWidget>

#include <unistd.h>

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

// Room between the recovery line and the list under it, in pixels.
constexpr int kOfferGap = 4;

constexpr unsigned kSaveDialogFlags = 0x0806;   // hide read-only, ask before overwriting,
                                                // the folder must exist
constexpr unsigned kImportDialogFlags = 0x1004; // hide read-only, the file must exist
constexpr unsigned kNewDialogFlags = 0x3004;    // ... and offer to create a missing file

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

// A tooltip shows this much of a target's line.
constexpr std::size_t kToolTipLength = 300;

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

std::string TargetCell(const permora::SecurityTemplate& tmpl, int row, int column) {
    const permora::TargetObject* target = tmpl.At(row);
    if (target == nullptr)
        return {};
    switch (column) {
    case 0:
        return target->Path;
    case 1:
        return ShownNameText(permora::StyleName(target->SecurityStyle));
    case 2:
        return ShownNameText(permora::LevelName(target->SecurityLevel));
    default:
        return {};
    }
}

PermoraDlg::PermoraDlg() : tk::Dialog(res::PermoraDlg::Template()), icon_(AppIcon()) {
    Bind(this, kHandlers);
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
    offer_ = std::make_unique<RecoveryOffer>(Widget());
    offer_->onImportNewest = [this] {
        if (!offered_.empty())
            ImportRecovered(offered_.front());
    };
    offer_->onChoose = [this] { Recover(); };
    offer_->onDismiss = [this] {
        for (const recovery::Recovered& file : offered_)
            recovery::MarkHandled(file.name);
        offered_.clear();
        ShowOffer();
    };
}

PermoraDlg::~PermoraDlg() {
    // The list reads the template, which goes before the list's widget does.
    GetListView(IDC_TARGET_LIST).DeleteAll();
}

void PermoraDlg::OnInitDialog() {
    AddSystemMenuItem(IDM_ABOUTBOX, ToStd(tr(kAboutItemText)));
    SetIcon(icon_);

    tk::ListView list = GetListView(IDC_TARGET_LIST);
    list.SetMultiSelect(true);
    list.SetShowSelAlways(true);
    list.SetFullRowSelect(true);
    if (list.ColumnCount() == 0) {
        // The two name columns fit their captions with room to spare; the path takes the
        // rest of the list's width.
        const int extra =
            tk::SystemMetric(tk::Metric::CxHThumb) + 36 * tk::SystemMetric(tk::Metric::CxBorder);
        const std::string style = ToStd(tr("Security Style"));
        const std::string level = ToStd(tr("Security Level"));
        const int styleWidth = list.TextWidth(style + "    ") + extra;
        const int levelWidth = list.TextWidth(level + "    ") + extra;
        list.InsertColumn(0, ToStd(tr("Target Object")),
                          list.ClientWidth() - styleWidth - levelWidth);
        list.InsertColumn(1, style, styleWidth);
        list.InsertColumn(2, level, levelWidth);
    }
    listWidth_ = list.Widget()->width();

    CurrentPath = "Untitled";
    SetFocus(IDC_NEW); // the default button

    const std::vector<std::string> files = std::exchange(startFiles_, {});
    if (!files.empty()) {
        // Shown first, so that a message about a file stands over the window it is for.
        Widget()->show();
        for (const std::string& file : files) {
            const permora::ImportOutcome outcome = ImportPath(file);
            // Saves go back to a single file only when all of it was read: then the
            // template is that file as it stands on disk.
            if (files.size() == 1 && outcome.complete) {
                CurrentPath = file;
                ShowFileLabel(false);
                history_.MarkSaved();
                KnowFile(file, outcome.identity);
            }
        }
    }
    if (std::exchange(offerAtStart_, false)) {
        for (recovery::Recovered& file : recovery::List())
            if (!file.handled)
                offered_.push_back(std::move(file));
        ShowOffer();
    }
}

void PermoraDlg::BuildContextMenu() {
    QWidget* window = Widget();
    contextMenu_ = new QMenu(window);
    auto add = [&](const QString& text, const QList<QKeySequence>& keys,
                   void (PermoraDlg::*command)()) {
        QAction* action = contextMenu_->addAction(text);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        // The shortcuts work with the menu closed, too.
        window->addAction(action);
        QObject::connect(action, &QAction::triggered, window, [this, command] {
            if (!Widget()->isHidden())
                (this->*command)();
        });
        return action;
    };
    undoAction_ = add(tr("&Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &PermoraDlg::Undo);
    redoAction_ =
        add(tr("&Redo"),
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
            &PermoraDlg::Redo);
    contextMenu_->addSeparator();
    copyAction_ =
        add(tr("&Copy Security"), {QKeySequence(Qt::CTRL | Qt::Key_C)}, &PermoraDlg::CopySecurity);
    pasteAction_ = add(tr("&Paste Security"), {QKeySequence(Qt::CTRL | Qt::Key_V)},
                       &PermoraDlg::PasteSecurity);
    copyLineAction_ = add(tr("Copy &Line"), {}, &PermoraDlg::CopyLines);
    contextMenu_->addSeparator();
    addPathsAction_ = add(tr("Add Pa&ths..."), {}, &PermoraDlg::AddPaths);
    replaceAction_ = add(tr("Replace Acc&ount..."), {}, &PermoraDlg::ReplaceAccount);
    recoverAction_ = add(tr("Reco&ver..."), {}, &PermoraDlg::Recover);
    contextMenu_->addSeparator();
    QAction* about = contextMenu_->addAction(tr(kAboutItemText));
    QObject::connect(about, &QAction::triggered, window,
                     [this] { RunSystemCommand(IDM_ABOUTBOX); });

    // Opening the menu is a click on the list: the buttons follow the selection the right
    // click made.
    QObject::connect(contextMenu_, &QMenu::aboutToShow, window, [this] {
        UpdateButtons();
        UpdateCommands();
    });
    // Closed again, every shortcut is live; each command checks for itself what it can do.
    QObject::connect(contextMenu_, &QMenu::aboutToHide, window, [this] {
        for (QAction* action : contextMenu_->actions())
            action->setEnabled(true);
    });

    tk::ListView list = GetListView(IDC_TARGET_LIST);
    list.SetContextMenu(contextMenu_);
    list.SetRowToolTip([this](int row) {
        const permora::TargetObject* target = template_.At(row);
        if (target == nullptr)
            return std::string();
        std::string line = target->ToLine();
        if (line.size() > kToolTipLength) {
            line.resize(kToolTipLength);
            line += "\xe2\x80\xa6"; // ...
        }
        return line;
    });
}

void PermoraDlg::UpdateCommands() {
    std::vector<int> rows;
    const std::vector<permora::TargetObject*> selected = SelectedTargets(rows);
    const auto withStep = [](const QString& verb, const QString& verbWithStep,
                             const permora::TemplateStep* step) {
        return step != nullptr ? verbWithStep.arg(QString::fromStdString(step->Name)) : verb;
    };
    undoAction_->setText(withStep(tr("&Undo"), tr("&Undo %1"), history_.NextUndo()));
    undoAction_->setEnabled(history_.CanUndo());
    redoAction_->setText(withStep(tr("&Redo"), tr("&Redo %1"), history_.NextRedo()));
    redoAction_->setEnabled(history_.CanRedo());
    copyAction_->setEnabled(selected.size() == 1 &&
                            selected.front()->SecurityStyle == permora::kStyleNtfs &&
                            selected.front()->Descriptor != nullptr);
    pasteAction_->setEnabled(copied_ != nullptr && !selected.empty());
    copyLineAction_->setEnabled(!selected.empty());
    addPathsAction_->setEnabled(true);
    replaceAction_->setEnabled(template_.Count > 0);
    recoverAction_->setEnabled(true);
}

std::vector<permora::TargetObject*> PermoraDlg::SelectedTargets(std::vector<int>& rows) const {
    rows = GetListView(IDC_TARGET_LIST).SelectedRows();
    std::vector<permora::TargetObject*> targets;
    targets.reserve(rows.size());
    for (const int row : rows) {
        permora::TargetObject* target = template_.At(row);
        if (target == nullptr)
            break;
        targets.push_back(target);
    }
    return targets;
}

void PermoraDlg::Record(permora::TemplateStep step, std::string name,
                        std::vector<int> selectionBefore) {
    step.Name = std::move(name);
    step.SelectionBefore = std::move(selectionBefore);
    step.SelectionAfter = GetListView(IDC_TARGET_LIST).SelectedRows();
    history_.Push(std::move(step));
}

void PermoraDlg::EnableForSelection() {
    if (template_.Count == 0) {
        EnableSaves(false);
        EnableSelectionCommands(false);
        Enable(IDC_REMOVE, false);
        return;
    }
    const int selected = GetListView(IDC_TARGET_LIST).SelectedCount();
    EnableSelectionCommands(selected == 1);
    Enable(IDC_REMOVE, selected >= 1);
}

void PermoraDlg::ShowHistoryMove(const permora::TemplateStep& step, bool undone) {
    if (step.ChangesPath)
        CurrentPath = undone ? step.PathBefore : step.PathAfter;
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    ShowRowsAfter(step, undone);
    list.SetSelectedRows(undone ? step.SelectionBefore : step.SelectionAfter);
    // Back at the template as it was last saved (or made new), the label says so.
    ShowFileLabel(!history_.IsAtSavedState());
    if (template_.Count > 0)
        EnableSaves(true);
    EnableForSelection();
}

void PermoraDlg::ShowRowsAfter(const permora::TemplateStep& step, bool undone) {
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    const int rows = list.RowCount();
    const int targets = template_.Count;
    using permora::StepKind;
    // A change of descriptors leaves every row's text as it is.
    if (step.Kind == StepKind::Descriptors)
        return;
    // Rows that moved, went or came back are followed one by one when the list showed the
    // whole template before.
    if (step.Kind == StepKind::Swap && rows == targets) {
        list.MoveRow(step.Count, step.Count + 1);
    } else if (step.Kind == StepKind::Append && undone && rows == targets + step.Count) {
        list.DeleteRows(LastPositions(step.Count, rows));
    } else if (step.Kind == StepKind::Remove && !undone &&
               rows == targets + static_cast<int>(step.Indexes.size())) {
        list.DeleteRows(step.Indexes);
    } else if (step.Kind == StepKind::Append && !undone) {
        ShowAppendedTargets(step.Count);
    } else if (step.Kind == StepKind::Remove && undone) {
        ShowTargetsAt(step.Indexes);
    } else {
        FillRows();
    }
}

void PermoraDlg::Undo() {
    if (const permora::TemplateStep* step = history_.Undo(template_))
        ShowHistoryMove(*step, true);
}

void PermoraDlg::Redo() {
    if (const permora::TemplateStep* step = history_.Redo(template_))
        ShowHistoryMove(*step, false);
}

void PermoraDlg::CopySecurity() {
    std::vector<int> rows;
    const std::vector<permora::TargetObject*> selected = SelectedTargets(rows);
    if (selected.size() != 1 || selected.front()->SecurityStyle != permora::kStyleNtfs ||
        selected.front()->Descriptor == nullptr)
        return;
    copied_ = selected.front()->Descriptor->Clone();
    QGuiApplication::clipboard()->setText(QString::fromStdString(selected.front()->ToLine()));
}

void PermoraDlg::PasteSecurity() {
    std::vector<int> rows;
    const std::vector<permora::TargetObject*> selected = SelectedTargets(rows);
    if (copied_ == nullptr || selected.empty())
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
        Record(permora::DescriptorsStep(std::move(changed), std::move(previous)),
               ToStd(count == 1 ? tr("Paste Security onto 1 Target")
                                : tr("Paste Security onto %n Targets", nullptr, Count(count))),
               rows);
        ShowFileLabel(true);
        EnableSaves(true);
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
    if (selected.empty())
        return;
    std::string text;
    for (const permora::TargetObject* target : selected) {
        text += target->ToLine();
        text += '\n';
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void PermoraDlg::AddPaths() {
    AddPathsDlg dialog(template_, copied_ != nullptr, this);
    if (dialog.DoModal() != tk::IDOK)
        return;
    const permora::PathList& list = dialog.Result();
    tk::ListView view = GetListView(IDC_TARGET_LIST);
    std::vector<int> before = view.SelectedRows();
    const int first = template_.Count;
    const std::vector<permora::TargetObject*> added = permora::AppendTargets(
        template_, list.paths, dialog.Level(), dialog.UseCopied() ? copied_.get() : nullptr);
    if (!added.empty()) {
        ShowAppendedTargets(static_cast<int>(added.size()));
        // The new rows are selected, ready for the next command.
        view.SetSelectedRows(LastPositions(static_cast<int>(added.size()), template_.Count));
        view.Widget()->scrollTo(view.Widget()->model()->index(first, 0));
        Record(permora::AppendStep(static_cast<int>(added.size())),
               ToStd(added.size() == 1 ? tr("Add 1 Path")
                                       : tr("Add %n Paths", nullptr, Count(added.size()))),
               std::move(before));
        ShowFileLabel(true);
        EnableSaves(true);
        EnableForSelection();
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
        template_, dialog.OldName(), dialog.NewName(),
        dialog.SelectedOnly() ? permora::TargetsAt(rows) : permora::AllTargets(),
        [&](permora::TargetObject& target, int index) {
            changed.push_back(index);
            previous.push_back(target.Descriptor ? target.Descriptor->Clone() : nullptr);
        });
    if (!changed.empty()) {
        Record(permora::DescriptorsStep(std::move(changed), std::move(previous)),
               ToStd(tr("Replace Account")), rows);
        ShowFileLabel(true);
        EnableSaves(true);
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
    offerShift_ = 0;
    LayOutOffer();
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

void PermoraDlg::OnCancel() {
    KeepUnsavedWork();
    tk::Dialog::OnCancel();
}

void PermoraDlg::KeepUnsavedWork() const {
    if (unsaved_)
        recovery::Write(template_); // quietly: a failure never keeps the window open
}

void PermoraDlg::ShowFileLabel(bool changed) {
    unsaved_ = changed;
    // The label's "&" marks its access key; a "&" in a file name is doubled to be shown as
    // it is.
    std::string text;
    text.reserve(CurrentPath.size() + 1);
    for (const char c : CurrentPath) {
        text.push_back(c);
        if (c == '&')
            text.push_back('&');
    }
    if (changed)
        text.push_back('*');
    SetText(IDC_FILE_LABEL, text);
    elider_->SetPath(QString::fromStdString(CurrentPath), changed);
}

std::string PermoraDlg::ShownFileLabel() const {
    return elider_->Shown().toStdString();
}

void PermoraDlg::EnableSaves(bool enable) {
    Enable(IDC_SAVE_UNICODE, enable);
    Enable(IDC_SAVE_UTF8, enable);
}

void PermoraDlg::EnableSelectionCommands(bool enable) {
    Enable(IDC_EDIT, enable);
    Enable(IDC_UP, enable);
    Enable(IDC_DOWN, enable);
}

void PermoraDlg::FillRows() {
    // The rows read their texts from the template by position when they are shown: the list
    // keeps no copies, and nothing it holds can outlive a target that Remove, New or Undo
    // took away.
    GetListView(IDC_TARGET_LIST).SetRowSource(template_.Count, [this](int row, int column) {
        return TargetCell(template_, row, column);
    });
}

void PermoraDlg::ShowTargetsAt(const std::vector<int>& positions) {
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    if (list.RowCount() + static_cast<int>(positions.size()) != template_.Count ||
        !list.InsertSourceRows(positions))
        FillRows();
}

void PermoraDlg::ShowAppendedTargets(int count) {
    ShowTargetsAt(LastPositions(count, template_.Count));
}

void PermoraDlg::RefreshList() {
    RefreshListAfterAppend(-1);
}

void PermoraDlg::RefreshListAfterAppend(int count) {
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    if (template_.Count == 0) {
        list.DeleteAll();
        EnableSaves(false);
        EnableSelectionCommands(false);
        Enable(IDC_REMOVE, false);
        return;
    }
    if (count < 0)
        FillRows();
    else
        ShowAppendedTargets(count);
    list.Select(0);
}

void PermoraDlg::UpdateButtons() {
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    if (list.RowCount() == 0) {
        EnableSaves(false);
        EnableSelectionCommands(false);
        Enable(IDC_REMOVE, false);
        return;
    }
    const int selected = list.SelectedCount();
    if (selected == 0) {
        EnableSelectionCommands(false);
        Enable(IDC_REMOVE, false);
    } else if (selected == 1) {
        EnableSelectionCommands(true);
        Enable(IDC_REMOVE, true);
    } else {
        // Several rows: only Remove makes sense, and it keeps its state.
        EnableSelectionCommands(false);
    }
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
    const std::string pathBefore = CurrentPath;
    std::vector<int> selectionBefore = GetListView(IDC_TARGET_LIST).SelectedRows();
    std::string chosen;
    if (!ChoosePath(true, kNewDialogFlags, chosen))
        return;
    CurrentPath = chosen;
    KeepUnsavedWork();
    // The file is neither created nor read: it only names where the next save goes.
    ShowFileLabel(false);
    // The targets go into the history rather than away, so that New can be undone.
    std::vector<int> all(static_cast<std::size_t>(template_.Count));
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i);
    permora::TemplateStep step = permora::RemoveStep(template_, std::move(all));
    step.ChangesPath = true;
    step.PathBefore = pathBefore;
    step.PathAfter = CurrentPath;
    GetListView(IDC_TARGET_LIST).DeleteAll();
    Record(std::move(step), ToStd(tr("New")), std::move(selectionBefore));
    history_.MarkSaved();
}

void PermoraDlg::AddTarget() {
    AddFileDlg dialog;
    if (dialog.DoModal() != tk::IDOK)
        return;
    std::vector<int> selectionBefore = GetListView(IDC_TARGET_LIST).SelectedRows();
    const int added = dialog.ResultTarget ? template_.Append(dialog.TakeResultTarget()) : 0;
    RefreshListAfterAppend(added);
    if (added > 0)
        Record(permora::AppendStep(added), ToStd(tr("Add Target")), std::move(selectionBefore));
    ShowFileLabel(true);
    EnableSaves(true);
    const int selected = GetListView(IDC_TARGET_LIST).SelectedCount();
    if (selected == 1)
        EnableSelectionCommands(true);
    if (selected >= 1)
        Enable(IDC_REMOVE, true);
}

void PermoraDlg::EditTarget() {
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    const std::vector<int> selected = list.SelectedRows();
    if (selected.empty())
        return;
    const int index = selected.front();
    const std::string rowText = list.Cell(index, 0);
    permora::TargetObject* target = template_.At(index);
    // Edit only the target the row stands for, and only an NTFS one.
    if (target == nullptr || !list.FirstCellWas(index, target->Path) ||
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
        Record(permora::DescriptorsStep({index}, std::move(previous)), ToStd(tr("Edit Target")),
               selected);
        ShowFileLabel(true);
        EnableSaves(true);
    } else {
        target->Descriptor = std::move(before);
    }
    page.ReleaseTarget();
}

void PermoraDlg::RemoveTargets() {
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    std::vector<int> selected = list.SelectedRows();
    std::optional<permora::TemplateStep> step;
    if (!selected.empty()) {
        // One walk through the template, whose removed targets the history keeps for Undo;
        // the list loses just the rows that go, unless it no longer shows the whole template
        // (an import that stopped at a bad line).
        const bool listShowsTemplate = list.RowCount() == template_.Count;
        step = permora::RemoveStep(template_, selected);
        if (listShowsTemplate)
            list.DeleteRows(selected);
        else
            FillRows();
    }
    ShowFileLabel(true);
    if (template_.Count > 0) {
        EnableSaves(true);
        list.Select(0);
    } else {
        EnableSaves(false);
        EnableSelectionCommands(false);
        Enable(IDC_REMOVE, false);
    }
    if (step) {
        const std::size_t count = selected.size();
        Record(std::move(*step),
               ToStd(count == 1 ? tr("Remove 1 Target")
                                : tr("Remove %n Targets", nullptr, Count(count))),
               std::move(selected));
    }
}

void PermoraDlg::MoveTargetUp() {
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    const std::vector<int> selected = list.SelectedRows();
    if (selected.empty() || selected.front() == 0)
        return;
    const int index = selected.front();
    // Exchange only when the rows still show the targets they stand for.
    const permora::TargetObject* target = template_.At(index);
    const bool exchange = target != nullptr && target->Prev != nullptr &&
                          list.FirstCellWas(index, target->Path) &&
                          list.FirstCellWas(index - 1, target->Prev->Path);
    if (exchange)
        template_.MoveUp(index);
    // Only the two rows change places, when the list shows the whole template.
    if (exchange && list.RowCount() == template_.Count)
        list.MoveRow(index, index - 1);
    else
        RefreshList();
    list.Select(0, false);
    list.Select(index - 1);
    ShowFileLabel(true);
    EnableSaves(true);
    if (exchange)
        Record(permora::SwapStep(index - 1), ToStd(tr("Move Up")), selected);
}

void PermoraDlg::MoveTargetDown() {
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    const std::vector<int> selected = list.SelectedRows();
    if (selected.empty() || selected.front() == list.RowCount() - 1)
        return;
    const int index = selected.front();
    const permora::TargetObject* target = template_.At(index);
    const bool exchange = target != nullptr && target->Next != nullptr &&
                          list.FirstCellWas(index, target->Path) &&
                          list.FirstCellWas(index + 1, target->Next->Path);
    if (exchange)
        template_.MoveDown(index);
    if (exchange && list.RowCount() == template_.Count)
        list.MoveRow(index, index + 1);
    else
        RefreshList();
    list.Select(0, false);
    list.Select(index + 1);
    ShowFileLabel(true);
    EnableSaves(true);
    if (exchange)
        Record(permora::SwapStep(index), ToStd(tr("Move Down")), selected);
}

bool PermoraDlg::ChoosePath(bool open, unsigned flags, std::string& path) {
    const tk::FileDialogResult chosen = tk::FileDialog(FileRequest(open, flags));
    if (chosen.result != tk::IDOK)
        return false;
    path = chosen.path;
    return !path.empty();
}

void PermoraDlg::WriteFile(const std::string& path, permora::Encoding encoding,
                           std::string_view openMessage, int saveButton) {
    switch (permora::SaveTemplate(path, template_, encoding)) {
    case permora::SaveStatus::Saved:
        CurrentPath = path;
        ShowFileLabel(false);
        Enable(saveButton, false);
        history_.MarkSaved();
        KnowFile(path, permora::IdentityOf(path));
        return;
    case permora::SaveStatus::OpenFailed:
        tk::MessageBox(this, ToStd(tr(std::string(openMessage).c_str())), ToStd(tr("Error")));
        return;
    case permora::SaveStatus::Locked:
        // The window never waits for another writer; the user saves again later.
        tk::MessageBox(this, ToStd(tr(kBeingWritten)), ToStd(tr("Error")));
        return;
    case permora::SaveStatus::WriteFailed:
        break;
    }
    // The save did not happen; the previous file was kept, or put back after a failed
    // in-place write.
    tk::MessageBox(this, ToStd(tr(kCreateFailed)), ToStd(tr("Error")));
}

void PermoraDlg::KnowFile(const std::string& path, std::optional<permora::FileIdentity> identity) {
    knownPath_ = path;
    knownIdentity_ = identity;
}

bool PermoraDlg::SaveOverChangedFile(permora::Encoding encoding, int saveButton) {
    if (!knownIdentity_ || knownPath_ != CurrentPath ||
        !permora::ChangedSince(CurrentPath, *knownIdentity_))
        return false;
    const int answer = tk::MessageBox(
        this,
        ToStd(tr("%1 has changed on disk since it was last read or saved. Overwrite it?")
                  .arg(QString::fromStdString(CurrentPath))),
        ToStd(tr("Confirm")), tk::MB_YESNO | tk::MB_ICONQUESTION);
    if (answer == tk::IDYES)
        WriteFile(CurrentPath, encoding, kOpenFailed, saveButton);
    return true;
}

void PermoraDlg::SaveUnicode() {
    if (CurrentPath.empty()) {
        SaveAs();
        return;
    }
    if (SaveOverChangedFile(permora::Encoding::Unicode, IDC_SAVE_UNICODE))
        return;
    const int answer = tk::MessageBox(
        this, ToStd(tr("Do you want to overwrite  %1?").arg(QString::fromStdString(CurrentPath))),
        ToStd(tr("Confirm")), tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION);
    if (answer == tk::IDNO) {
        SaveAs();
        return;
    }
    if (answer != tk::IDYES)
        return;
    WriteFile(CurrentPath, permora::Encoding::Unicode, kOpenFailed, IDC_SAVE_UNICODE);
}

void PermoraDlg::SaveUtf8() {
    std::string path = CurrentPath;
    bool choose = path.empty();
    if (!choose) {
        if (SaveOverChangedFile(permora::Encoding::EightBit, IDC_SAVE_UTF8))
            return;
        const int answer = tk::MessageBox(
            this,
            ToStd(tr("Do you want to overwrite %1?").arg(QString::fromStdString(CurrentPath))),
            ToStd(tr("Confirm")), tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION);
        if (answer != tk::IDYES && answer != tk::IDNO)
            return;
        choose = answer == tk::IDNO;
    }
    if (choose && !ChoosePath(false, kSaveDialogFlags, path))
        return;
    WriteFile(path, permora::Encoding::EightBit, kOpenFailed, IDC_SAVE_UTF8);
}

void PermoraDlg::SaveAs() {
    std::string path;
    if (!ChoosePath(false, kSaveDialogFlags, path))
        return;
    WriteFile(path, permora::Encoding::Unicode, kCreateFailed, IDC_SAVE_UNICODE);
}

void PermoraDlg::Import() {
    const tk::FileDialogResult chosen = tk::FileDialog(FileRequest(true, kImportDialogFlags));
    if (chosen.result != tk::IDOK || chosen.path.empty())
        return;
    ImportPath(chosen.path);
}

permora::ImportOutcome PermoraDlg::ImportPath(const std::string& path) {
    return ImportWith(std::filesystem::path(path).filename().string(),
                      [&](const permora::MessageSink& sink) {
                          return permora::ImportTemplate(path, template_, sink);
                      });
}

permora::ImportOutcome PermoraDlg::ImportWith(
    const std::string& name,
    const std::function<permora::ImportOutcome(const permora::MessageSink&)>& read) {
    std::vector<int> selectionBefore = GetListView(IDC_TARGET_LIST).SelectedRows();
    const permora::ImportOutcome outcome = read([this](const std::string& message) {
        tk::MessageBox(this, ShownReaderMessage(message), ToStd(tr("Error")));
    });
    ShowImport(outcome);
    // One step per file, also for the targets of a file whose import stopped early.
    if (outcome.appended > 0)
        Record(permora::AppendStep(outcome.appended),
               ToStd(tr("Import %1").arg(QString::fromStdString(name))),
               std::move(selectionBefore));
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
        tk::MessageBox(this, ToStd(tr(kOpenFailed)), ToStd(tr("Error")));
    } else {
        ImportWith(file.name, [&](const permora::MessageSink& sink) {
            permora::ImportReport report;
            report.message = [&sink](int, const std::string& message) { sink(message); };
            return permora::ImportOpenFile(fd, template_, report);
        });
        ::close(fd);
        recovery::MarkHandled(file.name);
    }
    const std::string name = file.name; // file may be one of offered_
    std::erase_if(offered_,
                  [&name](const recovery::Recovered& offered) { return offered.name == name; });
    ShowOffer();
}

void PermoraDlg::ShowOffer() {
    if (offered_.empty())
        offer_->Hide();
    else
        offer_->Show(offered_.size(), offered_.front().kept);
    LayOutOffer();
}

void PermoraDlg::LayOutOffer() {
    QWidget* list = Control(IDC_TARGET_LIST);
    QRect place = list->geometry();
    place.setTop(place.top() - offerShift_); // the list's own place, without the line
    const int height = offer_->Height();
    offerShift_ = height > 0 ? height + kOfferGap : 0;
    offer_->Widget()->setGeometry(place.left(), place.top(), place.width(), height);
    place.setTop(place.top() + offerShift_);
    list->setGeometry(place);
}

void PermoraDlg::ShowImport(const permora::ImportOutcome& outcome) {
    if (!outcome.opened) {
        tk::MessageBox(this, ToStd(tr(kOpenFailed)), ToStd(tr("Error")));
        return;
    }
    if (!outcome.complete) {
        // The lines before the failing one stay imported: show them and mark the template
        // as changed, with the saves enabled so that what was read can be kept, and the
        // row commands as for a click on the selected first row.
        if (outcome.appended > 0) {
            ShowAppendedTargets(outcome.appended);
            GetListView(IDC_TARGET_LIST).Select(0);
            ShowFileLabel(true);
            EnableSaves(true);
            UpdateButtons();
        }
        // A line that failed has said why; a read that failed has not.
        if (outcome.readFailed)
            tk::MessageBox(this, ToStd(tr(kOpenFailed)), ToStd(tr("Error")));
        return;
    }
    RefreshListAfterAppend(outcome.appended);
    ShowFileLabel(true);
    EnableSaves(true);
    EnableSelectionCommands(true);
    Enable(IDC_REMOVE, true);
}
