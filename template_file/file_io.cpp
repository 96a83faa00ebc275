// Importing template files.

#include "template_file/file_handle.h"
#include "template_file/stream_blocks.h"
#include "template_file/template_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <istream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace permora {

namespace {

// One import: decoded lines read into new targets appended to the template (or handed to
// take), stopping at the first line that fails.
class Importer {
public:
    Importer(SecurityTemplate* into, const TargetSink& take, const ImportReport& report)
        : into_(into), take_(take), report_(report),
          decoder_(
              [this](const std::string& line, std::int64_t number) { return Read(line, number); }) {
        outcome_.opened = true;
        if (report_.detailed) {
            detailed_ = [this](const std::string& message, const std::string& detail) {
                report_.detailed(lineNumber_, message, detail);
            };
        } else if (report_.message) {
            sink_ = [this](const std::string& message) { report_.message(lineNumber_, message); };
        }
        if (report_.warning) {
            warn_ = [this](const std::string& warning) { warnings_.push_back(warning); };
            // What the decoding changes belongs to the line it happens on (or, after the
            // last line, to the file) and is told with the reader's warnings of that line.
            decoder_.OnWarning([this](std::int64_t line, const std::string& warning) {
                warningsLine_ = line;
                warnings_.push_back(warning);
            });
        }
    }
    Importer(const Importer&) = delete;
    Importer& operator=(const Importer&) = delete;

    bool Feed(const char* data, std::size_t size) { return decoder_.Feed(data, size); }

    ImportOutcome Finish(bool readFailed) {
        if (!readFailed) {
            decoder_.Finish();
        }
        if (decoder_.TooLong()) {
            outcome_.tooLong = true;
            outcome_.tooLongLine = decoder_.LineNumber();
            readFailed = true;
        } else if (!lineFailed_ || report_.keepGoing) {
            // What the decoding changed after the last line concerns the file; a reading that
            // goes on past failing lines tells it too.
            for (const std::string& warning : warnings_) {
                report_.warning(warningsLine_, warning);
            }
        }
        warnings_.clear();
        outcome_.readFailed = readFailed;
        outcome_.complete = !lineFailed_ && !readFailed;
        return outcome_;
    }

private:
    bool Read(const std::string& line, std::int64_t number) {
        lineNumber_ = number;
        // The reader replaces the whole descriptor, so the target starts with an empty one
        // rather than the default entry it would throw away at once.
        auto target =
            std::make_unique<TargetObject>(std::string(), std::make_unique<SecurityDescriptor>());
        target->SecurityLevel = kLevelFileDirectory;
        const ReadStatus result = detailed_
                                      ? ReadTargetLineDetailed(line, *target, detailed_, warn_)
                                      : ReadTargetLine(line, *target, sink_, warn_);
        // What a save would change matters only for a line that is kept.
        if (result == ReadStatus::Read) {
            for (const std::string& warning : warnings_) {
                report_.warning(number, warning);
            }
        }
        warnings_.clear();
        if (result == ReadStatus::Failed) {
            lineFailed_ = true;
            if (report_.failed) {
                report_.failed(number);
            }
            return report_.keepGoing;
        }
        if (into_ != nullptr) {
            into_->Append(std::move(target));
        } else if (!take_(std::move(target))) {
            lineFailed_ = true;
            return false;
        }
        ++outcome_.appended;
        return true;
    }

    SecurityTemplate* into_;
    const TargetSink& take_;
    const ImportReport& report_;
    MessageSink sink_;
    DetailSink detailed_;
    WarningSink warn_;
    std::vector<std::string> warnings_; // of the line being read
    LineDecoder decoder_;
    ImportOutcome outcome_;
    std::int64_t lineNumber_ = 0;
    std::int64_t warningsLine_ = 0; // of decoder warnings that come after the last line
    bool lineFailed_ = false;
};

constexpr std::size_t kReadBlockSize = std::size_t{1} << 20;

ImportOutcome ImportBytes(std::string_view bytes, SecurityTemplate* into, const TargetSink& take,
                          const ImportReport& report) {
    Importer importer(into, take, report);
    importer.Feed(bytes.data(), bytes.size());
    return importer.Finish(false);
}

ImportOutcome ImportDescriptor(int fd, SecurityTemplate* into, const TargetSink& take,
                               const ImportReport& report) {
    // Only regular files are read.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ImportOutcome refused;
        refused.error = ::fstat(fd, &info) != 0 ? errno
                        : S_ISDIR(info.st_mode) ? EISDIR
                                                : kNotRegularFile;
        return refused;
    }
    const std::optional<FileIdentity> identity = IdentityOf(fd);

    Importer importer(into, take, report);
    std::vector<char> block(kReadBlockSize);
    bool going = true;
    bool readFailed = false;
    while (going) {
        const ssize_t count = ::read(fd, block.data(), block.size());
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
    const int reason = readFailed ? errno : 0;
    ImportOutcome outcome = importer.Finish(readFailed);
    outcome.error = reason;
    outcome.identity = identity;
    return outcome;
}

ImportOutcome ImportFile(const std::string& path, SecurityTemplate* into, const TargetSink& take,
                         const ImportReport& report) {
    // Opened without waiting, so that a pipe chosen by mistake cannot hang the import.
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.Valid()) {
        ImportOutcome refused;
        refused.error = errno;
        return refused;
    }
    return ImportDescriptor(file.Get(), into, take, report);
}

ImportOutcome ImportStream(std::istream& in, SecurityTemplate* into, const TargetSink& take,
                           const ImportReport& report) {
    Importer importer(into, take, report);
    FeedBlocks(
        in, [&importer](const char* data, std::size_t size) { return importer.Feed(data, size); });
    return importer.Finish(in.bad());
}

} // namespace

ImportOutcome ImportStream(std::istream& in, SecurityTemplate& into, const ImportReport& report) {
    return ImportStream(in, &into, {}, report);
}

ImportOutcome ImportTargetStream(std::istream& in, const TargetSink& take,
                                 const ImportReport& report) {
    return ImportStream(in, nullptr, take, report);
}

ImportOutcome ImportBytes(std::string_view bytes, SecurityTemplate& into,
                          const ImportReport& report) {
    return ImportBytes(bytes, &into, {}, report);
}

ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into,
                             const ImportReport& report) {
    return ImportFile(path, &into, {}, report);
}

ImportOutcome ImportOpenFile(int fd, SecurityTemplate& into, const ImportReport& report) {
    return ImportDescriptor(fd, &into, {}, report);
}

ImportOutcome ImportTargets(const std::string& path, const TargetSink& take,
                            const ImportReport& report) {
    return ImportFile(path, nullptr, take, report);
}

ImportOutcome ImportTargetBytes(std::string_view bytes, const TargetSink& take,
                                const ImportReport& report) {
    return ImportBytes(bytes, nullptr, take, report);
}

ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into,
                             const MessageSink& sink) {
    ImportReport report;
    if (sink) {
        report.message = [&sink](std::int64_t, const std::string& message) { sink(message); };
    }
    return ImportTemplate(path, into, report);
}

ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into, std::nullptr_t) {
    return ImportTemplate(path, into, ImportReport{});
}

std::string ReasonText(int error) {
    return error == kNotRegularFile ? "not a regular file" : std::strerror(error);
}

} // namespace permora
