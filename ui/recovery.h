#pragma once

// Unsaved work outlives the window: when the window closes, New clears the template, the
// program is told to end (SIGTERM, SIGHUP, SIGINT) or the display goes away while the
// template has unsaved changes, the template is first written as a UTF-16LE template file
// (the bytes Save Unicode writes) into the recovery folder, where Import reads it back.
// Nothing is shown, and a file that cannot be written never keeps the window open.

#include "model/target.h"
#include "platform/recovery_folder.h"
#include "platform/signal_relay.h"

#include <string>

class PermoraDlg;
class QSocketNotifier;

namespace recovery {

// Writes the template as a new recovery file, with the bytes Save Unicode writes (see
// Write in platform/recovery_folder.h).
std::string Write(const permora::SecurityTemplate& tmpl, const std::string& folder = Folder(),
                  const Origin* origin = nullptr);

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

private:
    SignalRelay relay_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace recovery
