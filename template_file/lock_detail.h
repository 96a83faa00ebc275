#pragma once

// What the locking code lets its tests reach; the program itself never changes it.

#include <chrono>

namespace permora::lock_detail {

// Runs when a lock is found held by another and is about to be waited for.
extern void (*beforeWait)();
// Runs just after the lock was taken and before the path is looked at again; a test
// replaces the file here, as another saver might have done while this one waited.
extern void (*afterLock)();
// The flock call, which a test replaces by one that fails as on a file system without locks.
extern int (*lockCall)(int fd, int operation);
// How long a writer waits before it says which file it waits for.
extern std::chrono::milliseconds waitNotice;
// Runs just after a writer said which file it waits for.
extern void (*afterNotice)();

} // namespace permora::lock_detail
