#include "platform/recovery_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace recovery {

void (*detail::afterCreate)(const std::string& folder, const std::string& name) = nullptr;

namespace {

// Owns one open descriptor; Release hands it on.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

constexpr std::string_view kPrefix = "permora-";
constexpr std::string_view kSuffix = ".conf";
constexpr std::string_view kHandledSuffix = ".handled";
constexpr std::string_view kOriginSuffix = ".origin";
constexpr std::time_t kDay = std::time_t{24} * 60 * 60;
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// Why the next step of the way to the folder could not be taken.
std::string StepFailure(int at, const std::string& part, int error) {
    struct stat info {};
    if (::fstatat(at, part.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode))
        return "a symbolic link is on the way to it";
    return std::strerror(error);
}

// Opens the folder one step at a time from the root, never following a link, making the
// missing steps (private) when create is set. The folder must then be the effective
// user's, and no one else may write it. -1, with why, when it cannot be used.
int OpenFolder(const std::string& folder, bool create, std::string& why) {
    if (folder.empty() || folder.front() != '/') {
        why = folder.empty() ? "neither XDG_STATE_HOME nor HOME names a folder"
                             : "not an absolute path";
        return -1;
    }
    Descriptor at(::open("/", kFolderFlags));
    std::size_t start = 1;
    while (at.Valid() && start < folder.size()) {
        std::size_t end = folder.find('/', start);
        if (end == std::string::npos)
            end = folder.size();
        const std::string part = folder.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        int next = ::openat(at.Get(), part.c_str(), kFolderFlags);
        if (next < 0 && errno == ENOENT && create &&
            (::mkdirat(at.Get(), part.c_str(), 0700) == 0 || errno == EEXIST))
            next = ::openat(at.Get(), part.c_str(), kFolderFlags);
        if (next < 0) {
            why = StepFailure(at.Get(), part, errno);
            return -1;
        }
        at.Reset(next);
    }
    struct stat info {};
    if (!at.Valid() || ::fstat(at.Get(), &info) != 0) {
        why = std::strerror(errno);
        return -1;
    }
    if (info.st_uid != ::geteuid()) {
        why = "it belongs to another user";
        return -1;
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        why = "others may write to it";
        return -1;
    }
    return at.Release();
}

// A file of the folder that may be trusted: a regular file of the user's that no one else
// may write.
bool Trusted(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

struct Entry {
    std::string name;
    std::time_t kept;
    bool trusted;
};

// The recovery files of the opened folder (regular files with a time in their names).
std::vector<Entry> Entries(int folder) {
    std::vector<Entry> entries;
    const int listed = ::dup(folder);
    if (listed < 0)
        return entries;
    DIR* dir = ::fdopendir(listed);
    if (dir == nullptr) {
        ::close(listed);
        return entries;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const std::time_t kept = TimeOfName(name);
        struct stat info {};
        if (kept == -1 || ::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode))
            continue;
        entries.push_back({name, kept, Trusted(info)});
    }
    ::closedir(dir);
    return entries;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Gives the new file (still under its hidden name) a recovery name no file has yet.
std::string TakeName(int folder, const std::string& hidden) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::string name = FileName(local, static_cast<long>(::getpid()), attempt);
        if (::renameat2(folder, hidden.c_str(), folder, name.c_str(), RENAME_NOREPLACE) == 0)
            return name;
        if (errno == EEXIST)
            continue;
        // A file system without the flag: a new link never replaces a file either.
        if (errno != EINVAL || ::linkat(folder, hidden.c_str(), folder, name.c_str(), 0) != 0) {
            if (errno == EEXIST)
                continue;
            return {};
        }
        ::unlinkat(folder, hidden.c_str(), 0);
        return name;
    }
    return {};
}

// Whether the folder's entry of that name is the file open as fd.
bool IsSameFile(int folder, const std::string& name, int fd) {
    struct stat named {
    }, open{};
    return ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

void PruneOpened(int folder, std::time_t now, std::string_view keep) {
    std::vector<Entry> entries = Entries(folder);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.kept != b.kept ? a.kept < b.kept : a.name < b.name;
    });
    const std::size_t count = entries.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Entry& entry = entries[i];
        const std::size_t newer = count - 1 - i;
        if (newer < static_cast<std::size_t>(kKeptFiles) || entry.name == keep ||
            now - entry.kept <= kKeptDays * kDay)
            continue;
        if (::unlinkat(folder, entry.name.c_str(), 0) == 0) {
            ::unlinkat(folder, (entry.name + std::string(kHandledSuffix)).c_str(), 0);
            ::unlinkat(folder, (entry.name + std::string(kOriginSuffix)).c_str(), 0);
        }
    }
}

// The side file's text: the numbers on the first line, then the path, byte for byte.
std::string OriginText(const Origin& origin) {
    std::string text = std::to_string(origin.known ? 1 : 0) + ' ' + std::to_string(origin.device) +
                       ' ' + std::to_string(origin.inode) + ' ' + std::to_string(origin.size) +
                       ' ' + std::to_string(origin.modifiedSeconds) + ' ' +
                       std::to_string(origin.modifiedNanoseconds) + ' ' +
                       std::to_string(origin.targets) + '\n';
    return text + origin.path;
}

// Writes the side file of `name` whole, replacing one that is there.
void WriteOrigin(int dir, const std::string& name, const Origin& origin) {
    const std::string hidden = ".permora-origin-" + std::to_string(::getpid()) + ".part";
    ::unlinkat(dir, hidden.c_str(), 0);
    Descriptor file(
        ::openat(dir, hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.Valid())
        return;
    const std::string side = name + std::string(kOriginSuffix);
    if (!WriteAll(file.Get(), OriginText(origin)) ||
        ::renameat(dir, hidden.c_str(), dir, side.c_str()) != 0)
        ::unlinkat(dir, hidden.c_str(), 0);
}

std::optional<Origin> ReadOrigin(int dir, const std::string& name) {
    const Descriptor file(::openat(dir, (name + std::string(kOriginSuffix)).c_str(),
                                   O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    // A side file is small; one that is not is not one of ours.
    constexpr off_t kMostBytes = 8192;
    if (!file.Valid() || ::fstat(file.Get(), &info) != 0 || !Trusted(info) ||
        info.st_size > kMostBytes)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(file.Get(), text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        got += static_cast<std::size_t>(n);
    }
    const std::size_t end = text.find('\n');
    if (end == std::string::npos)
        return std::nullopt;
    Origin origin;
    int known = 0;
    unsigned long long device = 0, inode = 0;
    long long size = 0, seconds = 0, nanoseconds = 0, targets = 0;
    const std::string numbers = text.substr(0, end);
    if (std::sscanf(numbers.c_str(), "%d %llu %llu %lld %lld %lld %lld", &known, &device, &inode,
                    &size, &seconds, &nanoseconds, &targets) != 7)
        return std::nullopt;
    origin.known = known != 0;
    origin.device = device;
    origin.inode = inode;
    origin.size = size;
    origin.modifiedSeconds = seconds;
    origin.modifiedNanoseconds = nanoseconds;
    origin.targets = targets;
    origin.path = text.substr(end + 1);
    return origin;
}

} // namespace

std::string Folder() {
    std::string state = Environment("XDG_STATE_HOME");
    // A relative XDG_STATE_HOME is not to be used.
    if (state.empty() || state.front() != '/') {
        const std::string home = Environment("HOME");
        if (home.empty())
            return {};
        state = home + "/.local/state";
    }
    return state + "/permora/recovery";
}

std::string FileName(const std::tm& when, long pid, int attempt) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", when.tm_year + 1900,
                  when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    std::string name(kPrefix);
    name += stamp;
    name += '-';
    name += std::to_string(pid);
    if (attempt > 1) {
        name += '-';
        name += std::to_string(attempt);
    }
    name += kSuffix;
    return name;
}

bool IsRecoveryFileName(std::string_view name) {
    return name.size() > kPrefix.size() + kSuffix.size() &&
           name.substr(0, kPrefix.size()) == kPrefix &&
           name.substr(name.size() - kSuffix.size()) == kSuffix;
}

std::time_t TimeOfName(std::string_view name) {
    // permora-YYYYMMDD-HHMMSS-...
    constexpr std::size_t kStampLength = 15;
    if (!IsRecoveryFileName(name) || name.size() < kPrefix.size() + kStampLength + 1)
        return -1;
    const std::string_view stamp = name.substr(kPrefix.size(), kStampLength);
    for (std::size_t i = 0; i < stamp.size(); ++i) {
        const bool digit = stamp[i] >= '0' && stamp[i] <= '9';
        if (i == 8 ? stamp[i] != '-' : !digit)
            return -1;
    }
    if (name[kPrefix.size() + kStampLength] != '-')
        return -1;
    const auto number = [&](std::size_t at, std::size_t length) {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i)
            value = value * 10 + (stamp[i] - '0');
        return value;
    };
    std::tm when{};
    when.tm_year = number(0, 4) - 1900;
    when.tm_mon = number(4, 2) - 1;
    when.tm_mday = number(6, 2);
    when.tm_hour = number(9, 2);
    when.tm_min = number(11, 2);
    when.tm_sec = number(13, 2);
    when.tm_isdst = -1;
    return std::mktime(&when);
}

void Prune(const std::string& folder, std::time_t now, std::string_view keep) {
    std::string why;
    const Descriptor opened(OpenFolder(folder, false, why));
    if (opened.Valid())
        PruneOpened(opened.Get(), now, keep);
}

std::string Write(const FileContent& content, const std::string& folder, const Origin* origin) {
    std::string why;
    const Descriptor opened(OpenFolder(folder, true, why));
    if (!opened.Valid()) {
        std::fprintf(stderr, "permora: no recovery file: %s: %s\n",
                     folder.empty() ? "the recovery folder" : folder.c_str(), why.c_str());
        return {};
    }
    const int dir = opened.Get();
    // Written under a hidden name first, so that a recovery file is always whole.
    std::string hidden;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        hidden = ".permora-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".part";
        fd = ::openat(dir, hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0600);
        if (fd < 0 && errno != EEXIST)
            return {};
    }
    Descriptor file(fd);
    if (!file.Valid())
        return {};
    if (detail::afterCreate != nullptr)
        detail::afterCreate(folder, hidden);
    const bool written =
        content([&file](std::string_view block) { return WriteAll(file.Get(), block); }) &&
        ::fsync(file.Get()) == 0;
    std::string name = written ? TakeName(dir, hidden) : std::string();
    if (name.empty()) {
        ::unlinkat(dir, hidden.c_str(), 0);
        return {};
    }
    // Whatever stands under the name now must be the file just written.
    if (!IsSameFile(dir, name, file.Get())) {
        ::unlinkat(dir, name.c_str(), 0);
        return {};
    }
    if (::close(file.Release()) != 0)
        return {};
    if (origin != nullptr)
        WriteOrigin(dir, name, *origin);
    ::fsync(dir);
    PruneOpened(dir, std::time(nullptr), name);
    return folder + "/" + name;
}

namespace {

// A hidden file of the folder, new, open for writing.
int CreateHidden(int dir, std::string& hidden) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        hidden = ".permora-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".part";
        const int fd = ::openat(dir, hidden.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Whether a running program holds the folder's file of that name as its snapshot.
bool HeldByWriter(int dir, const std::string& name) {
    const Descriptor file(
        ::openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.Valid())
        return false;
    if (::flock(file.Get(), LOCK_SH | LOCK_NB) != 0)
        return errno == EWOULDBLOCK;
    ::flock(file.Get(), LOCK_UN);
    return false;
}

} // namespace

std::string WriteSnapshot(const FileContent& content, const std::string& name, int& locked,
                          const std::string& folder, const Origin* origin) {
    std::string why;
    const Descriptor opened(OpenFolder(folder, true, why));
    if (!opened.Valid())
        return {};
    const int dir = opened.Get();
    std::string hidden;
    Descriptor file(CreateHidden(dir, hidden));
    if (!file.Valid())
        return {};
    // Locked before it has its name, so that it is never seen unlocked while this runs.
    const bool written =
        ::flock(file.Get(), LOCK_EX | LOCK_NB) == 0 &&
        content([&file](std::string_view block) { return WriteAll(file.Get(), block); }) &&
        ::fsync(file.Get()) == 0;
    std::string shown = name;
    if (written && shown.empty()) {
        shown = TakeName(dir, hidden);
    } else if (written && (TimeOfName(shown) == -1 || shown.find('/') != std::string::npos ||
                           ::renameat(dir, hidden.c_str(), dir, shown.c_str()) != 0)) {
        shown.clear();
    }
    if (!written || shown.empty()) {
        ::unlinkat(dir, hidden.c_str(), 0);
        return {};
    }
    if (!IsSameFile(dir, shown, file.Get())) {
        ::unlinkat(dir, shown.c_str(), 0);
        return {};
    }
    if (origin != nullptr)
        WriteOrigin(dir, shown, *origin);
    ::fsync(dir);
    if (locked >= 0)
        ::close(locked);
    locked = file.Release();
    return shown;
}

void RemoveSnapshot(const std::string& name, int& locked, const std::string& folder) {
    std::string why;
    const Descriptor opened(OpenFolder(folder, false, why));
    // Only the file this program holds: another one may have taken the name meanwhile.
    if (opened.Valid() && locked >= 0 && !name.empty() && name.find('/') == std::string::npos &&
        IsSameFile(opened.Get(), name, locked)) {
        ::unlinkat(opened.Get(), name.c_str(), 0);
        ::unlinkat(opened.Get(), (name + std::string(kOriginSuffix)).c_str(), 0);
    }
    if (locked >= 0)
        ::close(locked);
    locked = -1;
}

std::vector<Recovered> List(const std::string& folder) {
    std::string why;
    const Descriptor opened(OpenFolder(folder, false, why));
    std::vector<Recovered> files;
    if (!opened.Valid())
        return files;
    for (Entry& entry : Entries(opened.Get())) {
        if (!entry.trusted || HeldByWriter(opened.Get(), entry.name))
            continue;
        struct stat mark {};
        const bool handled =
            ::fstatat(opened.Get(), (entry.name + std::string(kHandledSuffix)).c_str(), &mark,
                      AT_SYMLINK_NOFOLLOW) == 0;
        std::optional<Origin> origin = ReadOrigin(opened.Get(), entry.name);
        files.push_back({std::move(entry.name), entry.kept, handled, std::move(origin)});
    }
    std::sort(files.begin(), files.end(), [](const Recovered& a, const Recovered& b) {
        return a.kept != b.kept ? a.kept > b.kept : a.name > b.name;
    });
    return files;
}

int OpenFile(const std::string& name, const std::string& folder) {
    std::string why;
    const Descriptor opened(OpenFolder(folder, false, why));
    if (!opened.Valid() || TimeOfName(name) == -1 || name.find('/') != std::string::npos)
        return -1;
    Descriptor file(
        ::openat(opened.Get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.Valid() || ::fstat(file.Get(), &info) != 0 || !Trusted(info))
        return -1;
    return file.Release();
}

bool MarkHandled(const std::string& name, const std::string& folder) {
    std::string why;
    const Descriptor opened(OpenFolder(folder, false, why));
    if (!opened.Valid() || TimeOfName(name) == -1 || name.find('/') != std::string::npos)
        return false;
    const Descriptor mark(::openat(opened.Get(), (name + std::string(kHandledSuffix)).c_str(),
                                   O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    return mark.Valid();
}

} // namespace recovery
