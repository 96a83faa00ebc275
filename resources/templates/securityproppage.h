#pragma once

#include "ui/toolkit/dialog_template.h"

// The basic security page: the accounts of a target and their standard permissions.
namespace res::SecurityPropPage {

enum Id : int {
    IDD = 129,
    IDC_ADD = 1001,
    IDC_REMOVE = 1002,
    IDC_FULL_CONTROL_ALLOW = 1004,
    IDC_ADVANCED = 1005,
    IDC_FULL_CONTROL_DENY = 1006,
    IDC_MODIFY_ALLOW = 1007,
    IDC_ALLOW_HEADING = 1009,
    IDC_DENY_HEADING = 1010,
    IDC_MODIFY_DENY = 1011,
    IDC_READ_EXECUTE_ALLOW = 1012,
    IDC_NAMES_CAPTION = 1013,
    IDC_READ_EXECUTE_DENY = 1014,
    IDC_LIST_FOLDER_ALLOW = 1015,
    IDC_LIST_FOLDER_DENY = 1016,
    IDC_READ_ALLOW = 1017,
    IDC_READ_DENY = 1018,
    IDC_WRITE_ALLOW = 1021,
    IDC_WRITE_DENY = 1022,
    IDC_SPECIAL_ALLOW = 1023,
    IDC_SPECIAL_DENY = 1024,
    IDC_ACCOUNT_LIST = 1027,
    IDC_HINT = 7026,
    IDC_SPECIAL_LABEL = 7028,
    IDC_WRITE_LABEL = 7029,
    IDC_READ_LABEL = 7030,
    IDC_LIST_FOLDER_LABEL = 7031,
    IDC_READ_EXECUTE_LABEL = 7032,
    IDC_MODIFY_LABEL = 7033,
    IDC_FULL_CONTROL_LABEL = 7036,
    IDC_CURRENT_ACCOUNT = 7037,
};

const tk::DialogTemplate& Template();

} // namespace res::SecurityPropPage
