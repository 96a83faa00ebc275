#include "resources/templates/permissionproppage.h"

namespace res::PermissionPropPage {

const tk::DialogTemplate& Template() {
    static const tk::DialogTemplate kTemplate = EntryListPage::MakeTemplate({
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "Permissions"),
        QT_TRANSLATE_NOOP(
            "Dialog",
            "To view more information about Special permissions, select a permission entry, "
            "and then click Edit. "),
        QT_TRANSLATE_NOOP("Dialog", "Permission en&tries:"),
        QT_TRANSLATE_NOOP(
            "Dialog",
            "&Allow inheritable permissions from the parent to propagate to this object and "
            "all child objects. Include these with entries explicitly defined here."),
    });
    return kTemplate;
}

} // namespace res::PermissionPropPage
