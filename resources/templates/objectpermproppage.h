#pragma once

#include "ui/toolkit/dialog_template.h"

// The editor of one permission entry: its account, its inheritance choice and fourteen
// rows of rights with an Allow and a Deny box each.
namespace res::ObjectPermPropPage {

enum Id : int {
    IDD = 106,
    IDC_NAME = 4001,
    IDC_APPLY_ONTO = 4002,
    IDC_ROWS_CAPTION = 4005,
    IDC_ALLOW_HEADING = 4006,
    IDC_DENY_HEADING = 4007,
    IDC_CLEAR_ALL = 4009,
    IDC_NAME_CAPTION = 4010,
    IDC_APPLY_ONTO_CAPTION = 4011,
    IDC_ALLOW_FULL_CONTROL = 1035,
    IDC_DENY_FULL_CONTROL = 1036,
};

inline constexpr int kRowCount = 14;
// Row 0 is Full Control; rows 1 to 13 are the single rights.
inline constexpr int kAllowBox[kRowCount] = {1035, 1037, 1039, 1041, 1043, 1045, 1047,
                                             1049, 1051, 1053, 1055, 1057, 1059, 1061};
inline constexpr int kDenyBox[kRowCount] = {1036, 1038, 1040, 1042, 1044, 1046, 1048,
                                            1050, 1052, 1054, 1056, 1058, 1060, 1062};
inline constexpr int kRowLabel[kRowCount] = {7029, 7031, 7032, 7033, 7034, 7035, 7036,
                                             7037, 7038, 7039, 7040, 7041, 7042, 7043};

const tk::DialogTemplate& Template();

} // namespace res::ObjectPermPropPage
