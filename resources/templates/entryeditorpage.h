#pragma once

#include "ui/toolkit/dialog_template.h"

// The layout and the shared control ids of the two entry editors: the account, the
// inheritance choice and fourteen rows of rights with two columns of boxes. Each editor
// brings its own id, texts and box ids.
namespace res::EntryEditorPage {

enum Id : int {
    IDC_NAME = 4001,
    IDC_APPLY_ONTO = 4002,
    IDC_ROWS_CAPTION = 4005,
    IDC_LEFT_HEADING = 4006,
    IDC_RIGHT_HEADING = 4007,
    IDC_CLEAR_ALL = 4009,
    IDC_NAME_CAPTION = 4010,
    IDC_APPLY_ONTO_CAPTION = 4011,
};

inline constexpr int kRowCount = 14;

struct Layout {
    int idd;
    const char* rowsCaption;
    const char* headings[2];
    const int* boxes[2]; // kRowCount ids each, row 0 (Full Control) first
    const int* rowLabels;
};

tk::DialogTemplate MakeTemplate(const Layout& layout);

} // namespace res::EntryEditorPage
