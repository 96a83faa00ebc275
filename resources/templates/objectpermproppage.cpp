#include "resources/templates/objectpermproppage.h"

namespace res::ObjectPermPropPage {

const tk::DialogTemplate& Template() {
    static const tk::DialogTemplate kTemplate = EntryEditorPage::MakeTemplate({
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "&Permissions:"),
        {QT_TRANSLATE_NOOP("Dialog", "Allow"), QT_TRANSLATE_NOOP("Dialog", "Deny")},
        {kAllowBox, kDenyBox},
        kRowLabel,
    });
    return kTemplate;
}

} // namespace res::ObjectPermPropPage
