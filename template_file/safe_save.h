#pragma once

// What the saving code lets its tests reach; the program itself never changes it.

#include <cstddef>
#include <sys/types.h>

namespace permora::save_detail {

// The positional write of a save in place (writing the new bytes and putting the old ones
// back). A test puts in one that fails part-way, as a disk would.
using PositionalWrite = ssize_t (*)(int fd, const void* data, std::size_t size, off_t offset);
extern PositionalWrite inPlaceWrite;

} // namespace permora::save_detail
