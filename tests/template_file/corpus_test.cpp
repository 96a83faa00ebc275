// Descriptor texts from other programs, wrapped into target lines: each line reads without
// harm and either succeeds or says why it failed. A shape of each kind is written by hand
// (tests/fixtures); the public corpus, when it is beside the repository, adds many more.

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

struct Shape {
    bool reads;
    std::string text;
};

// tests/fixtures/descriptor-shapes.tsv: "read" or "fails", a tab, the descriptor text.
std::vector<Shape> HandWrittenShapes() {
    std::vector<Shape> shapes;
    std::ifstream in(PERMORA_FIXTURES_DIR "/descriptor-shapes.tsv");
    std::string row;
    while (std::getline(in, row)) {
        const std::size_t tab = row.find('\t');
        if (row.starts_with('#') || tab == std::string::npos) {
            continue;
        }
        shapes.push_back({row.substr(0, tab) == "read", row.substr(tab + 1)});
    }
    return shapes;
}

// One shape of each kind the public corpus holds, written by hand, so that the reader meets
// them all when the corpus is not there: each reads without harm, and reads or fails as
// the fixture says.
TEST(HandWrittenDescriptors, ReadWithoutHarm) {
    const std::vector<Shape> shapes = HandWrittenShapes();
    ASSERT_FALSE(shapes.empty()) << "no shapes in " PERMORA_FIXTURES_DIR;
    for (const Shape& shape : shapes) {
        EXPECT_EQ(ReadEachWithoutHarm({shape.text}), shape.reads ? 1 : 0) << shape.text;
    }
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
