// The locks that make the writers of one file take turns.

#include "template_file/file_lock.h"
#include "template_file/follow_links.h"
#include "template_file/lock_detail.h"
#include "template_file/save_io.h"
#include "template_file/template_file.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <mutex>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace permora {

namespace lock_detail {
void (*beforeWait)() = nullptr;
void (*afterLock)() = nullptr;
int (*lockCall)(int fd, int operation) = ::flock;
std::chrono::milliseconds waitNotice{1000};
void (*afterNotice)() = nullptr;
} // namespace lock_detail

namespace {

constexpr char kAccessAcl[] = "system.posix_acl_access";

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The folder as a descriptor to read and lock, or, in a folder the user may enter and
// write but not read, one that serves only to reach the names in it.
int OpenFolder(const std::string& path) {
    const int fd = save_io::Open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 || errno != EACCES) {
        return fd;
    }
    return save_io::Open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// A file in the folder, never through a link, and without waiting on the open, so that a
// pipe put there meanwhile cannot hang anything.
int OpenIn(int folder, const std::string& name) {
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const int fd = save_io::OpenAt(folder, name.c_str(), O_RDONLY | kFlags);
    if (fd >= 0 || errno != EACCES) {
        return fd;
    }
    return save_io::OpenAt(folder, name.c_str(), O_WRONLY | kFlags);
}

// Tells whoever asked, once the wait has lasted long enough, which file is waited for.
class WaitNotice {
public:
    WaitNotice(const std::function<void(const std::string&)>& tell, const std::string& file) {
        if (tell) {
            teller_ = std::thread([this, tell, file] {
                std::unique_lock<std::mutex> guard(mutex_);
                if (!ended_.wait_for(guard, lock_detail::waitNotice, [this] { return over_; })) {
                    tell(file);
                    if (lock_detail::afterNotice != nullptr) {
                        lock_detail::afterNotice();
                    }
                }
            });
        }
    }
    ~WaitNotice() {
        if (teller_.joinable()) {
            {
                const std::lock_guard<std::mutex> guard(mutex_);
                over_ = true;
            }
            ended_.notify_one();
            teller_.join();
        }
    }
    WaitNotice(const WaitNotice&) = delete;
    WaitNotice& operator=(const WaitNotice&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool over_ = false;
    std::thread teller_;
};

enum class Locking { Locked, Busy, Failed };

// Locks the descriptor (LOCK_EX or LOCK_SH). Busy: another holds the lock and it is not to
// be waited for; Failed: the file system cannot lock (errno says why).
[[nodiscard]] Locking Lock(int fd, int how, const LockOptions& options, const std::string& file) {
    if (save_io::Flock(fd, how | LOCK_NB) == 0) {
        return Locking::Locked;
    }
    if (errno != EWOULDBLOCK) {
        return Locking::Failed;
    }
    if (options.wait == LockWait::No) {
        return Locking::Busy;
    }
    if (lock_detail::beforeWait != nullptr) {
        lock_detail::beforeWait();
    }
    const WaitNotice notice(options.waiting, file);
    while (save_io::Flock(fd, how) != 0) {
        if (errno != EINTR) {
            return Locking::Failed;
        }
    }
    return Locking::Locked;
}

// One entry of a POSIX access control list as the system stores it.
struct AclEntry {
    std::uint16_t tag = 0;
    std::uint16_t perm = 0;
    std::uint32_t id = 0;
};
constexpr std::uint16_t kAclUser = 0x02;
constexpr std::uint16_t kAclGroupObj = 0x04;
constexpr std::uint16_t kAclGroup = 0x08;
constexpr std::uint16_t kAclMask = 0x10;
constexpr std::uint16_t kAclOther = 0x20;
constexpr std::uint16_t kAclWrite = 0x02;
constexpr std::size_t kAclHeader = 4;
constexpr std::size_t kAclEntrySize = 8;

// The access list of a file as stored (empty when it has none), and its entries.
std::vector<char> RawAcl(int fd) {
    std::vector<char> raw(kAclHeader + 32 * kAclEntrySize);
    for (;;) {
        const ssize_t got = ::fgetxattr(fd, kAccessAcl, raw.data(), raw.size());
        if (got >= 0) {
            raw.resize(static_cast<std::size_t>(got));
            return raw;
        }
        if (errno != ERANGE) {
            return {};
        }
        raw.resize(raw.size() * 2);
    }
}

std::vector<AclEntry> Entries(const std::vector<char>& raw) {
    std::vector<AclEntry> entries;
    for (std::size_t at = kAclHeader; at + kAclEntrySize <= raw.size(); at += kAclEntrySize) {
        AclEntry entry;
        std::memcpy(&entry.tag, raw.data() + at, 2);
        std::memcpy(&entry.perm, raw.data() + at + 2, 2);
        std::memcpy(&entry.id, raw.data() + at + 4, 4);
        entries.push_back(entry);
    }
    return entries;
}

// The groups an account belongs to, its own group first.
std::vector<gid_t> GroupsOf(uid_t uid) {
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
        return {};
    }
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    while (::getgrouplist(found->pw_name, found->pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count) + 64);
        count = static_cast<int>(groups.size());
    }
    groups.resize(static_cast<std::size_t>(count));
    return groups;
}

// Whether the account may write the file (or, as its owner, may let itself): its mode or
// access list, checked as the system checks them.
bool MayWrite(uid_t uid, const struct stat& file, const std::vector<AclEntry>& acl) {
    if (uid == 0 || uid == file.st_uid) {
        return true;
    }
    const std::vector<gid_t> groups = GroupsOf(uid);
    const auto member = [&groups](gid_t gid) {
        return std::find(groups.begin(), groups.end(), gid) != groups.end();
    };
    if (acl.empty()) {
        return member(file.st_gid) ? (file.st_mode & S_IWGRP) != 0 : (file.st_mode & S_IWOTH) != 0;
    }
    std::uint16_t mask = 7;
    for (const AclEntry& entry : acl) {
        if (entry.tag == kAclMask) {
            mask = entry.perm;
        }
    }
    for (const AclEntry& entry : acl) {
        if (entry.tag == kAclUser && entry.id == uid) {
            return (entry.perm & mask & kAclWrite) != 0;
        }
    }
    bool inAGroup = false;
    for (const AclEntry& entry : acl) {
        const bool matches = (entry.tag == kAclGroupObj && member(file.st_gid)) ||
                             (entry.tag == kAclGroup && member(static_cast<gid_t>(entry.id)));
        if (matches) {
            inAGroup = true;
            if ((entry.perm & mask & kAclWrite) != 0) {
                return true;
            }
        }
    }
    if (inAGroup) {
        return false;
    }
    return std::any_of(acl.begin(), acl.end(), [](const AclEntry& entry) {
        return entry.tag == kAclOther && (entry.perm & kAclWrite) != 0;
    });
}

// Read and write for those who may write, nothing for the others.
constexpr mode_t WritersOnly(mode_t mode) {
    return ((mode & S_IWUSR) != 0 ? S_IRUSR | S_IWUSR : 0) |
           ((mode & S_IWGRP) != 0 ? S_IRGRP | S_IWGRP : 0) |
           ((mode & S_IWOTH) != 0 ? S_IROTH | S_IWOTH : 0);
}

// Gives the lock file the template's owner and group where the user may, and the mode and
// access list that let in exactly those who may write the template.
void ShapeLockFile(int lockFd, int templateFd, const struct stat& tmpl) {
    struct stat mine {};
    if (::fstat(lockFd, &mine) == 0 && (mine.st_uid != tmpl.st_uid || mine.st_gid != tmpl.st_gid)) {
        (void)!::fchown(lockFd, tmpl.st_uid, tmpl.st_gid);
    }
    (void)!::fchmod(lockFd, WritersOnly(tmpl.st_mode));
    std::vector<char> raw = RawAcl(templateFd);
    if (raw.empty()) {
        ::fremovexattr(lockFd, kAccessAcl);
        return;
    }
    for (std::size_t at = kAclHeader; at + kAclEntrySize <= raw.size(); at += kAclEntrySize) {
        std::uint16_t perm = 0;
        std::memcpy(&perm, raw.data() + at + 2, 2);
        perm = static_cast<std::uint16_t>((perm & kAclWrite) != 0 ? 6 : 0);
        std::memcpy(raw.data() + at + 2, &perm, 2);
    }
    ::fsetxattr(lockFd, kAccessAcl, raw.data(), raw.size(), 0);
}

enum class LockFileOutcome { Opened, NoNewFile, Foreign, Failed };

// Opens the lock file beside the template, making it when it is not there. NoNewFile: the
// folder lets this user make no file there; Foreign: it belongs to an account that may not
// write the template; Failed: errno says why.
LockFileOutcome OpenLockFile(int folder, const std::string& name, int templateFd,
                             const struct stat* tmpl, FileHandle& lockFile) {
    const std::string lockName = "." + name + ".lock";
    for (int attempt = 0; attempt < 100; ++attempt) {
        lockFile = FileHandle(OpenIn(folder, lockName));
        if (lockFile.Valid()) {
            struct stat info {};
            if (::fstat(lockFile.Get(), &info) != 0) {
                return LockFileOutcome::Failed;
            }
            if (!S_ISREG(info.st_mode) || info.st_nlink != 1) {
                errno = kNotRegularFile;
                return LockFileOutcome::Foreign;
            }
            struct stat here {};
            const bool mayWrite =
                tmpl != nullptr ? MayWrite(info.st_uid, *tmpl, Entries(RawAcl(templateFd)))
                                : (info.st_uid == ::geteuid() || info.st_uid == 0 ||
                                   (::fstat(folder, &here) == 0 && here.st_uid == info.st_uid));
            if (!mayWrite) {
                return LockFileOutcome::Foreign;
            }
            // Its owner keeps it in step with the template's mode and access list.
            if (tmpl != nullptr && (info.st_uid == ::geteuid() || ::geteuid() == 0)) {
                ShapeLockFile(lockFile.Get(), templateFd, *tmpl);
            }
            return LockFileOutcome::Opened;
        }
        if (errno != ENOENT) {
            return errno == ENAMETOOLONG ? LockFileOutcome::NoNewFile : LockFileOutcome::Failed;
        }
        const int made = save_io::OpenAt(
            folder, lockName.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (made >= 0) {
            lockFile = FileHandle(made);
            if (tmpl != nullptr) {
                ShapeLockFile(made, templateFd, *tmpl);
            }
            return LockFileOutcome::Opened;
        }
        if (errno == EACCES || errno == EPERM || errno == EROFS || errno == ENAMETOOLONG) {
            return LockFileOutcome::NoNewFile;
        }
        if (errno != EEXIST) {
            return LockFileOutcome::Failed;
        }
    }
    return LockFileOutcome::Failed;
}

// What a name in the folder is, links not followed.
enum class Look { Missing, File, Link, Other, Failed };

Look LookAt(int folder, const std::string& name, struct stat& info) {
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT ? Look::Missing : Look::Failed;
    }
    if (S_ISLNK(info.st_mode)) {
        return Look::Link;
    }
    return S_ISREG(info.st_mode) ? Look::File : Look::Other;
}

// Whether the name in the folder still is the file open as fd, or still is nothing.
bool StillThere(int folder, const std::string& name, int fd, bool existed) {
    struct stat now {};
    const Look look = LookAt(folder, name, now);
    if (!existed) {
        return look == Look::Missing;
    }
    struct stat held {};
    return look == Look::File && ::fstat(fd, &held) == 0 && SameFile(now, held) &&
           held.st_nlink > 0;
}

} // namespace

bool FileLock::Covers(dev_t device, ino_t inode) const {
    return Ready() && exists_ && device_ == device && inode_ == inode;
}

int FileLock::OpenLocked() const {
    if (!Ready() || !exists_) {
        errno = ENOENT;
        return -1;
    }
    FileHandle file(OpenIn(folder_.Get(), name_));
    struct stat info {};
    if (!file.Valid() || ::fstat(file.Get(), &info) != 0) {
        return -1;
    }
    if (!Covers(info.st_dev, info.st_ino)) {
        errno = ESTALE;
        return -1;
    }
    const int fd = file.Get();
    file.Release();
    return fd;
}

FileLock FileLock::Take(const std::string& path, const LockOptions& options) {
    FileLock lock;
    const auto fail = [&lock](Problem problem, int error) {
        lock.state_ = State::Failed;
        lock.problem_ = problem;
        lock.error_ = error;
        return std::move(lock);
    };
    int linksMet = 0;
    for (;;) {
        std::string target;
        struct stat info {};
        bool exists = false;
        if (!FollowLinks(path, target, info, exists)) {
            return fail(Problem::Open, errno);
        }
        if (exists && !S_ISREG(info.st_mode)) {
            return fail(Problem::Open, S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile);
        }
        FileHandle folder(OpenFolder(FolderOf(target)));
        if (!folder.Valid()) {
            return fail(Problem::Open, errno);
        }
        const std::string name = NameOf(target);
        // Looked at again through the opened folder: a link put there since the path was
        // followed is followed anew.
        const Look look = LookAt(folder.Get(), name, info);
        if (look == Look::Failed) {
            return fail(Problem::Open, errno);
        }
        if (look == Look::Other) {
            return fail(Problem::Open, S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile);
        }
        if (look == Look::Link) {
            if (++linksMet > 40) {
                return fail(Problem::Open, ELOOP);
            }
            continue;
        }
        exists = look == Look::File;
        FileHandle file(exists ? OpenIn(folder.Get(), name) : -1);
        struct stat opened {};
        if (exists && (!file.Valid() || ::fstat(file.Get(), &opened) != 0)) {
            if (errno == ENOENT || errno == ELOOP) {
                continue; // replaced or removed since it was looked at
            }
            return fail(Problem::Open, errno);
        }
        if (exists && !SameFile(opened, info)) {
            continue;
        }

        FileHandle lockFile(-1);
        if (options.lock) {
            const LockFileOutcome made =
                OpenLockFile(folder.Get(), name, file.Get(), exists ? &opened : nullptr, lockFile);
            if (made == LockFileOutcome::Foreign) {
                return fail(Problem::Lock,
                            errno == kNotRegularFile ? kNotRegularFile : kForeignLockFile);
            }
            if (made == LockFileOutcome::Failed) {
                return fail(Problem::Lock, errno);
            }
            int how = LOCK_SH;
            if (made == LockFileOutcome::NoNewFile) {
                // The template itself is the one lock here; a folder that takes no lock file
                // takes no new template either.
                if (!exists && errno != ENAMETOOLONG) {
                    return fail(Problem::Open, errno);
                }
                how = LOCK_EX;
            } else {
                switch (Lock(lockFile.Get(), LOCK_EX, options, target)) {
                case Locking::Busy:
                    lock.state_ = State::Busy;
                    return lock;
                case Locking::Failed:
                    return fail(Problem::Lock, errno);
                case Locking::Locked:
                    break;
                }
            }
            // A folder the user may not read cannot be locked; nothing else could lock it
            // either.
            const int own = exists ? file.Get() : folder.Get();
            const bool lockable = exists || (::fcntl(own, F_GETFL) & O_PATH) == 0;
            if (lockable) {
                switch (Lock(own, how, options, target)) {
                case Locking::Busy:
                    lock.state_ = State::Busy;
                    return lock;
                case Locking::Failed:
                    return fail(Problem::Lock, errno);
                case Locking::Locked:
                    break;
                }
            } else if (how == LOCK_EX) {
                return fail(Problem::Lock, EACCES);
            }
            if (lock_detail::afterLock != nullptr) {
                lock_detail::afterLock();
            }
            // Another writer may have put a new file in the old one's place while this one
            // waited: the lock on the old file then guards nothing.
            if (!StillThere(folder.Get(), name, file.Get(), exists)) {
                continue;
            }
        }
        lock.folder_ = std::move(folder);
        lock.lockFile_ = std::move(lockFile);
        lock.shared_ = std::move(file);
        lock.state_ = options.lock ? State::Held : State::Unlocked;
        lock.target_ = target;
        lock.name_ = name;
        lock.exists_ = exists;
        lock.device_ = exists ? opened.st_dev : 0;
        lock.inode_ = exists ? opened.st_ino : 0;
        return lock;
    }
}

} // namespace permora
