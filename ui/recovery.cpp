#include "ui/recovery.h"

#include "template_file/template_file.h"
#include "ui/permoradlg.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

namespace recovery {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = "permora-";
constexpr std::string_view kSuffix = ".conf";
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// Makes each missing folder of the path, private to the user.
bool MakeFolders(const std::string& folder) {
    std::string path;
    std::size_t start = 0;
    while (start <= folder.size()) {
        std::size_t end = folder.find('/', start);
        if (end == std::string::npos)
            end = folder.size();
        path = folder.substr(0, end);
        start = end + 1;
        if (path.empty())
            continue;
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Reserves a new name in the folder: an empty file only the user may read, which the save
// then replaces keeping its mode.
std::string ReserveFile(const std::string& folder) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::string path = folder + "/" + FileName(local, static_cast<long>(::getpid()), attempt);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

// --- Signals and the lost display -------------------------------------------------------

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

std::string Folder() {
    std::string state = Environment("XDG_STATE_HOME");
    // A relative XDG_STATE_HOME is not to be used.
    if (state.empty() || state.front() != '/') {
        const std::string home = Environment("HOME");
        if (home.empty())
            return {};
        state = home + "/.local/state";
    }
    return state + "/permora/recovery";
}

std::string FileName(const std::tm& when, long pid, int attempt) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", when.tm_year + 1900,
                  when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    std::string name(kPrefix);
    name += stamp;
    name += "-" + std::to_string(pid);
    if (attempt > 1)
        name += "-" + std::to_string(attempt);
    name += kSuffix;
    return name;
}

bool IsRecoveryFileName(std::string_view name) {
    return name.size() > kPrefix.size() + kSuffix.size() &&
           name.substr(0, kPrefix.size()) == kPrefix &&
           name.substr(name.size() - kSuffix.size()) == kSuffix;
}

void Prune(const std::string& folder, int keep) {
    struct File {
        fs::file_time_type written;
        fs::path path;
    };
    std::vector<File> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!IsRecoveryFileName(it->path().filename().string()) || !it->is_regular_file(error))
            continue;
        const fs::file_time_type written = it->last_write_time(error);
        if (!error)
            files.push_back({written, it->path()});
    }
    if (files.size() <= static_cast<std::size_t>(keep))
        return;
    // Oldest first; names of the same moment sort by their date and time, then process.
    std::sort(files.begin(), files.end(), [](const File& a, const File& b) {
        return a.written != b.written ? a.written < b.written : a.path < b.path;
    });
    const std::size_t remove = files.size() - static_cast<std::size_t>(keep);
    for (std::size_t i = 0; i < remove; ++i)
        fs::remove(files[i].path, error);
}

std::string Write(const permora::SecurityTemplate& tmpl, const std::string& folder) {
    if (folder.empty() || !MakeFolders(folder))
        return {};
    const std::string path = ReserveFile(folder);
    if (path.empty())
        return {};
    if (permora::SaveTemplate(path, tmpl, permora::Encoding::Unicode) !=
        permora::SaveStatus::Saved) {
        ::unlink(path.c_str());
        return {};
    }
    Prune(folder);
    return path;
}

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
