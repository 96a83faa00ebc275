// permora-cli add through a symbolic link that leads to a file not there yet.

#include "cli_support.h"

#include <gtest/gtest.h>

namespace permora::cli_test {
namespace {

// The link is followed to the file it names, which add creates as it creates a missing
// template, in place and as --output alike; the link stays a link.
TEST(CliLinks, AddThroughALinkToAMissingFileCreatesTheFile) {
    const std::string made = [] {
        Folder plain;
        EXPECT_EQ(RunIn(plain, {"add", "t.conf", "--paths", "-"}, "/vol/a\n").status, 0);
        return ReadBytes((plain.Path() / "t.conf").string());
    }();
    ASSERT_FALSE(made.empty());
    for (const bool asOutput : {false, true}) {
        SCOPED_TRACE(asOutput ? "--output" : "in place");
        Folder folder;
        fs::create_directory(folder.Path() / "sub");
        fs::create_symlink("sub/made.conf", folder.Path() / "link.conf");
        std::vector<std::string> args = {"add", "link.conf", "--paths", "-"};
        if (asOutput) {
            WriteBytes((folder.Path() / "empty.conf").string(),
                       "\xFF\xFE" + test::Widen("cb56f6f4\r\n"));
            args = {"add", "empty.conf", "--paths", "-", "--output", "link.conf"};
        }
        const Outcome outcome = RunIn(folder, args, "/vol/a\n");
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, "added 1 target, skipped 0 already present\n");
        EXPECT_EQ(ReadBytes((folder.Path() / "sub" / "made.conf").string()), made);
        EXPECT_TRUE(fs::is_symlink(folder.Path() / "link.conf"));
    }
}

} // namespace
} // namespace permora::cli_test
