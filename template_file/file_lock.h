#pragma once

#include "template_file/file_handle.h"

#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <utility>

namespace permora {

// Whether taking a lock waits for another holder to let go.
enum class LockWait { No, Yes };

// How a save or an editing command takes the lock of the file it writes.
struct LockOptions {
    // NOLINTNEXTLINE(google-explicit-constructor): a bare LockWait is the usual choice.
    LockOptions(LockWait waitFor = LockWait::No, bool take = true,
                std::function<void(const std::string& file)> tell = {})
        : wait(waitFor), lock(take), waiting(std::move(tell)) {}

    LockWait wait = LockWait::No;
    // False: the file is not locked at all (for a file system where locks fail, by the
    // user's explicit choice); everything else a save checks still holds.
    bool lock = true;
    // Told the name of the file waited for once a wait has lasted a second.
    std::function<void(const std::string& file)> waiting;
};

// The lock of the file a path leads to through symbolic links, held for the life of the
// object, and the folder of that file, opened once: whatever the lock's holder reads and
// writes goes through that folder under the name the path led to, so that a link put in
// the path's way meanwhile leads nowhere.
//
// Writers take turns on a lock file ".NAME.lock" beside the template, which only accounts
// allowed to write the template may open and which is never removed; they also hold a
// shared lock on the template itself (on its folder while it does not exist), so that a
// program that locks the template exclusively while it writes takes turns with them too.
// Where the folder lets no new file in, the template itself is locked exclusively.
class FileLock {
public:
    enum class State {
        Held,     // locked, and the name in the folder still is the locked file
        Busy,     // another holder has it, and the lock was not to wait
        Failed,   // nothing was locked: Error() says why
        Unlocked, // not locked at the caller's request (LockOptions::lock false)
    };
    // Why a lock failed: the file cannot be reached or is no file a save may replace (the
    // save reports it as a file it cannot open), or it cannot be locked.
    enum class Problem { None, Open, Lock };

    FileLock() = default;
    ~FileLock() = default;
    FileLock(FileLock&& other) noexcept = default;
    FileLock& operator=(FileLock&& other) noexcept = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    static FileLock Take(const std::string& path, const LockOptions& options);
    static FileLock Take(const std::string& path, LockWait wait) {
        return Take(path, LockOptions(wait));
    }

    State Status() const { return state_; }
    Problem Why() const { return problem_; }
    // The errno value (or kNotRegularFile, kForeignLockFile) of a lock that failed.
    int Error() const { return error_; }
    // Whether the folder was opened and the file looked at: Held or Unlocked.
    bool Ready() const { return state_ == State::Held || state_ == State::Unlocked; }

    // The file the path led to when it was locked, and whether it existed then.
    const std::string& Target() const { return target_; }
    bool Exists() const { return exists_; }
    // Whether the file locked and looked at is this one (device and inode).
    bool Covers(dev_t device, ino_t inode) const;
    // The folder of the file, opened when the lock was taken, and the file's name in it.
    int Folder() const { return folder_.Get(); }
    const std::string& Name() const { return name_; }
    // Opens the locked file for reading through the folder; -1 with errno ESTALE when the
    // name no longer leads to the file that was locked.
    int OpenLocked() const;

private:
    FileHandle folder_{-1};
    FileHandle lockFile_{-1}; // the lock file, or the template where the folder takes none
    FileHandle shared_{-1};   // the template or, while it does not exist, its folder
    State state_ = State::Failed;
    Problem problem_ = Problem::None;
    int error_ = 0;
    std::string target_;
    std::string name_;
    bool exists_ = false;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

// The reason of a lock file that belongs to an account that may not write the template.
inline constexpr int kForeignLockFile = -2;

} // namespace permora
