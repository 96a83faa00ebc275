#pragma once

#include "ui/toolkit/dialog_template.h"

// The account entry dialog: one field for a user, group or computer account name.
namespace res::InputNTAccountDlg {

enum Id : int {
    IDD = 133,
    IDC_OK = 1,                 // "&OK", default, disabled until the field changes
    IDC_CANCEL = 2,             // "&Cancel"
    IDC_ACCOUNT_CAPTION = 1013, // "&Group or user name (Domain\NTAccount)"
    IDC_ACCOUNT = 1030,         // the account name
};

const tk::DialogTemplate& Template();

} // namespace res::InputNTAccountDlg
