#pragma once

// What the saving code lets its tests reach; the program itself never changes it.

#include <cstddef>
#include <sys/types.h>

namespace permora::save_detail {

// The positional write of a save in place (writing the new bytes and putting the old ones
// back). A test puts in one that fails part-way, as a disk would.
using PositionalWrite = ssize_t (*)(int fd, const void* data, std::size_t size, off_t offset);
extern PositionalWrite inPlaceWrite;

// The write of a new file that then takes the old one's place.
using SequentialWrite = ssize_t (*)(int fd, const void* data, std::size_t size);
extern SequentialWrite newFileWrite;

// The size of the blocks a save encodes and writes; a test makes them small so that a
// small template spans many.
extern std::size_t blockSize;

// How much of a new file is written before the disk is asked to start on it.
extern off_t syncAhead;

// The kinds of system call a save makes (taking the lock included). Each goes through one
// wrapper (template_file/save_io.h), so that a test can fail the N-th call of any kind as a
// disk, a file system or the system would, and look at what the save left behind.
enum class IoCall {
    Open,
    Read,
    Write,
    Sync,
    Truncate,
    Reserve,
    Rename,
    Unlink,
    Owner,
    Mode,
    Attributes, // extended attributes, access control lists among them
    Lock,
};
// Asked before each call: an errno value fails the call with it, 0 lets it run. None in the
// program.
using IoFault = int (*)(IoCall call);
extern IoFault ioFault;
// Whether the call may run; false, with errno set, when the fault fails it.
bool MayCall(IoCall call);

} // namespace permora::save_detail
