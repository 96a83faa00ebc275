#include "resources/templates/addfiledlg.h"

#include "ui/toolkit/modal_host.h"

namespace res::AddFileDlg {

const tk::DialogTemplate& Template() {
    using tk::Kind;
    namespace st = tk::state;
    // Two frames of radio buttons, the path with its caption under them, OK and Cancel at
    // the bottom right.
    static const tk::DialogTemplate kTemplate{
        IDD,
        QT_TRANSLATE_NOOP("Dialog", "Add a File or Folder to the template"),
        290,
        191,
        "MS Shell Dlg",
        8,
        {
            {tk::IDC_STATIC, Kind::GroupBox, QT_TRANSLATE_NOOP("Dialog", "Security Style"), 7, 7,
             276, 38},
            {IDC_NTFS, Kind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "&NTFS"), 17, 22, 70, 10,
             st::kDisabled | st::kChecked},
            {IDC_NFS_V4, Kind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "NFS V4"), 97, 22, 70, 10,
             st::kHidden | st::kDisabled},
            {IDC_NFS_V3, Kind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "NFS V3"), 177, 22, 70, 10,
             st::kHidden | st::kDisabled},
            {tk::IDC_STATIC, Kind::GroupBox, QT_TRANSLATE_NOOP("Dialog", "Apply To"), 7, 53, 276,
             38},
            {IDC_FILE_DIRECTORY, Kind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "&File/Directory"),
             17, 68, 88, 10, st::kChecked},
            {IDC_STORAGE, Kind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "&Storage"), 107, 68, 70,
             10},
            {tk::IDC_STATIC, Kind::Label,
             QT_TRANSLATE_NOOP("Dialog", "File or Folder Na&me (example: /vol/vol1/qt1) :"), 7, 104,
             276, 8},
            {IDC_PATH, Kind::Edit, "", 7, 115, 276, 14},
            {tk::IDOK, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&OK"), 177, 170, 50, 14,
             st::kDefault | st::kDisabled},
            {tk::IDCANCEL, Kind::PushButton, QT_TRANSLATE_NOOP("Dialog", "&Cancel"), 233, 170, 50,
             14},
        },
    };
    return kTemplate;
}

} // namespace res::AddFileDlg
