#pragma once

#include "resources/templates/entryeditorpage.h"

// The editor of one auditing entry: a Successful and a Failed box in each row of rights.
namespace res::ObjectAuditPropPage {

using enum EntryEditorPage::Id;
using EntryEditorPage::kRowCount;
inline constexpr int IDD = 107;

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
