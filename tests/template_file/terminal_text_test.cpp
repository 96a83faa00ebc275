#include "template_file/terminal_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace permora {
namespace {

TEST(TerminalTextTest, EscapesControlsAndStrayBytes) {
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"plain LAB\\bob /vol/a\n", "plain LAB\\bob /vol/a\n"},
        {"tab\tstays", "tab\tstays"},
        {"\x1b[2J", "\\x1B[2J"},
        {"\x1b]0;title\x07", "\\x1B]0;title\\x07"},
        {"cr\rlf", "cr\\x0Dlf"},
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"del\x7f", "del\\x7F"},
        {"caf\xe9", "caf\\xE9"},                                  // Latin-1, not UTF-8
        {"caf\xc3\xa9 \xe2\x82\xac", "caf\xc3\xa9 \xe2\x82\xac"}, // UTF-8 stays
        {"\xc2\x9b"
         "2J",
         "\\xC2\\x9B2J"},                         // U+009B, a C1 control
        {"\xc3", "\\xC3"},                        // cut off
        {"\xed\xa0\x80", "\\xED\\xA0\\x80"},      // a surrogate
        {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"}, // beyond the first plane
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TerminalText(c.text), c.shown) << c.shown;
    }
}

TEST(TerminalTextTest, StreamEscapesWhatIsWrittenInPieces) {
    std::ostringstream to;
    {
        TerminalStream out(to);
        out << "caf\xc3";
        out << "\xa9 \x1b";
        out << "[2J\n" << 42 << " \xe9";
    }
    EXPECT_EQ(to.str(), "caf\xc3\xa9 \\x1B[2J\n42 \\xE9");
}

} // namespace
} // namespace permora
