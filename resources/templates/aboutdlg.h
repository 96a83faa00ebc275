#pragma once

#include "ui/toolkit/dialog_template.h"

// The About box.
namespace res::AboutDlg {

enum Id : int {
    IDD = 100,
    IDC_VERSION = 1000, // "Vendra Storage Security Version " and the version
};

const tk::DialogTemplate& Template();

} // namespace res::AboutDlg
