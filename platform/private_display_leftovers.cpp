#include "platform/private_display_leftovers.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace permora {
namespace {

constexpr const char* kFolderPrefix = "permora-display-";
// An X socket younger than this may belong to a server that has bound it and is about to
// listen; it is left for a later start.
constexpr time_t kSocketSettleSeconds = 10;

struct ProcessStat {
    char state = '?';
    std::string start; // clock ticks since boot
};

// The state and start of a process from /proc; false when it cannot be read.
bool ReadProcessStat(pid_t pid, ProcessStat& stat) {
    const std::string path = "/proc/" + std::to_string(pid) + "/stat";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buffer[1024];
    const ssize_t count = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    if (count <= 0)
        return false;
    const std::string text(buffer, static_cast<std::size_t>(count));
    // The name in parentheses may hold blanks and parentheses; the fields follow the last.
    std::size_t at = text.rfind(')');
    if (at == std::string::npos)
        return false;
    // The state is field 3, right after the name; the start is field 22.
    for (int field = 3; field <= 22; ++field) {
        at = text.find_first_not_of(' ', at + 1);
        if (at == std::string::npos)
            return false;
        if (field == 3)
            stat.state = text[at];
        if (field == 22) {
            stat.start = text.substr(at, text.find_first_of(" \n", at) - at);
            return true;
        }
        at = text.find(' ', at);
        if (at == std::string::npos)
            return false;
    }
    return false;
}

bool ProcessGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

bool AllDigits(const std::string& text, std::size_t at, std::size_t end) {
    return end > at && end <= text.size() &&
           std::all_of(text.begin() + static_cast<std::ptrdiff_t>(at),
                       text.begin() + static_cast<std::ptrdiff_t>(end),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// The number that the digits of `text` from `at` up to `end` write, or -1 when there are
// none, others or too many.
long Number(const std::string& text, std::size_t at, std::size_t end) {
    if (!AllDigits(text, at, end) || end - at > 9)
        return -1;
    long value = 0;
    for (std::size_t i = at; i < end; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

bool OwnedByMe(const struct stat& status) {
    return status.st_uid == ::geteuid();
}

struct Entry {
    std::string name;
    struct stat status;
};

// The entries of a folder whose names `wanted` accepts, as they are (links not followed);
// read whole before any is removed.
template <typename Wanted> std::vector<Entry> ListFolder(int folder, Wanted wanted) {
    std::vector<Entry> entries;
    const int copy = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
    DIR* listing = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (listing == nullptr) {
        if (copy >= 0)
            ::close(copy);
        return entries;
    }
    while (const dirent* entry = ::readdir(listing)) {
        Entry found{entry->d_name, {}};
        if (found.name != "." && found.name != ".." && wanted(found.name) &&
            ::fstatat(folder, entry->d_name, &found.status, AT_SYMLINK_NOFOLLOW) == 0)
            entries.push_back(std::move(found));
    }
    ::closedir(listing);
    return entries;
}

// Removes the entry only while the name still leads to what was looked at.
void UnlinkIfSame(int folder, const Entry& entry, int flags = 0) {
    struct stat now {};
    if (::fstatat(folder, entry.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
        now.st_dev == entry.status.st_dev && now.st_ino == entry.status.st_ino)
        ::unlinkat(folder, entry.name.c_str(), flags);
}

int OpenFolder(const char* path) {
    return ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

void RemoveFolderAt(int parent, const Entry& entry) {
    const int folder =
        ::openat(parent, entry.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0)
        return;
    struct stat status {};
    if (::fstat(folder, &status) == 0 && OwnedByMe(status) &&
        status.st_ino == entry.status.st_ino && status.st_dev == entry.status.st_dev) {
        for (const Entry& inside : ListFolder(folder, [](const std::string&) { return true; }))
            ::unlinkat(folder, inside.name.c_str(), 0);
        UnlinkIfSame(parent, entry, AT_REMOVEDIR);
    }
    ::close(folder);
}

// Whether something accepts connections on the Unix socket, or it cannot be told.
bool Listens(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return true;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return true;
    const bool refused =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 &&
        errno == ECONNREFUSED;
    ::close(fd);
    return !refused;
}

// The process id an X lock file names; 0 when it names none.
pid_t LockHolder(int folder, const Entry& lock) {
    const int fd =
        ::openat(folder, lock.name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return 0;
    struct stat status {};
    char text[32] = {};
    const bool same = ::fstat(fd, &status) == 0 && status.st_ino == lock.status.st_ino &&
                      status.st_dev == lock.status.st_dev;
    const ssize_t count = same ? ::read(fd, text, sizeof text - 1) : -1;
    ::close(fd);
    if (count <= 0)
        return 0;
    char* end = nullptr;
    const long pid = std::strtol(text, &end, 10);
    return pid > 0 && end != text ? static_cast<pid_t>(pid) : 0;
}

std::string LockName(long number) {
    return ".X" + std::to_string(number) + "-lock";
}

std::string SocketName(long number) {
    return "X" + std::to_string(number);
}

// The display number of ".X<n>-lock"; -1 for any other name.
long LockNumber(const std::string& name) {
    constexpr std::size_t kSuffix = sizeof "-lock" - 1;
    if (name.size() <= 2 + kSuffix || name.compare(0, 2, ".X") != 0 ||
        name.compare(name.size() - kSuffix, kSuffix, "-lock") != 0)
        return -1;
    return Number(name, 2, name.size() - kSuffix);
}

// The lock of the display folder's watcher, taken here because the watcher has ended: it
// held it for its whole life. -1 while the watcher runs, and for a folder without that lock
// (one being made, say), which is left alone.
int EndedWatcherLock(int parent, const Entry& entry) {
    const int folder =
        ::openat(parent, entry.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0)
        return -1;
    struct stat status {};
    const bool same = ::fstat(folder, &status) == 0 && status.st_ino == entry.status.st_ino &&
                      status.st_dev == entry.status.st_dev;
    const int lock =
        same ? ::openat(folder, kWatcherLockName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)
             : -1;
    ::close(folder);
    if (lock < 0)
        return -1;
    if (::fstat(lock, &status) != 0 || !S_ISREG(status.st_mode) || !OwnedByMe(status) ||
        ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock);
        return -1;
    }
    return lock;
}

void RemoveDeadFolders(const std::string& base) {
    const int folder = OpenFolder(base.c_str());
    if (folder < 0)
        return;
    const std::size_t prefix = std::strlen(kFolderPrefix);
    const auto named = [prefix](const std::string& name) {
        return name.compare(0, prefix, kFolderPrefix) == 0;
    };
    for (const Entry& entry : ListFolder(folder, named)) {
        const std::string& name = entry.name;
        if (!S_ISDIR(entry.status.st_mode) || !OwnedByMe(entry.status))
            continue;
        // "permora-display-PID-START-XXXXXX"; a name without the watcher's is left alone.
        const std::size_t pidEnd = name.find('-', prefix);
        const std::size_t startEnd =
            pidEnd == std::string::npos ? pidEnd : name.find('-', pidEnd + 1);
        if (startEnd == std::string::npos || !AllDigits(name, pidEnd + 1, startEnd))
            continue;
        // The id names a process of the namespace the watcher ran in, which need not be
        // this one: only the watcher's own lock tells whether it still runs.
        if (Number(name, prefix, pidEnd) <= 0)
            continue;
        const int ended = EndedWatcherLock(folder, entry);
        if (ended >= 0) {
            RemoveFolderAt(folder, entry);
            ::close(ended);
        }
    }
    ::close(folder);
}

void RemoveDeadLocks() {
    const int folder = OpenFolder("/tmp");
    if (folder < 0)
        return;
    const auto named = [](const std::string& name) { return LockNumber(name) >= 0; };
    for (const Entry& entry : ListFolder(folder, named)) {
        if (!S_ISREG(entry.status.st_mode) || !OwnedByMe(entry.status))
            continue;
        const pid_t holder = LockHolder(folder, entry);
        if (holder > 0 && ProcessGone(holder))
            UnlinkIfSame(folder, entry);
    }
    ::close(folder);
}

// Sockets whose display has no lock left and on which nothing listens.
void RemoveDeadSockets() {
    const int folder = OpenFolder(kXSocketFolder);
    if (folder < 0)
        return;
    const time_t settled = std::time(nullptr) - kSocketSettleSeconds;
    const auto number = [](const std::string& name) {
        return name.size() > 1 && name[0] == 'X' ? Number(name, 1, name.size()) : -1;
    };
    const auto named = [&number](const std::string& name) { return number(name) >= 0; };
    for (const Entry& entry : ListFolder(folder, named)) {
        struct stat lock {};
        if (!S_ISSOCK(entry.status.st_mode) || !OwnedByMe(entry.status) ||
            entry.status.st_mtime > settled ||
            ::lstat(("/tmp/" + LockName(number(entry.name))).c_str(), &lock) == 0 ||
            Listens(std::string(kXSocketFolder) + "/" + entry.name))
            continue;
        UnlinkIfSame(folder, entry);
    }
    ::close(folder);
}

} // namespace

std::string DisplayFolderPrefix() {
    const pid_t self = ::getpid();
    ProcessStat stat;
    if (!ReadProcessStat(self, stat))
        stat.start = "0";
    return kFolderPrefix + std::to_string(self) + "-" + stat.start + "-";
}

void RemoveDisplayLeftovers(const std::vector<std::string>& bases) {
    std::vector<std::string> done;
    for (const std::string& base : bases) {
        if (std::find(done.begin(), done.end(), base) != done.end())
            continue;
        RemoveDeadFolders(base);
        done.push_back(base);
    }
    RemoveDeadLocks();
    RemoveDeadSockets();
}

void RemoveServerFiles(int number, pid_t server, ino_t socketInode) {
    if (const int tmp = OpenFolder("/tmp"); tmp >= 0) {
        Entry lock{LockName(number), {}};
        if (::fstatat(tmp, lock.name.c_str(), &lock.status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(lock.status.st_mode) && OwnedByMe(lock.status) &&
            LockHolder(tmp, lock) == server)
            UnlinkIfSame(tmp, lock);
        ::close(tmp);
    }
    if (const int sockets = OpenFolder(kXSocketFolder); sockets >= 0) {
        Entry socket{SocketName(number), {}};
        if (socketInode != 0 &&
            ::fstatat(sockets, socket.name.c_str(), &socket.status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISSOCK(socket.status.st_mode) && OwnedByMe(socket.status) &&
            socket.status.st_ino == socketInode &&
            !Listens(std::string(kXSocketFolder) + "/" + socket.name))
            UnlinkIfSame(sockets, socket);
        ::close(sockets);
    }
}

ino_t XSocketInode(int number) {
    struct stat status {};
    const std::string path = std::string(kXSocketFolder) + "/" + SocketName(number);
    if (::lstat(path.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode) || !OwnedByMe(status))
        return 0;
    return status.st_ino;
}

int HoldDisplayFolder(const std::string& folder) {
    const int dir = OpenFolder(folder.c_str());
    if (dir < 0)
        return -1;
    // Locked under another name first, so that no one ever finds the lock's name unheld.
    constexpr const char* kMaking = ".watcher.lock-new";
    int lock = ::openat(dir, kMaking, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lock >= 0 && (::flock(lock, LOCK_EX | LOCK_NB) != 0 ||
                      ::renameat(dir, kMaking, dir, kWatcherLockName) != 0)) {
        ::unlinkat(dir, kMaking, 0);
        ::close(lock);
        lock = -1;
    }
    ::close(dir);
    return lock;
}

void RemoveOwnFolder(const std::string& folder) {
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string::npos || slash + 1 >= folder.size())
        return;
    const std::string parentPath = slash == 0 ? "/" : folder.substr(0, slash);
    const int parent = OpenFolder(parentPath.c_str());
    if (parent < 0)
        return;
    Entry entry{folder.substr(slash + 1), {}};
    if (::fstatat(parent, entry.name.c_str(), &entry.status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISDIR(entry.status.st_mode))
        RemoveFolderAt(parent, entry);
    ::close(parent);
}

} // namespace permora
