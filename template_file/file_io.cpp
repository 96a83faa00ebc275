// Saving a template safely and importing template files.

#include "template_file/template_file.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace permora {

namespace {

class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    // Closes now and tells whether the close succeeded.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (written == 0) {
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

// A name beside the target that no other file has yet; the caller creates it exclusively.
std::string TemporaryName(const std::string& target, unsigned attempt) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::uint64_t counter = 0;
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    seed ^= static_cast<std::uint64_t>(::getpid()) << 32;
    seed += ++counter * 0x9E3779B97F4A7C15ull + attempt;
    std::string name = target;
    name += ".tmp-";
    for (int i = 0; i < 6; ++i) {
        seed ^= seed >> 33;
        seed *= 0xFF51AFD7ED558CCDull;
        seed ^= seed >> 29;
        name.push_back(kLetters[seed % (sizeof kLetters - 1)]);
    }
    return name;
}

// Saving through a symbolic link replaces the file it points to, not the link.
std::string ResolvedTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char* real = ::realpath(path.c_str(), nullptr);
        if (real != nullptr) {
            std::string resolved = real;
            std::free(real);
            return resolved;
        }
    }
    return path;
}

void SyncFolder(const std::string& folder) {
    const FileHandle dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid()) {
        ::fsync(dir.Get());
    }
}

} // namespace

SaveStatus SaveTemplate(const std::string& path, const SecurityTemplate& tmpl, Encoding encoding) {
    if (path.empty()) {
        return SaveStatus::OpenFailed;
    }
    const std::string target = ResolvedTarget(path);

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISREG(existing.st_mode)) {
        // A file the user may not write stays as it is, although its folder would let us
        // replace it.
        if (::access(target.c_str(), W_OK) != 0) {
            return SaveStatus::OpenFailed;
        }
    } else if (exists && !S_ISDIR(existing.st_mode)) {
        // Devices, pipes and sockets are not template files; never replace them.
        return SaveStatus::OpenFailed;
    }

    const std::string bytes =
        encoding == Encoding::Unicode ? EncodeUnicode(tmpl) : Encode8Bit(tmpl);

    std::string temporary;
    int fd = -1;
    for (unsigned attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName(target, attempt);
        // 0666 less the umask, as for any newly created file.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return SaveStatus::OpenFailed;
        }
    }
    if (fd < 0) {
        return SaveStatus::OpenFailed;
    }
    FileHandle file(fd);
    if (exists && S_ISREG(existing.st_mode)) {
        ::fchmod(file.Get(), existing.st_mode & 07777);
    }

    bool written = WriteAll(file.Get(), bytes) && ::fsync(file.Get()) == 0;
    written = file.Close() && written;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return SaveStatus::WriteFailed;
    }
    SyncFolder(FolderOf(target));
    return SaveStatus::Saved;
}

namespace {

// One import: decoded lines read into new targets appended to the template, stopping at the
// first line that fails.
class Importer {
public:
    Importer(SecurityTemplate& into, const ImportReport& report)
        : into_(into), report_(report),
          decoder_([this](const std::string& line, int number) { return Read(line, number); }) {
        outcome_.opened = true;
        if (report_.message) {
            sink_ = [this](const std::string& message) { report_.message(lineNumber_, message); };
        }
        if (report_.warning) {
            warn_ = [this](const std::string& warning) { warnings_.push_back(warning); };
        }
    }
    Importer(const Importer&) = delete;
    Importer& operator=(const Importer&) = delete;

    bool Feed(const char* data, std::size_t size) { return decoder_.Feed(data, size); }

    ImportOutcome Finish(bool readFailed) {
        if (!readFailed) {
            decoder_.Finish();
        }
        outcome_.readFailed = readFailed;
        outcome_.complete = !lineFailed_ && !readFailed;
        return outcome_;
    }

private:
    bool Read(const std::string& line, int number) {
        lineNumber_ = number;
        // The reader replaces the whole descriptor, so the target starts with an empty one
        // rather than the default entry it would throw away at once.
        auto target =
            std::make_unique<TargetObject>(std::string(), std::make_unique<SecurityDescriptor>());
        target->SecurityLevel = kLevelFileDirectory;
        const int result = ReadTargetLine(line, *target, sink_, warn_);
        // What a save would change matters only for a line that is kept.
        if (result == 0) {
            for (const std::string& warning : warnings_) {
                report_.warning(number, warning);
            }
        }
        warnings_.clear();
        if (result != 0) {
            lineFailed_ = true;
            return false;
        }
        into_.Append(std::move(target));
        ++outcome_.appended;
        return true;
    }

    SecurityTemplate& into_;
    const ImportReport& report_;
    MessageSink sink_;
    WarningSink warn_;
    std::vector<std::string> warnings_; // of the line being read
    LineDecoder decoder_;
    ImportOutcome outcome_;
    int lineNumber_ = 0;
    bool lineFailed_ = false;
};

} // namespace

ImportOutcome ImportBytes(std::string_view bytes, SecurityTemplate& into,
                          const ImportReport& report) {
    Importer importer(into, report);
    importer.Feed(bytes.data(), bytes.size());
    return importer.Finish(false);
}

ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into,
                             const ImportReport& report) {
    // Opened without waiting, so that a pipe chosen by mistake cannot hang the import;
    // only regular files are read.
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.Valid()) {
        return {};
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }

    Importer importer(into, report);
    constexpr std::size_t kBlockSize = std::size_t{1} << 20;
    std::vector<char> block(kBlockSize);
    bool going = true;
    bool readFailed = false;
    while (going) {
        const ssize_t count = ::read(file.Get(), block.data(), block.size());
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            readFailed = true;
            break;
        }
        if (count == 0) {
            break;
        }
        going = importer.Feed(block.data(), static_cast<std::size_t>(count));
    }
    return importer.Finish(readFailed);
}

ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into,
                             const MessageSink& sink) {
    ImportReport report;
    if (sink) {
        report.message = [&sink](int, const std::string& message) { sink(message); };
    }
    return ImportTemplate(path, into, report);
}

ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into, std::nullptr_t) {
    return ImportTemplate(path, into, ImportReport{});
}

} // namespace permora
