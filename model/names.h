#pragma once

#include <cstdint>

namespace permora {

// Words the windows show for masks, inheritance codes, styles and levels. Functions that
// may have no text return nullptr; callers show an empty cell.
const char* PermissionName(std::uint32_t mask);
const char* ApplyToName(int code);
const char* StyleName(int style);
const char* LevelName(int level);

} // namespace permora
