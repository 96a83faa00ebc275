#include "ui/inputntaccountdlg.h"

#include "model/checks.h"
#include "resources/templates/inputntaccountdlg.h"
#include "ui/toolkit/modal_host.h"

namespace ids = res::InputNTAccountDlg;

namespace {

const tk::Handler<InputNTAccountDlg> kHandlers[] = {
    {ids::IDC_ACCOUNT, tk::Notify::Changed, &InputNTAccountDlg::OnChangeAccount},
};

} // namespace

InputNTAccountDlg::InputNTAccountDlg(const tk::Window* parent)
    : tk::Dialog(ids::Template(), parent) {
    Bind(this, kHandlers);
}

InputNTAccountDlg::~InputNTAccountDlg() = default;

void InputNTAccountDlg::OnChangeAccount() {
    // Once enabled, OK stays enabled, even for an emptied field: OK then says what is wrong.
    Enable(ids::IDC_OK, true);
}

void InputNTAccountDlg::OnOK() {
    NTAccount = permora::TrimBlanks(Text(ids::IDC_ACCOUNT));
    if (permora::IsValidAccountName(NTAccount)) {
        EndDialog(tk::IDOK);
        return;
    }
    tk::MessageBox(this, tr("Invalid Account Name").toStdString(), tr("Error").toStdString(),
                   tk::MB_OK);
    NTAccount.clear();
}
