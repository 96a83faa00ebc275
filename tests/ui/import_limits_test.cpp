// A file with a line longer than the limit, opened at start or imported: the lines before it
// are kept and the window says that the file could not be read.

#include "resources/templates/permoradlg.h"
#include "support/files.h"
#include "support/scripted_host.h"
#include "template_file/decode_detail.h"
#include "template_file/template_file.h"
#include "ui/permoradlg.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace res::PermoraDlg;
using tk::test::ScriptedHost;

// The limit lowered for the test, and put back.
class LongLineTest : public ::testing::Test {
protected:
    LongLineTest() { permora::decode_detail::templateLine = 64; }
    ~LongLineTest() override { permora::decode_detail::templateLine = saved_; }

private:
    std::size_t saved_ = permora::decode_detail::templateLine;
};

TEST_F(LongLineTest, ReadingStopsThereAndTheWindowSaysSo) {
    const std::string first = "1,0,\"/vol/a\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)\"";
    tk::test::TempDir dir;
    const std::string path = dir.File("long.conf");
    tk::test::WriteBytes(path, "cb56f6f4\r\n" + first + "\r\n" + std::string(65, 'x') + "\r\n" +
                                   first + "\r\n");
    for (const bool atStart : {true, false}) {
        SCOPED_TRACE(atStart ? "at start" : "Import");
        ScriptedHost host;
        PermoraDlg dlg;
        if (atStart)
            dlg.ImportAtStart({path});
        host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
            if (!atStart) {
                host.ExpectFileDialog(path);
                host.ExpectMessage("Error", "There is problem in opening this file.");
                tk::test::Click(d, IDC_IMPORT);
            }
            EXPECT_EQ(d.Document().Path(), "Untitled");
            EXPECT_EQ(d.Text(IDC_FILE_LABEL), "Untitled*");
            EXPECT_EQ(permora::Encode8Bit(d.Document().Template()),
                      "cb56f6f4\r\n" + first + "\r\n");
            tk::test::Click(d, IDC_CLOSE);
        });
        if (atStart)
            host.ExpectMessage("Error", "There is problem in opening this file.");
        dlg.DoModal();
    }
}

} // namespace
