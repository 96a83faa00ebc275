#pragma once

// A display of the program's own for machines that have none: a private X server with
// VNC built in, reachable only from this machine and only with a password made for this
// run, with a window manager on it. Plain POSIX; nothing here knows Qt.

namespace permora {

// Neither an X nor a Wayland display, and no platform asked for explicitly.
bool NeedsPrivateDisplay();

// Starts the private display and points this process at it (DISPLAY, XAUTHORITY and the
// xcb platform), then prints on standard output how to connect. A watcher process started
// first stops the display and removes its files once this process has ended, however it
// ends. Call it before any thread exists. On failure says why on standard error and
// returns false.
bool StartPrivateDisplay();

} // namespace permora
