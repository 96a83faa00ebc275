#pragma once

// The signals that ask the program to end (SIGTERM, SIGHUP, SIGINT), noted on a pipe so that
// what they call for runs on the program's own thread, never in a signal handler. Plain
// POSIX.

namespace recovery {

// Catches the signals while it lives, but those the program was started to ignore (a
// background job's SIGINT), and gives back the handlers it found when it goes. One at a time.
class SignalRelay {
public:
    SignalRelay();
    ~SignalRelay();
    SignalRelay(const SignalRelay&) = delete;
    SignalRelay& operator=(const SignalRelay&) = delete;

    // Readable when a signal has arrived; -1 when no pipe could be made (nothing is caught).
    int Fd() const;
    // The signal that arrived, taken off the pipe; 0 when none is waiting.
    int Take();
};

// Ends the program as the signal would have ended it: the signal's own action, unblocked
// and raised; should that not end the program, it exits with 128 + signal.
[[noreturn]] void EndAsSignalled(int signal);

} // namespace recovery
