#include "platform/private_display_leftovers.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace permora {
namespace {

namespace fs = std::filesystem;

// A process id that no process holds any more: a child that has ended and been reaped.
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

class DisplayLeftovers : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "permora-leftovers-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        base_ = pattern;
    }
    void TearDown() override { fs::remove_all(base_); }

    fs::path Folder(const std::string& name) {
        const fs::path folder = base_ / name;
        fs::create_directory(folder);
        std::ofstream(folder / "passwd") << "secret";
        return folder;
    }

    fs::path base_;
};

// Whether a display folder goes is told by its watcher's lock alone: a folder whose lock
// is free goes, whatever its name says, and one whose lock is held stays, also when the
// process id in its name is of no process here (a watcher in another PID namespace).
TEST_F(DisplayLeftovers, OnlyFoldersOfEndedWatchersGo) {
    const std::string self = std::to_string(::getpid());
    const auto withLock = [](const fs::path& folder) {
        std::ofstream(folder / kWatcherLockName) << "";
        return folder;
    };
    const fs::path ended =
        withLock(Folder("permora-display-" + std::to_string(EndedProcess()) + "-42-aB3xYz"));
    // Same process id, another start: the id was reused since the watcher ended.
    const fs::path reused = withLock(Folder("permora-display-" + self + "-1-Qw7eRt"));
    const fs::path live = Folder(DisplayFolderPrefix() + "Zx9cVb");
    const int liveLock = HoldDisplayFolder(live.string());
    ASSERT_GE(liveLock, 0);
    const fs::path elsewhere =
        Folder("permora-display-" + std::to_string(EndedProcess()) + "-7-nS4pcE");
    const int elsewhereLock = HoldDisplayFolder(elsewhere.string());
    ASSERT_GE(elsewhereLock, 0);
    // Being made: no lock yet.
    const fs::path unlocked =
        Folder("permora-display-" + std::to_string(EndedProcess()) + "-9-mK2jhG");
    const fs::path noStart = withLock(Folder("permora-display-" + self + "-xyz"));
    const fs::path other = withLock(Folder("someone-else-1-2-abc"));
    // A link named like a dead display's folder is left, and so is what it leads to.
    const fs::path target = withLock(Folder("kept-target"));
    fs::create_directory_symlink(target, base_ / "permora-display-1-1-link00");

    RemoveDisplayLeftovers({base_.string(), base_.string()});

    EXPECT_FALSE(fs::exists(ended));
    EXPECT_FALSE(fs::exists(reused));
    EXPECT_TRUE(fs::exists(live / "passwd"));
    EXPECT_TRUE(fs::exists(elsewhere / "passwd"));
    EXPECT_TRUE(fs::exists(unlocked / "passwd"));
    EXPECT_TRUE(fs::exists(noStart / "passwd"));
    EXPECT_TRUE(fs::exists(other / "passwd"));
    EXPECT_TRUE(fs::is_symlink(base_ / "permora-display-1-1-link00"));
    EXPECT_TRUE(fs::exists(target / "passwd"));

    // Once its watcher ends, the folder goes at the next start.
    ::close(elsewhereLock);
    RemoveDisplayLeftovers({base_.string()});
    EXPECT_FALSE(fs::exists(elsewhere));
    EXPECT_TRUE(fs::exists(live / kWatcherLockName));
    ::close(liveLock);
}

TEST_F(DisplayLeftovers, OwnFolderGoesWithItsFilesButNeverThroughALink) {
    const fs::path folder = Folder("display");
    const fs::path target = Folder("target");
    fs::create_directory_symlink(target, base_ / "link");

    RemoveOwnFolder((base_ / "link").string());
    RemoveOwnFolder(folder.string());

    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::is_symlink(base_ / "link"));
    EXPECT_TRUE(fs::exists(target / "passwd"));
}

TEST(DisplayFolderPrefix, NamesThisProcessAndItsStart) {
    const std::string prefix = DisplayFolderPrefix();
    const std::string head = "permora-display-" + std::to_string(::getpid()) + "-";
    ASSERT_EQ(prefix.compare(0, head.size(), head), 0) << prefix;
    const std::string start = prefix.substr(head.size());
    ASSERT_GT(start.size(), 1u);
    EXPECT_EQ(start.back(), '-');
    EXPECT_EQ(start.find_first_not_of("0123456789"), start.size() - 1);
    EXPECT_EQ(XSocketInode(-1), 0u);
}

} // namespace
} // namespace permora
