#include "resources/templates/permoradlg.h"

namespace res::PermoraDlg {

const tk::DialogTemplate& Template() {
    using tk::Kind;
    namespace st = tk::state;
    // 393 x 245 units: the file line on top, the list at the left, the command buttons
    // stacked down the right edge with Close at the bottom, Up and Dn under the list.
    static const tk::DialogTemplate kTemplate{
        IDD,
        "Vendra Storage Security",
        393,
        245,
        "MS Shell Dlg",
        8,
        {
            {tk::IDC_STATIC, Kind::Label, "&File:", 7, 9, 20, 8},
            {IDC_FILE_LABEL, Kind::Label, "Untit&led", 29, 9, 296, 8},
            {IDC_TARGET_LIST, Kind::ListView, "", 7, 22, 318, 196},
            {IDC_NEW, Kind::PushButton, "&New", 334, 22, 52, 14, st::kDefault},
            {IDC_ADD, Kind::PushButton, "&Add", 334, 40, 52, 14},
            {IDC_EDIT, Kind::PushButton, "&Edit", 334, 58, 52, 14, st::kDisabled},
            {IDC_REMOVE, Kind::PushButton, "&Remove", 334, 76, 52, 14, st::kDisabled},
            {IDC_IMPORT, Kind::PushButton, "&Import", 334, 100, 52, 14},
            {IDC_SAVE_UTF8, Kind::PushButton, "Save U&TF8", 334, 118, 52, 14, st::kDisabled},
            {IDC_SAVE_UNICODE, Kind::PushButton, "&Save Unicode", 334, 136, 52, 14, st::kDisabled},
            {IDC_SAVE_AS, Kind::PushButton, "Save As...", 334, 154, 52, 14,
             st::kHidden | st::kDisabled},
            // Never shown; New stays the button that Enter presses.
            {IDC_OK, Kind::PushButton, "OK", 334, 186, 52, 14, st::kHidden | st::kDisabled},
            {IDC_CLOSE, Kind::PushButton, "&Close", 334, 224, 52, 14},
            {IDC_UP, Kind::PushButton, "&Up", 7, 224, 30, 14, st::kDisabled},
            {IDC_DOWN, Kind::PushButton, "&Dn", 41, 224, 30, 14, st::kDisabled},
        },
    };
    return kTemplate;
}

} // namespace res::PermoraDlg
