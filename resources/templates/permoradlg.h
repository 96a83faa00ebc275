#pragma once

#include "ui/toolkit/dialog_template.h"

// The main window: the template list with its buttons.
namespace res::PermoraDlg {

enum Id : int {
    IDD = 102,
    IDC_OK = 1,            // "OK", hidden and disabled
    IDC_CLOSE = 2,         // "&Close"
    IDC_EDIT = 3,          // "&Edit"
    IDC_FILE_LABEL = 1000, // the file name, "*" after a change
    IDC_SAVE_AS = 1007,    // "Save As...", hidden and disabled
    IDC_ADD = 1008,
    IDC_REMOVE = 1009,
    IDC_SAVE_UTF8 = 1010,
    IDC_IMPORT = 1011,
    IDC_SAVE_UNICODE = 1012,
    IDC_NEW = 1013,
    IDC_DOWN = 1017,
    IDC_UP = 1020,
    IDC_TARGET_LIST = 1065,
};

// The system-menu command of the About item and its text.
inline constexpr int IDM_ABOUTBOX = 0x0010;
inline constexpr const char* kAboutItemText = QT_TRANSLATE_NOOP("PermoraDlg", "&About permora...");

const tk::DialogTemplate& Template();

} // namespace res::PermoraDlg
