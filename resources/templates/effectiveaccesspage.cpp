#include "resources/templates/effectiveaccesspage.h"

namespace res::EffectiveAccessPage {

const tk::DialogTemplate& Template() {
    using tk::Kind;
    // The size of the permission page beside it; the fields and tables are laid out by Qt
    // inside the one rectangle.
    static const tk::DialogTemplate kTemplate{
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "Effective Access"),
        384,
        200,
        "MS Shell Dlg",
        8,
        {
            {IDC_PANEL, Kind::Host, "", 7, 7, 370, 186},
        },
    };
    return kTemplate;
}

} // namespace res::EffectiveAccessPage
