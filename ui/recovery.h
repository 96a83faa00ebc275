#pragma once

// Unsaved work outlives the window: when the window closes, New clears the template, the
// program is told to end (SIGTERM, SIGHUP, SIGINT) or the display goes away while the
// template has unsaved changes, the template is first written as a UTF-16LE template file
// (the bytes Save Unicode writes) into the recovery folder, where Import reads it back.
// Nothing is shown, and a file that cannot be written never keeps the window open.

#include "model/target.h"

#include <ctime>
#include <string>
#include <string_view>

class PermoraDlg;

namespace recovery {

// How many recovery files the folder keeps, of all instances together.
inline constexpr int kKeptFiles = 10;

// $XDG_STATE_HOME/permora/recovery, else ~/.local/state/permora/recovery; "" when neither
// XDG_STATE_HOME nor HOME names a folder.
std::string Folder();

// "permora-20261210-134501-4711.conf": local date and time, process id; a second file of
// the same second and process gets "-2" before ".conf", and so on.
std::string FileName(const std::tm& when, long pid, int attempt);

// Whether a file of the folder is one of the recovery files (only those are pruned).
bool IsRecoveryFileName(std::string_view name);

// Removes all but the `keep` newest recovery files in the folder.
void Prune(const std::string& folder, int keep = kKeptFiles);

// Writes the template as a new recovery file (mode 0600; the folders are made 0700) and
// prunes the folder. Returns the file's path, or "" when it could not be written.
std::string Write(const permora::SecurityTemplate& tmpl, const std::string& folder = Folder());

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
