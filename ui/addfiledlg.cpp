#include "ui/addfiledlg.h"

#include "model/checks.h"
#include "resources/templates/addfiledlg.h"
#include "ui/securityproppage.h"
#include "ui/toolkit/modal_host.h"

#include <utility>

namespace {

namespace ids = res::AddFileDlg;

const tk::Handler<AddFileDlg> kHandlers[] = {
    {ids::IDC_PATH, tk::Notify::Changed, &AddFileDlg::OnPathChange},
    {ids::IDC_NTFS, tk::Notify::Clicked, &AddFileDlg::OnNtfs},
    {ids::IDC_NFS_V4, tk::Notify::Clicked, &AddFileDlg::OnNfsV4},
    {ids::IDC_NFS_V3, tk::Notify::Clicked, &AddFileDlg::OnNfsV3},
    {ids::IDC_FILE_DIRECTORY, tk::Notify::Clicked, &AddFileDlg::OnFileDirectory},
    {ids::IDC_STORAGE, tk::Notify::Clicked, &AddFileDlg::OnStorage},
};

} // namespace

AddFileDlg::AddFileDlg() : tk::Dialog(ids::Template()) {
    Bind(this, kHandlers);
}

AddFileDlg::~AddFileDlg() = default;

void AddFileDlg::OnInitDialog() {
    fileDirectory_ = 1;
    storage_ = 0;
    ntfs_ = 1;
    level_ = permora::kLevelFileDirectory;
    CheckRadio(ids::IDC_NTFS, ids::IDC_NFS_V3, ids::IDC_NTFS);
    CheckRadio(ids::IDC_FILE_DIRECTORY, ids::IDC_STORAGE,
               storage_ != 0 ? ids::IDC_STORAGE : ids::IDC_FILE_DIRECTORY);
    // The path is what a user comes to type.
    SetFocus(ids::IDC_PATH);
}

bool AddFileDlg::HasPath() const {
    return TextLength(ids::IDC_PATH) != 0;
}

void AddFileDlg::OnPathChange() {
    if (!HasPath()) {
        Enable(tk::IDOK, false);
    } else if (HasStyle() && HasApplyTo()) {
        Enable(tk::IDOK, true);
    }
}

void AddFileDlg::OnNtfs() {
    ntfs_ = 1;
    nfsV4_ = 0;
    nfsV3_ = 0;
    if (HasPath() && HasApplyTo()) {
        Enable(tk::IDOK, true);
    }
}

// Only NTFS targets are made here; the other styles come from imported files.
void AddFileDlg::OnNfsV4() {}
void AddFileDlg::OnNfsV3() {}

void AddFileDlg::OnFileDirectory() {
    fileDirectory_ = 1;
    storage_ = 0;
    level_ = permora::kLevelFileDirectory;
    if (HasPath() && HasStyle()) {
        Enable(tk::IDOK, true);
    }
}

void AddFileDlg::OnStorage() {
    storage_ = 1;
    fileDirectory_ = 0;
    level_ = permora::kLevelStorage;
    if (HasPath() && HasStyle()) {
        Enable(tk::IDOK, true);
    }
}

void AddFileDlg::OnOK() {
    path_ = permora::TrimBlanks(Text(ids::IDC_PATH));
    if (path_.empty()) {
        return;
    }
    if (!permora::IsPathValid(path_)) {
        tk::MessageBox(this, tr("Invalid File Path").toStdString(), tr("Error").toStdString());
        path_.clear(); // the edit box keeps what the user typed
        return;
    }
    if (ntfs_ == 0) {
        EndDialog(tk::IDOK);
        return;
    }
    auto target = std::make_unique<permora::TargetObject>(path_, permora::MakeDefaultDescriptor());
    target->SecurityLevel = level_;
    // The page outlives the sheet that shows it.
    SecurityPropPage page(std::move(target));
    // As the title has always read: no blank before the path.
    tk::PropertySheet sheet(
        tr("NTFS Security for%1").arg(QString::fromStdString(path_)).toStdString());
    sheet.AddPage(&page);
    if (sheet.DoModal() == tk::IDOK) {
        ResultTarget = page.ReleaseTarget();
        EndDialog(tk::IDOK);
    } else {
        // The new target goes; the dialog stays open with the user's inputs.
        page.ReleaseTarget();
    }
}
