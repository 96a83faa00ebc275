#include "file_test_support.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>
#include <vector>

namespace permora {
namespace {

using test::EmptyTarget;
using test::Entry;

TEST(EntryText, WritesTypeFlagsMaskAndAccount) {
    struct Case {
        std::uint8_t type;
        std::uint8_t flags;
        std::uint32_t mask;
        const char* account;
        const char* text;
    };
    const Case cases[] = {
        {kAllowType, 0x03, 0x1200A9, "Everyone", "(A;CIOI;0x1200a9;;;Everyone)"},
        {kAuditType, 0xC3, 0x200A9, "Everyone", "(AU;CIOISAFA;0x200a9;;;Everyone)"},
        {kDenyType, 0x03, 0x1F01FF, "LAB\\guest", "(D;CIOI;0x1f01ff;;;LAB\\guest)"},
        {kAllowType, 0x00, 0x1, "x", "(A;;0x1;;;x)"},
        {kAllowType, 0x04, 0x0, "x", "(A;NP;0x0;;;x)"},
        {kAllowType, 0x0F, 0x80000000, "x", "(A;NPCIOIIO;0x80000000;;;x)"},
        {kAllowType, 0x0B, 0xFFFFFFFF, "x", "(A;CIOIIO;0xffffffff;;;x)"},
        {kAuditType, 0x40, 0x10, "x", "(AU;SA;0x10;;;x)"},
        {kAuditType, 0x80, 0x10, "x", "(AU;FA;0x10;;;x)"},
        {kAuditType, 0xFF, 0x10, "x", "(AU;NPCIOIIOSAFA;0x10;;;x)"}, // 0x10 and 0x20 unwritten
        {kAllowType, 0x30, 0xABCDEF, "x", "(A;;0xabcdef;;;x)"},
    };
    for (const Case& c : cases) {
        const Ace entry(c.account, c.mask, c.type, c.flags);
        EXPECT_EQ(ToSddl(entry), c.text);
    }
}

TEST(EntryText, ListConcatenatesFromHeadToTail) {
    AceList list;
    EXPECT_EQ(ToSddl(list), "");
    list.Add(Entry("a", kAllowType, 0x03, 0x1));
    list.Add(Entry("b", kAllowType, 0x01, 0x2));
    list.Add(Entry("a", kAllowType, 0x04, 0x4)); // placed after a's run
    EXPECT_EQ(ToSddl(list), "(A;CIOI;0x1;;;a)(A;NP;0x4;;;a)(A;OI;0x2;;;b)");
}

TEST(TargetLine, WritesPartsInOrderWithTheirControlLetters) {
    struct Case {
        std::uint16_t control;
        const char* descriptor;
    };
    const Case cases[] = {
        {0, ""},
        {SE_DACL_PRESENT, "D:(D;CI;0x2;;;y)(A;CI;0x1;;;x)"},
        {SE_SACL_PRESENT, "S:(AU;SA;0x4;;;z)"},
        {SE_SACL_PRESENT | SE_DACL_PRESENT, "S:(AU;SA;0x4;;;z)D:(D;CI;0x2;;;y)(A;CI;0x1;;;x)"},
        {SE_SACL_PRESENT | SE_DACL_PRESENT | SE_SACL_PROTECTED | SE_SACL_AUTO_INHERIT_REQ |
             SE_DACL_PROTECTED | SE_DACL_AUTO_INHERIT_REQ,
         "S:PAR(AU;SA;0x4;;;z)D:PAR(D;CI;0x2;;;y)(A;CI;0x1;;;x)"},
        // Auto-inherited marks are read but never written; marks of an absent list neither.
        {SE_DACL_PRESENT | SE_DACL_AUTO_INHERITED | SE_SACL_AUTO_INHERITED | SE_SACL_PROTECTED,
         "D:(D;CI;0x2;;;y)(A;CI;0x1;;;x)"},
    };
    for (const Case& c : cases) {
        auto target = EmptyTarget("/vol/vol1/qt1", kLevelFileDirectory, c.control);
        SecurityDescriptor& d = *target->Descriptor;
        d.DaclList.Add(Entry("x", kAllowType, kContainerInherit, 0x1));
        d.DaclList.Add(Entry("y", kDenyType, kContainerInherit, 0x2));
        d.SaclList.Add(Entry("z", kAuditType, kAuditSuccess, 0x4));
        // Entries in lists of the wrong kind are never written.
        d.SaclList.Add(Entry("w", kAllowType, 0x03, 0x1));
        d.DaclList.Add(Entry("w", kAuditType, 0x43, 0x1));
        EXPECT_EQ(ToLine(*target), std::string("1,0,\"/vol/vol1/qt1\",0,\"") + c.descriptor + "\"")
            << "control " << c.control;
    }
}

TEST(TargetLine, PresentListsWithoutEntriesWriteTheirHeaderOnly) {
    auto target = EmptyTarget("/vol/v", kLevelStorage,
                              SE_SACL_PRESENT | SE_SACL_AUTO_INHERIT_REQ | SE_DACL_PRESENT |
                                  SE_DACL_PROTECTED);
    EXPECT_EQ(ToLine(*target), "1,1,\"/vol/v\",0,\"S:ARD:P\"");
}

TEST(TargetLine, LevelAndModeAreDecimalNumbers) {
    struct Case {
        std::int32_t level;
        std::int32_t mode;
        const char* line;
    };
    const Case cases[] = {
        {0, 0, "1,0,\"/vol/v\",0,\"\""},
        {1, 9, "1,1,\"/vol/v\",9,\"\""},
        {10, 99, "1,10,\"/vol/v\",99,\"\""},
        {-1, -42, "1,-1,\"/vol/v\",-42,\"\""},
        {2147483647, -2147483647 - 1, "1,2147483647,\"/vol/v\",-2147483648,\"\""},
    };
    for (const Case& c : cases) {
        auto target = EmptyTarget("/vol/v", c.level, 0);
        target->Mode = c.mode;
        EXPECT_EQ(ToLine(*target), c.line);
    }
}

TEST(TargetLine, OtherStylesWriteTheLineTheyWereReadFrom) {
    auto target = EmptyTarget("/vol/v", 0, SE_DACL_PRESENT);
    target->SecurityStyle = kStyleNfsV3;
    EXPECT_EQ(ToLine(*target), "");
    target->SourceLine = "2,0,\"/vol/v\",0,\"rwx\"";
    EXPECT_EQ(ToLine(*target), "2,0,\"/vol/v\",0,\"rwx\"");
    target->SecurityStyle = kStyleNfsV4;
    EXPECT_EQ(ToLine(*target), "2,0,\"/vol/v\",0,\"rwx\"");
}

TEST(TemplateBytes, ExampleFileIsWrittenExactlyInBothEncodings) {
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    EXPECT_EQ(Encode8Bit(tmpl), test::ReadBytes(PERMORA_FIXTURES_DIR "/example-8bit.conf"));
    EXPECT_EQ(EncodeUnicode(tmpl), test::ReadBytes(PERMORA_FIXTURES_DIR "/example-unicode.conf"));
}

TEST(TemplateBytes, BeginningsAndEndings) {
    using namespace std::string_literals;
    SecurityTemplate tmpl;
    EXPECT_EQ(Encode8Bit(tmpl), "cb56f6f4\r\n");
    EXPECT_EQ(EncodeUnicode(tmpl), "\xFF\xFE"s + test::Widen("cb56f6f4\r\n"));

    tmpl.Append(std::make_unique<TargetObject>("/vol/a", MakeDefaultDescriptor()));
    tmpl.Append(std::make_unique<TargetObject>("/vol/b", MakeDefaultDescriptor()));
    const std::string unicode = EncodeUnicode(tmpl);
    const std::string eightBit = Encode8Bit(tmpl);
    EXPECT_TRUE(unicode.starts_with("\xFF\xFE"
                                    "c\0b\0005\0006\0f\0006\0f\0004\0\r\0\n\0"s));
    EXPECT_TRUE(unicode.ends_with("\r\0\n\0"s));
    EXPECT_TRUE(eightBit.starts_with("cb56f6f4\r\n"));
    EXPECT_TRUE(eightBit.ends_with("\"\r\n"));
    EXPECT_EQ(unicode, "\xFF\xFE"s + test::Widen(eightBit));

    // A target of another style with nothing to write back gives a bare line end.
    tmpl.At(0)->SecurityStyle = kStyleNfsV3;
    EXPECT_TRUE(Encode8Bit(tmpl).starts_with("cb56f6f4\r\n\r\n1,0,\"/vol/b\""));
}

// A line kept for a target of another style is written back with its characters: the 8-bit
// file gets the bytes as held, the Unicode file their UTF-16LE, a byte that is not part of
// valid UTF-8 standing for the character of the same value.
TEST(TemplateBytes, TextBeyondAsciiIsWrittenWithItsCharacters) {
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::string text;  // between "2,0,\"/vol/" and "\",0,\"\""
        std::string units; // the same text as UTF-16LE
    };
    const Case cases[] = {
        {"two-byte sequence", "caf\xC3\xA9", "c\0a\0f\0\xE9\0"s},
        {"three-byte sequence", "\xE2\x82\xAC", "\xAC\x20"s},
        {"four-byte sequence as a surrogate pair", "\xF0\x9F\x98\x80", "\x3D\xD8\x00\xDE"s},
        {"replacement character", "\xEF\xBF\xBD", "\xFD\xFF"s},
        {"lone bytes of another code page", "caf\xE9", "c\0a\0f\0\xE9\0"s},
        {"sequence cut short",
         "\xC3"
         "a\xE2\x82",
         "\xC3\0a\0\xE2\0\x82\0"s},
        {"lone continuation byte", "\x80", "\x80\0"s},
        {"overlong form", "\xC0\xAF", "\xC0\0\xAF\0"s},
        {"encoded surrogate", "\xED\xA0\x80", "\xED\0\xA0\0\x80\0"s},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\xF4\0\x90\0\x80\0\x80\0"s},
        {"highest character", "\xF4\x8F\xBF\xBF", "\xFF\xDB\xFF\xDF"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SecurityTemplate tmpl;
        auto target = EmptyTarget("/vol/v", 0, 0);
        target->SecurityStyle = kStyleNfsV3;
        target->SourceLine = "2,0,\"/vol/" + c.text + "\",0,\"\"";
        tmpl.Append(std::move(target));
        EXPECT_EQ(Encode8Bit(tmpl), "cb56f6f4\r\n2,0,\"/vol/" + c.text + "\",0,\"\"\r\n");
        EXPECT_EQ(EncodeUnicode(tmpl), "\xFF\xFE" + test::Widen("cb56f6f4\r\n2,0,\"/vol/") +
                                           c.units + test::Widen("\",0,\"\"\r\n"));
    }
}

TEST(TemplateBytes, LongLinesAreWrittenWhole) {
    SecurityTemplate tmpl;
    auto target = EmptyTarget("/vol/many", kLevelFileDirectory, SE_DACL_PRESENT);
    std::string expected = "1,0,\"/vol/many\",0,\"D:";
    for (int i = 0; i < 60; ++i) {
        const std::string account = "DOMAIN\\account_" + std::to_string(i);
        target->Descriptor->DaclList.Add(Entry(account, kAllowType, 0x03, 0x1F01FF));
        expected += "(A;CIOI;0x1f01ff;;;" + account + ")";
    }
    expected += "\"";
    ASSERT_GT(expected.size(), 1500u);
    tmpl.Append(std::move(target));
    EXPECT_EQ(Encode8Bit(tmpl), "cb56f6f4\r\n" + expected + "\r\n");
    EXPECT_EQ(EncodeUnicode(tmpl), "\xFF\xFE" + test::Widen("cb56f6f4\r\n" + expected + "\r\n"));
}

// Templates whose bytes the block-by-block encoding must reproduce exactly.
std::vector<std::pair<std::string, std::unique_ptr<SecurityTemplate>>> TemplatesToEncode() {
    std::vector<std::pair<std::string, std::unique_ptr<SecurityTemplate>>> templates;
    auto add = [&](const std::string& name) -> SecurityTemplate& {
        templates.emplace_back(name, std::make_unique<SecurityTemplate>());
        return *templates.back().second;
    };
    add("empty");
    test::BuildExampleTemplate(add("example"));

    SecurityTemplate& mixed = add("other styles, text beyond ASCII and a long line");
    auto other = EmptyTarget("/vol/v", 0, 0);
    other->SecurityStyle = kStyleNfsV3;
    other->SourceLine = "2,0,\"/vol/caf\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xE9\",0,\"rwx\"";
    mixed.Append(std::move(other));
    auto bare = EmptyTarget("/vol/w", 0, 0);
    bare->SecurityStyle = kStyleNfsV4; // nothing to write back: a bare line end
    mixed.Append(std::move(bare));
    auto wide = EmptyTarget("/vol/many", kLevelStorage, SE_SACL_PRESENT | SE_DACL_PRESENT);
    for (int i = 0; i < 60; ++i) {
        const std::string account = "DOMAIN\\account_" + std::to_string(i);
        wide->Descriptor->DaclList.Add(Entry(account, kAllowType, 0x03, 0x1F01FF));
        wide->Descriptor->SaclList.Add(Entry(account, kAuditType, 0xC0, 0x10000));
    }
    mixed.Append(std::move(wide));
    test::BuildExampleTemplate(mixed);
    return templates;
}

// The targets in runs of one and of two, encoded on 1, 2 and 4 threads.
struct EncodingThreads {
    int threads;
    std::size_t runLength;
};
constexpr EncodingThreads kEncodingThreads[] = {{1, 4096}, {2, 1}, {4, 2}};

TEST(TemplateBytes, BlockByBlockEncodingGivesTheSameBytesInBlocksOfTheGivenSize) {
    const auto templates = TemplatesToEncode();
    for (const auto& [name, tmpl] : templates) {
        for (const EncodingThreads& parallel : kEncodingThreads) {
            const test::Parallel threads(parallel.threads, parallel_detail::blockBytes,
                                         parallel.runLength);
            for (const Encoding encoding : {Encoding::Unicode, Encoding::EightBit}) {
                const std::string whole =
                    encoding == Encoding::Unicode ? EncodeUnicode(*tmpl) : Encode8Bit(*tmpl);
                // Blocks of one byte, of sizes that split units and lines anywhere, and larger
                // than the whole file.
                for (const std::size_t size :
                     {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7},
                      std::size_t{64}, std::size_t{1000}, kEncodeBlockSize}) {
                    SCOPED_TRACE(name + (encoding == Encoding::Unicode ? ", Unicode" : ", 8-bit") +
                                 ", blocks of " + std::to_string(size) + ", " +
                                 std::to_string(parallel.threads) + " threads");
                    std::vector<std::string> blocks;
                    ASSERT_TRUE(EncodeTemplate(
                        *tmpl, encoding,
                        [&](std::string_view block) {
                            blocks.emplace_back(block);
                            return true;
                        },
                        size));
                    std::string joined;
                    for (std::size_t i = 0; i < blocks.size(); ++i) {
                        joined += blocks[i];
                        if (i + 1 < blocks.size()) {
                            ASSERT_EQ(blocks[i].size(), size) << "block " << i;
                        }
                    }
                    ASSERT_FALSE(blocks.empty());
                    EXPECT_FALSE(blocks.back().empty());
                    EXPECT_LE(blocks.back().size(), size);
                    EXPECT_EQ(joined, whole);
                }
            }
        }
    }
}

TEST(TemplateBytes, BlockByBlockEncodingStopsWhenTheSinkRefuses) {
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    for (const auto& [refused, parallel] :
         {std::pair{1, kEncodingThreads[0]}, std::pair{2, kEncodingThreads[0]},
          std::pair{5, kEncodingThreads[0]}, std::pair{1, kEncodingThreads[1]},
          std::pair{5, kEncodingThreads[1]}, std::pair{9, kEncodingThreads[2]}}) {
        SCOPED_TRACE(std::to_string(refused) + ", " + std::to_string(parallel.threads) +
                     " threads");
        const test::Parallel threads(parallel.threads, parallel_detail::blockBytes,
                                     parallel.runLength);
        int calls = 0;
        EXPECT_FALSE(EncodeTemplate(
            tmpl, Encoding::Unicode, [&](std::string_view) { return ++calls < refused; }, 16));
        EXPECT_EQ(calls, refused);
    }
}

} // namespace
} // namespace permora
