#include "resources/templates/addpathsdlg.h"

#include "ui/toolkit/modal_host.h"

namespace res::AddPathsDlg {

const tk::DialogTemplate& Template() {
    using tk::Kind;
    namespace st = tk::state;
    // The box of paths on top, the level and the copied-security choice under it with the
    // stand-in account that each line's account replaces, then the lines that failed their
    // check, Add and Cancel at the bottom right.
    static const tk::DialogTemplate kTemplate{
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "Add Paths"),
        300,
        306,
        "MS Shell Dlg",
        8,
        {
            {tk::IDC_STATIC, Kind::Label,
             QT_TRANSLATE_NOOP("Dialog", "&Paths, one a line (example: /vol/vol1/qt1):"), 7, 7, 286,
             8},
            {IDC_PATHS, Kind::Edit, "", 7, 18, 286, 100, st::kMultiline},
            {tk::IDC_STATIC, Kind::GroupBox, QT_TRANSLATE_NOOP("Dialog", "Apply To"), 7, 124, 286,
             30},
            {IDC_FILE_DIRECTORY, Kind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "&File/Directory"),
             17, 138, 88, 10, st::kChecked},
            {IDC_STORAGE, Kind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "&Storage"), 107, 138, 70,
             10},
            {IDC_USE_COPIED, Kind::CheckBox,
             QT_TRANSLATE_NOOP("Dialog", "&Give each new target the copied security"), 7, 161, 286,
             10},
            {tk::IDC_STATIC, Kind::Label,
             QT_TRANSLATE_NOOP("Dialog", "Stand-&in account of the security:"), 7, 176, 140, 8},
            {IDC_STAND_IN, Kind::Edit, "", 7, 187, 140, 12},
            {tk::IDC_STATIC, Kind::Label,
             QT_TRANSLATE_NOOP("Dialog", "Acc&ount of a line without one:"), 153, 176, 140, 8},
            {IDC_ACCOUNT_PATTERN, Kind::Edit, "", 153, 187, 140, 12},
            {tk::IDC_STATIC, Kind::Label,
             QT_TRANSLATE_NOOP(
                 "Dialog",
                 "A line's account follows its path after a tab; {name} is the path's last part."),
             7, 203, 286, 16},
            {IDC_PROBLEM_LABEL, Kind::Label,
             QT_TRANSLATE_NOOP("Dialog", "Lines that are not valid paths:"), 7, 224, 286, 8},
            {IDC_PROBLEM_LIST, Kind::ListView, "", 7, 235, 286, 48, st::kSingleSel},
            {tk::IDOK, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Add"), 187, 287, 50, 14,
             st::kDefault | st::kDisabled},
            {tk::IDCANCEL, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Cancel"), 243, 287, 50,
             14},
        },
    };
    return kTemplate;
}

} // namespace res::AddPathsDlg
