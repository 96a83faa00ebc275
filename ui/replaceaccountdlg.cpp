#include "ui/replaceaccountdlg.h"

#include "model/checks.h"
#include "resources/templates/replaceaccountdlg.h"
#include "ui/toolkit/modal_host.h"

namespace {

namespace ids = res::ReplaceAccountDlg;

const tk::Handler<ReplaceAccountDlg> kHandlers[] = {
    {ids::IDC_OLD_NAME, tk::Notify::Changed, &ReplaceAccountDlg::OnNameChange},
    {ids::IDC_NEW_NAME, tk::Notify::Changed, &ReplaceAccountDlg::OnNameChange},
};

} // namespace

ReplaceAccountDlg::ReplaceAccountDlg(bool hasSelection, const tk::Window* parent)
    : tk::Dialog(ids::Template(), parent), hasSelection_(hasSelection) {
    Bind(this, kHandlers);
}

ReplaceAccountDlg::~ReplaceAccountDlg() = default;

void ReplaceAccountDlg::OnInitDialog() {
    CheckRadio(ids::IDC_ALL_TARGETS, ids::IDC_SELECTED_TARGETS, ids::IDC_ALL_TARGETS);
    Enable(ids::IDC_SELECTED_TARGETS, hasSelection_);
    SetFocus(ids::IDC_OLD_NAME);
}

void ReplaceAccountDlg::OnNameChange() {
    Enable(tk::IDOK, !permora::TrimBlanks(Text(ids::IDC_OLD_NAME)).empty() &&
                         !permora::TrimBlanks(Text(ids::IDC_NEW_NAME)).empty());
}

void ReplaceAccountDlg::OnOK() {
    const std::string oldName = permora::TrimBlanks(Text(ids::IDC_OLD_NAME));
    const std::string newName = permora::TrimBlanks(Text(ids::IDC_NEW_NAME));
    if (oldName.empty() || newName.empty())
        return;
    if (!permora::IsValidAccountName(newName)) {
        tk::MessageBox(this, tr("Invalid Account Name").toStdString(), tr("Error").toStdString());
        SetFocus(ids::IDC_NEW_NAME);
        return;
    }
    oldName_ = oldName;
    newName_ = newName;
    selectedOnly_ = hasSelection_ && Check(ids::IDC_SELECTED_TARGETS) != 0;
    EndDialog(tk::IDOK);
}
