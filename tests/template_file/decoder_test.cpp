#include "file_test_support.h"

#include <gtest/gtest.h>

namespace permora {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// Feeds the bytes in blocks of the given size (0: all at once).
Lines DecodeInBlocks(const std::string& bytes, std::size_t blockSize) {
    Lines lines;
    LineDecoder decoder([&lines](const std::string& line) {
        lines.push_back(line);
        return true;
    });
    if (blockSize == 0) {
        decoder.Feed(bytes.data(), bytes.size());
    } else {
        for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
            if (!decoder.Feed(bytes.data() + at, std::min(blockSize, bytes.size() - at))) {
                break;
            }
        }
    }
    EXPECT_TRUE(decoder.Finish());
    return lines;
}

std::string BigEndian(const std::string& text) {
    std::string out = "\xFE\xFF"s;
    for (const char c : text) {
        out.push_back('\0');
        out.push_back(c);
    }
    return out;
}

TEST(LineDecoder, TurnsBytesIntoLinesInBlocksOfAnySize) {
    const std::string text = "cb56f6f4\r\n1,0,\"/vol/a\",0,\"D:\"\r\n1,1,\"/vol/b\",0,\"\"\r\n";
    const Lines both = {"1,0,\"/vol/a\",0,\"D:\"", "1,1,\"/vol/b\",0,\"\""};
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"8-bit file", text, both},
        {"UTF-16LE file", "\xFF\xFE"s + test::Widen(text), both},
        {"UTF-16BE file", BigEndian(text), both},
        {"empty", "", {}},
        {"header only", "cb56f6f4\r\n", {}},
        {"header without line end", "cb56f6f4", {}},
        {"line ends", "a\rb\nc\r\nd\n\re", {"a", "b", "c", "d", "e"}},
        {"empty lines", "\r\n\r\n\n\r\ra\r\r\n\n", {"a"}},
        {"last line without line end", "a\r\nb", {"a", "b"}},
        {"header lines anywhere, with case",
         "a\ncb56f6f4\nCB56F6F4\ncb56f6f4x\nb",
         {"a", "CB56F6F4", "cb56f6f4x", "b"}},
        {"end of data",
         "a\r\nb\x1A"
         "c\r\nd\r\n",
         {"a", "b"}},
        {"end of data first",
         "\x1A"
         "a\r\n",
         {}},
        {"zero and high bytes dropped",
         "a\x00\x80"
         "b\xFF\xFE"
         "c\r\n\x00\x90\r\n"s,
         {"abc"}},
        {"byte-order mark only at the start",
         "\xFF\xFE"
         "a\xFF\xFE"
         "b",
         {"ab"}},
        {"control characters kept", "a\tb\x01\x1B\r\n", {"a\tb\x01\x1B"}},
    };
    for (const Case& c : cases) {
        for (const std::size_t blockSize : {0u, 1u, 2u, 3u, 7u}) {
            SCOPED_TRACE(std::string(c.name) + ", blocks of " + std::to_string(blockSize));
            EXPECT_EQ(DecodeInBlocks(c.bytes, blockSize), c.lines);
        }
        EXPECT_EQ(DecodeLines(c.bytes), c.lines) << c.name;
    }
}

TEST(LineDecoder, CrLfSplitAcrossBlocksIsOneLineEnd) {
    Lines lines;
    LineDecoder decoder([&lines](const std::string& line) {
        lines.push_back(line);
        return true;
    });
    EXPECT_TRUE(decoder.Feed("ab\r", 3));
    EXPECT_TRUE(decoder.Feed("\ncd\r", 4));
    EXPECT_TRUE(decoder.Feed("\n", 1));
    EXPECT_TRUE(decoder.Finish());
    EXPECT_EQ(lines, (Lines{"ab", "cd"}));
}

TEST(LineDecoder, StopsWhenALineAsksToStop) {
    Lines lines;
    LineDecoder decoder([&lines](const std::string& line) {
        lines.push_back(line);
        return line != "stop";
    });
    EXPECT_TRUE(decoder.Feed("a\r\nst", 6));
    EXPECT_FALSE(decoder.Feed("op\r\nb\r\nc", 9));
    EXPECT_FALSE(decoder.Feed("d\r\n", 3));
    EXPECT_FALSE(decoder.Finish());
    EXPECT_EQ(lines, (Lines{"a", "stop"}));

    // A last line without a line end may ask to stop too.
    lines.clear();
    LineDecoder last([&lines](const std::string& line) {
        lines.push_back(line);
        return false;
    });
    EXPECT_TRUE(last.Feed("x", 1));
    EXPECT_FALSE(last.Finish());
    EXPECT_EQ(lines, (Lines{"x"}));
}

TEST(LineDecoder, EndOfDataEndsFeeding) {
    const Lines lines = [] {
        Lines out;
        LineDecoder decoder([&out](const std::string& line) {
            out.push_back(line);
            return true;
        });
        EXPECT_FALSE(decoder.Feed("a\x1A", 2));
        EXPECT_FALSE(decoder.Feed("b\r\n", 3));
        EXPECT_TRUE(decoder.Finish());
        return out;
    }();
    EXPECT_EQ(lines, (Lines{"a"}));
}

} // namespace
} // namespace permora
