#include "file_test_support.h"

#include <gtest/gtest.h>

namespace permora {
namespace {

constexpr const char* kInvalid = "   Invalid File";
constexpr int kAnyControl = -1;

struct ReadCase {
    std::string line;
    int result;
    std::vector<std::string> messages;
    int control;       // kAnyControl: not checked
    std::string after; // the target's line text after a successful read
};

// A line of target "/vol/x" whose descriptor field is the given text.
std::string With(const std::string& descriptor) {
    return "1,0,\"/vol/x\",0,\"" + descriptor + "\"";
}

const std::vector<ReadCase>& ReadCases() {
    static const std::vector<ReadCase> cases = {
        // Whole lines as the editor writes them.
        {"1,0,\"/vol/vol1/qt1\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)\"",
         0,
         {},
         0x0004,
         "1,0,\"/vol/vol1/qt1\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)\""},
        {"1,1,\"/vol/vol2\",0,\"S:(AU;CIOISAFA;0x200a9;;;Everyone)D:P(D;CIOI;0x1f01ff;;;"
         "LAB\\guest)(A;NP;0x1301bf;;;LAB\\admins)(A;CIOI;0x1200a9;;;Everyone)\"",
         0,
         {},
         0x1014,
         "1,1,\"/vol/vol2\",0,\"S:(AU;CIOISAFA;0x200a9;;;Everyone)D:P(D;CIOI;0x1f01ff;;;"
         "LAB\\guest)(A;NP;0x1301bf;;;LAB\\admins)(A;CIOI;0x1200a9;;;Everyone)\""},
        {"1,0,\"/vol/vol1/home\",0,\"D:AR(A;CIOIIO;0x1f01ff;;;LAB\\admins)\"",
         0,
         {},
         0x0104,
         "1,0,\"/vol/vol1/home\",0,\"D:AR(A;CIOIIO;0x1f01ff;;;LAB\\admins)\""},

        // The fields of the line.
        {"", 1, {kInvalid}, kAnyControl, ""},
        {",,,,", 1, {kInvalid}, kAnyControl, ""},
        {"1", 1, {kInvalid}, kAnyControl, ""},
        {"1,0", 1, {kInvalid}, kAnyControl, ""},
        {"1,0,\"/vol/x\"", 1, {kInvalid}, kAnyControl, ""},
        {"1,0,\"/vol/x\",0", 1, {kInvalid}, kAnyControl, ""},
        {"1,0,\"/vol/x\",0,", 1, {kInvalid}, kAnyControl, ""},
        {"1,0,\"/vol/x\",0,\"", 1, {kInvalid}, kAnyControl, ""},
        {"1,0,\"\",0,\"D:(A;CI;0x1;;;x)\"", 1, {"Invalid File Path", kInvalid}, kAnyControl, ""},
        {"1,0,\"/home/x\",0,\"D:(A;CI;0x1;;;x)\"",
         1,
         {"Invalid File Path", kInvalid},
         kAnyControl,
         ""},
        {"1,0,\"/vol/my dir\",0,\"D:\"", 1, {"Invalid File Path", kInvalid}, kAnyControl, ""},
        {"1,0,\"vol1/qt1\",0,\"D:\"", 0, {}, 0x0004, "1,0,\"vol1/qt1\",0,\"D:\""},
        // Runs of delimiters count as one; text after the closing quote is ignored.
        {",,1,,0,\"/vol/x\",,0,\"D:\"junk", 0, {}, 0x0004, With("D:")},
        // Decimal fields: white space, sign, digits up to the first other character,
        // values beyond 32 bits held at the ends of the range.
        {" 1,1x,\"/vol/x\",+7,\"D:\"", 0, {}, 0x0004, "1,1,\"/vol/x\",7,\"D:\""},
        {"1,12,\"/vol/x\",-5,\"D:\"", 0, {}, 0x0004, "1,12,\"/vol/x\",-5,\"D:\""},
        {"1,99999999999,\"/vol/x\",-99999999999,\"D:\"",
         0,
         {},
         0x0004,
         "1,2147483647,\"/vol/x\",-2147483648,\"D:\""},
        // Other styles are kept with the line they came from.
        {"2,0,\"/vol/x\",0,\"D:(A;CI;0x1;;;x)\"",
         0,
         {},
         0x0004,
         "2,0,\"/vol/x\",0,\"D:(A;CI;0x1;;;x)\""},
        {"3,1,\"/vol/x\",5,\"user:rwx\"", 0, {}, 0, "3,1,\"/vol/x\",5,\"user:rwx\""},
        {"x,0,\"/vol/x\",0,\"\"", 0, {}, 0, "x,0,\"/vol/x\",0,\"\""},
        // An empty descriptor field is a descriptor without lists.
        {With(""), 0, {}, 0, With("")},
        {"1,0,\"/vol/x\",0,,\"\"", 0, {}, 0, With("")},
        {With("no parts"), 0, {}, 0, With("")},

        // Parts and their control letters.
        {With("D:AI(A;CI;0x1;;;Everyone)"), 0, {}, 0x0404, With("D:(A;CI;0x1;;;Everyone)")},
        {With("S:PAIAR(AU;SA;0x1;;;x)"), 0, {}, 0x2A10, With("S:PAR(AU;SA;0x1;;;x)")},
        {With("xxS:(AU;FA;0x1;;;x)"), 0, {}, 0x0010, With("S:(AU;FA;0x1;;;x)")},
        {With("D:"), 0, {}, 0x0004, With("D:")},
        {With("D:P"), 0, {}, 0x1004, With("D:P")},
        {With("S:AR"), 0, {}, 0x0210, With("S:AR")},
        {With("S:D:(A;CI;0x1;;;Everyone)"), 0, {}, 0x0014, With("S:D:(A;CI;0x1;;;Everyone)")},
        {With("S:ARD:P(A;CI;0x1;;;x)"), 0, {}, 0x1214, With("S:ARD:P(A;CI;0x1;;;x)")},
        {With("S:(AU;SA;0x1;;;x)D:AR"), 0, {}, 0x0114, With("S:(AU;SA;0x1;;;x)D:AR")},
        // The audit part comes first.
        {With("D:(A;CI;0x1;;;x)S:(AU;SA;0x1;;;y)"), 1, {kInvalid}, kAnyControl, ""},
        // Entries running past their part, missing or followed by other text.
        {With("D:(A;CI;0x1;;;x"), 1, {kInvalid}, kAnyControl, ""},
        {With("S:(AU;SA;0x1;;;xD:(A;CI;0x1;;;y)"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;x)junk"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;x))"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:()"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;x)A;CI;0x2;;;y)"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;x)x(A;CI;0x2;;;y)"), 1, {"Wrong ace type."}, kAnyControl, ""},

        // Entries.
        {With("D:(A;OICI;0x1200a9;;;Everyone)"),
         0,
         {},
         0x0004,
         With("D:(A;OI;0x1200a9;;;Everyone)")},
        {With("D:(A;CIOI;0x1200a9;;;Everyone)"),
         0,
         {},
         0x0004,
         With("D:(A;CIOI;0x1200a9;;;Everyone)")},
        {With("S:(AU;NPCIOIIOSAFA;0x1;;;x)"), 0, {}, 0x0010, With("S:(AU;NPCIOIIOSAFA;0x1;;;x)")},
        {With("D:(A;xxCI;0x1;;;x)"), 0, {}, 0x0004, With("D:(A;;0x1;;;x)")},
        {With("D:(A;;0x1f01ff;;;Everyone)"), 0, {}, 0x0004, With("D:(A;;0x1f01ff;;;Everyone)")},
        {With("D:(A;CI;zz;;;Everyone)"),
         0,
         {"Cannot parse this Mask."},
         0x0004,
         With("D:(A;CI;0x1200a9;;;Everyone)")},
        {With("D:(A;CI;0X1f;;;x)"),
         0,
         {"Cannot parse this Mask."},
         0x0004,
         With("D:(A;CI;0x1200a9;;;x)")},
        {With("D:(A;CI;0xAbC;;;x)"), 0, {}, 0x0004, With("D:(A;CI;0xabc;;;x)")},
        {With("D:(A;CI;0x12zz;;;x)"), 0, {}, 0x0004, With("D:(A;CI;0x12;;;x)")},
        {With("D:(A;CI;0x1ffffffff0;;;x)"), 0, {}, 0x0004, With("D:(A;CI;0xffffffff;;;x)")},
        // Masks that count as empty are refused by the list and dropped without a message.
        {With("D:(A;CI;0x;;;x)(A;CI;0x100000;;;y)(A;CI;0x2;;;z)"),
         0,
         {},
         0x0004,
         With("D:(A;CI;0x2;;;z)")},
        {With("D:(X;CI;0x1;;;Everyone)"), 1, {"Wrong ace type."}, kAnyControl, ""},
        {With("D:(a;CI;0x1;;;Everyone)"), 1, {"Wrong ace type."}, kAnyControl, ""},
        {With("D:(;CI;0x1;;;x)"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A)"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI)"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;;;;x)"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1)"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;x)"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;zz;x)"), 1, {"Cannot parse this Mask.", kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;)"), 1, {"Invalid Account Name", kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;my name)"), 1, {"Invalid Account Name", kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;;x)"), 1, {"Invalid Account Name", kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;a\\b\\c)"), 1, {"Invalid Account Name", kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;x)(X;;0x1;;;y)"), 1, {"Wrong ace type."}, kAnyControl, ""},

        // Entries go through the list's merge rules and placement.
        {With("D:(A;CI;0x1;;;x)(A;CI;0x2;;;X)"), 0, {}, 0x0004, With("D:(A;CI;0x3;;;x)")},
        {With("D:(A;CI;0x1;;;a)(A;CI;0x1;;;b)(A;OI;0x4;;;a)"),
         0,
         {},
         0x0004,
         With("D:(A;CI;0x1;;;a)(A;OI;0x4;;;a)(A;CI;0x1;;;b)")},
        {With("D:(A;CI;0x1;;;x)(D;CI;0x2;;;y)"),
         0,
         {},
         0x0004,
         With("D:(D;CI;0x2;;;y)(A;CI;0x1;;;x)")},
        // Entries of the wrong kind for their part land in lists that are not written.
        {With("S:(A;CI;0x1;;;x)D:(AU;SA;0x1;;;y)"), 0, {}, 0x0014, With("S:D:")},
    };
    return cases;
}

TEST(ReadTargetLine, ReadsEveryCaseWithItsMessagesInOrder) {
    for (const ReadCase& c : ReadCases()) {
        SCOPED_TRACE(c.line);
        test::Messages messages;
        auto target = test::FreshTarget();
        EXPECT_EQ(ReadTargetLine(c.line, *target, messages.Sink()), c.result);
        EXPECT_EQ(messages.texts, c.messages);
        if (c.control != kAnyControl) {
            EXPECT_EQ(target->Descriptor->Control, c.control);
        }
        if (c.result == 0) {
            EXPECT_EQ(target->ToLine(), c.after);
        }
    }
}

TEST(ReadTargetLine, ReadsIntoTheTargetsFields) {
    auto target = test::FreshTarget();
    ASSERT_EQ(ReadTargetLine("2,1,\"/vol/q\",7,\"D:(A;CI;0x1;;;x)\"", *target, {}), 0);
    EXPECT_EQ(target->SecurityStyle, kStyleNfsV3);
    EXPECT_EQ(target->SecurityLevel, kLevelStorage);
    EXPECT_EQ(target->Path, "/vol/q");
    EXPECT_EQ(target->Mode, 7);
    // The default "Everyone" entry of the fresh target is gone.
    const Acl& dacl = target->Descriptor->DaclList;
    EXPECT_EQ(dacl.Allow.Count, 1);
    ASSERT_NE(dacl.Allow.Head, nullptr);
    EXPECT_EQ(dacl.Allow.Head->NTAccount, "x");

    // Reading an NTFS line into the same target forgets the line it kept.
    ASSERT_EQ(ReadTargetLine("1,0,\"/vol/q\",0,\"D:\"", *target, {}), 0);
    EXPECT_EQ(target->SourceLine, "");
}

TEST(ReadAce, EntersTheEntryWithItsFields) {
    Acl acl;
    test::Messages messages;
    ASSERT_EQ(ReadAce("AU;CISA;0x1f;;;LAB\\x", acl, messages.Sink()), 0);
    EXPECT_TRUE(messages.texts.empty());
    ASSERT_NE(acl.Audit.Head, nullptr);
    const Ace& entry = *acl.Audit.Head;
    EXPECT_EQ(entry.AceType, kAuditType);
    EXPECT_EQ(entry.Flags, kContainerInherit | kAuditSuccess);
    EXPECT_EQ(entry.Mask, 0x1Fu);
    EXPECT_EQ(entry.NTAccount, "LAB\\x");
    // A failing entry enters nothing.
    EXPECT_EQ(ReadAce("A;CI;0x1;;;bad name", acl, {}), 1);
    EXPECT_EQ(acl.Allow.Count, 0);
}

} // namespace
} // namespace permora
