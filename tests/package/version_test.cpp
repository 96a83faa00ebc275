// SPDX-License-Identifier: GPL-3.0-or-later
// The version is written once, in the project. Every place where a user or a package
// manager reads it must show that same version, all four parts of it.

#include "permora_version.h"
#include "resources/templates/aboutdlg.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kAboutPrefix = "Vendra Storage Security Version ";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first group of the first match of pattern in the file, or a note that says what is
// missing (so a failing comparison reads well).
std::string Find(const std::string& path, const std::string& pattern) {
    const std::string text = ReadFile(path);
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(pattern)))
        return "(no match for " + pattern + " in " + path + ")";
    return match[1].str();
}

// The last word of what `program --version` prints.
std::string VersionPrintedBy(const std::string& program) {
    FILE* pipe = popen(("'" + program + "' --version 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return "(could not run " + program + ")";
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    const int status = pclose(pipe);
    std::smatch match;
    if (status != 0 || !std::regex_search(output, match, std::regex(R"((\S+)\s*$)")))
        return "(" + program + " --version printed \"" + output + "\")";
    return match[1].str();
}

std::string AboutBoxVersion() {
    for (const tk::ControlTemplate& control : res::AboutDlg::Template().controls) {
        const std::string text = control.text;
        if (text.starts_with(kAboutPrefix))
            return text.substr(kAboutPrefix.size());
    }
    return "(no version line in the About box)";
}

struct Shown {
    std::string where;
    std::string version;
};

TEST(Version, EveryPlaceShowsTheProjectVersion) {
    const std::vector<Shown> shown = {
        {"About box", AboutBoxVersion()},
        {"permora --version", VersionPrintedBy(PERMORA_BIN)},
#ifdef PERMORA_CLI_BIN
        {"permora-cli --version", VersionPrintedBy(PERMORA_CLI_BIN)},
#endif
        {"package version (CPack)",
         Find(PERMORA_CPACK_CONFIG, R"re(set\(CPACK_PACKAGE_VERSION "([^"]*)"\))re")},
        {"Debian package Version field",
         Find(PERMORA_CPACK_CONFIG, R"re(set\(CPACK_DEBIAN_PACKAGE_VERSION "([^"]*)"\))re")},
        {"metainfo release", Find(PERMORA_METAINFO_FILE, R"re(<release version="([^"]*)")re")},
    };
    EXPECT_TRUE(std::regex_match(std::string(PERMORA_VERSION), std::regex(R"(\d+\.\d+\.\d+\.\d+)")))
        << PERMORA_VERSION;
    for (const Shown& place : shown)
        EXPECT_EQ(place.version, PERMORA_VERSION) << place.where;
}

} // namespace
