#include "resources/templates/aboutdlg.h"

#include "permora_version.h"

namespace res::AboutDlg {

const tk::DialogTemplate& Template() {
    using tk::Kind;
    namespace st = tk::state;
    static const tk::DialogTemplate kTemplate{
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "About Vendra Storage Security"),
        209,
        78,
        "MS Shell Dlg",
        8,
        {
            {tk::IDC_STATIC, Kind::Icon, "", 11, 12, 21, 20},
            {IDC_VERSION, Kind::Label, "Vendra Storage Security Version " PERMORA_VERSION, 42, 12,
             160, 8},
            {tk::IDC_STATIC, Kind::Label,
             QT_TRANSLATE_NOOP(
                 "Dialog", "Edits and saves the file-security templates of the storage system."),
             42, 26, 160, 20, st::kMultiline},
            {1, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "OK"), 152, 57, 50, 14, st::kDefault},
        },
    };
    return kTemplate;
}

} // namespace res::AboutDlg
