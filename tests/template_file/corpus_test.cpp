// Descriptor texts from other programs' test suites, wrapped into target lines: each line
// reads without harm and either succeeds or says why it failed.

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

TEST(PublicDescriptors, ReadWithoutHarm) {
    const std::vector<std::string> texts = PublicDescriptorTexts();
    if (texts.empty()) {
        GTEST_SKIP() << "no corpus at " PERMORA_CORPUS_DIR;
    }
    int read = 0;
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const std::string line = "1,0,\"/vol/vol1/qt1\",0,\"" + text + "\"";
        SecurityTemplate tmpl;
        test::Messages messages;
        for (const std::string& decoded : DecodeLines(line + "\r\n")) {
            auto target = test::FreshTarget();
            const int result = ReadTargetLine(decoded, *target, messages.Sink());
            if (result == 0) {
                ++read;
                // What was read can be written and read again.
                auto again = test::FreshTarget();
                const std::string written = target->ToLine();
                EXPECT_EQ(ReadTargetLine(written, *again, {}), 0) << written;
                EXPECT_EQ(again->ToLine(), written);
            } else {
                EXPECT_EQ(result, 1);
                EXPECT_FALSE(messages.texts.empty());
            }
        }
    }
    EXPECT_GT(read, 0);
}

} // namespace
} // namespace permora
