#pragma once

// What the locking code lets its tests reach; the program itself never changes it.

namespace permora::lock_detail {

// Runs when a lock is found held by another and is about to be waited for.
extern void (*beforeWait)();
// Runs just after the lock was taken and before the path is looked at again; a test
// replaces the file here, as another saver might have done while this one waited.
extern void (*afterLock)();

} // namespace permora::lock_detail
