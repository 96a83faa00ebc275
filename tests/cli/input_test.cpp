// permora-cli on input without end: standard input read as a stream, lines longer than the
// limit refused, line numbers past a 32-bit count, and what check --strict tells of a file
// cut short or read in part.

#include "cli_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <iostream>
#include <istream>
#include <limits>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace permora::cli_test {
namespace {

using namespace std::string_literals;

const std::string kHeader = "cb56f6f4";
const std::string kQt1 = R"L(1,0,"/vol/vol1/qt1",0,"D:(A;CIOI;0x1200a9;;;Everyone)")L";

// Every command that reads a template from standard input stops at a line longer than the
// limit, with status 3, however the stream goes on; it takes little more than the limit
// from the stream.
TEST(CliInput, StandardInputWithoutEndEnds) {
    test::DecodeLimits limits;
    limits.TemplateLine(1000);
    const std::string said = "<stdin>:1: the line is longer than 1000 bytes; the file was read "
                             "no further\n";
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {"check",
         {"check", "-"},
         said + "1 file checked: 0 targets read, 0 errors, 0 warnings\n",
         "permora-cli: -: cannot read the file\n"},
        {"show", {"show", "-"}, "", said + "permora-cli: -: cannot read the file\n"},
        {"convert",
         {"convert", "-", "-o", "out.conf"},
         "",
         said + "permora-cli: -: cannot read the file; nothing was written\n"},
    };
    for (const Case& c : cases) {
        for (const std::string& pattern : {"\0"s, "\xFF\xFE"s, "/vol/a"s}) {
            SCOPED_TRACE(std::string(c.name) + " " + testing::PrintToString(pattern));
            Folder folder;
            test::EndlessBuffer endless(pattern);
            std::istream in(&endless);
            const Outcome outcome = RunIn(folder, c.args, in);
            EXPECT_EQ(outcome.status, 3);
            EXPECT_EQ(outcome.out, c.out);
            EXPECT_EQ(outcome.err, c.err);
            EXPECT_LT(endless.Given(), std::size_t{1} << 20);
            EXPECT_TRUE(folder.Files().empty());
        }
    }
}

// A long line in the middle: the lines before it are read and checked, the rest not; the
// summary counts the file as one that could not be read.
TEST(CliInput, ALongLineStopsTheReadingWhereItStands) {
    test::DecodeLimits limits;
    limits.TemplateLine(64);
    const std::string text = Text8({kHeader, kQt1, std::string(65, 'x'), kQt1});
    for (const bool fromStandardInput : {true, false}) {
        SCOPED_TRACE(fromStandardInput);
        Folder folder;
        WriteBytes((folder.Path() / "a.conf").string(), text);
        const std::string name = fromStandardInput ? "-" : "a.conf";
        const Outcome outcome =
            RunIn(folder, {"check", name}, fromStandardInput ? text : std::string());
        EXPECT_EQ(outcome.status, 3);
        EXPECT_EQ(outcome.out,
                  (fromStandardInput ? "<stdin>" : "a.conf") +
                      ":3: the line is longer than 64 bytes; the file was read no "
                      "further\n1 file checked: 0 targets read, 0 errors, 0 warnings\n"s);
        EXPECT_EQ(outcome.err, "permora-cli: " + name + ": cannot read the file\n");
    }
}

// Line numbers are printed as counted, past 2^31.
TEST(CliInput, LineNumbersPastA32BitCount) {
    test::DecodeLimits limits;
    limits.FirstLine(std::int64_t{std::numeric_limits<std::int32_t>::max()} - 1);
    Folder folder;
    const Outcome outcome = RunIn(folder, {"check", "-"},
                                  Text8({kHeader, R"L(1,0,"/vol/a",0,"D:AI(A;CI;0x1;;;x)")L", "",
                                         R"L(1,0,"/vol/b",0,"D:(Q;CI;0x1;;;x)")L"}));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "<stdin>:2147483647: warning: mark AI of D: is not saved\n"
                           "<stdin>:2147483649: Wrong ace type.: (Q;CI;0x1;;;x)\n"
                           "1 file checked: 1 target read, 1 error, 1 warning; the editor's "
                           "Import stops at the first failing line (<stdin>:2147483649)\n");
}

// check --strict says all that the next save would change: a lone surrogate written as
// U+FFFD, what stands after U+001A, and a descriptor cut short before its closing quote.
TEST(CliInput, CheckStrictTellsWhatTheDecodingChanges) {
    const std::string text = "\xFF\xFE" + test::Widen("cb56f6f4\r\n2,0,\"/vol/nfs\",0,\"owner:") +
                             "\x3D\xD8"s + test::Widen(":rwx\"\r\n" + kQt1 + "\r\n") +
                             test::Widen("1,0,\"/vol/b\",0,\"D:(A;CI;0x1;;;y)\x1A" + kQt1);
    Folder folder;
    WriteBytes((folder.Path() / "a.conf").string(), text);
    const Outcome outcome = RunIn(folder, {"check", "--strict", "a.conf"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out,
              "a.conf:2: warning: lone surrogate U+D83D is saved as U+FFFD\n"
              "a.conf:4: warning: the line ends before the closing quote of its descriptor: the "
              "file may have been cut short\n"
              "a.conf:4: warning: data after U+001A is not saved\n"
              "1 file checked: 3 targets read, 0 errors, 3 warnings\n");
    EXPECT_EQ(outcome.err, "");
}

// check reads on past a failing line, so what stands after U+001A is still told.
TEST(CliInput, CheckTellsOfTheEndOfDataAfterAFailingLine) {
    const std::string file =
        Text8({kHeader, "1,0,\"/vol/bad\",0,\"D:(Q;;0x1;;;x)\"", kQt1}) + "\x1A" + Text8({kQt1});
    Folder folder;
    WriteBytes((folder.Path() / "a.conf").string(), file);
    const Outcome outcome = RunIn(folder, {"check", "a.conf"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.out.find("a.conf:4: warning: data after U+001A is not saved\n"),
              std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("1 file checked: 1 target read, 1 error, 1 warning;"),
              std::string::npos)
        << outcome.out;
}

// What stands after U+001A is never read: a command that writes the file back would lose
// it, so it writes nothing unless forced.
TEST(CliInput, EditingCommandsKeepWhatStandsAfterTheEndOfData) {
    const std::string home = R"L(1,0,"/vol/vol1/home",0,"D:(A;CI;0x1;;;x)")L";
    const std::string file = Text8({kHeader, kQt1}) + "\x1A" + Text8({home});
    const std::string added = R"L(1,0,"/vol/new",0,"D:(A;CIOI;0x1200a9;;;Everyone)")L";
    for (const bool force : {false, true}) {
        SCOPED_TRACE(force);
        Folder folder;
        WriteBytes((folder.Path() / "t.conf").string(), file);
        std::vector<std::string> args = {"add", "t.conf", "--paths", "-"};
        if (force) {
            args.emplace_back("--force");
        }
        const Outcome outcome = RunIn(folder, args, "/vol/new\n");
        EXPECT_EQ(outcome.status, force ? 0 : 1);
        EXPECT_EQ(outcome.err, "t.conf:3: warning: data after U+001A is not saved"s +
                                   (force ? "\n"
                                          : " (this keeps the file from being written)\n"
                                            "permora-cli: t.conf: what the file holds after "
                                            "U+001A would be lost; nothing was written "
                                            "(--force writes anyway)\n"));
        EXPECT_EQ(ReadBytes((folder.Path() / "t.conf").string()),
                  force ? Text8({kHeader, kQt1, added}) : file);
    }
}

// A list of paths without end ends too: at a line longer than the limit (status 3), or after
// a hundred invalid lines (status 1), and nothing is written.
TEST(CliInput, PathListsWithoutEndEnd) {
    test::DecodeLimits limits;
    limits.PathListLine(1000);
    const std::string tooLong = ":1: the line is longer than 1000 bytes; the list was read no "
                                "further\n";
    std::string invalid;
    for (int line = 1; line <= 100; ++line) {
        invalid += "<stdin>:" + std::to_string(line) +
                   ": Invalid File Path: \"a,b\" (',' is not allowed; a path takes letters, "
                   "digits and . _ - { } /)\n";
    }
    const std::string readNoFurther = "100 invalid paths (the list was read no further); "
                                      "nothing was written\n";
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string pattern; // of standard input, endless
        int status;
        std::string err;
    };
    const Case cases[] = {
        {"zero bytes",
         {"add", "t.conf", "--paths", "-"},
         "\0"s,
         3,
         "<stdin>" + tooLong + "permora-cli: -: cannot read the list of paths\n"},
        {"one line",
         {"add", "t.conf", "--paths", "-"},
         "/vol/a",
         3,
         "<stdin>" + tooLong + "permora-cli: -: cannot read the list of paths\n"},
        {"a file of zero bytes",
         {"add", "t.conf", "--paths", "/dev/zero"},
         "",
         3,
         "/dev/zero" + tooLong + "permora-cli: /dev/zero: cannot read the list of paths\n"},
        {"invalid lines",
         {"add", "t.conf", "--paths", "-"},
         "a,b\n",
         1,
         invalid + "permora-cli: " + readNoFurther},
        {"invalid lines to remove",
         {"remove", "t.conf", "--paths", "-"},
         "a,b\n",
         1,
         "permora-cli: -: " + readNoFurther},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        test::EndlessBuffer endless(c.pattern.empty() ? "x" : c.pattern);
        std::istream in(&endless);
        const Outcome outcome = RunIn(folder, c.args, in);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, c.err);
        EXPECT_LT(endless.Given(), std::size_t{1} << 20);
        EXPECT_TRUE(folder.Files().empty());
    }
}

// The peak memory, in KiB, of a process that runs the command over `lines` lines of "y"
// (each a failing line) from standard input, what it prints thrown away.
long PeakOverFailingLines(const std::vector<std::string>& args, long long lines) {
    int feed[2];
    if (::pipe(feed) != 0) {
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(feed[1]);
        ::dup2(feed[0], 0);
        std::ofstream nowhere("/dev/null");
        std::vector<const char*> argv{"permora-cli"};
        for (const std::string& arg : args) {
            argv.push_back(arg.c_str());
        }
        argv.push_back(nullptr);
        std::cin.sync_with_stdio(false);
        ::_exit(
            cli::Run(static_cast<int>(argv.size() - 1), argv.data(), std::cin, nowhere, nowhere));
    }
    ::close(feed[0]);
    // A command that stops reading ends the feeding, not the test.
    const sighandler_t before = ::signal(SIGPIPE, SIG_IGN);
    std::string block;
    for (int i = 0; i < 8192; ++i) {
        block += "y\n";
    }
    for (long long sent = 0; sent < lines; sent += 8192) {
        const std::size_t size =
            static_cast<std::size_t>(std::min<long long>(lines - sent, 8192)) * 2;
        if (::write(feed[1], block.data(), size) != static_cast<ssize_t>(size)) {
            break;
        }
    }
    ::close(feed[1]);
    ::signal(SIGPIPE, before);
    int status = 0;
    struct rusage usage {};
    if (::wait4(child, &status, 0, &usage) != child) {
        return -1;
    }
    return usage.ru_maxrss;
}

// Endless input of failing lines takes no more memory the longer it goes on: the peak at
// ten million such lines is within 8 MiB of the peak at a hundred thousand.
TEST(CliInput, FailingLinesWithoutEndTakeBoundedMemory) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer keeps memory of its own for what is freed";
#endif
    // check reads on past every failing line; the other commands stop at the first.
    const std::vector<std::string> args = {"check", "-"};
    const long small = PeakOverFailingLines(args, 100000);
    const long large = PeakOverFailingLines(args, 10000000);
    ASSERT_GT(small, 0);
    EXPECT_LE(large, small + 8 * 1024);
}

} // namespace
} // namespace permora::cli_test
