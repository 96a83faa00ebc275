#pragma once

#include "model/list_kind.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Words for every inheritance code (the flags without the audit bits): the Apply To text
// where the windows have one, "This folder only" for 0, and otherwise the places the code
// reaches in the same words ("This folder, subfolders and files, one level" for NP CI OI).
std::string PlacesText(std::uint8_t flags);

// The mask PermissionName gives a name for (any letter case): "Delete" 0x10000, "Read,
// Write & Execute" 0x201bf; nullopt for a name it never gives ("Special", "??No Permission??").
std::optional<std::uint32_t> PermissionMask(std::string_view name);
// Every name PermissionName gives for a right or a set of rights, in its order.
std::vector<std::string> PermissionMaskNames();

// The inheritance code of an Apply To text (any letter case), or -1 when it is none.
int ApplyToCode(std::string_view name);

} // namespace permora
