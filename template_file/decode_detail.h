#pragma once

// What the decoding code lets its tests reach; the program itself never changes it.

#include <cstddef>
#include <cstdint>

namespace permora::decode_detail {

// The longest line of a template file (kMaxTemplateLine) and of a list of paths
// (kMaxPathListLine); a test lowers them so that its input stays small.
extern std::size_t templateLine;
extern std::size_t pathListLine;
// The number of the first line (1); a test starts near the end of a 32-bit count.
extern std::int64_t firstLineNumber;

} // namespace permora::decode_detail
