#pragma once

#include "resources/templates/permoradlg.h"
#include "ui/permoradlg.h"

#include <string>
#include <vector>

namespace tk::test {

// The enabling of the main window's six buttons as one word: a letter for each enabled
// button, "." for each disabled one, in the order Save Unicode (U), Save UTF8 (T), Edit
// (E), Up (u), Dn (d), Remove (R).
inline std::string Buttons(const PermoraDlg& dlg) {
    using namespace res::PermoraDlg;
    const struct {
        int id;
        char letter;
    } kButtons[] = {{IDC_SAVE_UNICODE, 'U'}, {IDC_SAVE_UTF8, 'T'}, {IDC_EDIT, 'E'},
                    {IDC_UP, 'u'},           {IDC_DOWN, 'd'},      {IDC_REMOVE, 'R'}};
    std::string word;
    for (const auto& button : kButtons)
        word.push_back(dlg.IsEnabled(button.id) ? button.letter : '.');
    return word;
}

// Every row of the target list, its cells joined with " | ".
inline std::vector<std::string> Rows(const PermoraDlg& dlg) {
    const tk::ListView list = dlg.GetListView(res::PermoraDlg::IDC_TARGET_LIST);
    std::vector<std::string> rows;
    for (int r = 0; r < list.RowCount(); ++r)
        rows.push_back(list.Cell(r, 0) + " | " + list.Cell(r, 1) + " | " + list.Cell(r, 2));
    return rows;
}

} // namespace tk::test
