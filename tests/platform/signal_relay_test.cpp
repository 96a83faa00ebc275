#include "platform/signal_relay.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace {

volatile std::sig_atomic_t g_seen = 0;

extern "C" void Note(int signal) {
    g_seen = signal;
}

// Puts a handler in place for the test and the one before it back afterwards.
class Handler {
public:
    Handler(int signal, void (*handler)(int)) : signal_(signal) {
        struct sigaction action {};
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal_, &action, &previous_);
    }
    ~Handler() { ::sigaction(signal_, &previous_, nullptr); }
    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;

private:
    int signal_;
    struct sigaction previous_ {};
};

// Each signal that asks the program to end is noted once, for the program's own thread to
// take; when the relay goes, the handler it found is back in place.
TEST(SignalRelay, NotesEachSignalAndGivesBackTheHandlerItFound) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        const Handler before(signal, Note);
        g_seen = 0;
        {
            recovery::SignalRelay relay;
            ASSERT_GE(relay.Fd(), 0);
            ASSERT_EQ(std::raise(signal), 0);
            EXPECT_EQ(relay.Take(), signal);
            EXPECT_EQ(relay.Take(), 0);
            EXPECT_EQ(g_seen, 0);
        }
        ASSERT_EQ(std::raise(signal), 0);
        EXPECT_EQ(g_seen, signal);
    }
}

// A signal the program was started to ignore (a background job's SIGINT) stays ignored.
TEST(SignalRelay, LeavesAnIgnoredSignalIgnored) {
    const Handler ignored(SIGINT, SIG_IGN);
    recovery::SignalRelay relay;
    ASSERT_EQ(std::raise(SIGINT), 0);
    EXPECT_EQ(relay.Take(), 0);
}

// The program ends as the signal would have ended it, though the relay catches it.
TEST(SignalRelay, EndsTheProgramAsTheSignalWould) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const recovery::SignalRelay relay;
            sigset_t blocked;
            sigemptyset(&blocked);
            sigaddset(&blocked, signal);
            ::sigprocmask(SIG_BLOCK, &blocked, nullptr);
            recovery::EndAsSignalled(signal);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
        EXPECT_EQ(WTERMSIG(status), signal);
    }
}

} // namespace
