#pragma once

#include "resources/templates/entrylistpage.h"

// The auditing entries of the advanced sheet.
namespace res::AuditingPropPage {

using enum EntryListPage::Id;
inline constexpr int IDD = 105;

const tk::DialogTemplate& Template();

} // namespace res::AuditingPropPage
