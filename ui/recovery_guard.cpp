// Writing the window's template when the program is told to end or loses its display.

#include "ui/permoradlg.h"
#include "ui/recovery.h"

#include <QSocketNotifier>

#include <cstdlib>

namespace recovery {

namespace {

PermoraDlg* g_window = nullptr;
bool g_exitHookInstalled = false;

void SaveWindow() {
    if (g_window != nullptr && g_window->Document().IsUnsaved())
        Write(g_window->Document().Template());
}

// Losing the display makes the toolkit call exit() from the event loop, with the window
// still open: write then.
extern "C" void OnExit() {
    SaveWindow();
}

} // namespace

SignalGuard::SignalGuard(PermoraDlg& window) {
    g_window = &window;
    if (!g_exitHookInstalled)
        g_exitHookInstalled = std::atexit(OnExit) == 0;
    if (relay_.Fd() < 0)
        return;
    notifier_ = new QSocketNotifier(relay_.Fd(), QSocketNotifier::Read);
    // On the window's thread whenever a signal arrived: write, then end as the signal
    // would have ended the program.
    QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this] {
        const int signal = relay_.Take();
        if (signal == 0)
            return;
        SaveWindow();
        EndAsSignalled(signal);
    });
}

SignalGuard::~SignalGuard() {
    delete notifier_;
    g_window = nullptr;
}

} // namespace recovery
