#pragma once

#include "ui/toolkit/dialog_template.h"

// The layout and control ids of the two entry list pages of the advanced sheet: the hint on
// top, one row per entry, Add, Edit, Remove and the inheritance box. Each page brings its
// own id and texts.
namespace res::EntryListPage {

enum Id : int {
    IDC_ENTRY_LIST = 2001,
    IDC_ADD = 2002,
    IDC_REMOVE = 2003,
    IDC_EDIT = 2004,
    IDC_INHERIT = 2006,
    IDC_HINT = 7020,
};

struct Texts {
    int idd;
    const char* caption;
    const char* hint;
    const char* entriesLabel;
    const char* inherit;
};

tk::DialogTemplate MakeTemplate(const Texts& texts);

} // namespace res::EntryListPage
