#pragma once

#include "resources/templates/entrylistpage.h"

// The permission entries of the advanced sheet.
namespace res::PermissionPropPage {

using enum EntryListPage::Id;
inline constexpr int IDD = 104;

const tk::DialogTemplate& Template();

} // namespace res::PermissionPropPage
