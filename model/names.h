#pragma once

#include <cstdint>

namespace permora {

struct Ace;

// Words the windows show for masks, inheritance codes, styles and levels. Functions that
// may have no text return nullptr; callers show an empty cell.
const char* PermissionName(std::uint32_t mask);
const char* ApplyToName(int code);
const char* StyleName(int style);
const char* LevelName(int level);

// The Type and Apply To texts of an entry's row in the entry lists. dacl != 0: a
// permission entry ("Allow", "Deny"; Apply To from its whole flags byte); dacl == 0: an
// auditing entry ("Success", "Fail", "All", or "None" when it audits neither; Apply To
// from its flags without the audit bits). EntryApplyToName may return nullptr.
const char* EntryTypeName(const Ace& entry, int dacl);
const char* EntryApplyToName(const Ace& entry, int dacl);

} // namespace permora
