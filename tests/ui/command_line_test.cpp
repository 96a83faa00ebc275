// The editor's command line: help and the version without a window, and the files given
// at start imported through the real window, as Import would.

#include "ui/command_line.h"

#include "resources/templates/permoradlg.h"
#include "support/files.h"
#include "support/scripted_host.h"
#include "template_file/template_file.h"
#include "ui/permoradlg.h"

#include <permora_version.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace res::PermoraDlg;
using tk::test::ReadBytes;
using tk::test::ScriptedHost;

std::string Fixture(const std::string& name) {
    return std::string(PERMORA_FIXTURES_DIR) + "/" + name;
}

struct Parsed {
    CommandLine line;
    std::string out, err;
};

Parsed Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "permora");
    std::ostringstream out, err;
    Parsed parsed;
    parsed.line = ParseCommandLine(static_cast<int>(args.size()), args.data(), out, err);
    parsed.out = out.str();
    parsed.err = err.str();
    return parsed;
}

TEST(CommandLineTest, ParsesFilesHelpVersionAndMistakes) {
    struct Case {
        const char* name;
        std::vector<const char*> args;
        bool exit;
        int exitCode;
        std::vector<std::string> files;
        const char* outHas; // "" when nothing is printed
        const char* errHas;
    };
    const std::string version = std::string("permora ") + PERMORA_VERSION;
    const Case cases[] = {
        {"nothing", {}, false, 0, {}, "", ""},
        {"files in order",
         {"b.conf", "a.conf", "b.conf"},
         false,
         0,
         {"b.conf", "a.conf", "b.conf"},
         "",
         ""},
        {"a file named like an option after --",
         {"--", "--version"},
         false,
         0,
         {"--version"},
         "",
         ""},
        {"help", {"--help"}, true, 0, {}, "FILE", ""},
        {"short help", {"-h", "a.conf"}, true, 0, {}, "--version", ""},
        {"version", {"--version"}, true, 0, {}, version.c_str(), ""},
        {"unknown option", {"--frobnicate", "a.conf"}, true, 2, {}, "", "--frobnicate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Parsed parsed = Parse(c.args);
        EXPECT_EQ(parsed.line.exit, c.exit);
        if (c.exit) {
            EXPECT_EQ(parsed.line.exitCode, c.exitCode);
        }
        EXPECT_EQ(parsed.line.files, c.files);
        if (*c.outHas == '\0')
            EXPECT_EQ(parsed.out, "");
        else
            EXPECT_NE(parsed.out.find(c.outHas), std::string::npos) << parsed.out;
        if (*c.errHas == '\0')
            EXPECT_EQ(parsed.err, "");
        else
            EXPECT_NE(parsed.err.find(c.errHas), std::string::npos) << parsed.err;
    }
}

TEST(CommandLineTest, VncOnATcpPortOnlyWhenAskedFor) {
    struct Case {
        std::vector<const char*> args;
        bool vncTcp;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {{"a.conf"}, false, {"a.conf"}},
        {{"--vnc-tcp", "a.conf"}, true, {"a.conf"}},
        {{"a.conf", "--vnc-tcp"}, true, {"a.conf"}},
        {{"--", "--vnc-tcp"}, false, {"--vnc-tcp"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        const Parsed parsed = Parse(c.args);
        EXPECT_FALSE(parsed.line.exit) << parsed.err;
        EXPECT_EQ(parsed.line.vncTcp, c.vncTcp);
        EXPECT_EQ(parsed.line.files, c.files);
    }
    EXPECT_NE(Parse({"--help"}).out.find("--vnc-tcp"), std::string::npos);
}

TEST(CommandLineTest, StartFilesAreImportedAsImportWould) {
    struct Case {
        const char* name;
        std::vector<std::string> files;
        std::vector<std::string> messages; // in order
        std::string currentPath;           // "" for Untitled
        std::string bytes;                 // the template as an 8-bit file afterwards
        const char* label;
    };
    const std::string sample = ReadBytes(Fixture("main-window-8bit.conf"));
    const std::string sampleLines = sample.substr(sample.find('\n') + 1);
    const std::string firstOnly = "cb56f6f4\r\n1,0,\"/vol/vol1/first\",0,\"D:(A;CIOI;0x1200a9;;;"
                                  "Everyone)\"\r\n";
    const std::vector<std::string> failing = {"Cannot parse this Mask.", "Invalid Account Name",
                                              "   Invalid File"};
    std::vector<std::string> failingThenMissing = failing;
    failingThenMissing.push_back("There is problem in opening this file.");
    const Case cases[] = {
        {"one file read whole becomes the current path, unchanged",
         {Fixture("main-window-8bit.conf")},
         {},
         Fixture("main-window-8bit.conf"),
         "",
         nullptr},
        {"one file read in part stays Untitled",
         {Fixture("main-window-third-line-fails.conf")},
         failing,
         "Untitled",
         firstOnly,
         "Untitled*"},
        {"one missing file stays Untitled",
         {Fixture("missing.conf")},
         {"There is problem in opening this file."},
         "Untitled",
         "cb56f6f4\r\n",
         "Untit&led"},
        {"two files append in order",
         {Fixture("main-window-unicode.conf"), Fixture("main-window-8bit.conf")},
         {},
         "Untitled",
         "",
         "Untitled*"},
        {"a failing line ends only its own file",
         {Fixture("main-window-third-line-fails.conf"), Fixture("missing.conf"),
          Fixture("main-window-header-only.conf")},
         failingThenMissing,
         "Untitled",
         firstOnly,
         "Untitled*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedHost host;
        PermoraDlg dlg;
        dlg.ImportAtStart(c.files);
        host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
            EXPECT_EQ(d.Document().Path(), c.currentPath);
            EXPECT_EQ(d.Text(IDC_FILE_LABEL), c.label ? c.label : c.currentPath);
            std::string expected = c.bytes;
            if (expected.empty()) {
                expected = sample;
                if (c.files.size() == 2)
                    expected += sampleLines;
            }
            EXPECT_EQ(permora::Encode8Bit(d.Document().Template()), expected);
            tk::test::Click(d, IDC_CLOSE);
        });
        // The window opens, then imports (and reports) before the user can act.
        for (const std::string& message : c.messages)
            host.ExpectMessage("Error", message);
        dlg.DoModal();
    }
}

} // namespace
