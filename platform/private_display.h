#pragma once

// A display of the program's own for machines that have none: a private X server with
// VNC built in, served on a socket that only this account may open (and on a loopback port
// only when asked) and only with a password made for this run, with a window manager on it. Plain
// POSIX; nothing here knows Qt.

namespace permora {

// Neither an X nor a Wayland display, and no platform asked for explicitly.
bool NeedsPrivateDisplay();

struct PrivateDisplayOptions {
    // VNC also on a TCP port of 127.0.0.1, which every account of this machine can reach
    // (and lock out with wrong passwords); the socket of this account only is always served.
    bool loopbackPort = false;
};

// Starts the private display and points this process at it (DISPLAY, XAUTHORITY and the
// xcb platform), then prints on standard output how to connect. A watcher process started
// first stops the display and removes its files once this process has ended, however it
// ends. Call it before any thread exists. On failure says why on standard error and
// returns false.
bool StartPrivateDisplay(const PrivateDisplayOptions& options);

} // namespace permora
