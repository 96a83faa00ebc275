#pragma once

#include "resources/templates/entryeditorpage.h"

// The editor of one permission entry: an Allow and a Deny box in each row of rights.
namespace res::ObjectPermPropPage {

using enum EntryEditorPage::Id;
using EntryEditorPage::kRowCount;
inline constexpr int IDD = 106;

// Row 0 is Full Control; rows 1 to 13 are the single rights.
inline constexpr int kAllowBox[kRowCount] = {1035, 1037, 1039, 1041, 1043, 1045, 1047,
                                             1049, 1051, 1053, 1055, 1057, 1059, 1061};
inline constexpr int kDenyBox[kRowCount] = {1036, 1038, 1040, 1042, 1044, 1046, 1048,
                                            1050, 1052, 1054, 1056, 1058, 1060, 1062};
inline constexpr int kRowLabel[kRowCount] = {7029, 7031, 7032, 7033, 7034, 7035, 7036,
                                             7037, 7038, 7039, 7040, 7041, 7042, 7043};

const tk::DialogTemplate& Template();

} // namespace res::ObjectPermPropPage
