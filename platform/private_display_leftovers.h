#pragma once

// What a private display leaves when one of its processes is killed outright, and how the
// next start finds and removes it. A display's folder carries in its name the process id
// and start time of the watcher that made it, and holds a file that the watcher keeps
// locked for its whole life: the lock, not the process id (which may be of another PID
// namespace), tells whether the watcher still runs. Plain POSIX and /proc.

#include <sys/types.h>

#include <string>
#include <vector>

namespace permora {

// The folder of the X server sockets; the server's lock files lie beside it in /tmp.
inline constexpr const char* kXSocketFolder = "/tmp/.X11-unix";

// The file in a display folder that its watcher holds locked (flock) for its whole life.
inline constexpr const char* kWatcherLockName = "watcher.lock";

// "permora-display-PID-START-" for this process: the start of a display folder's name.
std::string DisplayFolderPrefix();

// Removes, among the leftovers of this account only, those whose process has ended: the
// display folders in each of `bases` whose watcher's lock is free, and X display locks and
// X sockets. Never follows a
// link, never touches what another account owns or what a live process holds.
void RemoveDisplayLeftovers(const std::vector<std::string>& bases);

// The X socket and lock of display `number` once its server has ended. Call it before the
// server is reaped, so that its process id cannot name another process yet: the lock goes
// only when it names `server`, the socket only when it is the one the server made
// (`socketInode`) and nothing listens on it.
void RemoveServerFiles(int number, pid_t server, ino_t socketInode);

// The inode of display `number`'s X socket when this account owns it; 0 otherwise.
ino_t XSocketInode(int number);

// Makes the watcher's lock in its new display folder and takes it: the descriptor, to be
// kept open for the watcher's whole life, or -1 when it cannot be made.
int HoldDisplayFolder(const std::string& folder);

// Removes a folder of this account and the files in it; never follows a link.
void RemoveOwnFolder(const std::string& folder);

} // namespace permora
