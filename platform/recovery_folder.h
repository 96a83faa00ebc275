#pragma once

// The recovery folder: where unsaved work is written when the editor closes or is told to
// end, and where it is found again. The folder is trusted only when it is the user's alone:
// it is opened one step at a time without following a link, must belong to the effective
// user and must not be writable by anyone else; every file in it is made, written, renamed
// and read through the opened folder, never by its path again. Plain POSIX.

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace recovery {

// A recovery file goes only when it is older than kKeptDays and kKeptFiles newer ones
// exist, of all instances together.
inline constexpr int kKeptFiles = 10;
inline constexpr int kKeptDays = 14;

// $XDG_STATE_HOME/permora/recovery, else ~/.local/state/permora/recovery; "" when neither
// XDG_STATE_HOME nor HOME names a folder.
std::string Folder();

// "permora-20261210-134501-4711.conf": local date and time, process id; a second file of
// the same second and process gets "-2" before ".conf", and so on.
std::string FileName(const std::tm& when, long pid, int attempt);

// Whether a file of the folder is one of the recovery files (only those are pruned).
bool IsRecoveryFileName(std::string_view name);

// The local time a recovery file's name gives; -1 for a name that gives none.
std::time_t TimeOfName(std::string_view name);

// Removes the recovery files that are older than kKeptDays at now (by the time in their
// names) and have at least kKeptFiles newer ones; the file named keep stays in any case.
void Prune(const std::string& folder, std::time_t now, std::string_view keep = {});

// Receives the bytes of a file a block at a time; false when they could not be written.
using BlockSink = std::function<bool(std::string_view block)>;
// Hands the bytes of the file to the sink; false when not all of them could be made or
// written.
using FileContent = std::function<bool(const BlockSink& sink)>;

// What a recovery file was the unsaved work of, kept beside it in NAME.origin (mode 0600):
// the file its saves went to, as that file was when last read or written, and how many
// targets it holds.
struct Origin {
    std::string path; // "" for work that had no file yet
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    bool known = false; // the file was read or written: device to modification time hold
    std::int64_t targets = 0;
};

// Writes a new recovery file (mode 0600; missing folders are made 0700) and prunes the
// folder; with an origin, its side file too. Returns the file's path, or "" when it could
// not be written; a folder that cannot be trusted is named on standard error with the
// reason.
std::string Write(const FileContent& content, const std::string& folder = Folder(),
                  const Origin* origin = nullptr);

// Writes content as the running program's snapshot of its unsaved work and replaces the
// previous one at once: the new file is written under a hidden name, locked (flock) and
// renamed over the snapshot named `name` (a new recovery name when `name` is empty). On
// success `locked` holds the new file open and locked, the previous one is closed (which
// releases its lock) and the snapshot's name is returned; "" otherwise, leaving the previous
// snapshot and its lock as they were. A file locked so is never listed: its writer runs.
std::string WriteSnapshot(const FileContent& content, const std::string& name, int& locked,
                          const std::string& folder = Folder(), const Origin* origin = nullptr);
// Deletes the snapshot and closes the file it holds locked.
void RemoveSnapshot(const std::string& name, int& locked, const std::string& folder = Folder());

// A recovery file that passes the folder's checks (a regular file of the user's that no
// one else may write).
struct Recovered {
    std::string name;             // in the folder
    std::time_t kept;             // the time in its name
    bool handled;                 // imported or dismissed once, and so not offered again
    std::optional<Origin> origin; // from its side file, when it has one
};

// The recovery files that may be offered, newest first (never a snapshot whose writer still
// runs); none when the folder cannot be trusted.
std::vector<Recovered> List(const std::string& folder = Folder());

// Opens a recovery file for reading when it still passes the checks; -1 otherwise. The
// caller closes it.
int OpenFile(const std::string& name, const std::string& folder = Folder());

// Notes beside the file that it was imported or dismissed.
bool MarkHandled(const std::string& name, const std::string& folder = Folder());

namespace detail {
// Runs once a new recovery file has its name in the folder and before its bytes are
// written; a test swaps the name for a link there, as another user could try to.
extern void (*afterCreate)(const std::string& folder, const std::string& name);
} // namespace detail

} // namespace recovery
