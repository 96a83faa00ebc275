// The import with its report: messages and warnings with the numbers of their lines, and
// text beyond ASCII carried from the file to the next save.

#include "file_test_support.h"

#include <gtest/gtest.h>

namespace permora {
namespace {

using namespace std::string_literals;
using Numbered = std::vector<std::pair<std::int64_t, std::string>>;

struct Reported {
    Numbered messages;
    Numbered warnings;
    ImportReport Report() {
        ImportReport report;
        report.message = [this](std::int64_t line, const std::string& text) {
            messages.emplace_back(line, text);
        };
        report.warning = [this](std::int64_t line, const std::string& text) {
            warnings.emplace_back(line, text);
        };
        return report;
    }
};

std::vector<std::string> WarningsOf(const std::string& descriptor) {
    std::vector<std::string> warnings;
    auto target = test::FreshTarget();
    (void)ReadTargetLine("1,0,\"/vol/x\",0,\"" + descriptor + "\"", *target, {},
                         [&warnings](const std::string& text) { warnings.push_back(text); });
    return warnings;
}

// Warnings name what the next save writes differently from the line, and nothing else.
TEST(ImportWarnings, SayWhatTheNextSaveWritesDifferently) {
    struct Case {
        std::string descriptor;
        std::vector<std::string> warnings;
    };
    const Case cases[] = {
        // Differences of form only.
        {"D:(A;CIOI;0x1200a9;;;Everyone)", {}},
        {"D:(A;OICI;FA;;;bob)", {}},
        {"D:(A;CI;0X1F;;;x)(A;OI;2032127;;;y)(A;CICI;RCSD;;;z)", {}},
        {"D:(A;CI;0x1;;;a)(A;CI;0x1;;;b)(A;OI;0x4;;;a)", {}},
        {"D:(D;CI;0x2;;;y)(A;CI;0x1;;;x)", {}},
        {"S:(AU;CI;0x2;;;y)", {}},
        {"", {}},
        {"S:PARD:PAR", {}},
        // Entries that the merge rules take together or drop.
        {"D:(A;;0x1f01ff;;;bob)(A;;0x1f01ff;;;bob)",
         {"entry (A;;0x1f01ff;;;bob) is merged into an earlier entry of bob"}},
        {"D:(A;CI;0x1;;;x)(A;CI;0x2;;;X)",
         {"entry (A;CI;0x2;;;X) is merged into an earlier entry of X"}},
        {"D:(A;CI;0x1;;;x)(A;OI;0x2;;;x)(A;OI;0x1;;;x)",
         {"entry (A;OI;0x1;;;x) is merged into an earlier entry of x"}},
        {"S:(AU;SA;0x1;;;x)(AU;FA;0x1;;;x)",
         {"entry (AU;FA;0x1;;;x) is merged into an earlier entry of x"}},
        {"D:(A;CI;0x;;;x)(A;CI;0x100000;;;y)",
         {"entry (A;CI;0x;;;x) is not saved: its mask is empty",
          "entry (A;CI;0x100000;;;y) is not saved: its mask holds only SYNCHRONIZE"}},
        {"S:(AU;SA;0x1;;;x)(AU;CI;0x2;;;y)(AU;SAFA;0x4;;;z)(AU;;0x4;;;z)",
         {"entry (AU;CI;0x2;;;y) is not saved: it audits neither success nor failure",
          "entry (AU;;0x4;;;z) is not saved: it audits neither success nor failure"}},
        // Order that changes what the list means.
        {"D:(A;CI;0x1;;;x)(D;CI;0x2;;;y)",
         {"deny entry (D;CI;0x2;;;y) is saved before the allow entries"}},
        // Entries in the wrong part.
        {"S:(A;CI;0x1;;;x)(D;CI;0x1;;;x)D:(AU;SA;0x1;;;y)",
         {"allow entry (A;CI;0x1;;;x) in S: is not saved",
          "deny entry (D;CI;0x1;;;x) in S: is not saved",
          "audit entry (AU;SA;0x1;;;y) in D: is not saved"}},
        // Marks and text that are never written.
        {"D:AI(A;CI;0x1;;;x)", {"mark AI of D: is not saved"}},
        {"S:PAI(AU;SA;0x1;;;x)D:PAI", {"mark AI of S: is not saved", "mark AI of D: is not saved"}},
        {"O:BAG:SYD:(A;CI;0x1;;;x)", {"owner O:BA is not saved", "group G:SY is not saved"}},
        {"G:S-1-5-32-544S:", {"group G:S-1-5-32-544 is not saved"}},
        {"xxS:(AU;FA;0x1;;;x)", {"descriptor text xx is not saved"}},
        {"O:BAG:SYD:PAI(A;CI;0x1;;;x)S:AI(AU;SA;0x1;;;y)",
         {"owner O:BA is not saved", "group G:SY is not saved", "mark AI of S: is not saved",
          "mark AI of D: is not saved"}},
        // Flags and masks that read as something else.
        {"D:(A;OICIID;0x1;;;x)", {"flags ID of entry (A;OICIID;0x1;;;x) are not saved"}},
        {"D:(A;IDciCIO;0x1;;;x)", {"flags ID ci O of entry (A;IDciCIO;0x1;;;x) are not saved"}},
        {"D:(A;CI;0x1ffffffff;;;x)",
         {"mask 0x1ffffffff of entry (A;CI;0x1ffffffff;;;x) is saved as 0xffffffff"}},
        {"D:(A;CI;99999999999;;;x)",
         {"mask 99999999999 of entry (A;CI;99999999999;;;x) is saved as 0xffffffff"}},
        {"D:(A;CI;0x12zz;;;x)", {"mask 0x12zz of entry (A;CI;0x12zz;;;x) is saved as 0x12"}},
        {"D:(A;CI;fa;;;x)", {"mask fa of entry (A;CI;fa;;;x) is saved as 0x1200a9"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WarningsOf(c.descriptor), c.warnings) << c.descriptor;
    }
}

TEST(ImportWarnings, NoneForLinesWrittenBackAsTheyStand) {
    std::vector<std::string> warnings;
    auto target = test::FreshTarget();
    ASSERT_EQ(ReadTargetLine("2,0,\"/vol/x\",0,\"O:BAD:AI(A;ID;zz;;;x)(A;ID;zz;;;x)\"", *target, {},
                             [&warnings](const std::string& text) { warnings.push_back(text); }),
              ReadStatus::Read);
    EXPECT_TRUE(warnings.empty());
}

// Messages and warnings come with the number of their line as the file has it; a line that
// fails gives its messages and no warnings.
TEST(ImportReportTest, NumbersMessagesAndWarningsByLine) {
    const std::string text = "cb56f6f4\r\n"
                             "\r\n"
                             "1,0,\"/vol/a\",0,\"D:AI(A;CI;zz;;;x)\"\r\n"
                             "1,0,\"/vol/b\",0,\"D:AI(Q;CI;0x1;;;x)\"\r\n"
                             "1,0,\"/vol/c\",0,\"D:\"\r\n";
    const Numbered messages = {{3, "Cannot parse this Mask."}, {4, "Wrong ace type."}};
    const Numbered warnings = {{3, "mark AI of D: is not saved"},
                               {3, "mask zz of entry (A;CI;zz;;;x) is saved as 0x1200a9"}};
    for (const std::string& bytes : {text, "\xFF\xFE"s + test::Widen(text)}) {
        SecurityTemplate tmpl;
        Reported reported;
        const ImportOutcome outcome = ImportBytes(bytes, tmpl, reported.Report());
        EXPECT_TRUE(outcome.opened);
        EXPECT_FALSE(outcome.complete);
        EXPECT_EQ(outcome.appended, 1);
        EXPECT_EQ(reported.messages, messages);
        EXPECT_EQ(reported.warnings, warnings);
    }

    // Without a warning sink the import reads the same.
    SecurityTemplate tmpl;
    Numbered only;
    ImportReport report;
    report.message = [&only](std::int64_t line, const std::string& m) {
        only.emplace_back(line, m);
    };
    const ImportOutcome outcome = ImportBytes(text, tmpl, report);
    EXPECT_EQ(outcome.appended, 1);
    EXPECT_EQ(only, messages);
}

// Lines as other tools write them: the permission part first, one account's rights in two
// entries of one mask; a list flag that the file cannot hold stops the import there.
TEST(ImportReportTest, OtherToolsLinesKeepTheirMeaningOrStopTheImport) {
    const std::string text =
        "cb56f6f4\r\n"
        "1,0,\"/vol/a\",0,\"O:BAG:SYD:PAI(A;;0x1200a9;;;WD)(A;OICIIO;0x1200a9;;;WD)"
        "S:AI(AU;CIOIFA;0x2;;;x)\"\r\n"
        "1,0,\"/vol/b\",0,\"D:NO_ACCESS_CONTROL\"\r\n"
        "1,0,\"/vol/c\",0,\"D:(A;CI;0x1;;;x)\"\r\n";
    for (const std::string& bytes : {text, "\xFF\xFE"s + test::Widen(text)}) {
        SecurityTemplate tmpl;
        Reported reported;
        const ImportOutcome outcome = ImportBytes(bytes, tmpl, reported.Report());
        EXPECT_FALSE(outcome.complete);
        EXPECT_EQ(outcome.appended, 1);
        EXPECT_EQ(reported.messages,
                  (Numbered{{3, "Cannot parse the flags of this list."}, {3, "   Invalid File"}}));
        EXPECT_EQ(Encode8Bit(tmpl), "cb56f6f4\r\n1,0,\"/vol/a\",0,\"S:(AU;CIOIFA;0x2;;;x)"
                                    "D:P(A;CIOI;0x1200a9;;;WD)\"\r\n");
    }
}

// Each message comes with what it refers to when asked; reading on after a failing line
// reports every failing line; the messages alone are what the window shows, as before.
TEST(ImportReportTest, DetailsApartAndEveryFailingLine) {
    const std::string text = "cb56f6f4\r\n"
                             "1,0,\"/home/x\",0,\"\"\r\n"
                             "1,0,\"/vol/a\",0,\"D:(X;CI;0x1;;;a)\"\r\n"
                             "1,0,\"/vol/b\",0,\"D:(A;CI;zz;;;a)\"\r\n"
                             "1,0,\"/vol/c\",0,\"D:(A;CI;0x1;;;LAB\\john.doe)\"\r\n";
    struct Said {
        std::int64_t line;
        std::string message;
        std::string detail;
        bool operator==(const Said&) const = default;
    };
    const std::vector<Said> every = {
        {2, "Invalid File Path", "\"/home/x\" (a path from the root must begin with /vol/)"},
        {2, "   Invalid File", "the path \"/home/x\""},
        {3, "Wrong ace type.", "(X;CI;0x1;;;a)"},
        {4, "Cannot parse this Mask.", "(A;CI;zz;;;a)"},
        {5, "Invalid Account Name",
         "\"LAB\\john.doe\" (a full stop is allowed in the domain part only)"},
        {5, "   Invalid File", "the account of entry (A;CI;0x1;;;LAB\\john.doe)"},
    };
    for (const bool keepGoing : {true, false}) {
        SecurityTemplate tmpl;
        std::vector<Said> said;
        std::vector<std::int64_t> failed;
        ImportReport report;
        report.detailed = [&](std::int64_t line, const std::string& m, const std::string& detail) {
            said.push_back({line, m, detail});
        };
        report.failed = [&](std::int64_t line) { failed.push_back(line); };
        report.keepGoing = keepGoing;
        const ImportOutcome outcome = ImportBytes(text, tmpl, report);
        EXPECT_FALSE(outcome.complete);
        if (keepGoing) {
            EXPECT_EQ(said, every);
            EXPECT_EQ(failed, (std::vector<std::int64_t>{2, 3, 5}));
            EXPECT_EQ(outcome.appended, 1);
        } else {
            EXPECT_EQ(said, std::vector<Said>(every.begin(), every.begin() + 2));
            EXPECT_EQ(failed, std::vector<std::int64_t>{2});
            EXPECT_EQ(outcome.appended, 0);
        }
    }
    SecurityTemplate tmpl;
    Reported reported;
    ImportReport report = reported.Report();
    report.keepGoing = true;
    ImportBytes(text, tmpl, report);
    Numbered messages;
    for (const Said& s : every) {
        messages.emplace_back(s.line, s.message);
    }
    EXPECT_EQ(reported.messages, messages);
}

// A path with a letter beyond ASCII is reported, not shortened, in either file; a line kept
// for another style goes back out with its characters.
TEST(ImportReportTest, TextBeyondAsciiIsReportedOrKept) {
    struct Case {
        const char* fixture;
        std::string jose8Bit; // how "josé" comes back in the 8-bit file
    };
    const Case cases[] = {
        {"/beyond-ascii-unicode.conf", "jos\xC3\xA9"},
        {"/beyond-ascii-8bit.conf", "jos\xE9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        SecurityTemplate tmpl;
        Reported reported;
        const ImportOutcome outcome =
            ImportTemplate(std::string(PERMORA_FIXTURES_DIR) + c.fixture, tmpl, reported.Report());
        EXPECT_FALSE(outcome.complete);
        EXPECT_EQ(outcome.appended, 2);
        EXPECT_EQ(reported.messages, (Numbered{{4, "Invalid File Path"}, {4, "   Invalid File"}}));
        EXPECT_TRUE(reported.warnings.empty());

        const std::string kept = "2,0,\"/vol/nfs\",0,\"owner:" + c.jose8Bit + ":rwx\"";
        const std::string ntfs = "1,0,\"/vol/a\",0,\"D:(A;CIOI;0x1f01ff;;;x)\"";
        EXPECT_EQ(Encode8Bit(tmpl), "cb56f6f4\r\n" + kept + "\r\n" + ntfs + "\r\n");
        EXPECT_EQ(EncodeUnicode(tmpl),
                  "\xFF\xFE" + test::Widen("cb56f6f4\r\n2,0,\"/vol/nfs\",0,\"owner:jos") +
                      "\xE9\0"s + test::Widen(":rwx\"\r\n") + test::Widen(ntfs + "\r\n"));
    }
}

// The forwarding forms report the same messages.
TEST(ImportReportTest, MessageSinkFormGivesTheSameMessages) {
    SecurityTemplate tmpl;
    test::Messages messages;
    ImportTemplate(PERMORA_FIXTURES_DIR "/beyond-ascii-unicode.conf", tmpl, messages.Sink());
    EXPECT_EQ(messages.texts, (std::vector<std::string>{"Invalid File Path", "   Invalid File"}));
    EXPECT_EQ(ImportTemplate(PERMORA_FIXTURES_DIR "/beyond-ascii-unicode.conf", tmpl, {}).appended,
              2);
    EXPECT_FALSE(ImportTemplate(PERMORA_FIXTURES_DIR "/missing.conf", tmpl, ImportReport{}).opened);
}

// Every "   Invalid File" says, to those who ask for details, what the line lacks.
TEST(ImportReportTest, InvalidFileSaysWhatTheLineLacks) {
    const struct {
        std::string text; // the file's bytes
        std::int64_t line;
        std::string message;
        std::string detail;
    } cases[] = {
        {"cb56f6f5\r\n", 1, "   Invalid File",
         "a header line other than cb56f6f4 (a missing field: the level)"},
        {"cb56f6f4\r\n# a comment\r\n", 2, "   Invalid File",
         "a line beginning with \"#\" (comments are not read)"},
        {"cb56f6f4\r\n   \r\n", 2, "   Invalid File", "a line of blanks"},
        {"cb56f6f4\r\n1,0,\"/vol/a\"\r\n", 2, "   Invalid File", "a missing field: the mode"},
        {"cb56f6f4\r\n1,0,\"/vol/a\",0,\"D:(A;CI;0x1;;;a) \"\r\n", 2, "   Invalid File",
         "blanks after the last entry of D:"},
        {"cb56f6f4\r\n1,0,\"/vol/a\",0,\"D:(A;CI;0x1)\"\r\n", 2, "   Invalid File",
         "entry (A;CI;0x1) lacks a field before its account (a missing field)"},
        {"cb56f6f4\r\n1,0,\"/vol/a\",0,\"D:(XA;;FA;;;WD)\"\r\n", 2, "Wrong ace type.",
         "(XA;;FA;;;WD) (conditional entries, XA, XD, XU and ZA, are not supported)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SecurityTemplate tmpl;
        std::vector<std::tuple<std::int64_t, std::string, std::string>> said;
        ImportReport report;
        report.detailed = [&](std::int64_t line, const std::string& m, const std::string& detail) {
            said.emplace_back(line, m, detail);
        };
        (void)ImportBytes(c.text, tmpl, report);
        ASSERT_FALSE(said.empty());
        EXPECT_EQ(said.back(), std::make_tuple(c.line, c.message, c.detail));
    }
}

} // namespace
} // namespace permora
