#pragma once

#include <string>
#include <sys/types.h>

namespace permora {

// Whether taking a lock waits for another holder to let go.
enum class LockWait { No, Yes };

// An exclusive lock (flock) on the file a path leads to through symbolic links, held for the
// life of the object. Every save takes one on the file it replaces, and a command that reads
// a file and writes it back holds one from before the read until after the save, so that
// two writers of one file take turns. While the file does not exist its folder is locked
// instead, so that two saves that would create it take turns as well.
class FileLock {
public:
    enum class State {
        Held,     // locked, and the path still leads to the locked file
        Busy,     // another holder has it, and the lock was not to wait
        Unlocked, // nothing lockable there (no such folder, a link loop, a file system
                  // without locks): the save goes on and finds out for itself
    };

    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    static FileLock Take(const std::string& path, LockWait wait);

    State Status() const { return state_; }
    // The file the path led to when it was locked, and whether it existed then.
    const std::string& Target() const { return target_; }
    bool Exists() const { return exists_; }
    // Whether the lock is held on this file (device and inode).
    bool Covers(dev_t device, ino_t inode) const;

private:
    void Release();

    int fd_ = -1;
    State state_ = State::Unlocked;
    std::string target_;
    bool exists_ = false;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

} // namespace permora
