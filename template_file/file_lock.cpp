// Exclusive locks on the files that saves replace.

#include "template_file/file_lock.h"
#include "template_file/follow_links.h"
#include "template_file/lock_detail.h"
#include "template_file/save_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace permora {

namespace lock_detail {
void (*beforeWait)() = nullptr;
void (*afterLock)() = nullptr;
} // namespace lock_detail

namespace {

// A file replaced again and again while this one waits gets a few more tries before the
// save goes on unlocked.
constexpr int kAttempts = 100;

// A descriptor to lock: the file itself, or, for a file not there yet, its folder. Without
// waiting on the open, so that a pipe put there meanwhile cannot hang the save.
int OpenToLock(const std::string& target, bool exists) {
    if (!exists) {
        return save_io::Open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const int fd = save_io::Open(target.c_str(), O_RDONLY | kFlags);
    if (fd >= 0 || errno != EACCES) {
        return fd;
    }
    return save_io::Open(target.c_str(), O_WRONLY | kFlags);
}

enum class Locking { Locked, Busy, Failed };

// Locks the descriptor. Busy: another holds the lock and it is not to be waited for;
// Failed: the file system cannot lock.
[[nodiscard]] Locking Lock(int fd, LockWait wait) {
    if (save_io::Flock(fd, LOCK_EX | LOCK_NB) == 0) {
        return Locking::Locked;
    }
    if (errno != EWOULDBLOCK) {
        return Locking::Failed;
    }
    if (wait == LockWait::No) {
        return Locking::Busy;
    }
    if (lock_detail::beforeWait != nullptr) {
        lock_detail::beforeWait();
    }
    while (save_io::Flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return Locking::Failed;
        }
    }
    return Locking::Locked;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the path still leads where it led when the descriptor was opened: to the locked
// file itself, or, for a file that was not there, still to no file in the locked folder.
bool StillLeadsTo(const std::string& path, int fd, bool existed) {
    std::string target;
    struct stat info {};
    bool exists = false;
    struct stat locked {};
    if (!FollowLinks(path, target, info, exists) || exists != existed ||
        ::fstat(fd, &locked) != 0) {
        return false;
    }
    if (exists) {
        return SameFile(info, locked) && locked.st_nlink > 0;
    }
    struct stat folder {};
    return ::stat(FolderOf(target).c_str(), &folder) == 0 && SameFile(folder, locked);
}

} // namespace

FileLock::~FileLock() {
    Release();
}

FileLock::FileLock(FileLock&& other) noexcept {
    *this = std::move(other);
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
        state_ = std::exchange(other.state_, State::Unlocked);
        target_ = std::move(other.target_);
        exists_ = other.exists_;
        device_ = other.device_;
        inode_ = other.inode_;
    }
    return *this;
}

void FileLock::Release() {
    if (fd_ >= 0) {
        ::close(fd_); // lets the lock go
        fd_ = -1;
    }
}

bool FileLock::Covers(dev_t device, ino_t inode) const {
    return state_ == State::Held && exists_ && device_ == device && inode_ == inode;
}

FileLock FileLock::Take(const std::string& path, LockWait wait) {
    FileLock lock;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        struct stat info {};
        bool exists = false;
        std::string target;
        if (!FollowLinks(path, target, info, exists) || (exists && !S_ISREG(info.st_mode))) {
            return lock;
        }
        const int fd = OpenToLock(target, exists);
        if (fd < 0) {
            if (errno == ENOENT || errno == ELOOP) {
                continue; // replaced or removed since it was looked at
            }
            return lock;
        }
        const Locking locking = Lock(fd, wait);
        if (locking != Locking::Locked) {
            ::close(fd);
            if (locking == Locking::Busy) {
                lock.state_ = State::Busy;
            }
            return lock;
        }
        if (lock_detail::afterLock != nullptr) {
            lock_detail::afterLock();
        }
        // Another saver may have put a new file in the old one's place while this one
        // waited: the lock on the old file then guards nothing.
        struct stat held {};
        if (!StillLeadsTo(path, fd, exists) || ::fstat(fd, &held) != 0) {
            ::close(fd);
            continue;
        }
        lock.fd_ = fd;
        lock.state_ = State::Held;
        lock.target_ = target;
        lock.exists_ = exists;
        lock.device_ = held.st_dev;
        lock.inode_ = held.st_ino;
        return lock;
    }
    return lock;
}

} // namespace permora
