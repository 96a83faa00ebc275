#pragma once

#include "model/list_kind.h"

#include <cstdint>

namespace permora {

struct Ace;

// Words the windows show for masks, inheritance codes, styles and levels. Functions that
// may have no text return nullptr; callers show an empty cell.
const char* PermissionName(std::uint32_t mask);
const char* ApplyToName(int code);
const char* StyleName(int style);
const char* LevelName(int level);

// The Type and Apply To texts of an entry's row in the entry lists. A permission entry
// ("Allow", "Deny"; Apply To from its whole flags byte); an auditing entry ("Success", "Fail",
// "All", or "None" when it audits neither; Apply To from its flags without the audit bits).
// EntryApplyToName may return nullptr.
const char* EntryTypeName(const Ace& entry, ListKind list);
const char* EntryApplyToName(const Ace& entry, ListKind list);

} // namespace permora
