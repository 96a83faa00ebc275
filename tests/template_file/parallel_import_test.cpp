// The import of a file of several blocks read by several threads: the same targets, messages,
// warnings and first failing line as one thread reading line by line.

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <utility>

namespace permora {
namespace {

using namespace std::string_literals;

// Everything an import told, in the order it told it, and the lines of what it appended.
struct Told {
    std::vector<std::string> events;
    std::vector<std::string> lines;
    ImportOutcome outcome;
    bool operator==(const Told& other) const {
        return events == other.events && lines == other.lines &&
               outcome.complete == other.outcome.complete &&
               outcome.appended == other.outcome.appended &&
               outcome.readFailed == other.outcome.readFailed &&
               outcome.tooLong == other.outcome.tooLong &&
               outcome.tooLongLine == other.outcome.tooLongLine;
    }
};

void PrintTo(const Told& told, std::ostream* out) {
    *out << "appended " << told.outcome.appended << ", complete " << told.outcome.complete
         << ", too long " << told.outcome.tooLong << " at " << told.outcome.tooLongLine;
    for (const std::string& event : told.events) {
        *out << "\n  " << event;
    }
}

enum class Way { Bytes, Stream, File, Targets };
enum class Asked { Messages, Details, KeepGoing };

Told Import(const std::string& bytes, Way way, Asked asked, int refuseAt = 0) {
    Told told;
    ImportReport report;
    const auto event = [&told](std::int64_t line, const std::string& what) {
        told.events.push_back(std::to_string(line) + " " + what);
    };
    if (asked == Asked::Messages) {
        report.message = [event](std::int64_t line, const std::string& m) { event(line, m); };
    } else {
        report.detailed = [event](std::int64_t line, const std::string& m, const std::string& d) {
            event(line, m + " | " + d);
        };
    }
    report.warning = [event](std::int64_t line, const std::string& w) { event(line, "w " + w); };
    report.failed = [event](std::int64_t line) { event(line, "failed"); };
    report.keepGoing = asked == Asked::KeepGoing;

    SecurityTemplate tmpl;
    int taken = 0;
    const TargetSink take = [&](std::unique_ptr<TargetObject> target) {
        if (++taken == refuseAt) {
            return false;
        }
        told.lines.push_back(ToLine(*target));
        return true;
    };
    const std::string path = ::testing::TempDir() + "parallel-import.conf";
    switch (way) {
    case Way::Bytes:
        told.outcome = ImportBytes(bytes, tmpl, report);
        break;
    case Way::Stream: {
        std::istringstream in(bytes);
        told.outcome = ImportStream(in, tmpl, report);
        break;
    }
    case Way::File:
        test::WriteBytes(path, bytes);
        told.outcome = ImportTemplate(path, tmpl, report);
        break;
    case Way::Targets:
        told.outcome = ImportTargetBytes(bytes, take, report);
        break;
    }
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
        told.lines.push_back(ToLine(*t));
    }
    return told;
}

// Forty lines of about a hundred bytes, most naming the same accounts, some with warnings, a
// failing line in the second block, another failing line and a line over the length limit
// further on, and data after the end mark.
std::string ManyBlocks(bool utf16, bool longLine) {
    std::string text = "cb56f6f4\r\n";
    for (int i = 1; i <= 40; ++i) {
        std::string sddl = "D:(A;CIOI;0x1200a9;;;Everyone)(A;CI;0x1f01ff;;;LAB\\admins)";
        if (i % 7 == 0) {
            sddl += "(A;CI;0x1;;;LAB\\admins)"; // merged: a warning
        }
        if (i == 6) {
            sddl = "D:(X;CI;0x1;;;a)"; // the second block's failing line
        }
        if (i == 20) {
            sddl = "D:(A;CI;0x1;;;LAB\\john.doe)";
        }
        if (i == 30 && longLine) {
            sddl += std::string(300, 'x'); // over the limit the test sets
        }
        const std::string style = i == 3 ? "2" : "1"; // kept as it stands, surrogate and all
        text +=
            style + ",0,\"/vol/vol1/home/user" + std::to_string(i) + "\",0,\"" + sddl + "\"\r\n";
    }
    text += "\x1A"
            "after the end";
    if (!utf16) {
        return text;
    }
    std::string units = "\xFF\xFE" + test::Widen(text);
    // A lone surrogate in the descriptor of user3's line, whose style keeps it as it stands.
    const std::size_t at = units.find(test::Widen("user3\",0,\"D:"));
    return units.insert(at + 20, "\x00\xD8"s);
}

TEST(ParallelImport, TellsWhatOneThreadTellsInTheSameOrder) {
    for (const auto& [utf16, longLine] : {std::pair{false, true}, std::pair{true, true},
                                          std::pair{false, false}, std::pair{true, false}}) {
        const std::string bytes = ManyBlocks(utf16, longLine);
        for (const Way way : {Way::Bytes, Way::Stream, Way::File, Way::Targets}) {
            for (const Asked asked : {Asked::Messages, Asked::Details, Asked::KeepGoing}) {
                for (const int refuseAt : {0, 12}) {
                    if (refuseAt != 0 && way != Way::Targets) {
                        continue;
                    }
                    Told expected;
                    {
                        test::DecodeLimits lineLimit;
                        lineLimit.TemplateLine(300);
                        const test::Parallel one(1, 256);
                        expected = Import(bytes, way, asked, refuseAt);
                    }
                    // Lines are numbered from the header, line 1: user6 is line 7.
                    if (refuseAt != 0) {
                        EXPECT_EQ(expected.lines.size(), asked == Asked::KeepGoing ? 11u : 5u);
                    } else if (asked == Asked::KeepGoing && !longLine) {
                        EXPECT_EQ(expected.outcome.appended, 38);
                        EXPECT_EQ(expected.events.back(), "42 w data after U+001A is not saved");
                        EXPECT_EQ(std::count(expected.events.begin(), expected.events.end(),
                                             "4 w lone surrogate U+D800 is saved as U+FFFD"),
                                  utf16 ? 1 : 0);
                    } else if (asked == Asked::KeepGoing) {
                        EXPECT_TRUE(expected.outcome.tooLong);
                        EXPECT_EQ(expected.outcome.tooLongLine, 31);
                        EXPECT_EQ(expected.outcome.appended, 27);
                    } else {
                        EXPECT_EQ(expected.events.back(), "7 failed");
                        EXPECT_EQ(expected.outcome.appended, 5);
                        EXPECT_FALSE(expected.outcome.tooLong);
                    }
                    for (const int threads : {2, 4}) {
                        SCOPED_TRACE(::testing::Message()
                                     << "utf16 " << utf16 << ", long line " << longLine << ", way "
                                     << static_cast<int>(way) << ", asked "
                                     << static_cast<int>(asked) << ", refuse at " << refuseAt
                                     << ", threads " << threads);
                        test::DecodeLimits lineLimit;
                        lineLimit.TemplateLine(300);
                        const test::Parallel several(threads, 256);
                        EXPECT_EQ(Import(bytes, way, asked, refuseAt), expected);
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace permora
