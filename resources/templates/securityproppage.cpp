#include "resources/templates/securityproppage.h"

namespace res::SecurityPropPage {

const tk::DialogTemplate& Template() {
    using tk::Kind;
    namespace st = tk::state;
    // The account list on top with Add and Remove under its right end; below it the caption
    // with the account's name, the Allow and Deny headings over their box columns, the
    // seven rows in a frame, and the hint beside the Advanced button at the bottom.
    static const tk::DialogTemplate kTemplate{
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "NTFS Security"),
        227,
        236,
        "MS Shell Dlg",
        8,
        {
            {IDC_NAMES_CAPTION, Kind::Label,
             QT_TRANSLATE_NOOP("Dialog", "&Group or user names (Domain\\NTAccount):"), 7, 7, 213,
             8},
            {IDC_ACCOUNT_LIST, Kind::ListBox, "", 7, 18, 213, 62},
            {IDC_ADD, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "A&dd"), 116, 84, 50, 14},
            {IDC_REMOVE, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Remove"), 170, 84, 50, 14},
            {tk::IDC_STATIC, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "Perm&issions for "), 7, 106,
             54, 8},
            {IDC_CURRENT_ACCOUNT, Kind::Label, "", 61, 106, 88, 8},
            {IDC_ALLOW_HEADING, Kind::LabelCentered, QT_TRANSLATE_NOOP("Dialog", "Allow"), 152, 106,
             30, 8},
            {IDC_DENY_HEADING, Kind::LabelCentered, QT_TRANSLATE_NOOP("Dialog", "Deny"), 186, 106,
             30, 8},
            {tk::IDC_STATIC, Kind::GroupBox, "", 7, 115, 213, 92},
            {IDC_FULL_CONTROL_LABEL, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "Full Control"), 14,
             124, 130, 8},
            {IDC_FULL_CONTROL_ALLOW, Kind::CheckBox, "", 162, 123, 10, 10},
            {IDC_FULL_CONTROL_DENY, Kind::CheckBox, "", 196, 123, 10, 10},
            {IDC_MODIFY_LABEL, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "Modify"), 14, 136, 130, 8},
            {IDC_MODIFY_ALLOW, Kind::CheckBox, "", 162, 135, 10, 10},
            {IDC_MODIFY_DENY, Kind::CheckBox, "", 196, 135, 10, 10},
            {IDC_READ_EXECUTE_LABEL, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "Read and Execute"),
             14, 148, 130, 8},
            {IDC_READ_EXECUTE_ALLOW, Kind::CheckBox, "", 162, 147, 10, 10},
            {IDC_READ_EXECUTE_DENY, Kind::CheckBox, "", 196, 147, 10, 10},
            {IDC_LIST_FOLDER_LABEL, Kind::Label,
             QT_TRANSLATE_NOOP("Dialog", "List Folder Contents"), 14, 160, 130, 8},
            {IDC_LIST_FOLDER_ALLOW, Kind::CheckBox, "", 162, 159, 10, 10},
            {IDC_LIST_FOLDER_DENY, Kind::CheckBox, "", 196, 159, 10, 10},
            {IDC_READ_LABEL, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "Read"), 14, 172, 130, 8},
            {IDC_READ_ALLOW, Kind::CheckBox, "", 162, 171, 10, 10},
            {IDC_READ_DENY, Kind::CheckBox, "", 196, 171, 10, 10},
            {IDC_WRITE_LABEL, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "Write"), 14, 184, 130, 8},
            {IDC_WRITE_ALLOW, Kind::CheckBox, "", 162, 183, 10, 10},
            {IDC_WRITE_DENY, Kind::CheckBox, "", 196, 183, 10, 10},
            {IDC_SPECIAL_LABEL, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "Special Permissions"), 14,
             196, 130, 8},
            {IDC_SPECIAL_ALLOW, Kind::CheckBox, "", 162, 195, 10, 10, st::kDisabled},
            {IDC_SPECIAL_DENY, Kind::CheckBox, "", 196, 195, 10, 10, st::kDisabled},
            {IDC_HINT, Kind::Label,
             QT_TRANSLATE_NOOP("Dialog",
                               "For special permissions or for advanced settings, click Advanced."),
             7, 213, 150, 16, st::kMultiline},
            {IDC_ADVANCED, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "Ad&vanced"), 170, 214, 50,
             14},
        },
    };
    return kTemplate;
}

} // namespace res::SecurityPropPage
