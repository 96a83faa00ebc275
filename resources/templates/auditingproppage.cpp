#include "resources/templates/auditingproppage.h"

namespace res::AuditingPropPage {

const tk::DialogTemplate& Template() {
    using tk::Kind;
    namespace st = tk::state;
    // The permission page's layout with the auditing texts.
    static const tk::DialogTemplate kTemplate{
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "Auditing"),
        384,
        200,
        "MS Shell Dlg",
        8,
        {
            {IDC_HINT, Kind::Label,
             QT_TRANSLATE_NOOP(
                 "Dialog",
                 "To view more information about Special auditing entries, select an auditing "
                 "entry, and then click Edit. "),
             7, 7, 370, 16, st::kMultiline},
            {tk::IDC_STATIC, Kind::Label, QT_TRANSLATE_NOOP("Dialog", "Auditing en&tries:"), 7, 28,
             150, 8},
            {IDC_ENTRY_LIST, Kind::ListView, "", 7, 38, 370, 112,
             st::kSingleSel | st::kShowSelAlways},
            {IDC_ADD, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "A&dd..."), 7, 155, 58, 14},
            {IDC_EDIT, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Edit..."), 69, 155, 58, 14},
            {IDC_REMOVE, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Remove"), 131, 155, 58,
             14},
            {IDC_INHERIT, Kind::CheckBox,
             QT_TRANSLATE_NOOP(
                 "Dialog",
                 "&Allow inheritable auditing entries from the parent to propagate to this object "
                 "and all child objects. Include these with entries explicitly defined here."),
             7, 175, 370, 20, st::kMultiline},
        },
    };
    return kTemplate;
}

} // namespace res::AuditingPropPage
