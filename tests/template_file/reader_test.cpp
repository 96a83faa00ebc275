#include "file_test_support.h"

#include <gtest/gtest.h>

namespace permora {
namespace {

constexpr const char* kInvalid = "   Invalid File";
constexpr const char* kBadListFlags = "Cannot parse the flags of this list.";
constexpr const char* kNoParts = "This descriptor holds neither S: nor D:.";
constexpr int kAnyControl = -1;

struct ReadCase {
    std::string line;
    bool fails;
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
        {"1,0,\"/vol/x\",0,,\"D:(A;CI;0x1;;;x)\"", 0, {}, 0x0004, With("D:(A;CI;0x1;;;x)")},
        // Any other text is a descriptor that a save would lose.
        {With("no parts"), 1, {kNoParts, kInvalid}, kAnyControl, ""},
        {With("O:BAG:BA"), 1, {kNoParts, kInvalid}, kAnyControl, ""},
        {With("d:pai(A;CI;0x1;;;x)"), 1, {kNoParts, kInvalid}, kAnyControl, ""},
        // Lines of other styles are written back as read: neither rule refuses them.
        {"2,0,\"/vol/x\",0,\"O:BAG:BA\"", 0, {}, 0, "2,0,\"/vol/x\",0,\"O:BAG:BA\""},
        {"2,0,\"/vol/x\",0,\"D:XPY(A;CI;0x1;;;x)\"",
         0,
         {},
         0x1004,
         "2,0,\"/vol/x\",0,\"D:XPY(A;CI;0x1;;;x)\""},
        {"3,0,\"/vol/x\",0,\"D:NO_ACCESS_CONTROL\"",
         0,
         {},
         0x0004,
         "3,0,\"/vol/x\",0,\"D:NO_ACCESS_CONTROL\""},

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
        {With("D:ARPAIP(A;CI;0x1;;;x)"), 0, {}, 0x1504, With("D:PAR(A;CI;0x1;;;x)")},
        // List flags other than P, AI and AR fail the line.
        {With("D:NO_ACCESS_CONTROL"), 1, {kBadListFlags, kInvalid}, kAnyControl, ""},
        {With("D:XYZ(A;CI;0x1;;;x)"), 1, {kBadListFlags, kInvalid}, kAnyControl, ""},
        {With("D:d:pai(A;CI;0x1;;;x)"), 1, {kBadListFlags, kInvalid}, kAnyControl, ""},
        {With("D: P(A;CI;0x1;;;x)"), 1, {kBadListFlags, kInvalid}, kAnyControl, ""},
        {With("D:PX"), 1, {kBadListFlags, kInvalid}, kAnyControl, ""},
        {With("S:pai(AU;SA;0x1;;;x)D:(A;CI;0x1;;;y)"),
         1,
         {kBadListFlags, kInvalid},
         kAnyControl,
         ""},
        // Either part may come first; each runs to the other; the audit part is read first
        // and written first.
        {With("D:(A;CI;0x1;;;x)S:(AU;SA;0x1;;;y)"),
         0,
         {},
         0x0014,
         With("S:(AU;SA;0x1;;;y)D:(A;CI;0x1;;;x)")},
        {With("O:BAG:SYD:PAI(A;CI;0x1;;;x)S:AI(AU;SA;0x1;;;y)"),
         0,
         {},
         0x1C14,
         With("S:(AU;SA;0x1;;;y)D:P(A;CI;0x1;;;x)")},
        {With("D:(A;CI;0x1;;;x)S:"), 0, {}, 0x0014, With("S:D:(A;CI;0x1;;;x)")},
        {With("D:X(A;CI;0x1;;;x)S:(AU;SA;0x1;;;y"), 1, {kInvalid}, kAnyControl, ""},
        {"2,0,\"/vol/x\",0,\"D:(A;CI;0x1;;;x)S:(AU;SA;0x1;;;y)\"",
         0,
         {},
         0x0014,
         "2,0,\"/vol/x\",0,\"D:(A;CI;0x1;;;x)S:(AU;SA;0x1;;;y)\""},
        // Entries running past their part, missing or followed by other text.
        {With("D:(A;CI;0x1;;;x"), 1, {kInvalid}, kAnyControl, ""},
        {With("S:(AU;SA;0x1;;;xD:(A;CI;0x1;;;y)"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;x)junk"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;x))"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:()"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;x)A;CI;0x2;;;y)"), 1, {kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;x)x(A;CI;0x2;;;y)"), 1, {"Wrong ace type."}, kAnyControl, ""},
        // The character passed over there is a whole one, in whatever encoding it came.
        {With("D:(A;CI;0x1;;;x)\xC3\x9E"
              "A;CI;0x2;;;y)"),
         0,
         {},
         0x0004,
         With("D:(A;CI;0x1;;;x)(A;CI;0x2;;;y)")},
        {With("D:(A;CI;0x1;;;x)\xDE"
              "A;CI;0x2;;;y)"),
         0,
         {},
         0x0004,
         With("D:(A;CI;0x1;;;x)(A;CI;0x2;;;y)")},

        // Entries.
        {With("D:(A;OICI;0x1200a9;;;Everyone)"),
         0,
         {},
         0x0004,
         With("D:(A;CIOI;0x1200a9;;;Everyone)")},
        {With("D:(A;CIOI;0x1200a9;;;Everyone)"),
         0,
         {},
         0x0004,
         With("D:(A;CIOI;0x1200a9;;;Everyone)")},
        {With("S:(AU;NPCIOIIOSAFA;0x1;;;x)"), 0, {}, 0x0010, With("S:(AU;NPCIOIIOSAFA;0x1;;;x)")},
        {With("D:(A;xxCI;0x1;;;x)"), 0, {}, 0x0004, With("D:(A;CI;0x1;;;x)")},
        {With("D:(A;;0x1f01ff;;;Everyone)"), 0, {}, 0x0004, With("D:(A;;0x1f01ff;;;Everyone)")},
        {With("D:(A;CI;zz;;;Everyone)"),
         0,
         {"Cannot parse this Mask."},
         0x0004,
         With("D:(A;CI;0x1200a9;;;Everyone)")},
        {With("D:(A;CI;0X1f;;;x)"), 0, {}, 0x0004, With("D:(A;CI;0x1f;;;x)")},
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
        // Characters beyond ASCII reach the checks and are reported, never dropped.
        {"1,0,\"/vol/caf\xC3\xA9\",0,\"D:\"", 1, {"Invalid File Path", kInvalid}, kAnyControl, ""},
        {"1,0,\"/vol/caf\xE9\",0,\"D:\"", 1, {"Invalid File Path", kInvalid}, kAnyControl, ""},
        {With("D:(A;CI;0x1;;;LAB\\j\xC3\xB6rg)"),
         1,
         {"Invalid Account Name", kInvalid},
         kAnyControl,
         ""},
        {With("D:(A;CI;0x1;;;x)(X;;0x1;;;y)"), 1, {"Wrong ace type."}, kAnyControl, ""},

        // Entries go through the list's merge rules and placement.
        {With("D:(A;CI;0x1;;;x)(A;CI;0x2;;;X)"), 0, {}, 0x0004, With("D:(A;CI;0x3;;;x)")},
        // Two entries of one mask, for the folder and for everything below it, are one
        // entry for the whole tree.
        {With("D:(A;;0x1200a9;;;WD)(A;OICIIO;0x1200a9;;;WD)"),
         0,
         {},
         0x0004,
         With("D:(A;CIOI;0x1200a9;;;WD)")},
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
        EXPECT_EQ(ReadTargetLine(c.line, *target, messages.Sink()) == ReadStatus::Failed, c.fails);
        EXPECT_EQ(messages.texts, c.messages);
        if (c.control != kAnyControl) {
            EXPECT_EQ(target->Descriptor->Control, c.control);
        }
        if (!c.fails) {
            EXPECT_EQ(ToLine(*target), c.after);
        }
    }
}

TEST(ReadTargetLine, ReadsIntoTheTargetsFields) {
    auto target = test::FreshTarget();
    ASSERT_EQ(ReadTargetLine("2,1,\"/vol/q\",7,\"D:(A;CI;0x1;;;x)\"", *target, {}),
              ReadStatus::Read);
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
    ASSERT_EQ(ReadTargetLine("1,0,\"/vol/q\",0,\"D:\"", *target, {}), ReadStatus::Read);
    EXPECT_EQ(target->SourceLine, "");
}

// A name the lines repeat is held once, whatever target it stands in; a name in another case
// is another text.
TEST(ReadTargetLine, EntriesOfTheSameNameShareItsText) {
    auto first = test::FreshTarget();
    auto second = test::FreshTarget();
    const std::string line = "1,0,\"/vol/q\",0,\"D:(A;CI;0x1;;;BUILTIN\\Administrators)"
                             "(D;CI;0x2;;;BUILTIN\\ADMINISTRATORS)\"";
    ASSERT_EQ(ReadTargetLine(line, *first, {}), ReadStatus::Read);
    ASSERT_EQ(ReadTargetLine(line, *second, {}), ReadStatus::Read);
    const AccountName& allowed = first->Descriptor->DaclList.Allow.Head->NTAccount;
    EXPECT_TRUE(allowed.SharesTextWith(second->Descriptor->DaclList.Allow.Head->NTAccount));
    EXPECT_EQ(first->Descriptor->DaclList.Deny.Head->NTAccount, "BUILTIN\\ADMINISTRATORS");
    EXPECT_FALSE(allowed.SharesTextWith(first->Descriptor->DaclList.Deny.Head->NTAccount));
}

// A descriptor given alone is read as that of an NTFS target.
TEST(ReadDescriptor, ReadsAsAnNtfsDescriptor) {
    struct Case {
        std::string text;
        bool fails;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"", 0, {}},
        {"D:P(A;CI;0x1;;;x)S:(AU;SA;0x1;;;y)", 0, {}},
        {"garbage", 1, {kNoParts, kInvalid}},
        {"D:NO_ACCESS_CONTROL", 1, {kBadListFlags, kInvalid}},
    };
    for (const Case& c : cases) {
        test::Messages messages;
        SecurityDescriptor descriptor;
        EXPECT_EQ(ReadDescriptor(c.text, descriptor, messages.Sink()) == ReadStatus::Failed,
                  c.fails)
            << c.text;
        EXPECT_EQ(messages.texts, c.messages) << c.text;
    }
}

// Masks: hexadecimal with either prefix, decimal, or the two-letter right codes.
TEST(ReadAce, ReadsEveryMaskForm) {
    constexpr std::uint32_t kDefault = 0x1200A9;
    struct MaskCase {
        std::string text;
        std::uint32_t mask;
        bool parsed;
    };
    const MaskCase cases[] = {
        {"0x1f01ff", 0x1F01FF, true},
        {"0X1F01FF", 0x1F01FF, true},
        {"0x1FA", 0x1FA, true},
        {"0x12zz", 0x12, true},
        {"0x1ffffffff", 0xFFFFFFFF, true},
        {"2032127", 0x1F01FF, true},
        {"007", 7, true},
        {"4294967295", 0xFFFFFFFF, true},
        {"4294967296", 0xFFFFFFFF, true},
        {"99999999999999999999999", 0xFFFFFFFF, true},
        {"FA", 0x1F01FF, true},
        {"FR", 0x120089, true},
        {"FW", 0x120116, true},
        {"FX", 0x1200A0, true},
        {"GA", 0x10000000, true},
        {"GR", 0x80000000, true},
        {"GW", 0x40000000, true},
        {"GX", 0x20000000, true},
        {"RC", 0x20000, true},
        {"SD", 0x10000, true},
        {"WD", 0x40000, true},
        {"WO", 0x80000, true},
        {"CC", 0x1, true},
        {"DC", 0x2, true},
        {"LC", 0x4, true},
        {"SW", 0x8, true},
        {"RP", 0x10, true},
        {"WP", 0x20, true},
        {"DT", 0x40, true},
        {"LO", 0x80, true},
        {"CR", 0x100, true},
        {"RCSD", 0x30000, true},
        {"SDRCSD", 0x30000, true},
        {"GRGWGX", 0xE0000000, true},
        {"FAFRFWFXGAGRGWGXRCSDWDWOCCDCLCSWRPWPDTLOCR", 0xF01F01FF, true},
        {"fa", kDefault, false},
        {"Fa", kDefault, false},
        {"F", kDefault, false},
        {"FAX", kDefault, false},
        {"FAZZ", kDefault, false},
        {"FA0x1", kDefault, false},
        {"12ab", kDefault, false},
        {"-1", kDefault, false},
        {"+1", kDefault, false},
        {" 1", kDefault, false},
        {"x1", kDefault, false},
        {"\xC3\xA9", kDefault, false},
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.text);
        Acl acl;
        test::Messages messages;
        ASSERT_EQ(ReadAce("A;CI;" + c.text + ";;;x", acl, messages.Sink()), ReadStatus::Read);
        EXPECT_EQ(messages.texts, c.parsed ? std::vector<std::string>{}
                                           : std::vector<std::string>{"Cannot parse this Mask."});
        ASSERT_NE(acl.Allow.Head, nullptr);
        EXPECT_EQ(acl.Allow.Head->Mask, c.mask);
    }
}

// Flags are read a pair at a time; each known pair sets its bit wherever it stands.
TEST(ReadAce, ReadsFlagPairsInAnyOrder) {
    struct FlagsCase {
        std::string text;
        std::uint8_t flags;
    };
    const FlagsCase cases[] = {
        {"", 0x00},           {"CIOI", 0x03},         {"OICI", 0x03},
        {"CIOISAFA", 0xC3},   {"NPCIOIIOSAFA", 0xCF}, {"FASAIOOICINP", 0xCF},
        {"IOCI", 0x0A},       {"CICI", 0x02},         {"OICIID", 0x03},
        {"IDCI", 0x02},       {"ciOI", 0x01},         {"CIO", 0x02},
        {"C", 0x00},          {"xCI", 0x00},          {"xxCI", 0x02},
        {"C\xC3\xA9I", 0x00},
    };
    for (const FlagsCase& c : cases) {
        SCOPED_TRACE(c.text);
        Acl acl;
        ASSERT_EQ(ReadAce("AU;" + c.text + ";0x1;;;x", acl, {}), ReadStatus::Read);
        ASSERT_NE(acl.Audit.Head, nullptr);
        EXPECT_EQ(acl.Audit.Head->Flags, c.flags);
    }
}

// A full member list refuses a new link with a message; merging and the silent refusal of
// an empty mask are unchanged. Each member is filled through InsertAudit, which appends
// without a search (a list does not care about the type of what it holds).
TEST(ReadAce, AFullListFailsTheEntryWithAMessage) {
    struct FullCase {
        const char* name;
        AceList Acl::*full;
        std::string body;
        bool fails;
        std::vector<std::string> messages;
    };
    const std::vector<std::string> tooMany = {"Too many entries.", "   Invalid File"};
    const FullCase cases[] = {
        {"new allow account", &Acl::Allow, "A;CI;0x2;;;new", 1, tooMany},
        {"allow entry that would be linked", &Acl::Allow, "A;NP;0x100;;;a0", 1, tooMany},
        {"allow entry that merges", &Acl::Allow, "A;CI;0x1;;;a0", 0, {}},
        {"allow entry with an empty mask", &Acl::Allow, "A;CI;0x100000;;;new", 0, {}},
        {"deny entry into a full allow list", &Acl::Allow, "D;CI;0x2;;;new", 0, {}},
        {"new deny account", &Acl::Deny, "D;CI;0x2;;;new", 1, tooMany},
        {"new audit account", &Acl::Audit, "AU;SA;0x2;;;new", 1, tooMany},
        {"audit entry that merges", &Acl::Audit, "AU;CIOISAFA;0x2;;;a3", 0, {}},
        {"audit entry that audits nothing", &Acl::Audit, "AU;CI;0x2;;;new", 0, {}},
    };
    for (const FullCase& c : cases) {
        SCOPED_TRACE(c.name);
        Acl acl;
        AceList& list = acl.*c.full;
        for (int i = 0; i < AceList::kMaxCount; ++i) {
            list.InsertAudit(std::make_unique<Ace>("a" + std::to_string(i % 7), 0x1u, kAuditType,
                                                   std::uint8_t{0xC3}));
        }
        test::Messages messages;
        EXPECT_EQ(ReadAce(c.body, acl, messages.Sink()) == ReadStatus::Failed, c.fails);
        EXPECT_EQ(messages.texts, c.messages);
        EXPECT_EQ(list.Count, AceList::kMaxCount);
    }
}

TEST(ReadAce, EntersTheEntryWithItsFields) {
    Acl acl;
    test::Messages messages;
    ASSERT_EQ(ReadAce("AU;CISA;0x1f;;;LAB\\x", acl, messages.Sink()), ReadStatus::Read);
    EXPECT_TRUE(messages.texts.empty());
    ASSERT_NE(acl.Audit.Head, nullptr);
    const Ace& entry = *acl.Audit.Head;
    EXPECT_EQ(entry.AceType, kAuditType);
    EXPECT_EQ(entry.Flags, kContainerInherit | kAuditSuccess);
    EXPECT_EQ(entry.Mask, 0x1Fu);
    EXPECT_EQ(entry.NTAccount, "LAB\\x");
    // A failing entry enters nothing.
    EXPECT_EQ(ReadAce("A;CI;0x1;;;bad name", acl, {}), ReadStatus::Failed);
    EXPECT_EQ(acl.Allow.Count, 0);
}

} // namespace
} // namespace permora
