#pragma once

#include "ui/toolkit/dialog_template.h"

// The auditing entries of the advanced sheet; the same controls as the permission page.
namespace res::AuditingPropPage {

enum Id : int {
    IDD = 105,
    IDC_ENTRY_LIST = 2001,
    IDC_ADD = 2002,
    IDC_REMOVE = 2003,
    IDC_EDIT = 2004,
    IDC_INHERIT = 2006,
    IDC_HINT = 7020,
};

const tk::DialogTemplate& Template();

} // namespace res::AuditingPropPage
