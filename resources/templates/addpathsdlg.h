#pragma once

#include "ui/toolkit/dialog_template.h"

// Add Paths: many targets at once from a list of paths, one a line.
namespace res::AddPathsDlg {

enum Id : int {
    IDD = 140,
    IDC_PATHS = 1101,          // the list, one path a line
    IDC_FILE_DIRECTORY = 1102, // level of the new targets
    IDC_STORAGE = 1103,
    IDC_USE_COPIED = 1104,      // new targets get the copied security
    IDC_PROBLEM_LABEL = 1105,   // what the list of failing lines below says
    IDC_PROBLEM_LIST = 1106,    // the failing lines: number and text
    IDC_STAND_IN = 1107,        // the account of the security that each line's account replaces
    IDC_ACCOUNT_PATTERN = 1108, // the account of a line without one; {name}: the path's last part
};

const tk::DialogTemplate& Template();

} // namespace res::AddPathsDlg
