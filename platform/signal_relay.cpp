#include "platform/signal_relay.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iterator>

namespace recovery {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// Made once and kept: a handler may still write to it while a relay goes.
int g_pipe[2] = {-1, -1};
struct sigaction g_previous[std::size(kSignals)];
bool g_caught[std::size(kSignals)] = {};

extern "C" void OnSignal(int signal) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t ignored = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

SignalRelay::SignalRelay() {
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        g_caught[i] = ::sigaction(kSignals[i], nullptr, &g_previous[i]) == 0 &&
                      g_previous[i].sa_handler != SIG_IGN &&
                      ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

SignalRelay::~SignalRelay() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        if (g_caught[i]) {
            ::sigaction(kSignals[i], &g_previous[i], nullptr);
        }
        g_caught[i] = false;
    }
}

int SignalRelay::Fd() const {
    return g_pipe[0];
}

int SignalRelay::Take() {
    unsigned char byte = 0;
    if (g_pipe[0] < 0 || ::read(g_pipe[0], &byte, 1) != 1) {
        return 0;
    }
    return byte;
}

void EndAsSignalled(int signal) {
    std::signal(signal, SIG_DFL);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, signal);
    ::sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
    std::raise(signal);
    ::_exit(128 + signal);
}

} // namespace recovery
