#pragma once

#include "ui/toolkit/dialog_template.h"

// Replace Account: one account's entries renamed in all targets or the selected ones.
namespace res::ReplaceAccountDlg {

enum Id : int {
    IDD = 141,
    IDC_OLD_NAME = 1111,
    IDC_NEW_NAME = 1112,
    IDC_ALL_TARGETS = 1113,
    IDC_SELECTED_TARGETS = 1114,
};

const tk::DialogTemplate& Template();

} // namespace res::ReplaceAccountDlg
