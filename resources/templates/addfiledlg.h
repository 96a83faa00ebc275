#pragma once

#include "ui/toolkit/dialog_template.h"

// The add-target dialog: a path, its security style and what the settings apply to.
namespace res::AddFileDlg {

enum Id : int {
    IDD = 132,
    IDC_NTFS = 1032,
    IDC_NFS_V4 = 1033,
    IDC_NFS_V3 = 1034,
    IDC_FILE_DIRECTORY = 1035,
    IDC_STORAGE = 1036,
    IDC_PATH = 4001,
};

const tk::DialogTemplate& Template();

} // namespace res::AddFileDlg
