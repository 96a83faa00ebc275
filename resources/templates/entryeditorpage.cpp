#include "resources/templates/entryeditorpage.h"

namespace res::EntryEditorPage {

namespace {

const char* const kRowText[kRowCount] = {
    QT_TRANSLATE_NOOP("Dialog", "Full Control"),
    QT_TRANSLATE_NOOP("Dialog", "Traverse Folder / Execute File"),
    QT_TRANSLATE_NOOP("Dialog", "List Folder / Read Data"),
    QT_TRANSLATE_NOOP("Dialog", "Read Attributes"),
    QT_TRANSLATE_NOOP("Dialog", "Read Extended Attributes"),
    QT_TRANSLATE_NOOP("Dialog", "Create Files / Write Data"),
    QT_TRANSLATE_NOOP("Dialog", "Create Folders / Append Data"),
    QT_TRANSLATE_NOOP("Dialog", "Write Attributes"),
    QT_TRANSLATE_NOOP("Dialog", "Write Extended Attributes"),
    QT_TRANSLATE_NOOP("Dialog", "Delete Subfolders and Files"),
    QT_TRANSLATE_NOOP("Dialog", "Delete"),
    QT_TRANSLATE_NOOP("Dialog", "Read Permissions"),
    QT_TRANSLATE_NOOP("Dialog", "Change Permissions"),
    QT_TRANSLATE_NOOP("Dialog", "Take Ownership"),
};

} // namespace

tk::DialogTemplate MakeTemplate(const Layout& layout) {
    using tk::Kind;
    // 240 x 243 units: name and apply-onto choice on top, then the rows of rights in a
    // frame with the two columns of boxes at its right, Clear All under the frame.
    tk::DialogTemplate t{
        layout.idd,
        QT_TRANSLATE_NOOP("Dialog", "Object"),
        240,
        243,
        "MS Shell Dlg",
        8,
        {
            {IDC_NAME_CAPTION, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "Na&me:"), 7, 9, 30, 8},
            {IDC_NAME, Kind::Edit, "", 40, 7, 193, 12},
            {IDC_APPLY_ONTO_CAPTION, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "Apply &onto:"), 7,
             25, 80, 8},
            {IDC_APPLY_ONTO, Kind::ComboBox, "", 7, 35, 226, 12},
            {IDC_ROWS_CAPTION, Kind::Label, layout.rowsCaption, 7, 54, 100, 8},
            {IDC_LEFT_HEADING, Kind::LabelCentered, layout.headings[0], 149, 54, 40, 8},
            {IDC_RIGHT_HEADING, Kind::LabelCentered, layout.headings[1], 191, 54, 40, 8},
            {tk::IDC_STATIC, Kind::GroupBox, "", 7, 63, 226, 152},
        },
    };
    for (int row = 0; row < kRowCount; ++row) {
        const int y = 69 + 10 * row;
        t.controls.push_back(
            {layout.rowLabels[row], Kind::Label, kRowText[row], 13, y + 1, 134, 8});
        t.controls.push_back({layout.boxes[0][row], Kind::CheckBox, "", 164, y, 10, 10});
        t.controls.push_back({layout.boxes[1][row], Kind::CheckBox, "", 206, y, 10, 10});
    }
    t.controls.push_back({IDC_CLEAR_ALL, Kind::PushButton,
                          QT_TRANSLATE_NOOP("Dialog", "C&lear All"), 173, 222, 60, 14});
    return t;
}

} // namespace res::EntryEditorPage
