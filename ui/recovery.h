#pragma once

// Unsaved work outlives the window: when the window closes, New clears the template, the
// program is told to end (SIGTERM, SIGHUP, SIGINT) or the display goes away while the
// template has unsaved changes, the template is first written as a UTF-16LE template file
// (the bytes Save Unicode writes) into the recovery folder, where Import reads it back.
// Nothing is shown, and a file that cannot be written never keeps the window open.
//
// The folder is trusted only when it is the user's alone: it is opened one step at a time
// without following a link, must belong to the effective user and must not be writable by
// anyone else; every file in it is made, written, renamed and read through the opened
// folder, never by its path again.

#include "model/target.h"

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

class PermoraDlg;

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

// Writes the template as a new recovery file (mode 0600; missing folders are made 0700)
// and prunes the folder. Returns the file's path, or "" when it could not be written; a
// folder that cannot be trusted is named on standard error with the reason.
std::string Write(const permora::SecurityTemplate& tmpl, const std::string& folder = Folder());

// A recovery file that passes the folder's checks (a regular file of the user's that no
// one else may write).
struct Recovered {
    std::string name; // in the folder
    std::time_t kept; // the time in its name
    bool handled;     // imported or dismissed once, and so not offered again
};

// The recovery files that may be offered, newest first; none when the folder cannot be
// trusted.
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

// While it lives, SIGTERM, SIGHUP and SIGINT and an exit forced by the loss of the display
// first write the window's template when it has unsaved changes. After a signal the
// program ends as the signal would have ended it. The writing runs on the thread that made
// the guard, never in the signal handler (modal dialogs' own event loops run it too).
class SignalGuard {
public:
    explicit SignalGuard(PermoraDlg& window);
    ~SignalGuard();
    SignalGuard(const SignalGuard&) = delete;
    SignalGuard& operator=(const SignalGuard&) = delete;
};

} // namespace recovery
