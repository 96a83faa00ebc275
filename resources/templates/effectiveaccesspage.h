#pragma once

#include "ui/toolkit/dialog_template.h"

// The effective access of one account on the target, right by right, in the advanced sheet.
namespace res::EffectiveAccessPage {

enum Id : int {
    IDD = 142,
    IDC_PANEL = 2101,
};

const tk::DialogTemplate& Template();

} // namespace res::EffectiveAccessPage
