// Reading and writing template files for the commands.

#include "cli/common.h"

#include "model/checks.h"
#include "template_file/decode_detail.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace permora::cli {

void Complain(std::ostream& err, const std::string& text) {
    err << "permora-cli: " << text << '\n';
}

bool IsStandardInput(const std::string& path) {
    return path == "-" || path == "/dev/stdin";
}

bool IsStandardOutput(const std::string& path) {
    return path == "-" || path == "/dev/stdout";
}

namespace {

// Reads into the template, or hands each target to take when it is set.
LoadResult Load(const std::string& path, SecurityTemplate& into, const TargetSink& take,
                std::ostream& messages, std::ostream* warnings, std::istream* in,
                const WarningFn& onWarning, bool everyLine, PathRepeats* repeats, int fd = -1) {
    const bool standardInput = IsStandardInput(path) && in != nullptr;
    const std::string name = standardInput ? "<stdin>" : path;
    LoadResult result;
    ImportReport report;
    report.keepGoing = everyLine;
    report.detailed = [&](std::int64_t line, const std::string& message,
                          const std::string& detail) {
        messages << name << ':' << line << ": " << message;
        if (!detail.empty()) {
            messages << ": " << detail;
        }
        messages << '\n';
        ++result.errors;
    };
    // Only the first is kept, so that endless input of failing lines takes no more memory.
    report.failed = [&](std::int64_t line) {
        if (result.firstFailingLine == 0) {
            result.firstFailingLine = line;
        }
    };
    int taken = 0; // targets handed to take, which comes after the warnings of its line
    if (warnings != nullptr || onWarning) {
        report.warning = [&](std::int64_t line, const std::string& warning) {
            if (warnings != nullptr) {
                *warnings << name << ':' << line << ": warning: " << warning << '\n';
            }
            ++result.warnings;
            if (onWarning) {
                onWarning({line, take ? taken : into.Count, warning});
            }
        };
    }
    if (repeats != nullptr && warnings != nullptr) {
        report.read = [&](std::int64_t line, const TargetObject& target) {
            const std::string where = name + ':' + std::to_string(line);
            for (const std::string& warning :
                 repeats->Take(where, target.Path, target.SecurityLevel)) {
                *warnings << where << ": warning: " << warning << '\n';
                ++result.warnings;
                if (onWarning) {
                    onWarning({line, take ? taken : into.Count, warning});
                }
            }
        };
    }
    const TargetSink counted = [&](std::unique_ptr<TargetObject> target) {
        ++taken;
        return take(std::move(target));
    };
    ImportOutcome outcome;
    if (fd >= 0) {
        outcome = ImportOpenFile(fd, into, report);
    } else if (standardInput) {
        outcome = take ? ImportTargetStream(*in, counted, report) : ImportStream(*in, into, report);
    } else {
        outcome = take ? ImportTargets(path, counted, report) : ImportTemplate(path, into, report);
    }
    if (outcome.tooLong) {
        messages << name << ':' << outcome.tooLongLine << ": the line is longer than "
                 << SizeText(decode_detail::templateLine) << "; the file was read no further\n";
    }
    result.opened = outcome.opened && !outcome.readFailed;
    result.error = outcome.error;
    result.complete = outcome.complete;
    result.targets = outcome.appended;
    return result;
}

} // namespace

LoadResult LoadTemplate(const std::string& path, SecurityTemplate& into, std::ostream& messages,
                        std::ostream* warnings, std::istream* in, const WarningFn& onWarning,
                        bool everyLine, PathRepeats* repeats) {
    return Load(path, into, {}, messages, warnings, in, onWarning, everyLine, repeats);
}

LoadResult LoadTargets(const std::string& path, const TargetSink& take, std::ostream& messages,
                       std::istream* in, std::ostream* warnings, const WarningFn& onWarning,
                       PathRepeats* repeats) {
    SecurityTemplate unused; // every target goes to take
    return Load(path, unused, take, messages, warnings, in, onWarning, false, repeats);
}

namespace {

int Whole(const LoadResult& loaded, const std::string& path, std::ostream& err,
          const char* onErrors, int errorsStatus) {
    if (!loaded.opened) {
        Complain(err, path + ": " + CannotRead(loaded));
        return kFileFailed;
    }
    if (!loaded.complete || loaded.errors > 0) {
        if (onErrors != nullptr) {
            Complain(err, path + ": the file has errors" + onErrors);
        }
        return errorsStatus;
    }
    return kSuccess;
}

} // namespace

int LoadWhole(const std::string& path, SecurityTemplate& into, std::ostream& err, std::istream* in,
              const char* onErrors, int errorsStatus, const WarningFn& onWarning) {
    const LoadResult loaded = LoadTemplate(path, into, err, nullptr, in, onWarning);
    return Whole(loaded, path, err, onErrors, errorsStatus);
}

int LoadWholeOpen(int fd, const std::string& path, SecurityTemplate& into, std::ostream& err,
                  const char* onErrors, int errorsStatus, const WarningFn& onWarning) {
    const LoadResult loaded =
        Load(path, into, {}, err, nullptr, nullptr, onWarning, false, nullptr, fd);
    return Whole(loaded, path, err, onErrors, errorsStatus);
}

LockOptions CommandLock(bool noWait, bool noLock, std::ostream& err) {
    LockOptions options(noWait ? LockWait::No : LockWait::Yes, !noLock);
    options.waiting = [&err](const std::string& file) {
        Complain(err, "waiting for " + file + ", which another process is writing");
        err.flush();
    };
    return options;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

Encoding EncodingOf(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const Encoding encoding = EncodingOf(fd);
    if (fd >= 0) {
        ::close(fd);
    }
    return encoding;
}

Encoding EncodingOf(int fd) {
    if (fd < 0) {
        return Encoding::Unicode;
    }
    unsigned char mark[2] = {0, 0};
    const ssize_t count = ::pread(fd, mark, sizeof mark, 0);
    const bool unicode = count == 2 && ((mark[0] == 0xFF && mark[1] == 0xFE) ||
                                        (mark[0] == 0xFE && mark[1] == 0xFF));
    return unicode ? Encoding::Unicode : Encoding::EightBit;
}

int WriteToOutput(const SecurityTemplate& tmpl, Encoding encoding, std::ostream& out,
                  std::ostream& err) {
    const bool written = EncodeTemplate(tmpl, encoding, [&out](std::string_view bytes) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    });
    if (!written || !out.flush()) {
        Complain(err, "cannot write to standard output");
        return kFileFailed;
    }
    return kSuccess;
}

std::ostream& SummaryStream(const std::string& output, std::ostream& out, std::ostream& err) {
    return IsStandardOutput(output) ? err : out;
}

std::string NothingSelected(const std::vector<std::string>& paths, const std::string& account) {
    std::string text = "no target has ";
    if (!paths.empty()) {
        text += "the path " + paths.front();
        for (std::size_t i = 1; i < paths.size(); ++i) {
            text += (i + 1 == paths.size() ? " or " : ", ") + paths[i];
        }
    }
    if (!account.empty()) {
        text += (paths.empty() ? "an entry of " : " with an entry of ") + account;
    }
    return text;
}

std::string InvalidAccountText(const std::string& name) {
    return "Invalid Account Name: \"" + name + "\" (" + AccountNameProblem(name) + ")";
}

namespace {

// ": REASON" for a reason, nothing without one.
std::string Because(int error) {
    return error == 0 ? std::string() : ": " + ReasonText(error);
}

} // namespace

std::string CannotRead(const LoadResult& loaded) {
    return "cannot read the file" + Because(loaded.error);
}

std::string CannotReadList(int error) {
    return "cannot read the list of paths" + Because(error);
}

int SaveResult(const std::string& path, SaveStatus status, std::ostream& err, int error) {
    switch (status) {
    case SaveStatus::Saved:
        return kSuccess;
    case SaveStatus::OpenFailed:
        Complain(err, path + ": cannot create the file" + Because(error) + "; nothing was written");
        return kFileFailed;
    case SaveStatus::Locked:
        Complain(err, path + ": the file is being written by another process");
        return kFileFailed;
    case SaveStatus::Replaced:
        Complain(err, path + ": the file was replaced while it was being edited; nothing was "
                             "written");
        return kFileFailed;
    case SaveStatus::LockFailed:
        Complain(err,
                 path + ": cannot lock the file" + Because(error) + "; nothing was written" +
                     (error == kForeignLockFile ? "" : " (--no-lock writes without the lock)"));
        return kFileFailed;
    case SaveStatus::WriteFailed:
        break;
    }
    Complain(err, path + ": cannot write the file" + Because(error) + "; it was left as it was");
    return kFileFailed;
}

namespace {

// Opens a list of paths that is not standard input. Pipes are welcome ("--paths <(ls)");
// folders are not files. Returns the system's reason when it cannot be opened, else 0.
int OpenList(const std::string& path, std::ifstream& file) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno;
    }
    if (S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    errno = 0;
    file.open(path, std::ios::binary);
    return file.is_open() ? 0 : (errno != 0 ? errno : EIO);
}

} // namespace

int ReadPaths(const std::string& path, std::istream& in, const SecurityTemplate* tmpl,
              PathList& list, std::ostream& err) {
    std::ifstream file;
    const bool standardInput = IsStandardInput(path);
    if (!standardInput) {
        if (const int reason = OpenList(path, file); reason != 0) {
            Complain(err, path + ": " + CannotReadList(reason));
            return kFileFailed;
        }
    }
    // Read a line at a time, and no further than a line too long or the first
    // kMostInvalidPaths invalid ones, so that an endless or binary list ends.
    PathListReader reader(tmpl);
    const ListLineFn take = [&reader](const std::string& line, std::int64_t number) {
        reader.Take(line, number);
        return reader.InvalidCount() < kMostInvalidPaths;
    };
    const ListOutcome outcome = ReadListLines(standardInput ? in : file, take);
    if (outcome.readFailed) {
        Complain(err, path + ": " + CannotReadList(EIO));
        return kFileFailed;
    }
    if (outcome.tooLong) {
        err << (standardInput ? "<stdin>" : path) << ':' << outcome.tooLongLine
            << ": the line is longer than " << SizeText(decode_detail::pathListLine)
            << "; the list was read no further\n";
        Complain(err, path + ": " + CannotReadList(0));
        return kFileFailed;
    }
    list = reader.Finish();
    return kSuccess;
}

} // namespace permora::cli
