#include "resources/templates/objectauditproppage.h"

namespace res::ObjectAuditPropPage {

const tk::DialogTemplate& Template() {
    static const tk::DialogTemplate kTemplate = EntryEditorPage::MakeTemplate({
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "Acce&ss:"),
        {QT_TRANSLATE_NOOP("Dialog", "Successful"), QT_TRANSLATE_NOOP("Dialog", "Failed")},
        {kSuccessBox, kFailedBox},
        kRowLabel,
    });
    return kTemplate;
}

} // namespace res::ObjectAuditPropPage
