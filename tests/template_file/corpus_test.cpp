// Descriptor texts from other programs, wrapped into target lines: each line reads without
// harm and either succeeds or says why it failed. A few shapes are written here by hand;
// the public corpus, when it is beside the repository, adds thousands more.

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace permora {
namespace {

std::vector<std::string> PublicDescriptorTexts() {
    std::vector<std::string> texts;
    std::ifstream in(PERMORA_CORPUS_DIR "/public-sddl.tsv");
    std::string row;
    bool header = true;
    while (std::getline(in, row)) {
        if (header) {
            header = false;
            continue;
        }
        std::istringstream fields(row);
        std::string column;
        for (int i = 0; i < 3 && std::getline(fields, column, '\t'); ++i) {
        }
        texts.push_back(column);
    }
    return texts;
}

// Reads each text as the descriptor of a target line; returns how many were read.
int ReadEachWithoutHarm(const std::vector<std::string>& texts) {
    int read = 0;
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const std::string line = "1,0,\"/vol/vol1/qt1\",0,\"" + text + "\"";
        test::Messages messages;
        for (const std::string& decoded : DecodeLines(line + "\r\n")) {
            auto target = test::FreshTarget();
            const ReadStatus result = ReadTargetLine(decoded, *target, messages.Sink());
            if (result == ReadStatus::Read) {
                ++read;
                // What was read can be written and read again.
                auto again = test::FreshTarget();
                const std::string written = ToLine(*target);
                EXPECT_EQ(ReadTargetLine(written, *again, {}), ReadStatus::Read) << written;
                EXPECT_EQ(ToLine(*again), written);
            } else {
                EXPECT_FALSE(messages.texts.empty());
            }
        }
    }
    return read;
}

// The shapes other tools write: owners and groups, SID strings, right codes and masks,
// object and conditional entries, the D part first, list marks, text cut short.
TEST(HandWrittenDescriptors, ReadWithoutHarm) {
    const std::vector<std::string> texts = {
        "O:BAG:SYD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICIIO;GA;;;CO)S:AI(AU;SA;FA;;;WD)",
        "D:(A;;CC;;;BA)(A;;RPWPCRCCDCLCLORCWOWDSDDTSW;;;SY)(A;;RPLCLORC;;;AU)",
        "D:P(A;OICI;0x1200a9;;;WD)(D;;0x116;;;S-1-5-21-1004336348-1177238915-682003330-512)",
        "D:(OA;;CR;1131f6aa-9c07-11d1-f79f-00c04fc2dcd2;;ED)",
        "D:(XA;;FX;;;S-1-1-0;(@User.Title==\"PM\"))",
        "S:(ML;;NW;;;LW)",
        "D:AI(A;ID;FA;;;SY)(A;CIOIID;0x1301bf;;;AU)",
        "D:NO_ACCESS_CONTROL",
        "D:(A;;FA;;;WD",
        "D:(A;;0xZZ;;;WD)",
        "D:(A;;FA;;;)",
        "",
        "S:",
        "d:pai(a;oici;fa;;;sy)",
    };
    EXPECT_GT(ReadEachWithoutHarm(texts), 0);
}

TEST(PublicDescriptors, ReadWithoutHarm) {
    const std::vector<std::string> texts = PublicDescriptorTexts();
    if (texts.empty()) {
        // ctest shows this test as skipped, not passed.
        GTEST_SKIP() << "no corpus at " PERMORA_CORPUS_DIR;
    }
    EXPECT_GT(ReadEachWithoutHarm(texts), 0);
}

} // namespace
} // namespace permora
