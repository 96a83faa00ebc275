#pragma once

#include "ui/toolkit/dialog_template.h"

// The permission entries of the advanced sheet: one row per entry, Add, Edit, Remove and
// the inheritance box.
namespace res::PermissionPropPage {

enum Id : int {
    IDD = 104,
    IDC_ENTRY_LIST = 2001,
    IDC_ADD = 2002,
    IDC_REMOVE = 2003,
    IDC_EDIT = 2004,
    IDC_INHERIT = 2006,
    IDC_HINT = 7020,
};

const tk::DialogTemplate& Template();

} // namespace res::PermissionPropPage
