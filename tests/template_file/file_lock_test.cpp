// Saves of one file take turns: the lock on the file a save replaces, and the look after
// locking at where the name now leads.

#include "file_test_support.h"
#include "template_file/file_lock.h"
#include "template_file/lock_detail.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace permora {
namespace {

namespace fs = std::filesystem;

class FileLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::path(::testing::TempDir()) / "permora-lock-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        lock_detail::afterLock = nullptr;
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    // Whether another opening of the path could take the lock now.
    static bool Free(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        EXPECT_GE(fd, 0) << path;
        const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);
        return free;
    }

    static std::unique_ptr<SecurityTemplate> OneTarget(const std::string& path) {
        auto tmpl = std::make_unique<SecurityTemplate>();
        tmpl->Append(std::make_unique<TargetObject>(path, MakeDefaultDescriptor()));
        return tmpl;
    }

    fs::path dir_;
};

TEST_F(FileLockTest, ASaveThatFindsTheFileLockedWritesNothing) {
    const std::string path = PathOf("t.conf");
    const std::string old = "cb56f6f4\r\n";
    test::WriteBytes(path, old);
    const std::string link = PathOf("link.conf");
    fs::create_symlink("t.conf", link);
    {
        const FileLock held = FileLock::Take(link, LockWait::No);
        ASSERT_EQ(held.Status(), FileLock::State::Held);
        EXPECT_EQ(held.Target(), path);
        EXPECT_FALSE(Free(path));
        EXPECT_EQ(FileLock::Take(path, LockWait::No).Status(), FileLock::State::Busy);
        for (const Encoding encoding : {Encoding::Unicode, Encoding::EightBit}) {
            EXPECT_EQ(SaveTemplate(path, *OneTarget("/vol/a"), encoding), SaveStatus::Locked);
        }
        EXPECT_EQ(test::ReadBytes(path), old);
        // The holder itself saves under its lock.
        ASSERT_EQ(SaveTemplate(path, *OneTarget("/vol/b"), Encoding::EightBit, held),
                  SaveStatus::Saved);
    }
    EXPECT_TRUE(Free(path));
    ASSERT_EQ(SaveTemplate(path, *OneTarget("/vol/c"), Encoding::EightBit), SaveStatus::Saved);
    EXPECT_EQ(test::ReadBytes(path),
              "cb56f6f4\r\n1,0,\"/vol/c\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)\"\r\n");
    EXPECT_TRUE(Free(path)); // the save let its lock go
}

// A file that is not there yet: its folder stands for it, so that two saves that would
// create it take turns, and a link to it leads there too.
TEST_F(FileLockTest, AMissingFileIsLockedThroughItsFolder) {
    const std::string path = PathOf("new.conf");
    fs::create_symlink("new.conf", PathOf("link.conf"));
    const FileLock held = FileLock::Take(PathOf("link.conf"), LockWait::No);
    ASSERT_EQ(held.Status(), FileLock::State::Held);
    EXPECT_FALSE(held.Exists());
    EXPECT_EQ(held.Target(), path);
    EXPECT_FALSE(Free(dir_.string()));
    EXPECT_EQ(SaveTemplate(path, *OneTarget("/vol/a"), Encoding::Unicode), SaveStatus::Locked);
    EXPECT_FALSE(fs::exists(path));
    ASSERT_EQ(SaveTemplate(PathOf("link.conf"), *OneTarget("/vol/a"), Encoding::Unicode, held),
              SaveStatus::Saved);
    EXPECT_TRUE(fs::is_symlink(PathOf("link.conf")));
    EXPECT_TRUE(fs::is_regular_file(path));
}

// What cannot be locked is left to the save, which refuses it as before.
TEST_F(FileLockTest, WhatCannotBeLockedIsLeftToTheSave) {
    fs::create_directory(PathOf("folder"));
    fs::create_symlink("loop", PathOf("loop"));
    for (const std::string& path : {PathOf("gone/t.conf"), PathOf("folder"), PathOf("loop")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(FileLock::Take(path, LockWait::No).Status(), FileLock::State::Unlocked);
        EXPECT_EQ(SaveTemplate(path, *OneTarget("/vol/a"), Encoding::Unicode),
                  SaveStatus::OpenFailed);
    }
}

// Another saver may put a new file in the name's place while this one waits for the old
// file's lock; that lock then guards nothing, and the new file is locked instead.
TEST_F(FileLockTest, ANameThatLeadsElsewhereOnceLockedIsLockedAgain) {
    static std::string path;
    static std::string replacement;
    static int calls;
    path = PathOf("t.conf");
    replacement = PathOf("new");
    calls = 0;
    for (const bool missing : {false, true}) {
        SCOPED_TRACE(missing ? "created meanwhile" : "replaced meanwhile");
        calls = 0;
        fs::remove(path);
        if (!missing) {
            test::WriteBytes(path, "old");
        }
        lock_detail::afterLock = [] {
            if (calls++ == 0) {
                test::WriteBytes(replacement, "new");
                std::rename(replacement.c_str(), path.c_str());
            }
        };
        const FileLock lock = FileLock::Take(path, LockWait::No);
        lock_detail::afterLock = nullptr;
        EXPECT_EQ(calls, 2);
        ASSERT_EQ(lock.Status(), FileLock::State::Held);
        EXPECT_TRUE(lock.Exists());
        struct stat now {};
        ASSERT_EQ(::stat(path.c_str(), &now), 0);
        EXPECT_TRUE(lock.Covers(now.st_dev, now.st_ino));
        EXPECT_FALSE(Free(path));
    }
}

} // namespace
} // namespace permora
