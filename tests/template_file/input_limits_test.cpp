// Input without end: lines longer than the limit stop the reading, streams are read a block at
// a time, line numbers go past a 32-bit count, and what the decoding changes is told.

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <istream>
#include <limits>
#include <sstream>

namespace permora {
namespace {

using namespace std::string_literals;
using Numbered = std::vector<std::pair<std::int64_t, std::string>>;

struct Decoded {
    std::vector<std::string> lines;
    Numbered warnings;
    bool finished = false; // what Finish returned
    bool tooLong = false;
    std::int64_t line = 0; // the decoder's line number at the end
};

// Feeds the bytes in blocks of the given size (0: all at once), as long as the decoder asks.
Decoded Decode(const std::string& bytes, std::size_t blockSize, std::size_t maxLine) {
    Decoded d;
    LineDecoder decoder(
        [&d](const std::string& line, std::int64_t) {
            d.lines.push_back(line);
            return true;
        },
        maxLine);
    decoder.OnWarning([&d](std::int64_t line, const std::string& warning) {
        d.warnings.emplace_back(line, warning);
    });
    const std::size_t step = blockSize == 0 ? std::max<std::size_t>(bytes.size(), 1) : blockSize;
    for (std::size_t at = 0; at < bytes.size(); at += step) {
        if (!decoder.Feed(bytes.data() + at, std::min(step, bytes.size() - at))) {
            break;
        }
    }
    d.finished = decoder.Finish();
    d.tooLong = decoder.TooLong();
    d.line = decoder.LineNumber();
    return d;
}

TEST(InputLimits, ALineLongerThanTheLimitStopsTheDecoding) {
    constexpr std::size_t kLimit = 8;
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines; // delivered before the decoding stopped
        std::int64_t tooLongAt;         // 0: every line fits
    };
    const Case cases[] = {
        {"lines of the limit fit", "cb56f6f4\r\n12345678\r\n12345678", {"12345678", "12345678"}, 0},
        {"one byte more does not", "ab\r\n123456789\r\ncd", {"ab"}, 2},
        {"zero bytes count", "ab\r\n1234\0\0\0\0\0\r\n"s, {"ab"}, 2},
        {"a run of zero bytes alone", std::string(9, '\0'), {}, 1},
        {"the UTF-8 mark counts its bytes", "a\r\n\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF", {"a"}, 2},
        {"UTF-16 text", "\xFF\xFE" + test::Widen("ab\r\n123456789"), {"ab"}, 2},
        {"UTF-16 zero units count",
         "\xFF\xFE" + test::Widen("ab\r\n") + std::string(18, '\0'),
         {"ab"},
         2},
        {"U+FEFF counts",
         "\xFF\xFE" + test::Widen("ab\r\n") +
             "\xFF\xFE\xFF\xFE\xFF\xFE\xFF\xFE"
             "\xFF\xFE\xFF\xFE\xFF\xFE\xFF\xFE"
             "\xFF\xFE",
         {"ab"},
         2},
        {"characters beyond ASCII count as held",
         "\xFF\xFE\xE9\x00\xE9\x00\xE9\x00\xE9\x00\xE9\x00"s,
         {},
         1},
    };
    for (const Case& c : cases) {
        for (const std::size_t blockSize : {0u, 1u, 3u}) {
            SCOPED_TRACE(std::string(c.name) + ", blocks of " + std::to_string(blockSize));
            const Decoded d = Decode(c.bytes, blockSize, kLimit);
            EXPECT_EQ(d.lines, c.lines);
            EXPECT_EQ(d.tooLong, c.tooLongAt != 0);
            EXPECT_EQ(d.finished, c.tooLongAt == 0);
            if (c.tooLongAt != 0) {
                EXPECT_EQ(d.line, c.tooLongAt);
            }
        }
    }
}

TEST(InputLimits, LimitsAndTheirNames) {
    EXPECT_EQ(SizeText(kMaxTemplateLine), "1 GiB");
    EXPECT_EQ(SizeText(kMaxPathListLine), "64 KiB");
    EXPECT_EQ(SizeText(1000), "1000 bytes");
    EXPECT_EQ(SizeText(1), "1 byte");
}

// A stream is read a block at a time; one without end, of characters that are dropped or
// of one line, ends at the limit, having taken no more than the limit's characters (two bytes
// each in UTF-16) and a block from the stream.
TEST(InputLimits, AStreamWithoutEndEndsAtTheLimit) {
    test::DecodeLimits limits;
    limits.TemplateLine(100000);
    for (const std::string& pattern : {"\0"s, "\xFF\xFE"s, "a"s, "\xFF\xFE\0\0"s}) {
        SCOPED_TRACE(testing::PrintToString(pattern));
        test::EndlessBuffer endless(pattern);
        std::istream in(&endless);
        SecurityTemplate tmpl;
        const ImportOutcome outcome = ImportStream(in, tmpl, ImportReport{});
        EXPECT_TRUE(outcome.tooLong);
        EXPECT_EQ(outcome.tooLongLine, 1);
        EXPECT_TRUE(outcome.readFailed);
        EXPECT_FALSE(outcome.complete);
        EXPECT_LT(endless.Given(), 2 * 100000u + (std::size_t{64} << 10) + 8192u);
    }
}

// The lines before the long one stay read, from bytes, a stream and a file alike.
TEST(InputLimits, TheImportKeepsTheLinesBeforeALongLine) {
    test::DecodeLimits limits;
    limits.TemplateLine(40);
    const std::string text = "cb56f6f4\r\n1,0,\"/vol/a\",0,\"D:\"\r\n"
                             "1,0,\"/vol/bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb\",0,\"D:\"\r\n"
                             "1,0,\"/vol/c\",0,\"D:\"\r\n";
    const std::string path = ::testing::TempDir() + "/long-line.conf";
    test::WriteBytes(path, text);
    for (const int from : {0, 1, 2}) {
        SCOPED_TRACE(from);
        SecurityTemplate tmpl;
        std::istringstream in(text);
        const ImportOutcome outcome = from == 0   ? ImportBytes(text, tmpl, ImportReport{})
                                      : from == 1 ? ImportStream(in, tmpl, ImportReport{})
                                                  : ImportTemplate(path, tmpl, ImportReport{});
        EXPECT_TRUE(outcome.opened);
        EXPECT_TRUE(outcome.tooLong);
        EXPECT_EQ(outcome.tooLongLine, 3);
        EXPECT_FALSE(outcome.complete);
        EXPECT_EQ(outcome.appended, 1);
        EXPECT_EQ(test::TemplateLines(tmpl), (std::vector<std::string>{"1,0,\"/vol/a\",0,\"D:\""}));
    }
    std::remove(path.c_str());
}

// Line numbers are counted in 64 bits: past 2^31 lines, messages and warnings still say
// where they belong.
TEST(InputLimits, LineNumbersGoPastA32BitCount) {
    test::DecodeLimits limits;
    constexpr std::int64_t kFirst = std::numeric_limits<std::int32_t>::max() - 1;
    limits.FirstLine(kFirst);
    const std::string text = "cb56f6f4\r\n"
                             "1,0,\"/vol/a\",0,\"D:AI(A;CI;0x1;;;x)\"\r\n"
                             "\r\n"
                             "1,0,\"/vol/b\",0,\"D:(Q;CI;0x1;;;x)\"\r\n";
    SecurityTemplate tmpl;
    Numbered messages;
    Numbered warnings;
    ImportReport report;
    report.message = [&](std::int64_t line, const std::string& m) {
        messages.emplace_back(line, m);
    };
    report.warning = [&](std::int64_t line, const std::string& w) {
        warnings.emplace_back(line, w);
    };
    ImportBytes(text, tmpl, report);
    EXPECT_EQ(warnings, (Numbered{{kFirst + 1, "mark AI of D: is not saved"}}));
    EXPECT_EQ(messages, (Numbered{{kFirst + 3, "Wrong ace type."}}));
    EXPECT_GT(messages.front().first, std::int64_t{std::numeric_limits<std::int32_t>::max()});
}

// What the decoding changes comes with the number of its line: a lone surrogate, which a save
// writes as U+FFFD, and data after U+001A, which is never read. U+001A that ends the input
// says nothing.
TEST(DecoderWarnings, LoneSurrogatesAndDataAfterTheEndOfData) {
    const std::string high = "lone surrogate U+D83D is saved as U+FFFD";
    const std::string low = "lone surrogate U+DE00 is saved as U+FFFD";
    const std::string after = "data after U+001A is not saved";
    struct Case {
        const char* name;
        std::string bytes;
        Numbered warnings;
    };
    const Case cases[] = {
        {"a pair is no warning", "\xFF\xFE\x3D\xD8\x00\xDE"s, {}},
        {"high before a letter",
         "\xFF\xFE\x3D\xD8"
         "a\x00"s,
         {{1, high}}},
        {"low alone, on line 2", "\xFF\xFE" + test::Widen("a\r\n") + "\x00\xDE"s, {{2, low}}},
        {"high before a line end", "\xFF\xFE\x3D\xD8\r\x00\n\x00"s, {{1, high}}},
        {"high at the end", "\xFF\xFE" + test::Widen("a\r\nb") + "\x3D\xD8"s, {{2, high}}},
        {"big-endian",
         "\xFE\xFF\xD8\x3D\x00"
         "a"s,
         {{1, high}}},
        {"8-bit data after U+001A",
         "a\r\nb\x1A"
         "c",
         {{2, after}}},
        {"8-bit line ends after U+001A", "a\x1A\r\n", {{1, after}}},
        {"8-bit U+001A last", "a\r\nb\x1A", {}},
        {"UTF-16 data after U+001A",
         "\xFF\xFE" + test::Widen("a\r\nb\x1A"
                                  "c"),
         {{2, after}}},
        {"UTF-16 odd byte after U+001A", "\xFF\xFE" + test::Widen("a\x1A") + "c", {{1, after}}},
        {"UTF-16 U+001A last", "\xFF\xFE" + test::Widen("a\x1A"), {}},
    };
    for (const Case& c : cases) {
        for (const std::size_t blockSize : {0u, 1u, 2u, 3u}) {
            SCOPED_TRACE(std::string(c.name) + ", blocks of " + std::to_string(blockSize));
            const Decoded d = Decode(c.bytes, blockSize, kMaxTemplateLine);
            EXPECT_EQ(d.warnings, c.warnings);
            EXPECT_EQ(d.lines, DecodeLines(c.bytes));
        }
    }
}

// check --strict counts on the import to say all a save would change: the decoding's
// warnings come with the reader's, on the lines of targets kept, and a descriptor cut short
// before its closing quote is told as well.
TEST(DecoderWarnings, TheImportTellsThemWithTheReadersWarnings) {
    const std::string text =
        "\xFF\xFE" + test::Widen("cb56f6f4\r\n2,0,\"/vol/nfs\",0,\"owner:") + "\x3D\xD8"s +
        test::Widen(":rwx\"\r\n1,0,\"/vol/b\",0,\"D:AI(A;CI;0x1;;;y)\x1A") + "junk"s;
    const std::string cut = "the line ends before the closing quote of its descriptor: the file "
                            "may have been cut short";
    SecurityTemplate tmpl;
    Numbered warnings;
    ImportReport report;
    report.message = [](std::int64_t, const std::string& m) { ADD_FAILURE() << m; };
    report.warning = [&](std::int64_t line, const std::string& w) {
        warnings.emplace_back(line, w);
    };
    const ImportOutcome outcome = ImportBytes(text, tmpl, report);
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.appended, 2);
    EXPECT_EQ(warnings, (Numbered{{2, "lone surrogate U+D83D is saved as U+FFFD"},
                                  {3, cut},
                                  {3, "mark AI of D: is not saved"},
                                  {3, "data after U+001A is not saved"}}));
    EXPECT_TRUE(WarningChangesMeaning(warnings[0].second));
    EXPECT_FALSE(WarningChangesMeaning(cut));
    EXPECT_TRUE(WarningChangesMeaning(warnings[3].second));

    // A line that fails says nothing of what the decoding changed in it.
    const std::string failing =
        "\xFF\xFE" + test::Widen("1,0,\"/vol/a\",0,\"D:(Q;;0x1;;;x)") + "\x3D\xD8"s;
    warnings.clear();
    report.message = {};
    EXPECT_FALSE(ImportBytes(failing, tmpl, report).complete);
    EXPECT_TRUE(warnings.empty());

    // A closed quote, or a line of another style (written back as it was read), says nothing.
    for (const std::string line : {"1,0,\"/vol/a\",0,\"D:\"", "2,0,\"/vol/a\",0,\"x"}) {
        warnings.clear();
        EXPECT_TRUE(ImportBytes(line, tmpl, report).complete);
        EXPECT_TRUE(warnings.empty()) << line;
    }
}

struct Listed {
    Numbered lines;
    ListOutcome outcome;
};

Listed List(std::istream& in, std::size_t maxLine) {
    Listed listed;
    listed.outcome = ReadListLines(
        in,
        [&listed](const std::string& line, std::int64_t number) {
            listed.lines.emplace_back(number, line);
            return true;
        },
        maxLine);
    return listed;
}

Listed List(const std::string& bytes, std::size_t maxLine) {
    std::istringstream in(bytes);
    return List(in, maxLine);
}

// A list's lines come as they stand in 8-bit text, decoded from UTF-16, each with its
// number.
TEST(ListLines, AsTheyStandOrDecodedFromUtf16) {
    const std::string wide(65535, 'x'); // its CR ends the first block of the stream, its LF
                                        // begins the second
    struct Case {
        const char* name;
        std::string bytes;
        Numbered lines;
    };
    const Case cases[] = {
        {"line ends", "a\rb\nc\r\nd", {{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}}},
        {"empty lines and zero bytes kept", "\r\n\0x\r\n\r\n"s, {{1, ""}, {2, "\0x"s}, {3, ""}}},
        {"a UTF-8 mark kept", "\xEF\xBB\xBF/vol/a", {{1, "\xEF\xBB\xBF/vol/a"}}},
        {"UTF-16LE",
         "\xFF\xFE" + test::Widen("/vol/a\r\n\r\n/vol/\xE9"),
         {{1, "/vol/a"}, {3, "/vol/\xC3\xA9"}}},
        {"UTF-16BE", "\xFE\xFF\0/\0a\0\n\0b"s, {{1, "/a"}, {2, "b"}}},
        {"CR LF across blocks", wide + "\r\nb", {{1, wide}, {2, "b"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Listed listed = List(c.bytes, kMaxPathListLine);
        EXPECT_EQ(listed.lines, c.lines);
        EXPECT_FALSE(listed.outcome.tooLong);
        EXPECT_FALSE(listed.outcome.readFailed);
    }
}

TEST(ListLines, ALineLongerThanTheLimitEndsTheReading) {
    struct Case {
        const char* name;
        std::string bytes;
        Numbered lines;
        std::int64_t tooLongAt;
    };
    const Case cases[] = {
        {"8-bit", "12345678\r\n123456789\r\nx", {{1, "12345678"}}, 2},
        {"8-bit zero bytes", "a\n"s + std::string(9, '\0'), {{1, "a"}}, 2},
        {"UTF-16", "\xFF\xFE" + test::Widen("a\n123456789"), {{1, "a"}}, 2},
        {"UTF-16 zero units", "\xFF\xFE" + std::string(18, '\0'), {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Listed listed = List(c.bytes, 8);
        EXPECT_EQ(listed.lines, c.lines);
        EXPECT_TRUE(listed.outcome.tooLong);
        EXPECT_EQ(listed.outcome.tooLongLine, c.tooLongAt);
    }

    // A list without end, /dev/zero or one endless line, ends at the limit, a test's or 64 KiB.
    test::DecodeLimits limits;
    for (const std::size_t limit : {std::size_t{1000}, kMaxPathListLine}) {
        limits.PathListLine(limit);
        for (const std::string& pattern : {"\0"s, "/vol/a"s, "\xFF\xFE"s}) {
            SCOPED_TRACE(std::to_string(limit) + testing::PrintToString(pattern));
            test::EndlessBuffer endless(pattern);
            std::istream in(&endless);
            const ListOutcome outcome =
                ReadListLines(in, [](const std::string&, std::int64_t) { return true; });
            EXPECT_TRUE(outcome.tooLong);
            EXPECT_LT(endless.Given(), 2 * limit + (std::size_t{64} << 10) + 8192u);
        }
    }
}

} // namespace
} // namespace permora
