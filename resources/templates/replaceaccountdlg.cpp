#include "resources/templates/replaceaccountdlg.h"

#include "ui/toolkit/modal_host.h"

namespace res::ReplaceAccountDlg {

const tk::DialogTemplate& Template() {
    using tk::Kind;
    namespace st = tk::state;
    // The two names with their captions, the scope under them, Replace and Cancel at the
    // bottom right.
    static const tk::DialogTemplate kTemplate{
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "Replace Account"),
        260,
        122,
        "MS Shell Dlg",
        8,
        {
            {tk::IDC_STATIC, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "&Old account name:"), 7, 10,
             78, 8},
            {IDC_OLD_NAME, Kind::Edit, "", 88, 7, 165, 14},
            {tk::IDC_STATIC, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "&New account name:"), 7, 30,
             78, 8},
            {IDC_NEW_NAME, Kind::Edit, "", 88, 27, 165, 14},
            {tk::IDC_STATIC, Kind::GroupBox, QT_TRANSLATE_NOOP("Dialog", "Replace In"), 7, 50, 246,
             42},
            {IDC_ALL_TARGETS, Kind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "&All targets"), 17,
             63, 110, 10, st::kChecked},
            {IDC_SELECTED_TARGETS, Kind::RadioButton,
             QT_TRANSLATE_NOOP("Dialog", "&Selected targets"), 17, 76, 110, 10},
            {tk::IDOK, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Replace"), 147, 101, 50, 14,
             st::kDefault | st::kDisabled},
            {tk::IDCANCEL, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Cancel"), 203, 101, 50,
             14},
        },
    };
    return kTemplate;
}

} // namespace res::ReplaceAccountDlg
