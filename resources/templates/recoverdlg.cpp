#include "resources/templates/recoverdlg.h"

#include "ui/toolkit/modal_host.h"

namespace res::RecoverDlg {

const tk::DialogTemplate& Template() {
    using tk::Kind;
    namespace st = tk::state;
    // The files under their caption, Import and Cancel at the bottom right.
    static const tk::DialogTemplate kTemplate{
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "Recover"),
        280,
        160,
        "MS Shell Dlg",
        8,
        {
            {tk::IDC_STATIC, Kind::Label,
             QT_TRANSLATE_NOOP("Dialog", "&Recovered templates, newest first:"), 7, 7, 266, 8},
            {IDC_FILES, Kind::ListView, "", 7, 18, 266, 114, st::kSingleSel | st::kShowSelAlways},
            {tk::IDOK, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Import"), 167, 139, 50, 14,
             st::kDefault},
            {tk::IDCANCEL, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 223, 139, 50,
             14},
        },
    };
    return kTemplate;
}

} // namespace res::RecoverDlg
