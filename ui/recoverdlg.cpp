#include "ui/recoverdlg.h"

#include "resources/templates/recoverdlg.h"
#include "ui/toolkit/modal_host.h"

#include <utility>

namespace {

namespace ids = res::RecoverDlg;

const tk::Handler<RecoverDlg> kHandlers[] = {
    {ids::IDC_FILES, tk::Notify::Click, &RecoverDlg::OnSelectionChange},
    {ids::IDC_FILES, tk::Notify::DblClick, &RecoverDlg::OnDoubleClick},
};

} // namespace

std::string KeptAt(std::time_t kept) {
    std::tm local{};
    ::localtime_r(&kept, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

RecoverDlg::RecoverDlg(std::vector<recovery::Recovered> files, const tk::Window* parent)
    : tk::Dialog(ids::Template(), parent), files_(std::move(files)) {
    Bind(this, kHandlers);
}

RecoverDlg::~RecoverDlg() = default;

void RecoverDlg::OnInitDialog() {
    tk::ListView list = GetListView(ids::IDC_FILES);
    list.SetFullRowSelect(true);
    if (list.ColumnCount() == 0) {
        const int keptWidth = list.TextWidth("0000-00-00 00:00:00    ");
        list.InsertColumn(0, tr("Kept at").toStdString(), keptWidth);
        list.InsertColumn(1, tr("File").toStdString(), list.ClientWidth() - keptWidth);
    }
    std::vector<std::vector<std::string>> rows;
    for (const recovery::Recovered& file : files_)
        rows.push_back({KeptAt(file.kept), file.name});
    list.SetRows(std::move(rows));
    if (!files_.empty())
        list.Select(0);
    OnSelectionChange();
    SetFocus(ids::IDC_FILES);
}

void RecoverDlg::OnSelectionChange() {
    Enable(tk::IDOK, GetListView(ids::IDC_FILES).SelectedCount() == 1);
}

void RecoverDlg::OnOK() {
    const std::vector<int> selected = GetListView(ids::IDC_FILES).SelectedRows();
    if (selected.size() != 1 || static_cast<std::size_t>(selected.front()) >= files_.size())
        return;
    chosen_ = files_[static_cast<std::size_t>(selected.front())];
    EndDialog(tk::IDOK);
}
