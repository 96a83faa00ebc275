// permora-cli convert writes, byte for byte, what the window's Import then Save Unicode and
// Save UTF8 write for the same files.

#include "cli/cli.h"
#include "resources/templates/permoradlg.h"
#include "support/files.h"
#include "support/scripted_host.h"
#include "ui/permoradlg.h"
#include "ui/toolkit/modal_host.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace res::PermoraDlg;
using tk::test::ReadBytes;
using tk::test::ScriptedHost;
using tk::test::TempDir;
using tk::test::WriteBytes;

std::string Fixture(const std::string& name) {
    return std::string(PERMORA_FIXTURES_DIR) + "/" + name;
}

struct Written {
    std::string unicode;
    std::string eightBit;
};

// Import each file through the window, in order, then Save Unicode and Save UTF8.
Written ThroughTheWindow(const std::vector<std::string>& inputs,
                         const std::vector<std::vector<std::string>>& messages,
                         const TempDir& dir) {
    ScriptedHost host;
    Written written;
    const std::string saved = dir.File("window.conf");
    PermoraDlg dlg;
    host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
        host.ExpectFileDialog(saved);
        tk::test::Click(d, IDC_NEW);
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            host.ExpectFileDialog(inputs[i]);
            for (const std::string& text : messages[i])
                host.ExpectMessage("Error", text);
            tk::test::Click(d, IDC_IMPORT);
        }
        d.Document().MarkChanged(); // a failing first import leaves the save buttons as they were
        host.ExpectMessage("Confirm", "Do you want to overwrite  " + saved + "?", tk::IDYES);
        tk::test::Click(d, IDC_SAVE_UNICODE);
        written.unicode = ReadBytes(saved);
        host.ExpectMessage("Confirm", "Do you want to overwrite " + saved + "?", tk::IDYES);
        tk::test::Click(d, IDC_SAVE_UTF8);
        written.eightBit = ReadBytes(saved);
        tk::test::Click(d, IDC_CLOSE);
    });
    dlg.DoModal();
    EXPECT_TRUE(host.Done());
    return written;
}

std::string ThroughTheCli(const std::vector<std::string>& inputs, const std::string& output,
                          const char* encoding, int status) {
    std::vector<std::string> args{"permora-cli", "convert", "--keep-going", encoding, "-o", output};
    args.insert(args.end(), inputs.begin(), inputs.end());
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(permora::cli::Run(static_cast<int>(argv.size()), argv.data(), in, out, err), status)
        << err.str();
    return ReadBytes(output);
}

TEST(CliParityTest, ConvertWritesWhatTheWindowSaves) {
    TempDir dir;
    // Merges, flags out of order, upper-case digits, marks that are never written, a line
    // without a line end, an end-of-data byte, and blank and header lines in between.
    const std::string rough = dir.File("rough.conf");
    WriteBytes(rough,
               "cb56f6f4\n\n1,1,\"/vol/r\",4,\"S:AI(AU;SA;0x1;;;a)(AU;CIOIFA;0x1;;;a)D:PAI"
               "(A;OICI;0x1F01FF;;;LAB\\x)(A;CI;0x1;;;lab\\X)(D;CI;0x1;;;x)\"\r\r\ncb56f6f4\r\n"
               "2,0,\"/vol/nfs\",0,\"D:(A;CI;0x1;;;Everyone)\"\n"
               "1,0,\"/vol/last\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)\"\x1A"
               "1,0,\"/vol/never\",0,\"\"\n");
    const struct {
        const char* name;
        std::vector<std::string> inputs;
        std::vector<std::vector<std::string>> messages; // per input, as the window shows them
        int status;
    } cases[] = {
        {"editor example", {Fixture("example-8bit.conf")}, {{}}, 0},
        {"both encodings and big-endian, one after the other",
         {Fixture("main-window-unicode.conf"), Fixture("main-window-bigendian.conf"),
          Fixture("advanced-import.conf")},
         {{}, {}, {}},
         0},
        {"a rough file", {rough}, {{}}, 0},
        {"a failing line keeps what came before it",
         {Fixture("example-unicode.conf"), Fixture("main-window-third-line-fails.conf"),
          Fixture("main-window-8bit.conf")},
         {{}, {"Cannot parse this Mask.", "Invalid Account Name", "   Invalid File"}, {}},
         1},
        {"nothing but a header", {Fixture("main-window-header-only.conf")}, {{}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Written window = ThroughTheWindow(c.inputs, c.messages, dir);
        ASSERT_EQ(window.unicode.substr(0, 2), "\xFF\xFE");
        ASSERT_EQ(window.eightBit.substr(0, 10), "cb56f6f4\r\n");
        EXPECT_EQ(ThroughTheCli(c.inputs, dir.File("cli16.conf"), "--utf16", c.status),
                  window.unicode);
        EXPECT_EQ(ThroughTheCli(c.inputs, dir.File("cli8.conf"), "--8bit", c.status),
                  window.eightBit);
    }
}

} // namespace
