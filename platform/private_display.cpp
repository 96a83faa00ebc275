// The private display runs in processes of their own. Before anything starts, the program
// forks a watcher; the watcher makes a private folder, a password and an X authority
// cookie, starts the X server (VNC built in, served on a socket in that folder) and the
// window manager as its own children, and reports the display back through a pipe. The
// program keeps the write end of a second pipe open for its whole life and never writes to
// it: when the program ends, however it ends, the watcher reads end-of-file there, stops
// both servers and removes every file the display left.

#include "platform/private_display.h"

#include "platform/private_display_leftovers.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace permora {
namespace {

constexpr const char* kAddress = "127.0.0.1";
constexpr int kFirstPort = 5900;
constexpr int kLastPort = 5999;
constexpr int kStartMilliseconds = 30000;
constexpr int kHelperMilliseconds = 10000;
constexpr int kStopMilliseconds = 5000;
constexpr int kWindowManagerMilliseconds = 10000;
constexpr const char* kGeometry = "1280x800";
constexpr const char* kAuthorityName = "Xauthority";
constexpr const char* kVncSocketName = "vnc";

struct Tool {
    const char* program;
    const char* package;
};

constexpr Tool kServerTool{"Xtigervnc", "tigervnc-standalone-server"};
constexpr Tool kPasswordTool{"vncpasswd", "tigervnc-tools"};
constexpr Tool kAuthorityTool{"xauth", "xauth"};
constexpr Tool kWindowManagerTool{"openbox", "openbox"};

struct Programs {
    std::string server;
    std::string password;
    std::string authority;
    std::string windowManager;
};

volatile sig_atomic_t g_stopRequested = 0;

void RequestStop(int) {
    g_stopRequested = 1;
}

// poll() that a request to stop interrupts: the watcher blocks the stop signals
// everywhere else, so none slips in between a look at the flag and the wait.
int WaitReadable(pollfd* fds, nfds_t count, long milliseconds) {
    sigset_t none;
    ::sigemptyset(&none);
    timespec timeout{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    return ::ppoll(fds, count, milliseconds < 0 ? nullptr : &timeout, &none);
}

bool EnvironmentHas(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

void SleepMilliseconds(long milliseconds) {
    timespec pause{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    ::nanosleep(&pause, nullptr);
}

long NowMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000L + now.tv_nsec / 1000000L;
}

// The full path of an executable program found on PATH; empty when there is none.
std::string FindProgram(const char* program) {
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr && *path != '\0' ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        std::string candidate = folder + "/" + program;
        struct stat status {};
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

// Finds every program the display needs; names the packages of those that are missing.
bool FindPrograms(Programs& programs) {
    std::string missing;
    std::string packages;
    auto find = [&](const Tool& tool, std::string& path) {
        path = FindProgram(tool.program);
        if (!path.empty())
            return;
        missing += missing.empty() ? "" : ", ";
        missing += std::string(tool.program) + " (package " + tool.package + ")";
        packages += std::string(" ") + tool.package;
    };
    find(kServerTool, programs.server);
    find(kPasswordTool, programs.password);
    find(kAuthorityTool, programs.authority);
    find(kWindowManagerTool, programs.windowManager);
    if (missing.empty())
        return true;
    std::fprintf(stderr,
                 "No display found, and Permora cannot start a display of its own without: "
                 "%s.\nInstall with: apt-get install%s\n",
                 missing.c_str(), packages.c_str());
    return false;
}

bool RandomBytes(unsigned char* bytes, std::size_t count) {
    std::size_t filled = 0;
    while (filled < count) {
        const ssize_t got = ::getrandom(bytes + filled, count - filled, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        filled += static_cast<std::size_t>(got);
    }
    return true;
}

// Eight characters, all that VNC password authentication uses; letters and digits that
// cannot be mistaken for one another when read off a terminal.
std::string NewPassword() {
    static constexpr char kAlphabet[] = "abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    constexpr unsigned kSize = sizeof kAlphabet - 1;
    constexpr unsigned kUnbiased = 256 - 256 % kSize;
    std::string password;
    while (password.size() < 8) {
        unsigned char byte = 0;
        if (!RandomBytes(&byte, 1))
            return {};
        if (byte < kUnbiased)
            password += kAlphabet[byte % kSize];
    }
    return password;
}

// A 128-bit cookie in hexadecimal.
std::string NewCookie() {
    unsigned char bytes[16];
    if (!RandomBytes(bytes, sizeof bytes))
        return {};
    std::string hex;
    for (unsigned char byte : bytes) {
        static constexpr char kDigits[] = "0123456789abcdef";
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0f];
    }
    return hex;
}

// Where a display's folder may be made, in the order tried: the user's runtime folder,
// else the temporary one.
std::vector<std::string> FolderBases() {
    std::vector<std::string> bases;
    const char* const candidates[] = {std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"),
                                      "/tmp"};
    for (const char* base : candidates) {
        if (base != nullptr && *base != '\0')
            bases.emplace_back(base);
    }
    return bases;
}

// A new folder of mode 0700, named after the process that makes it, with a path short
// enough for the VNC socket in it.
std::string MakePrivateFolder() {
    errno = ENAMETOOLONG;
    for (const std::string& base : FolderBases()) {
        std::string folder = base + "/" + DisplayFolderPrefix() + "XXXXXX";
        if (folder.size() + 1 + std::strlen(kVncSocketName) >= sizeof(sockaddr_un::sun_path))
            continue;
        if (::mkdtemp(folder.data()) != nullptr)
            return folder;
    }
    return {};
}

int OpenFile(const std::string& path, int flags) {
    return ::open(path.c_str(), flags | O_WRONLY | O_CLOEXEC, 0600);
}

// The standard streams of a child (/dev/null where -1) and a descriptor it gets as 3.
struct ChildStreams {
    int input = -1;
    int output = -1;
    int error = -1;
    int third = -1;
};

// Starts program with args and the environment plus `extraEnvironment`. The child gets
// no other descriptor of ours, default signal handling, and SIGTERM when the watcher
// dies, so that not even a killed watcher leaves a server behind.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& extraEnvironment, const ChildStreams& streams) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** variable = environ; *variable != nullptr; ++variable)
        envp.push_back(*variable);
    for (const std::string& variable : extraEnvironment)
        envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);

    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child != 0)
        return child;

    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent)
        ::_exit(127);
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE})
        ::signal(signal, SIG_DFL);
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    const int null = ::open("/dev/null", O_RDWR);
    const int sources[] = {streams.input, streams.output, streams.error};
    for (int target = 0; target < 3; ++target)
        ::dup2(sources[target] >= 0 ? sources[target] : null, target);
    int firstToClose = 3;
    if (streams.third >= 0) {
        if (streams.third == 3)
            ::fcntl(3, F_SETFD, 0);
        else
            ::dup2(streams.third, 3);
        firstToClose = 4;
    }
    ::close_range(static_cast<unsigned>(firstToClose), ~0U, 0);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(fd, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

// Waits up to `milliseconds` for the child to end; true once it has been reaped.
bool WaitForExit(pid_t child, long milliseconds, int* status = nullptr) {
    const long deadline = NowMilliseconds() + milliseconds;
    for (;;) {
        int childStatus = 0;
        const pid_t reaped = ::waitpid(child, &childStatus, WNOHANG);
        if (reaped == child) {
            if (status != nullptr)
                *status = childStatus;
            return true;
        }
        if (reaped < 0 && errno != EINTR)
            return true;
        if (NowMilliseconds() >= deadline)
            return false;
        SleepMilliseconds(10);
    }
}

// Waits up to `milliseconds` for the child to end, leaving it unreaped (so that its process
// id names no other process yet); true once it has ended.
bool WaitForEnd(pid_t child, long milliseconds) {
    const long deadline = NowMilliseconds() + milliseconds;
    for (;;) {
        siginfo_t ended{};
        const int result =
            ::waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOHANG | WNOWAIT);
        if ((result == 0 && ended.si_pid != 0) || (result < 0 && errno != EINTR))
            return true;
        if (NowMilliseconds() >= deadline)
            return false;
        SleepMilliseconds(10);
    }
}

// Stops a child, asking first; leaves it unreaped.
void EndChild(pid_t child) {
    ::kill(child, SIGTERM);
    if (WaitForEnd(child, kStopMilliseconds))
        return;
    ::kill(child, SIGKILL);
    WaitForEnd(child, kStopMilliseconds);
}

void StopChild(pid_t child) {
    EndChild(child);
    WaitForExit(child, kStopMilliseconds);
}

// A descriptor that turns readable when the child ends; -1 when the system has none.
int WatchChild(pid_t child) {
    // Through syscall(): Debian 12's declaration of pidfd_open lacks C linkage for C++.
    return child > 0 ? static_cast<int>(::syscall(SYS_pidfd_open, child, 0)) : -1;
}

void CloseDescriptor(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// Runs a helper to its end with `input` on its standard input; true when it succeeded.
bool RunHelper(const std::string& program, const std::vector<std::string>& args,
               const std::string& input, int output, int error) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return false;
    const pid_t child = Spawn(program, args, {}, {pipeFds[0], output, error, -1});
    ::close(pipeFds[0]);
    if (child < 0) {
        ::close(pipeFds[1]);
        return false;
    }
    std::size_t written = 0;
    while (written < input.size()) {
        const ssize_t count = ::write(pipeFds[1], input.data() + written, input.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            break;
        written += static_cast<std::size_t>(count);
    }
    ::close(pipeFds[1]);
    int status = 0;
    if (!WaitForExit(child, kHelperMilliseconds, &status)) {
        StopChild(child);
        return false;
    }
    return written == input.size() && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Whether something else listens on, or holds, the port on a loopback address.
bool PortTaken(int port) {
    auto taken = [port](int family) {
        const int fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        int result = 0;
        if (family == AF_INET) {
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(static_cast<std::uint16_t>(port));
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            result = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        } else {
            sockaddr_in6 address{};
            address.sin6_family = AF_INET6;
            address.sin6_port = htons(static_cast<std::uint16_t>(port));
            address.sin6_addr = in6addr_loopback;
            result = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        }
        const bool inUse = result != 0 && errno == EADDRINUSE;
        ::close(fd);
        return inUse;
    };
    return taken(AF_INET) || taken(AF_INET6);
}

// What the watcher runs and must clean away.
class Session {
public:
    Session(Programs programs, bool loopbackPort)
        : programs_(std::move(programs)), loopbackPort_(loopbackPort) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() { Stop(); }

    // Makes the secrets and starts both servers. `editorEnd` turns readable when the
    // editor has ended, which abandons the start.
    bool Start(int editorEnd);
    void Stop();

    // Descriptors that turn readable when the server or the window manager ends (-1 when
    // it has or cannot be watched), and what is done then.
    int ServerWatch() const { return serverWatch_; }
    int WindowManagerWatch() const { return windowManagerWatch_; }
    void ServerEnded();
    void WindowManagerEnded();

    int Display() const { return display_; }
    int Port() const { return port_; }
    const std::string& Password() const { return password_; }
    const std::string& Folder() const { return folder_; }
    std::string AuthorityPath() const { return folder_ + "/" + kAuthorityName; }
    std::string VncSocketPath() const { return folder_ + "/" + kVncSocketName; }

private:
    std::string PasswordPath() const { return folder_ + "/passwd"; }
    std::string LogPath() const { return folder_ + "/server.log"; }
    void Log(const char* line) const;
    // Ends the server and removes the files it would remove itself, then reaps it.
    void StopServer(bool ask);
    bool WriteSecrets();
    bool StartServer(int editorEnd);
    // Starts the server with VNC on its socket and on `port` (-1: none). The display
    // number, -1 when the server ended first, -2 when the start is abandoned.
    int LaunchServer(int port, int editorEnd);
    int ReadDisplayNumber(int numberFd, int editorEnd);
    // Waits until the window manager manages the screen, has ended, or a time limit has
    // passed (the last two are noted in the log); the editor runs in all three cases.
    void WaitForWindowManager(int log);
    void ReportServerFailure() const;

    Programs programs_;
    bool loopbackPort_;
    std::string folder_;
    std::string password_;
    std::string cookie_;
    pid_t server_ = -1;
    pid_t windowManager_ = -1;
    int serverWatch_ = -1;
    int windowManagerWatch_ = -1;
    int watcherLock_ = -1; // held while the watcher runs; see HoldDisplayFolder
    ino_t serverSocket_ = 0;
    int display_ = -1;
    int port_ = 0;
};

bool Session::WriteSecrets() {
    password_ = NewPassword();
    cookie_ = NewCookie();
    if (password_.empty() || cookie_.empty()) {
        std::fprintf(stderr, "Permora could not make a password for its display.\n");
        return false;
    }
    const int passwordFile = OpenFile(PasswordPath(), O_CREAT | O_EXCL);
    const int log = OpenFile(LogPath(), O_CREAT | O_APPEND);
    bool written = passwordFile >= 0 && log >= 0 &&
                   RunHelper(programs_.password, {"-f"}, password_ + "\n", passwordFile, log);
    // Family ffff with an empty address and display number matches any display, so the
    // server has its cookie before it has chosen its number.
    written =
        written && RunHelper(programs_.authority, {"-q", "-f", AuthorityPath(), "nmerge", "-"},
                             "ffff 0000  0000  0012 4d49542d4d414749432d434f4f4b49452d31 0010 " +
                                 cookie_ + "\n",
                             -1, log);
    if (passwordFile >= 0)
        ::close(passwordFile);
    if (log >= 0)
        ::close(log);
    if (!written)
        std::fprintf(stderr, "Permora could not write the password and the X authority of its "
                             "display.\n");
    return written;
}

// The display number the server writes once it accepts connections; -1 when the server
// ended first, -2 when the start is abandoned.
int Session::ReadDisplayNumber(int numberFd, int editorEnd) {
    const long deadline = NowMilliseconds() + kStartMilliseconds;
    std::string text;
    for (;;) {
        if (g_stopRequested != 0)
            return -2;
        const long left = deadline - NowMilliseconds();
        if (left <= 0) {
            std::fprintf(stderr, "Permora's display server did not start in time.\n");
            return -2;
        }
        pollfd fds[2] = {{numberFd, POLLIN, 0}, {editorEnd, POLLIN, 0}};
        const int ready = WaitReadable(fds, 2, left);
        if (ready < 0 && errno != EINTR)
            return -2;
        if (ready <= 0)
            continue;
        if (fds[1].revents != 0)
            return -2;
        char buffer[32];
        const ssize_t count = ::read(numberFd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return -1;
        text.append(buffer, static_cast<std::size_t>(count));
        if (text.find('\n') != std::string::npos)
            return std::atoi(text.c_str());
    }
}

void Session::ReportServerFailure() const {
    std::string tail;
    if (std::FILE* log = std::fopen(LogPath().c_str(), "r")) {
        char line[512];
        std::vector<std::string> lines;
        while (std::fgets(line, sizeof line, log) != nullptr)
            lines.emplace_back(line);
        std::fclose(log);
        for (std::size_t i = lines.size() > 8 ? lines.size() - 8 : 0; i < lines.size(); ++i)
            tail += "  " + lines[i];
    }
    std::fprintf(stderr, "Permora could not start its display server %s:\n%s",
                 programs_.server.c_str(), tail.c_str());
}

int Session::LaunchServer(int port, int editorEnd) {
    const int log = OpenFile(LogPath(), O_CREAT | O_TRUNC);
    int numberPipe[2];
    if (log < 0 || ::pipe2(numberPipe, O_CLOEXEC) != 0) {
        if (log >= 0)
            ::close(log);
        return -2;
    }
    // VNC on a socket only this account may open (and on a loopback port when asked); no
    // X over TCP; the password file for VNC authentication and the cookie for X clients;
    // no reset (which closes every connection) when a short-lived client happens to be
    // the last.
    std::vector<std::string> args{"-displayfd",   "3",    "-rfbunixpath", VncSocketPath(),
                                  "-rfbunixmode", "0600", "-rfbport",     std::to_string(port)};
    if (port > 0)
        args.emplace_back("-localhost");
    args.insert(args.end(), {"-SecurityTypes", "VncAuth", "-PasswordFile", PasswordPath(), "-auth",
                             AuthorityPath(), "-nolisten", "tcp", "-noreset", "-geometry",
                             kGeometry, "-depth", "24", "-desktop", "Permora"});
    server_ = Spawn(programs_.server, args, {}, {-1, -1, log, numberPipe[1]});
    ::close(numberPipe[1]);
    ::close(log);
    const int number = server_ > 0 ? ReadDisplayNumber(numberPipe[0], editorEnd) : -1;
    ::close(numberPipe[0]);
    if (number >= 0) {
        display_ = number;
        port_ = port > 0 ? port : 0;
        serverSocket_ = XSocketInode(number);
        serverWatch_ = WatchChild(server_);
        return number;
    }
    if (server_ > 0)
        StopChild(server_);
    server_ = -1;
    return number;
}

bool Session::StartServer(int editorEnd) {
    if (!loopbackPort_) {
        const int number = LaunchServer(-1, editorEnd);
        if (number == -1)
            ReportServerFailure();
        return number >= 0;
    }
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        if (PortTaken(port))
            continue;
        const int number = LaunchServer(port, editorEnd);
        if (number >= 0)
            return true;
        if (number == -2)
            return false;
        // Another program took the port between the look and the server's own try.
        if (PortTaken(port))
            continue;
        ReportServerFailure();
        return false;
    }
    std::fprintf(stderr, "No display found, and no free port for a VNC server on %s (%d-%d).\n",
                 kAddress, kFirstPort, kLastPort);
    return false;
}

bool Session::Start(int editorEnd) {
    RemoveDisplayLeftovers(FolderBases());
    folder_ = MakePrivateFolder();
    if (!folder_.empty()) {
        watcherLock_ = HoldDisplayFolder(folder_);
        if (watcherLock_ < 0) {
            const int reason = errno;
            RemoveOwnFolder(folder_);
            folder_.clear();
            errno = reason;
        }
    }
    if (folder_.empty()) {
        std::fprintf(stderr, "Permora could not make a private folder for its display: %s\n",
                     std::strerror(errno));
        return false;
    }
    if (!WriteSecrets() || !StartServer(editorEnd))
        return false;
    const int log = OpenFile(LogPath(), O_CREAT | O_APPEND);
    // The usual entry for the display as well, for client libraries that do not read the
    // one that matches any display.
    if (!RunHelper(programs_.authority, {"-q", "-f", AuthorityPath(), "source", "-"},
                   "add :" + std::to_string(display_) + " . " + cookie_ + "\n", -1, log)) {
        std::fprintf(stderr, "Permora could not write the X authority of its display.\n");
        if (log >= 0)
            ::close(log);
        return false;
    }
    windowManager_ =
        Spawn(programs_.windowManager, {"--sm-disable"},
              {"DISPLAY=:" + std::to_string(display_), "XAUTHORITY=" + AuthorityPath()},
              {-1, -1, log, -1});
    windowManagerWatch_ = WatchChild(windowManager_);
    // A window mapped before the window manager has taken the screen can stay without a
    // frame: the editor shows its window only once the window manager runs.
    if (windowManager_ > 0)
        WaitForWindowManager(log);
    if (log >= 0)
        ::close(log);
    return windowManager_ > 0;
}

void Session::WaitForWindowManager(int log) {
    std::string cookie;
    for (std::size_t i = 0; i + 1 < cookie_.size(); i += 2)
        cookie += static_cast<char>(std::stoi(cookie_.substr(i, 2), nullptr, 16));
    char method[] = "MIT-MAGIC-COOKIE-1";
    xcb_auth_info_t auth{static_cast<int>(sizeof method - 1), method,
                         static_cast<int>(cookie.size()), cookie.data()};
    const std::string display = ":" + std::to_string(display_);
    xcb_connection_t* connection =
        xcb_connect_to_display_with_auth_info(display.c_str(), &auth, nullptr);
    bool running = false;
    if (xcb_connection_has_error(connection) == 0) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        static constexpr char kCheck[] = "_NET_SUPPORTING_WM_CHECK";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof kCheck - 1, kCheck), nullptr);
        // The window manager names its check window on the root window once the map
        // requests of other clients' windows come to it.
        const long deadline = NowMilliseconds() + kWindowManagerMilliseconds;
        siginfo_t ended{};
        while (atom != nullptr && !running && NowMilliseconds() < deadline &&
               ::waitid(P_PID, static_cast<id_t>(windowManager_), &ended,
                        WEXITED | WNOHANG | WNOWAIT) == 0 &&
               ended.si_pid == 0) {
            xcb_get_property_reply_t* property = xcb_get_property_reply(
                connection,
                xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
            running = property != nullptr && xcb_get_property_value_length(property) == 4;
            std::free(property);
            if (!running)
                SleepMilliseconds(20);
        }
        std::free(atom);
    }
    xcb_disconnect(connection);
    if (!running && log >= 0)
        WriteAll(log, "permora: the window manager did not start; windows may have no frames\n");
}

void Session::Log(const char* line) const {
    const int log = OpenFile(LogPath(), O_CREAT | O_APPEND);
    if (log >= 0) {
        WriteAll(log, line);
        ::close(log);
    }
}

void Session::StopServer(bool ask) {
    if (ask)
        EndChild(server_);
    // A server that was killed leaves its socket and lock behind.
    if (display_ >= 0)
        RemoveServerFiles(display_, server_, serverSocket_);
    ::unlink(VncSocketPath().c_str());
    WaitForExit(server_, kStopMilliseconds);
    CloseDescriptor(serverWatch_);
    server_ = -1;
}

void Session::ServerEnded() {
    StopServer(false);
    Log("permora: the display server has ended\n");
}

void Session::WindowManagerEnded() {
    WaitForExit(windowManager_, kStopMilliseconds);
    CloseDescriptor(windowManagerWatch_);
    windowManager_ = -1;
    Log("permora: the window manager has ended; windows have no frames from now on\n");
}

void Session::Stop() {
    if (windowManager_ > 0)
        StopChild(windowManager_);
    CloseDescriptor(windowManagerWatch_);
    windowManager_ = -1;
    if (server_ > 0)
        StopServer(true);
    if (!folder_.empty())
        RemoveOwnFolder(folder_);
    folder_.clear();
    CloseDescriptor(watcherLock_);
}

// The watcher: a session of its own (no terminal signal reaches it or the servers), the
// display started, then a wait for the editor's end or a request to stop.
int RunWatcher(const Programs& programs, bool loopbackPort, int editorEnd, int report) {
    ::setsid();
    ::umask(077);
    // Nothing the editor set up for its signals applies here.
    for (int signal = 1; signal < NSIG; ++signal)
        ::signal(signal, SIG_DFL);
    struct sigaction stop {};
    stop.sa_handler = RequestStop;
    ::sigemptyset(&stop.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &stop, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    sigset_t stopSignals;
    ::sigemptyset(&stopSignals);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaddset(&stopSignals, signal);
    ::sigprocmask(SIG_SETMASK, &stopSignals, nullptr);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 1);
    ::close(null);

    Session session(programs, loopbackPort);
    if (!session.Start(editorEnd))
        return 1;
    const bool reported =
        WriteAll(report, std::to_string(session.Display()) + " " + std::to_string(session.Port()) +
                             " " + session.Password() + " " + session.Folder() + "\n");
    ::close(report);
    if (!reported)
        return 1;
    while (g_stopRequested == 0) {
        // poll() passes over the entries of -1: what has ended is not watched again.
        pollfd watched[] = {{editorEnd, POLLIN, 0},
                            {session.ServerWatch(), POLLIN, 0},
                            {session.WindowManagerWatch(), POLLIN, 0}};
        if (WaitReadable(watched, 3, -1) <= 0)
            continue;
        if (watched[0].revents != 0)
            break;
        if (watched[1].revents != 0)
            session.ServerEnded();
        if (watched[2].revents != 0)
            session.WindowManagerEnded();
    }
    return 0; // the session stops as it goes
}

// A path as one word of a shell command.
std::string ShellWord(const std::string& path) {
    if (path.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
                               "/._-+=,") == std::string::npos)
        return path;
    std::string quoted = "'";
    for (char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// On standard output only: where the display is served, its password and how to reach it.
void PrintHowToConnect(const std::string& socket, int port, const char* password) {
    const std::string word = ShellWord(socket);
    std::printf("No display found: Permora runs on a display of its own, served over VNC %s.\n"
                "  socket:   %s\n",
                port > 0 ? "on this machine only" : "to this account only", socket.c_str());
    if (port > 0)
        std::printf("  address:  %s\n"
                    "  port:     %d\n",
                    kAddress, port);
    std::printf("  password: %s\n"
                "On this machine: xtigervncviewer %s\n"
                "From another machine: ssh -L 5900:%s host\n"
                "then point a VNC viewer at localhost:5900 there.\n",
                password, word.c_str(), word.c_str());
    if (port > 0)
        std::printf(
            "The port is open to every account of this machine; the socket only to this one.\n");
    std::fflush(stdout);
}

} // namespace

bool NeedsPrivateDisplay() {
    return !EnvironmentHas("DISPLAY") && !EnvironmentHas("WAYLAND_DISPLAY") &&
           !EnvironmentHas("QT_QPA_PLATFORM");
}

bool StartPrivateDisplay(const PrivateDisplayOptions& options) {
    Programs programs;
    if (!FindPrograms(programs))
        return false;
    int editorLife[2];
    int report[2];
    if (::pipe2(editorLife, O_CLOEXEC) != 0)
        return false;
    if (::pipe2(report, O_CLOEXEC) != 0) {
        ::close(editorLife[0]);
        ::close(editorLife[1]);
        return false;
    }
    std::fflush(nullptr);
    const pid_t watcher = ::fork();
    if (watcher == 0) {
        ::close(editorLife[1]);
        ::close(report[0]);
        ::_exit(RunWatcher(programs, options.loopbackPort, editorLife[0], report[1]));
    }
    ::close(editorLife[0]);
    ::close(report[1]);
    if (watcher < 0) {
        ::close(editorLife[1]);
        ::close(report[0]);
        std::fprintf(stderr, "Permora could not start its display: %s\n", std::strerror(errno));
        return false;
    }
    // editorLife[1] stays open, never written, until this process ends.

    std::string line;
    char buffer[512];
    for (;;) {
        const ssize_t count = ::read(report[0], buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        line.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(report[0]);
    int display = -1;
    int port = 0;
    char password[16] = {};
    int consumed = 0;
    if (line.empty() || line.back() != '\n' ||
        std::sscanf(line.c_str(), "%d %d %15s %n", &display, &port, password, &consumed) < 3) {
        ::close(editorLife[1]);
        ::waitpid(watcher, nullptr, 0);
        return false;
    }
    line.pop_back();
    const std::string folder = line.substr(static_cast<std::size_t>(consumed));
    ::setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
    ::setenv("XAUTHORITY", (folder + "/" + kAuthorityName).c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    PrintHowToConnect(folder + "/" + kVncSocketName, port, password);
    return true;
}

} // namespace permora
