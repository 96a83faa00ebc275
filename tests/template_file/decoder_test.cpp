#include "file_test_support.h"

#include <gtest/gtest.h>

namespace permora {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

using Numbered = std::vector<std::pair<std::int64_t, std::string>>;

// Feeds the bytes in blocks of the given size (0: all at once); the lines with their numbers.
Numbered NumberedInBlocks(const std::string& bytes, std::size_t blockSize) {
    Numbered lines;
    LineDecoder decoder([&lines](const std::string& line, std::int64_t number) {
        lines.emplace_back(number, line);
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

Lines DecodeInBlocks(const std::string& bytes, std::size_t blockSize) {
    Lines lines;
    for (auto& [number, line] : NumberedInBlocks(bytes, blockSize)) {
        lines.push_back(std::move(line));
    }
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
        {"zero bytes dropped, other bytes kept as read",
         "a\x00\x80"
         "b\xFF\xFE"
         "c\r\n\x00\x90\r\n"s,
         {"a\x80"
          "b\xFF\xFE"
          "c",
          "\x90"}},
        {"one byte that might begin a mark", "\xFF", {"\xFF"}},
        {"two bytes that are no mark",
         "\xFF"
         "a\r\n\xFE",
         {"\xFF"
          "a",
          "\xFE"}},
        {"UTF-8 mark, and U+FEFF anywhere in 8-bit text",
         "\xEF\xBB\xBF"
         "cb56f6f4\r\n\xEF\xBB\xBF\r\na\xEF\xBB\xBF"
         "b\xC3\xA9\r\n",
         {"ab\xC3\xA9"}},
        {"U+FEFF inside U+FEFF",
         "a\xEF\xBB\xEF\xBB\xBF\xBF"
         "b",
         {"ab"}},
        {"UTF-8 mark broken by a zero byte",
         "\xEF\x00\xBB\xBF"
         "a"s,
         {"a"}},
        {"UTF-16LE beyond ASCII",
         "\xFF\xFE"
         "a\x00\xE9\x00\r\x00\n\x00\xAC\x20\x3D\xD8\x00\xDE"s,
         {"a\xC3\xA9", "\xE2\x82\xAC\xF0\x9F\x98\x80"}},
        {"UTF-16BE beyond ASCII",
         "\xFE\xFF\x00"
         "a\x00\xE9\x00\r\x00\n\x20\xAC\xD8\x3D\xDE\x00"s,
         {"a\xC3\xA9", "\xE2\x82\xAC\xF0\x9F\x98\x80"}},
        {"lone surrogates",
         "\xFF\xFE\x3D\xD8"
         "a\x00\x00\xDE"
         "b\x00\x3D\xD8\r\x00\x3D\xD8"s,
         {"\xEF\xBF\xBD"
          "a\xEF\xBF\xBD"
          "b\xEF\xBF\xBD",
          "\xEF\xBF\xBD"}},
        {"UTF-16 zero unit and marks dropped, joined files read whole",
         "\xFF\xFE" + test::Widen("cb56f6f4\r\na") + "\x00\x00"s + test::Widen("b\r\n") +
             "\xFF\xFE" + test::Widen("cb56f6f4\r\nc\r\n"),
         {"ab", "c"}},
        {"UTF-16 end of data is a unit, not a byte",
         "\xFF\xFE"
         "a\x00\x1A\x30"
         "b\x00\x1A\x00"
         "c\x00"s,
         {"a\xE3\x80\x9A"
          "b"}},
        {"UTF-16 last odd byte ignored",
         "\xFF\xFE"
         "a\x00"
         "b"s,
         {"a"}},
        {"UTF-16 control characters kept",
         "\xFF\xFE\t\x00"
         "a\x00\x1B\x00"s,
         {"\ta\x1B"}},
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

// Each line comes with its number: every line end counts one (CR LF once), skipped lines
// included, whatever the encoding.
TEST(LineDecoder, NumbersLinesAsTheFileHasThem) {
    const std::string text = "cb56f6f4\r\na\r\n\r\nb\nc\rd\n\re\r\n\r\n\xEF\xBB\xBF\r\nf";
    const Numbered expected = {{2, "a"}, {4, "b"}, {5, "c"}, {6, "d"}, {8, "e"}, {11, "f"}};
    struct Case {
        const char* name;
        std::string bytes;
        Numbered lines;
    };
    const Case cases[] = {
        {"8-bit", text, expected},
        {"UTF-16LE",
         "\xFF\xFE" + test::Widen("cb56f6f4\r\na\r\n\r\nb\nc\rd\n\re\r\n\r\n") +
             "\xFF\xFE\r\x00\n\x00"
             "f\x00"s,
         expected},
        {"UTF-16LE without a mark", test::Widen("x\r\ny\r\n\r\nz"), {{1, "x"}, {2, "y"}, {4, "z"}}},
        {"zero unit and mark between CR and LF",
         "\xFF\xFE"
         "x\x00\r\x00\x00\x00\xFF\xFE\n\x00y\x00"s,
         {{1, "x"}, {2, "y"}}},
    };
    for (const Case& c : cases) {
        for (const std::size_t blockSize : {0u, 1u, 5u}) {
            SCOPED_TRACE(std::string(c.name) + ", blocks of " + std::to_string(blockSize));
            EXPECT_EQ(NumberedInBlocks(c.bytes, blockSize), c.lines);
        }
    }
}

TEST(LineDecoder, CrLfSplitAcrossBlocksIsOneLineEnd) {
    Lines lines;
    LineDecoder decoder([&lines](const std::string& line, std::int64_t) {
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
    LineDecoder decoder([&lines](const std::string& line, std::int64_t) {
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
    LineDecoder last([&lines](const std::string& line, std::int64_t) {
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
        LineDecoder decoder([&out](const std::string& line, std::int64_t) {
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
