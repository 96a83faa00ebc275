#include "resources/templates/auditingproppage.h"

namespace res::AuditingPropPage {

const tk::DialogTemplate& Template() {
    static const tk::DialogTemplate kTemplate = EntryListPage::MakeTemplate({
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "Auditing"),
        QT_TRANSLATE_NOOP(
            "Dialog", "To view more information about Special auditing entries, select an auditing "
                      "entry, and then click Edit. "),
        QT_TRANSLATE_NOOP("Dialog", "Auditing en&tries:"),
        QT_TRANSLATE_NOOP(
            "Dialog",
            "&Allow inheritable auditing entries from the parent to propagate to this object "
            "and all child objects. Include these with entries explicitly defined here."),
    });
    return kTemplate;
}

} // namespace res::AuditingPropPage
