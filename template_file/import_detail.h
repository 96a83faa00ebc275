#pragma once

// What the import's sharing of work between threads lets its tests reach; the program itself
// never changes it.

#include <cstddef>

namespace permora::import_detail {

// How many threads read the lines of a file: 0 lets the machine decide (its cores, at most
// kMostThreads), 1 reads them all on the calling thread. A test sets 2 or 4.
extern int threads;
inline constexpr int kMostThreads = 4;
// Lines go to a thread in blocks of about this many bytes of text; a file of one block is read
// on the calling thread. A test lowers it so that a small file makes several blocks.
extern std::size_t blockBytes;

// Lets go of the account names the calling thread keeps for sharing, so that the targets it
// read can go to another thread (a name's count of holders is not atomic).
void ForgetSharedNames();

} // namespace permora::import_detail
