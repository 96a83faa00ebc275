#include "resources/templates/recoverdlg.h"

#include "ui/toolkit/modal_host.h"

namespace res::RecoverDlg {

const tk::DialogTemplate& Template() {
    using tk::Kind;
    namespace st = tk::state;
    // The files under their caption, Import and Cancel at the bottom right.
    static const tk::DialogTemplate kTemplate{
        IDD,
        "Recover",
        280,
        160,
        "MS Shell Dlg",
        8,
        {
            {tk::IDC_STATIC, Kind::Label, "&Recovered templates, newest first:", 7, 7, 266, 8},
            {IDC_FILES, Kind::ListView, "", 7, 18, 266, 114, st::kSingleSel | st::kShowSelAlways},
            {tk::IDOK, Kind::PushButton, "&Import", 167, 139, 50, 14, st::kDefault},
            {tk::IDCANCEL, Kind::PushButton, "Cancel", 223, 139, 50, 14},
        },
    };
    return kTemplate;
}

} // namespace res::RecoverDlg
