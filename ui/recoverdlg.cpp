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
        const int countWidth = list.TextWidth(tr("Targets").toStdString() + "    ");
        const int rest = list.ClientWidth() - keptWidth - countWidth;
        list.InsertColumn(0, tr("Kept at").toStdString(), keptWidth);
        list.InsertColumn(1, tr("File").toStdString(), rest / 2);
        list.InsertColumn(2, tr("Original File").toStdString(), rest - rest / 2);
        list.InsertColumn(3, tr("Targets").toStdString(), countWidth);
    }
    std::vector<std::vector<std::string>> rows;
    for (const recovery::Recovered& file : files_) {
        // Older files have no side file: what they were of is not known.
        const bool known = file.origin.has_value();
        rows.push_back({KeptAt(file.kept), file.name,
                        !known                      ? std::string()
                        : file.origin->path.empty() ? std::string("Untitled")
                                                    : file.origin->path,
                        known ? std::to_string(file.origin->targets) : std::string()});
    }
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
