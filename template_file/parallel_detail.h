#pragma once

// What the sharing of an import's and a save's work between threads lets their tests reach;
// the program itself never changes it.

#include <cstddef>

namespace permora::parallel_detail {

// How many threads read the lines of a file or encode the targets of a save: 0 lets the
// machine decide (its cores, at most kMostThreads), 1 does it all on the calling thread. A test
// sets 2 or 4.
extern int threads;
inline constexpr int kMostThreads = 4;
// The number of threads that setting gives.
int Threads();
// Lines go to a thread in blocks of about this many bytes of text; a file of one block is read
// on the calling thread. A test lowers it so that a small file makes several blocks.
extern std::size_t blockBytes;

// A save encodes its targets in runs of this many; a template of one run is encoded on the
// calling thread. A test lowers it so that a small template makes several.
extern std::size_t encodeTargets;

// Lets go of the account names the calling thread keeps for sharing, so that the targets it
// read can go to another thread (a name's count of holders is not atomic).
void ForgetSharedNames();

} // namespace permora::parallel_detail
