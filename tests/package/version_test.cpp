// SPDX-License-Identifier: GPL-3.0-or-later
// The version is written once, in the project. Every place where a user or a package
// manager reads it must show that same version, all four parts of it.

#include "permora_version.h"
#include "resources/templates/aboutdlg.h"

#include <gtest/gtest.h>

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
