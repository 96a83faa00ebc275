#include "resources/templates/inputntaccountdlg.h"

namespace res::InputNTAccountDlg {

const tk::DialogTemplate& Template() {
    using tk::Kind;
    namespace st = tk::state;
    // The caption over the field across the whole width, OK and Cancel at the bottom right.
    static const tk::DialogTemplate kTemplate{
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "Enter User, Group or Computer Account"),
        260,
        66,
        "MS Shell Dlg",
        8,
        {
            {IDC_ACCOUNT_CAPTION, Kind::Label,
             QT_TRANSLATE_NOOP("Dialog", "&Group or user name (Domain\\NTAccount)"), 7, 7, 246, 8},
            {IDC_ACCOUNT, Kind::Edit, "", 7, 18, 246, 14},
            {IDC_OK, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&OK"), 149, 45, 50, 14,
             st::kDefault | st::kDisabled},
            {IDC_CANCEL, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Cancel"), 203, 45, 50, 14},
        },
    };
    return kTemplate;
}

} // namespace res::InputNTAccountDlg
