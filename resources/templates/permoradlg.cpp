#include "resources/templates/permoradlg.h"

namespace res::PermoraDlg {

const tk::DialogTemplate& Template() {
    using tk::Kind;
    namespace st = tk::state;
    // 393 x 245 units: the file line on top, the list at the left, the command buttons
    // stacked down the right edge with Close at the bottom, Up and Dn under the list.
    static const tk::DialogTemplate kTemplate{
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "Vendra Storage Security"),
        393,
        245,
        "MS Shell Dlg",
        8,
        {
            {tk::IDC_STATIC, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "&File:"), 7, 9, 24, 8},
            {IDC_FILE_LABEL, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "Untit&led"), 33, 9, 292, 8},
            {IDC_TARGET_LIST, Kind::ListView, "", 7, 22, 318, 196},
            {IDC_NEW, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&New"), 334, 22, 52, 14,
             st::kDefault},
            {IDC_ADD, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Add"), 334, 40, 52, 14},
            {IDC_EDIT, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Edit"), 334, 58, 52, 14,
             st::kDisabled},
            {IDC_REMOVE, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Remove"), 334, 76, 52, 14,
             st::kDisabled},
            {IDC_IMPORT, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Import"), 334, 100, 52,
             14},
            {IDC_SAVE_UTF8, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "Save U&TF8"), 334, 118,
             52, 14, st::kDisabled},
            {IDC_SAVE_UNICODE, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Save Unicode"), 334,
             136, 52, 14, st::kDisabled},
            {IDC_SAVE_AS, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "Save As..."), 334, 154, 52,
             14, st::kHidden | st::kDisabled},
            // Never shown; New stays the button that Enter presses.
            {IDC_OK, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "OK"), 334, 186, 52, 14,
             st::kHidden | st::kDisabled},
            {IDC_CLOSE, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Close"), 334, 224, 52, 14},
            {IDC_UP, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Up"), 7, 224, 30, 14,
             st::kDisabled},
            {IDC_DOWN, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Dn"), 41, 224, 30, 14,
             st::kDisabled},
        },
    };
    return kTemplate;
}

} // namespace res::PermoraDlg
