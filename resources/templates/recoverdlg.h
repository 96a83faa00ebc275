#pragma once

#include "ui/toolkit/dialog_template.h"

// Recover: the recovery files, newest first, one of which is imported.
namespace res::RecoverDlg {

enum Id : int {
    IDD = 143,
    IDC_FILES = 1101, // the recovery files: when each was kept, its name
};

const tk::DialogTemplate& Template();

} // namespace res::RecoverDlg
