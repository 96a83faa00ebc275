#pragma once

// Helpers of the tests that write into a recovery folder: a state folder of the test's own,
// the files of a folder, a file's mode and the name of a file kept at a given age.

#include "platform/recovery_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace recovery_test {

namespace fs = std::filesystem;

// Points XDG_STATE_HOME at a folder of the test's own while it lives.
class StateHome {
public:
    explicit StateHome(const std::string& path) {
        if (const char* value = std::getenv("XDG_STATE_HOME"))
            previous_ = value;
        ::setenv("XDG_STATE_HOME", path.c_str(), 1);
    }
    ~StateHome() {
        if (previous_)
            ::setenv("XDG_STATE_HOME", previous_->c_str(), 1);
        else
            ::unsetenv("XDG_STATE_HOME");
    }
    StateHome(const StateHome&) = delete;
    StateHome& operator=(const StateHome&) = delete;

private:
    std::optional<std::string> previous_;
};

inline std::vector<fs::path> RecoveryFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

// The recovery files alone, without their side files.
inline std::vector<fs::path> RecoveryConfFiles(const fs::path& folder) {
    std::vector<fs::path> files = RecoveryFiles(folder);
    std::erase_if(files, [](const fs::path& file) { return file.extension() != ".conf"; });
    return files;
}

inline unsigned Mode(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

// The name of a recovery file kept `age` before now (negative: after), by process pid.
inline std::string NameAged(std::time_t now, std::chrono::seconds age, int pid) {
    const std::time_t when = now - static_cast<std::time_t>(age.count());
    std::tm local{};
    ::localtime_r(&when, &local);
    return recovery::FileName(local, pid, 1);
}

} // namespace recovery_test
