#include "ui/permoradlg.h"

#include "model/checks.h"
#include "model/names.h"
#include "resources/templates/permoradlg.h"
#include "ui/aboutdlg.h"
#include "ui/addfiledlg.h"
#include "ui/recovery.h"
#include "ui/securityproppage.h"
#include "ui/toolkit/modal_host.h"

#include <QWidget>

#include <memory>
#include <utility>

namespace {

using namespace res::PermoraDlg;

constexpr const char* kConfFilter = "Conf files (*.conf)|*.conf|All files (*.*)|*.*||";
constexpr const char* kOpenFailed = "There is problem in opening this file.";
constexpr const char* kCreateFailed = "There is problem in creating this file.";

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
    {IDC_TARGET_LIST, &PermoraDlg::OnListKey},
};

const char* OrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

} // namespace

QIcon AppIcon() {
    QIcon icon;
    for (const char* file : {":/permora/permora-16.png", ":/permora/permora-32.png",
                             ":/permora/permora-48.png", ":/permora/permora-256.png"})
        icon.addFile(QString::fromLatin1(file));
    return icon;
}

std::vector<std::vector<std::string>> TargetRows(const permora::SecurityTemplate& tmpl) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(static_cast<std::size_t>(tmpl.Count));
    for (const permora::TargetObject* target = tmpl.Head; target != nullptr; target = target->Next)
        rows.push_back({target->Path, OrEmpty(permora::StyleName(target->SecurityStyle)),
                        OrEmpty(permora::LevelName(target->SecurityLevel))});
    return rows;
}

PermoraDlg::PermoraDlg() : tk::Dialog(res::PermoraDlg::Template()), icon_(AppIcon()) {
    Bind(this, kHandlers);
}

PermoraDlg::~PermoraDlg() {
    DetachHandlers();
}

void PermoraDlg::OnInitDialog() {
    AddSystemMenuItem(IDM_ABOUTBOX, kAboutItemText);
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
        const int styleWidth = list.TextWidth("Security Style    ") + extra;
        const int levelWidth = list.TextWidth("Security Level    ") + extra;
        list.InsertColumn(0, "Target Object", list.ClientWidth() - styleWidth - levelWidth);
        list.InsertColumn(1, "Security Style", styleWidth);
        list.InsertColumn(2, "Security Level", levelWidth);
    }

    CurrentPath = "Untitled";
    SetFocus(IDC_NEW); // the default button

    const std::vector<std::string> files = std::exchange(startFiles_, {});
    if (!files.empty()) {
        // Shown first, so that a message about a file stands over the window it is for.
        Widget()->show();
        if (files.size() == 1)
            CurrentPath = files.front();
        for (const std::string& file : files)
            ImportPath(file);
    }
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
    GetListView(IDC_TARGET_LIST).SetRows(TargetRows(template_));
}

void PermoraDlg::RefreshList() {
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    if (template_.Count == 0) {
        list.DeleteAll();
        EnableSaves(false);
        EnableSelectionCommands(false);
        Enable(IDC_REMOVE, false);
        return;
    }
    FillRows();
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
    request.filter = kConfFilter;
    return request;
}

void PermoraDlg::NewTemplate() {
    if (!ChooseCurrentPath(true, kNewDialogFlags))
        return;
    KeepUnsavedWork();
    // The file is neither created nor read: it only names where the next save goes.
    ShowFileLabel(false);
    template_.Clear();
    GetListView(IDC_TARGET_LIST).DeleteAll();
}

void PermoraDlg::AddTarget() {
    AddFileDlg dialog;
    if (dialog.DoModal() != tk::IDOK)
        return;
    if (std::unique_ptr<permora::TargetObject> target = dialog.TakeResultTarget())
        template_.Append(std::move(target));
    RefreshList();
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
    if (target == nullptr || !permora::EqualsNoCase(rowText, target->Path) ||
        target->SecurityStyle != permora::kStyleNtfs)
        return;
    SecurityPropPage page(*target);
    tk::PropertySheet sheet("NTFS Security for " + rowText);
    sheet.AddPage(&page);
    // The page changes the descriptor at once; Cancel puts this copy back.
    std::unique_ptr<permora::SecurityDescriptor> before =
        target->Descriptor ? target->Descriptor->Clone() : nullptr;
    if (sheet.DoModal() == tk::IDOK) {
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
    if (!selected.empty()) {
        // One walk through the template and one rebuild of the rows, however many rows
        // go.
        template_.RemoveMany(std::move(selected));
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
}

void PermoraDlg::MoveTargetUp() {
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    const std::vector<int> selected = list.SelectedRows();
    if (selected.empty() || selected.front() == 0)
        return;
    const int index = selected.front();
    // Exchange only when the rows still show the targets they stand for.
    const permora::TargetObject* target = template_.At(index);
    if (target != nullptr && target->Prev != nullptr &&
        permora::EqualsNoCase(target->Path, list.Cell(index, 0)) &&
        permora::EqualsNoCase(target->Prev->Path, list.Cell(index - 1, 0)))
        template_.MoveUp(index);
    RefreshList();
    list.Select(0, false);
    list.Select(index - 1);
    ShowFileLabel(true);
    EnableSaves(true);
}

void PermoraDlg::MoveTargetDown() {
    tk::ListView list = GetListView(IDC_TARGET_LIST);
    const std::vector<int> selected = list.SelectedRows();
    if (selected.empty() || selected.front() == list.RowCount() - 1)
        return;
    const int index = selected.front();
    const permora::TargetObject* target = template_.At(index);
    if (target != nullptr && target->Next != nullptr &&
        permora::EqualsNoCase(target->Path, list.Cell(index, 0)) &&
        permora::EqualsNoCase(target->Next->Path, list.Cell(index + 1, 0)))
        template_.MoveDown(index);
    RefreshList();
    list.Select(0, false);
    list.Select(index + 1);
    ShowFileLabel(true);
    EnableSaves(true);
}

bool PermoraDlg::ChooseCurrentPath(bool open, unsigned flags) {
    const tk::FileDialogResult chosen = tk::FileDialog(FileRequest(open, flags));
    if (chosen.result != tk::IDOK)
        return false;
    CurrentPath = chosen.path;
    return !CurrentPath.empty();
}

void PermoraDlg::WriteFile(permora::Encoding encoding, std::string_view openMessage,
                           int saveButton) {
    switch (permora::SaveTemplate(CurrentPath, template_, encoding)) {
    case permora::SaveStatus::Saved:
        ShowFileLabel(false);
        Enable(saveButton, false);
        return;
    case permora::SaveStatus::OpenFailed:
        tk::MessageBox(this, openMessage, "Error");
        return;
    case permora::SaveStatus::WriteFailed:
        break;
    }
    // The previous file is still there, untouched; say the save did not happen.
    tk::MessageBox(this, kCreateFailed, "Error");
}

void PermoraDlg::SaveUnicode() {
    if (CurrentPath.empty()) {
        SaveAs();
        return;
    }
    const int answer = tk::MessageBox(this, "Do you want to overwrite  " + CurrentPath + "?",
                                      "Confirm", tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION);
    if (answer == tk::IDNO) {
        SaveAs();
        return;
    }
    if (answer != tk::IDYES)
        return;
    WriteFile(permora::Encoding::Unicode, kOpenFailed, IDC_SAVE_UNICODE);
}

void PermoraDlg::SaveUtf8() {
    bool choose = CurrentPath.empty();
    if (!choose) {
        const int answer = tk::MessageBox(this, "Do you want to overwrite " + CurrentPath + "?",
                                          "Confirm", tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION);
        if (answer != tk::IDYES && answer != tk::IDNO)
            return;
        choose = answer == tk::IDNO;
    }
    if (choose && !ChooseCurrentPath(false, kSaveDialogFlags))
        return;
    WriteFile(permora::Encoding::EightBit, kOpenFailed, IDC_SAVE_UTF8);
}

void PermoraDlg::SaveAs() {
    if (!ChooseCurrentPath(false, kSaveDialogFlags))
        return;
    WriteFile(permora::Encoding::Unicode, kCreateFailed, IDC_SAVE_UNICODE);
}

void PermoraDlg::Import() {
    const tk::FileDialogResult chosen = tk::FileDialog(FileRequest(true, kImportDialogFlags));
    if (chosen.result != tk::IDOK || chosen.path.empty())
        return;
    ImportPath(chosen.path);
}

void PermoraDlg::ImportPath(const std::string& path) {
    const permora::ImportOutcome outcome =
        permora::ImportTemplate(path, template_, [this](const std::string& message) {
            tk::MessageBox(this, message, "Error");
        });
    if (!outcome.opened) {
        tk::MessageBox(this, kOpenFailed, "Error");
        return;
    }
    if (!outcome.complete) {
        // The lines before the failing one stay imported: show them and mark the template
        // as changed, with the saves enabled so that what was read can be kept, and the
        // row commands as for a click on the selected first row.
        if (outcome.appended > 0) {
            FillRows();
            GetListView(IDC_TARGET_LIST).Select(0);
            ShowFileLabel(true);
            EnableSaves(true);
            UpdateButtons();
        }
        // A line that failed has said why; a read that failed has not.
        if (outcome.readFailed)
            tk::MessageBox(this, kOpenFailed, "Error");
        return;
    }
    RefreshList();
    ShowFileLabel(true);
    EnableSaves(true);
    EnableSelectionCommands(true);
    Enable(IDC_REMOVE, true);
}
