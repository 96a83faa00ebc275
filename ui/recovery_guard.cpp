// Writing the window's template when the program is told to end or loses its display.

#include "ui/permoradlg.h"
#include "ui/recovery.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <iterator>

namespace recovery {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

PermoraDlg* g_window = nullptr;
int g_pipe[2] = {-1, -1};
QSocketNotifier* g_notifier = nullptr;
bool g_exitHookInstalled = false;
struct sigaction g_previous[std::size(kSignals)];
bool g_caught[std::size(kSignals)] = {};

void SaveWindow() {
    if (g_window != nullptr && g_window->HasUnsavedChanges())
        Write(g_window->Template());
}

extern "C" void OnSignal(int signal) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t ignored = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

// Runs on the window's thread whenever a signal arrived: write, then end as the signal
// would have ended the program.
void OnSignalNoted() {
    unsigned char byte = 0;
    if (::read(g_pipe[0], &byte, 1) != 1)
        return;
    const int signal = byte;
    SaveWindow();
    std::signal(signal, SIG_DFL);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, signal);
    ::sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
    std::raise(signal);
    ::_exit(128 + signal); // only when the signal did not end the program
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
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    g_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(g_notifier, &QSocketNotifier::activated, g_notifier, [] { OnSignalNoted(); });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        // A signal the program was started to ignore (a background job's SIGINT) stays
        // ignored.
        g_caught[i] = ::sigaction(kSignals[i], nullptr, &g_previous[i]) == 0 &&
                      g_previous[i].sa_handler != SIG_IGN &&
                      ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

SignalGuard::~SignalGuard() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        if (g_caught[i])
            ::sigaction(kSignals[i], &g_previous[i], nullptr);
        g_caught[i] = false;
    }
    delete g_notifier;
    g_notifier = nullptr;
    g_window = nullptr;
}

} // namespace recovery
