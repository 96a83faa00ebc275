#pragma once

#include "ui/toolkit/dialog_template.h"

// The About box.
namespace res::AboutDlg {

enum Id : int {
    IDD = 100,
};

const tk::DialogTemplate& Template();

} // namespace res::AboutDlg
