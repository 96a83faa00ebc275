#pragma once

// What the commands of permora-cli share: reading and writing template files, and the
// texts of targets and entries.

#include "model/checks.h"
#include "model/target.h"
#include "model/template_ops.h"
#include "template_file/template_file.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <istream>
#include <string>
#include <vector>

namespace permora::cli {

// Exit statuses.
inline constexpr int kSuccess = 0;
inline constexpr int kFound = 1; // errors found, or differences
inline constexpr int kUsage = 2;
inline constexpr int kFileFailed = 3;

// Reports a problem of the program itself (not a finding) on standard error.
void Complain(std::ostream& err, const std::string& text);

struct LoadResult {
    bool opened = false;               // false: the file could not be opened or read
    bool complete = false;             // every line was read
    int targets = 0;                   // targets appended
    int errors = 0;                    // reader messages
    int warnings = 0;                  // places where the next save would write something else
    std::int64_t firstFailingLine = 0; // the first line that failed; 0: none
    int error = 0; // why the file could not be opened or read (ReasonText); 0: no reason
};

// "cannot read the file", with the system's reason when there is one.
std::string CannotRead(const LoadResult& loaded);

// A warning of a file read, with the target it belongs to (its position among the targets
// read).
struct ReadWarning {
    long long line = 0;
    int target = 0;
    std::string text;
};
using WarningFn = std::function<void(const ReadWarning& warning)>;

// Reads a template file as the editor's Import does, appending to into; with in given, "-"
// reads standard input (named "<stdin>" in messages). Each reader message is written as
// "FILE:LINE: MESSAGE" to messages, or "FILE:LINE: MESSAGE: DETAIL" where the reader says
// what the message refers to; with warnings given, each warning as
// "FILE:LINE: warning: TEXT" to it; with onWarning given, each warning is also handed to it
// (before the target it belongs to is taken). With everyLine, a failing line does not end
// the reading: each line is read as if the lines before it had read.
// With repeats given (and warnings), each target that repeats an earlier one's path and
// level, or has "." or ".." segments, is warned about as well.
LoadResult LoadTemplate(const std::string& path, SecurityTemplate& into, std::ostream& messages,
                        std::ostream* warnings = nullptr, std::istream* in = nullptr,
                        const WarningFn& onWarning = {}, bool everyLine = false,
                        PathRepeats* repeats = nullptr);

// The same, handing each target read to take instead of keeping it.
LoadResult LoadTargets(const std::string& path, const TargetSink& take, std::ostream& messages,
                       std::istream* in, std::ostream* warnings = nullptr,
                       const WarningFn& onWarning = {}, PathRepeats* repeats = nullptr);

// Reads a template that a command needs whole, as LoadTemplate does (reader messages on err).
// Returns kSuccess when it was read whole. Otherwise says on err what went wrong and returns
// the status to end with: kFileFailed when the file cannot be read; errorsStatus when it has
// errors, after "PATH: the file has errors" and onErrors (nothing is said for a null
// onErrors: the reader's messages have said it).
int LoadWhole(const std::string& path, SecurityTemplate& into, std::ostream& err, std::istream* in,
              const char* onErrors, int errorsStatus = kFound, const WarningFn& onWarning = {});
// The same for a file already open (named path in messages), read from its start.
int LoadWholeOpen(int fd, const std::string& path, SecurityTemplate& into, std::ostream& err,
                  const char* onErrors, int errorsStatus, const WarningFn& onWarning);

// How a command that writes a file locks it: waiting for another writer unless noWait,
// not at all with noLock; a wait that lasts says on err which file it waits for.
LockOptions CommandLock(bool noWait, bool noLock, std::ostream& err);

// "-" and /dev/stdin read the input stream the command was given; "-" and /dev/stdout
// write to standard output.
bool IsStandardInput(const std::string& path);
bool IsStandardOutput(const std::string& path);

bool FileExists(const std::string& path);
// The encoding a file already has: Unicode when it begins with FF FE or FE FF, 8-bit
// otherwise; Unicode for a file that does not exist.
Encoding EncodingOf(const std::string& path);
// The same for an open file, -1 standing for one that does not exist.
Encoding EncodingOf(int fd);
// Where a command that writes output says what it did: standard output, unless the
// template itself goes there.
std::ostream& SummaryStream(const std::string& output, std::ostream& out, std::ostream& err);
// Writes the template's bytes on out. Says on err when it failed. Returns kSuccess or
// kFileFailed.
int WriteToOutput(const SecurityTemplate& tmpl, Encoding encoding, std::ostream& out,
                  std::ostream& err);
// Says on err what failed of a save. Returns kSuccess or kFileFailed.
// error: the save's reason (ReasonText), said after what failed.
int SaveResult(const std::string& path, SaveStatus status, std::ostream& err, int error = 0);

// The invalid lines of a list of paths after which its reading stops.
inline constexpr std::size_t kMostInvalidPaths = 100;

// Reads a list of paths (ReadPathList) a line at a time from a file, or standard input for
// "-", with bounded memory: a line longer than 64 KiB ends it, and so do kMostInvalidPaths
// invalid lines (list.invalid then holds that many). Says on err what failed and returns
// kFileFailed when the list cannot be read whole; else kSuccess.
[[nodiscard]] int ReadPaths(const std::string& path, std::istream& in, const SecurityTemplate* tmpl,
                            PathList& list, std::ostream& err);
// "cannot read the list of paths", with the reason.
std::string CannotReadList(int error);

// Why a command that chooses targets by --path patterns (and an account) found none:
// "no target has the path /vol/a or /vol/b with an entry of bob".
std::string NothingSelected(const std::vector<std::string>& paths, const std::string& account);

// "Invalid Account Name: "NAME" (the rule it breaks)".
std::string InvalidAccountText(const std::string& name);

// Texts for people.
std::string MarksText(std::uint16_t control); // "S:P D:AR", "" when no list is present
std::string StyleText(std::int32_t style);    // "NTFS", or the number of an unnamed style
std::string LevelText(std::int32_t level);
std::string Hex(std::uint32_t value); // "0x1f01ff"
std::string Plural(long long count, const char* one, const char* many);

// The two lists of a descriptor, in the order the file writes them.
struct ListPart {
    const char* name;     // heading in the text
    const char* jsonName; // member in the JSON
    std::uint16_t presentBit;
    std::uint16_t protectedBit;
    std::uint16_t inheritRequestBit;
    std::uint16_t inheritedBit;
    ListKind list;
};
extern const ListPart kListParts[2];
std::string PartMarks(const ListPart& part, std::uint16_t control); // "D:PAI"

// Columns of text, each as wide as its widest cell, two blanks between columns.
class Columns {
public:
    void Widen(const std::vector<std::string>& row);
    // The row after indent blanks and one more.
    [[nodiscard]] std::string Line(const std::vector<std::string>& row, std::size_t indent) const;

private:
    std::vector<std::size_t> widths_;
};
// Each row a line, its columns as wide as the widest cell of any row.
void PrintTable(const std::vector<std::vector<std::string>>& rows, std::size_t indent,
                std::ostream& out);

} // namespace permora::cli
