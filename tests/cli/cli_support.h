#pragma once

// Runs permora-cli in the test's own process, in a fresh folder holding the given files.

#include "cli/cli.h"
#include "template_file/file_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace permora::cli_test {

namespace fs = std::filesystem;

using test::ReadBytes;
using test::WriteBytes;

inline std::string Fixture(const std::string& name) {
    return ReadBytes(std::string(PERMORA_FIXTURES_DIR) + "/" + name);
}

// The 8-bit file of the given lines (header included by the caller), CR LF after each.
inline std::string Text8(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

// The UTF-16LE file of the same lines, with its byte-order mark.
inline std::string Text16(const std::vector<std::string>& lines) {
    return "\xFF\xFE" + test::Widen(Text8(lines));
}

// A folder of its own under the system's temporary folder, removed with everything in it.
class Folder {
public:
    Folder() {
        std::string name = (fs::temp_directory_path() / "permora-cli-XXXXXX").string();
        if (::mkdtemp(name.data()) != nullptr) {
            path_ = name;
        }
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const fs::path& Path() const { return path_; }

    // Every regular file in the folder with its bytes, but the lock files that saves leave.
    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const auto& item : fs::directory_iterator(path_)) {
            if (item.is_regular_file() && !test::IsLockFile(item.path().filename().string())) {
                files[item.path().filename().string()] = ReadBytes(item.path().string());
            }
        }
        return files;
    }

private:
    fs::path path_;
};

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the command line with the folder as the working folder, in as standard input.
inline Outcome RunIn(const Folder& folder, const std::vector<std::string>& args, std::istream& in) {
    std::vector<const char*> argv{"permora-cli"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    argv.push_back(nullptr);
    const fs::path before = fs::current_path();
    fs::current_path(folder.Path());
    std::ostringstream out;
    std::ostringstream err;
    Outcome outcome;
    outcome.status = cli::Run(static_cast<int>(argv.size() - 1), argv.data(), in, out, err);
    fs::current_path(before);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

inline Outcome RunIn(const Folder& folder, const std::vector<std::string>& args,
                     const std::string& input = {}) {
    std::istringstream in(input);
    return RunIn(folder, args, in);
}

} // namespace permora::cli_test
