// Saving a template. The new text goes to a new file beside the old one, which then takes
// the old file's place with its owner, group, mode, access control list and other extended
// attributes. Where a new file could not keep what the old one has (other hard links, an
// owner or an access list the saver may not give, a folder that lets no new file in), the
// old file is written in place instead, with its previous bytes put back if that fails.

#include "template_file/safe_save.h"
#include "template_file/file_handle.h"
#include "template_file/follow_links.h"
#include "template_file/save_io.h"
#include "template_file/template_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace permora {

namespace save_detail {
PositionalWrite inPlaceWrite = ::pwrite;
SequentialWrite newFileWrite = ::write;
std::size_t blockSize = kEncodeBlockSize;
off_t syncAhead = off_t{8} << 20;
IoFault ioFault = nullptr;

bool MayCall(IoCall call) {
    const int error = ioFault != nullptr ? ioFault(call) : 0;
    if (error != 0) {
        errno = error;
    }
    return error == 0;
}
} // namespace save_detail

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = save_io::Write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool WriteAllAt(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t written = save_io::PWrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

bool ReadAll(int fd, std::size_t size, std::string& bytes) {
    bytes.assign(size, '\0');
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count =
            save_io::PRead(fd, bytes.data() + done, size - done, static_cast<off_t>(done));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

// Opens the file that will be saved over, for reading its bytes back should a write in
// place fail: through the folder the lock opened, never through a link, and without
// waiting, so that a pipe put there meanwhile cannot hang the save.
int OpenExisting(int folder, const std::string& name) {
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const int fd = save_io::OpenAt(folder, name.c_str(), O_RDWR | kFlags);
    if (fd >= 0 || errno != EACCES) {
        return fd;
    }
    return save_io::OpenAt(folder, name.c_str(), O_WRONLY | kFlags);
}

// Creates a new file with a short hidden name in the folder, so that the name fits beside
// any file name the folder can hold.
int CreateTemporary(int folder, mode_t mode, std::string& temporary) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::uint64_t counter = 0;
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    seed ^= static_cast<std::uint64_t>(::getpid()) << 32;
    for (int attempt = 0; attempt < 100; ++attempt) {
        seed += ++counter * 0x9E3779B97F4A7C15ull;
        temporary = ".permora-";
        std::uint64_t bits = seed;
        for (int i = 0; i < 6; ++i) {
            bits ^= bits >> 33;
            bits *= 0xFF51AFD7ED558CCDull;
            bits ^= bits >> 29;
            temporary.push_back(kLetters[bits % (sizeof kLetters - 1)]);
        }
        const int fd = save_io::OpenAt(folder, temporary.c_str(),
                                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// The names of a file's extended attributes, access control list included.
bool AttributeNames(int fd, std::vector<std::string>& names) {
    names.clear();
    std::vector<char> list;
    for (;;) {
        const ssize_t size = save_io::FListXattr(fd, nullptr, 0);
        if (size < 0) {
            return errno == ENOTSUP;
        }
        list.resize(static_cast<std::size_t>(size));
        const ssize_t got = save_io::FListXattr(fd, list.data(), list.size());
        if (got >= 0) {
            list.resize(static_cast<std::size_t>(got));
            break;
        }
        if (errno != ERANGE) {
            return false;
        }
    }
    for (auto at = list.begin(); at != list.end();) {
        const auto end = std::find(at, list.end(), '\0');
        names.emplace_back(at, end);
        at = end == list.end() ? end : end + 1;
    }
    return true;
}

bool AttributeValue(int fd, const std::string& name, std::vector<char>& value) {
    for (;;) {
        const ssize_t size = save_io::FGetXattr(fd, name.c_str(), nullptr, 0);
        if (size < 0) {
            return false;
        }
        value.resize(static_cast<std::size_t>(size));
        const ssize_t got = save_io::FGetXattr(fd, name.c_str(), value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) {
            return false;
        }
    }
}

// Gives the new file exactly the extended attributes of the old one: what the folder's
// default access list or the system put on the new file goes, the old file's come over.
// Setting the old access list last also sets the group bits from its mask, as they were.
bool CopyAttributes(int from, int to) {
    std::vector<std::string> wanted;
    std::vector<std::string> present;
    if (!AttributeNames(from, wanted) || !AttributeNames(to, present)) {
        return false;
    }
    for (const std::string& name : present) {
        if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() &&
            save_io::FRemoveXattr(to, name.c_str()) != 0 && errno != ENODATA) {
            return false;
        }
    }
    std::vector<char> value;
    for (const std::string& name : wanted) {
        if (!AttributeValue(from, name, value) ||
            save_io::FSetXattr(to, name.c_str(), value.data(), value.size()) != 0) {
            return false;
        }
    }
    return true;
}

// Makes the new file the old one's equal in owner, group, mode and attributes; false
// when the saver may not, and the old file must be written in place.
bool TakeIdentity(int fd, int oldFd, const struct stat& old) {
    struct stat mine {};
    if (::fstat(fd, &mine) != 0) {
        return false;
    }
    // The owner first: changing it clears the set-id bits that the mode then puts back.
    if ((mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) &&
        save_io::Fchown(fd, old.st_uid, old.st_gid) != 0) {
        return false;
    }
    if (save_io::Fchmod(fd, old.st_mode & 07777) != 0 || !CopyAttributes(oldFd, fd) ||
        ::fstat(fd, &mine) != 0) {
        return false;
    }
    return mine.st_uid == old.st_uid && mine.st_gid == old.st_gid && mine.st_mode == old.st_mode;
}

// What a save writes: a template, or the targets a source hands over while the file is
// written.
struct Content {
    const SecurityTemplate* tmpl = nullptr;
    const TargetSource* source = nullptr;
};

// The bytes of the template, block by block, as the save writes them.
bool Encode(const SecurityTemplate& tmpl, Encoding encoding, const ByteSink& sink) {
    return EncodeTemplate(tmpl, encoding, sink, save_detail::blockSize);
}

bool Encode(const Content& content, Encoding encoding, const ByteSink& sink) {
    if (content.tmpl != nullptr) {
        return Encode(*content.tmpl, encoding, sink);
    }
    BlockEncoder encoder(encoding, sink, save_detail::blockSize);
    return (*content.source)(
               [&encoder](std::unique_ptr<TargetObject> target) { return encoder.Add(*target); }) &&
           encoder.Finish();
}

// Writes the new bytes over the old file. The space is reserved first, so that a full
// disk fails before anything is touched; a later failure puts the previous bytes back.
// The size to reserve takes a first encoding that writes nothing, so the targets of a
// source are all taken first.
SaveStatus WriteInPlace(int fd, const struct stat& old, const Content& content, Encoding encoding,
                        int& error) {
    const auto oldSize = static_cast<std::size_t>(old.st_size);
    std::string previous;
    if (!ReadAll(fd, oldSize, previous)) {
        error = errno;
        return SaveStatus::OpenFailed;
    }
    SecurityTemplate taken;
    if (content.source != nullptr &&
        !(*content.source)([&taken](std::unique_ptr<TargetObject> target) {
            taken.Append(std::move(target));
            return true;
        })) {
        return SaveStatus::WriteFailed;
    }
    const SecurityTemplate& tmpl = content.tmpl != nullptr ? *content.tmpl : taken;
    off_t newSize = 0;
    Encode(tmpl, encoding, [&newSize](std::string_view block) {
        newSize += static_cast<off_t>(block.size());
        return true;
    });
    const int reserved = newSize > 0 ? save_io::Reserve(fd, 0, newSize) : 0;
    if (reserved != 0) {
        error = reserved;
        // A reservation that failed part-way may have made the file longer.
        if (newSize > old.st_size) {
            save_io::Ftruncate(fd, old.st_size);
        }
        return SaveStatus::WriteFailed;
    }
    off_t offset = 0;
    const bool written = Encode(tmpl, encoding, [fd, &offset](std::string_view block) {
        if (!WriteAllAt(fd, block, offset)) {
            return false;
        }
        offset += static_cast<off_t>(block.size());
        return true;
    });
    if (written && save_io::Ftruncate(fd, newSize) == 0 && save_io::Fsync(fd) == 0) {
        return SaveStatus::Saved;
    }
    error = errno;
    WriteAllAt(fd, previous, 0);
    save_io::Ftruncate(fd, old.st_size);
    save_io::Fsync(fd);
    return SaveStatus::WriteFailed;
}

// Writes the bytes of the template into the new file as they are made. The disk starts on
// each few megabytes at once, while the next are made, so that the closing sync has only
// the last of them left to wait for; the pages of those already on the disk are let go, so
// that a large save reuses a few pages rather than taking memory for the whole file.
bool WriteNewFile(int fd, const Content& content, Encoding encoding) {
    off_t written = 0;
    off_t started = 0; // the disk has been asked to write everything before this
    off_t settled = 0; // everything before this is on the disk and out of memory
    return Encode(content, encoding, [&](std::string_view block) {
        if (!WriteAll(fd, block)) {
            return false;
        }
        written += static_cast<off_t>(block.size());
        if (written - started >= save_detail::syncAhead) {
            ::sync_file_range(fd, started, written - started, SYNC_FILE_RANGE_WRITE);
            // The range asked for the time before has had the time of this one to finish.
            // (A length of 0 would mean the rest of the file.)
            if (started > settled) {
                ::sync_file_range(fd, settled, started - settled,
                                  SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                      SYNC_FILE_RANGE_WAIT_AFTER);
                ::posix_fadvise(fd, settled, started - settled, POSIX_FADV_DONTNEED);
            }
            settled = started;
            started = written;
        }
        return true;
    });
}

// Whether the name in the folder is what the lock looked at: the file it locked (and its
// holder read), or, for a file that was not there, still nothing.
bool StillLocked(int folder, const std::string& name, const FileLock& lock) {
    struct stat now {};
    if (::fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT && !lock.Exists();
    }
    return lock.Covers(now.st_dev, now.st_ino);
}

SaveStatus Save(const std::string& path, const Content& content, Encoding encoding,
                const FileLock* held, const LockOptions& options, int& error) {
    FileLock own;
    if (held == nullptr) {
        own = FileLock::Take(path, options);
        held = &own;
    }
    switch (held->Status()) {
    case FileLock::State::Busy:
        return SaveStatus::Locked;
    case FileLock::State::Failed:
        error = held->Error();
        return held->Why() == FileLock::Problem::Lock ? SaveStatus::LockFailed
                                                      : SaveStatus::OpenFailed;
    case FileLock::State::Held:
    case FileLock::State::Unlocked:
        break;
    }
    // Everything goes through the folder the lock opened, to the name the path led to
    // then, and only while that name is still the file that was locked: a link or another
    // file put in its place meanwhile is never written through or over.
    const int folder = held->Folder();
    const std::string& name = held->Name();
    if (!StillLocked(folder, name, *held)) {
        return SaveStatus::Replaced;
    }
    const bool exists = held->Exists();
    struct stat old {};
    // A file the user may not write stays as it is, although its folder would let us
    // replace it.
    const FileHandle oldFile(exists ? OpenExisting(folder, name) : -1);
    if (exists && (!oldFile.Valid() || ::fstat(oldFile.Get(), &old) != 0)) {
        error = errno;
        return errno == ENOENT || errno == ELOOP ? SaveStatus::Replaced : SaveStatus::OpenFailed;
    }
    if (exists && !held->Covers(old.st_dev, old.st_ino)) {
        return SaveStatus::Replaced;
    }

    // A new file would part the other names of the old one from the saved text.
    if (exists && old.st_nlink > 1) {
        return WriteInPlace(oldFile.Get(), old, content, encoding, error);
    }
    std::string temporary;
    // A brand-new file gets what any new file gets there (the umask or the folder's default
    // access list); a replacement starts private and then takes the old file's identity.
    FileHandle file(CreateTemporary(folder, exists ? 0600 : 0666, temporary));
    if (!file.Valid()) {
        error = errno;
        return exists ? WriteInPlace(oldFile.Get(), old, content, encoding, error)
                      : SaveStatus::OpenFailed;
    }
    if (exists && !TakeIdentity(file.Get(), oldFile.Get(), old)) {
        file.Close();
        save_io::UnlinkAt(folder, temporary.c_str());
        return WriteInPlace(oldFile.Get(), old, content, encoding, error);
    }

    bool written = WriteNewFile(file.Get(), content, encoding) && save_io::Fsync(file.Get()) == 0;
    error = written ? 0 : errno;
    const bool closed = file.Close();
    if (written && !closed) {
        error = errno;
    }
    written = written && closed;
    if (written && !StillLocked(folder, name, *held)) {
        save_io::UnlinkAt(folder, temporary.c_str());
        error = 0;
        return SaveStatus::Replaced;
    }
    if (written && save_io::RenameAt(folder, temporary.c_str(), name.c_str()) != 0) {
        error = errno;
        written = false;
    }
    if (!written) {
        save_io::UnlinkAt(folder, temporary.c_str());
        return SaveStatus::WriteFailed;
    }
    // A folder the user may not read cannot be synced; its new name is the system's to keep.
    save_io::Fsync(folder);
    return SaveStatus::Saved;
}

// Hands the reason of a failed save to whoever asked for it.
SaveStatus Said(SaveStatus status, int reason, int* error) {
    if (error != nullptr) {
        *error = status == SaveStatus::Saved ? 0 : reason;
    }
    return status;
}

} // namespace

SaveStatus SaveTemplate(const std::string& path, const SecurityTemplate& tmpl, Encoding encoding,
                        const LockOptions& lock, int* error) {
    int reason = 0;
    const SaveStatus status = Save(path, Content{&tmpl, nullptr}, encoding, nullptr, lock, reason);
    return Said(status, reason, error);
}

SaveStatus SaveTemplate(const std::string& path, const SecurityTemplate& tmpl, Encoding encoding,
                        const FileLock& held, int* error) {
    int reason = 0;
    const SaveStatus status =
        Save(path, Content{&tmpl, nullptr}, encoding, &held, LockOptions{}, reason);
    return Said(status, reason, error);
}

SaveStatus SaveTargets(const std::string& path, const TargetSource& source, Encoding encoding,
                       const LockOptions& lock, int* error) {
    int reason = 0;
    const SaveStatus status =
        Save(path, Content{nullptr, &source}, encoding, nullptr, lock, reason);
    return Said(status, reason, error);
}

} // namespace permora
