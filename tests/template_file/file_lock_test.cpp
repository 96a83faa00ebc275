// Saves of one file take turns: the lock on the file a save replaces, and the look after
// locking at where the name now leads.

#include "file_test_support.h"
#include "template_file/file_lock.h"
#include "template_file/lock_detail.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
        lock_detail::lockCall = ::flock;
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

// What leads to no file a save may replace is not locked, and the save refuses it as a file
// it cannot open.
TEST_F(FileLockTest, WhatCannotBeReachedIsRefused) {
    fs::create_directory(PathOf("folder"));
    fs::create_symlink("loop", PathOf("loop"));
    for (const std::string& path : {PathOf("gone/t.conf"), PathOf("folder"), PathOf("loop")}) {
        SCOPED_TRACE(path);
        const FileLock lock = FileLock::Take(path, LockWait::No);
        EXPECT_EQ(lock.Status(), FileLock::State::Failed);
        EXPECT_EQ(lock.Why(), FileLock::Problem::Open);
        EXPECT_EQ(SaveTemplate(path, *OneTarget("/vol/a"), Encoding::Unicode),
                  SaveStatus::OpenFailed);
    }
}

// A file system that cannot lock: nothing is written, unless the caller chose to write
// without the lock.
TEST_F(FileLockTest, WhereLocksFailNothingIsWrittenUnlessAskedTo) {
    lock_detail::lockCall = [](int, int) {
        errno = ENOLCK;
        return -1;
    };
    for (const bool exists : {true, false}) {
        SCOPED_TRACE(exists ? "replacing" : "creating");
        const std::string path = PathOf(exists ? "t.conf" : "new.conf");
        if (exists) {
            test::WriteBytes(path, "old");
        }
        int error = 0;
        EXPECT_EQ(
            SaveTemplate(path, *OneTarget("/vol/a"), Encoding::EightBit, LockWait::Yes, &error),
            SaveStatus::LockFailed);
        EXPECT_EQ(error, ENOLCK);
        EXPECT_EQ(fs::exists(path) ? test::ReadBytes(path) : "none", exists ? "old" : "none");
        const LockOptions unlocked(LockWait::Yes, false);
        EXPECT_EQ(SaveTemplate(path, *OneTarget("/vol/a"), Encoding::EightBit, unlocked),
                  SaveStatus::Saved);
        EXPECT_EQ(test::ReadBytes(path),
                  "cb56f6f4\r\n1,0,\"/vol/a\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)\"\r\n");
    }
    lock_detail::lockCall = ::flock;
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

// A writer that finds the file replaced each time it got the lock locks the new one again,
// however often that happens: it never goes on without the lock.
TEST_F(FileLockTest, AWriterLocksAgainHoweverOftenTheFileIsReplaced) {
    static std::string path;
    static std::string replacement;
    static int calls;
    path = PathOf("t.conf");
    replacement = PathOf("new");
    calls = 0;
    test::WriteBytes(path, "old");
    lock_detail::afterLock = [] {
        if (calls++ < 1000) {
            test::WriteBytes(replacement, "new");
            std::rename(replacement.c_str(), path.c_str());
        }
    };
    const FileLock lock = FileLock::Take(path, LockWait::Yes);
    lock_detail::afterLock = nullptr;
    EXPECT_EQ(calls, 1001);
    ASSERT_EQ(lock.Status(), FileLock::State::Held);
    struct stat now {};
    ASSERT_EQ(::stat(path.c_str(), &now), 0);
    EXPECT_TRUE(lock.Covers(now.st_dev, now.st_ino));
}

// Between the lock (and the read under it) and the save, another account puts something
// else under the name, or moves the folder and puts a link in its way: the save writes only
// the file that was locked, in the folder it was in, and nothing else.
TEST_F(FileLockTest, ASaveUnderALockWritesOnlyTheFileThatWasLocked) {
    struct Case {
        const char* what;
        bool existed;
        std::function<void(const fs::path& dir)> meanwhile;
        SaveStatus status;
    };
    const std::vector<Case> cases = {
        {"a link to another file put in its place", true,
         [](const fs::path& dir) {
             fs::remove(dir / "sub" / "t.conf");
             fs::create_symlink(dir / "victim", dir / "sub" / "t.conf");
         },
         SaveStatus::Replaced},
        {"a link put where there was nothing", false,
         [](const fs::path& dir) { fs::create_symlink(dir / "victim", dir / "sub" / "t.conf"); },
         SaveStatus::Replaced},
        {"another file put in its place", true,
         [](const fs::path& dir) {
             test::WriteBytes((dir / "other").string(), "other");
             fs::rename(dir / "other", dir / "sub" / "t.conf");
         },
         SaveStatus::Replaced},
        {"removed", true, [](const fs::path& dir) { fs::remove(dir / "sub" / "t.conf"); },
         SaveStatus::Replaced},
        {"the folder moved and a link put in its way", true,
         [](const fs::path& dir) {
             fs::rename(dir / "sub", dir / "moved");
             fs::create_directory(dir / "elsewhere");
             fs::create_symlink(dir / "elsewhere", dir / "sub");
         },
         SaveStatus::Saved},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ignored;
        for (const char* name : {"sub", "moved", "elsewhere", "victim"}) {
            fs::remove_all(dir_ / name, ignored);
        }
        fs::create_directory(dir_ / "sub");
        test::WriteBytes(PathOf("victim"), "victim");
        const std::string path = PathOf("sub/t.conf");
        if (c.existed) {
            test::WriteBytes(path, "old");
        }
        const FileLock held = FileLock::Take(path, LockWait::No);
        ASSERT_EQ(held.Status(), FileLock::State::Held);
        c.meanwhile(dir_);
        EXPECT_EQ(SaveTemplate(path, *OneTarget("/vol/a"), Encoding::EightBit, held), c.status);
        EXPECT_EQ(test::ReadBytes(PathOf("victim")), "victim");
        if (c.status == SaveStatus::Saved) {
            EXPECT_EQ(test::ReadBytes(PathOf("moved/t.conf")),
                      "cb56f6f4\r\n1,0,\"/vol/a\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)\"\r\n");
            EXPECT_TRUE(fs::is_empty(dir_ / "elsewhere"));
        }
    }
}

// Links in a sticky folder that others may write are followed only when they belong to
// the follower or to the folder's owner, as the system itself would have it.
TEST_F(FileLockTest, ALinkPlantedInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs to give links to other accounts";
    }
    constexpr uid_t kOther = 65534;
    constexpr uid_t kFolderOwner = 4242;
    struct Case {
        const char* what;
        mode_t folderMode;
        uid_t linkOwner;
        bool followed;
    };
    const std::vector<Case> cases = {
        {"another account's link in a sticky shared folder", 01777, kOther, false},
        {"the follower's own link there", 01777, 0, true},
        {"the folder owner's link there", 01777, kFolderOwner, true},
        {"another account's link in a shared folder without the sticky bit", 0777, kOther, true},
        {"another account's link in a sticky folder others may not write", 01775, kOther, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ignored;
        fs::remove_all(dir_ / "shared", ignored);
        fs::create_directory(dir_ / "shared");
        ASSERT_EQ(::chown(PathOf("shared").c_str(), kFolderOwner, kFolderOwner), 0);
        ASSERT_EQ(::chmod(PathOf("shared").c_str(), c.folderMode), 0);
        test::WriteBytes(PathOf("mine"), "mine");
        const std::string link = PathOf("shared/out.conf");
        fs::create_symlink(PathOf("mine"), link);
        ASSERT_EQ(::lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);
        int error = 0;
        const SaveStatus status =
            SaveTemplate(link, *OneTarget("/vol/a"), Encoding::EightBit, LockWait::No, &error);
        EXPECT_EQ(status, c.followed ? SaveStatus::Saved : SaveStatus::OpenFailed);
        EXPECT_EQ(test::ReadBytes(PathOf("mine")) == "mine", !c.followed);
        EXPECT_TRUE(fs::is_symlink(link));
        if (!c.followed) {
            EXPECT_EQ(error, EACCES);
        }
    }
}

// Writers take turns on a lock file beside the template that only those who may write the
// template can open; a reader's lock on the template itself holds no writer back, while a
// writer that locks the template exclusively (as earlier versions do) is still waited for.
TEST_F(FileLockTest, OnlyThoseWhoMayWriteCanHoldWritersBack) {
    const std::string path = PathOf("t.conf");
    for (const mode_t mode : {mode_t{0644}, mode_t{0664}, mode_t{0602}}) {
        SCOPED_TRACE(mode);
        test::WriteBytes(path, "old");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        {
            const FileLock lock = FileLock::Take(path, LockWait::No);
            ASSERT_EQ(lock.Status(), FileLock::State::Held);
        }
        struct stat lockFile {};
        ASSERT_EQ(::stat(PathOf(".t.conf.lock").c_str(), &lockFile), 0);
        const mode_t writers = mode == 0644 ? 0600 : mode == 0664 ? 0660 : 0606;
        EXPECT_EQ(lockFile.st_mode & 07777, writers);
        EXPECT_EQ(lockFile.st_uid, ::geteuid());
    }
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);

    const int reader = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    ASSERT_EQ(::flock(reader, LOCK_SH | LOCK_NB), 0);
    EXPECT_EQ(SaveTemplate(path, *OneTarget("/vol/a"), Encoding::EightBit), SaveStatus::Saved);
    ::close(reader);

    const int older = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(older, 0);
    ASSERT_EQ(::flock(older, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(FileLock::Take(path, LockWait::No).Status(), FileLock::State::Busy);
    ::close(older);
    EXPECT_EQ(FileLock::Take(path, LockWait::No).Status(), FileLock::State::Held);
}

// A lock file made first by an account that may not write the template (a sticky folder
// lets anyone make it) is refused, with the reason, and nothing is written.
TEST_F(FileLockTest, ALockFileOfAnAccountThatMayNotWriteIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs to give files to other accounts";
    }
    constexpr uid_t kOther = 65534;
    const std::string path = PathOf("t.conf");
    const std::string lockFile = PathOf(".t.conf.lock");
    for (const mode_t mode : {mode_t{0644}, mode_t{0666}}) {
        SCOPED_TRACE(mode);
        test::WriteBytes(path, "old");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        fs::remove(lockFile);
        test::WriteBytes(lockFile, "");
        ASSERT_EQ(::chown(lockFile.c_str(), kOther, kOther), 0);
        const FileLock lock = FileLock::Take(path, LockWait::No);
        int error = 0;
        const SaveStatus status =
            SaveTemplate(path, *OneTarget("/vol/a"), Encoding::EightBit, LockWait::No, &error);
        if (mode == 0644) {
            EXPECT_EQ(lock.Status(), FileLock::State::Failed);
            EXPECT_EQ(lock.Why(), FileLock::Problem::Lock);
            EXPECT_EQ(lock.Error(), kForeignLockFile);
            EXPECT_EQ(status, SaveStatus::LockFailed);
            EXPECT_EQ(error, kForeignLockFile);
            EXPECT_EQ(test::ReadBytes(path), "old");
        } else {
            EXPECT_EQ(lock.Status(), FileLock::State::Held);
        }
    }
}

} // namespace
} // namespace permora
