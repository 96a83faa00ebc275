#pragma once

#include "ui/toolkit/dialog_template.h"

// The editor of one auditing entry: its account, its inheritance choice and fourteen rows
// of rights with a Successful and a Failed box each.
namespace res::ObjectAuditPropPage {

enum Id : int {
    IDD = 107,
    IDC_NAME = 4001,
    IDC_APPLY_ONTO = 4002,
    IDC_ROWS_CAPTION = 4005,
    IDC_SUCCESS_HEADING = 4006,
    IDC_FAILED_HEADING = 4007,
    IDC_CLEAR_ALL = 4009,
    IDC_NAME_CAPTION = 4010,
    IDC_APPLY_ONTO_CAPTION = 4011,
    IDC_SUCCESS_FULL_CONTROL = 1003,
    IDC_FAILED_FULL_CONTROL = 1021,
};

inline constexpr int kRowCount = 14;
// Row 0 is Full Control; rows 1 to 13 are the single rights, in the permission editor's
// order.
inline constexpr int kSuccessBox[kRowCount] = {1003, 1015, 1016, 1017, 1018, 1019, 1020,
                                               1004, 1005, 1006, 1007, 1008, 1009, 1010};
inline constexpr int kFailedBox[kRowCount] = {1021, 1022, 1023, 1024, 1025, 1026, 1027,
                                              1028, 1029, 1030, 1031, 1032, 1033, 1034};
inline constexpr int kRowLabel[kRowCount] = {7028, 7029, 7030, 7033, 7034, 7035, 7037,
                                             7031, 7032, 7036, 7038, 7039, 7040, 7041};

const tk::DialogTemplate& Template();

} // namespace res::ObjectAuditPropPage
