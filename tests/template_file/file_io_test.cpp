#include "file_test_support.h"
#include "template_file/safe_save.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <map>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace permora {
namespace {

namespace fs = std::filesystem;

// What a save must keep of the file it replaces.
struct Identity {
    uid_t uid = 0;
    gid_t gid = 0;
    mode_t mode = 0;
    ino_t inode = 0;
    std::map<std::string, std::string> attributes; // the access control list included
};

Identity IdentityOf(const std::string& path) {
    Identity identity;
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    identity.uid = info.st_uid;
    identity.gid = info.st_gid;
    identity.mode = info.st_mode;
    identity.inode = info.st_ino;
    std::string names(65536, '\0');
    const ssize_t length = ::listxattr(path.c_str(), names.data(), names.size());
    names.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
        const std::string name = names.c_str() + at;
        std::string value(65536, '\0');
        const ssize_t size = ::getxattr(path.c_str(), name.c_str(), value.data(), value.size());
        value.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
        identity.attributes[name] = value;
    }
    return identity;
}

void ExpectSameIdentity(const Identity& after, const Identity& before) {
    EXPECT_EQ(after.uid, before.uid);
    EXPECT_EQ(after.gid, before.gid);
    EXPECT_EQ(after.mode, before.mode) << std::oct << after.mode << " was " << before.mode;
    EXPECT_EQ(after.attributes, before.attributes);
}

// A case of a table of saves: what the folder holds and the name the save is given.
struct FolderCase {
    const char* what;
    const char* path;
    std::function<bool(const fs::path& dir)> make; // false: not possible here
};

// Saves as Unicode with a file size limit of 64 bytes, under which writing more fails, for
// root as well.
SaveStatus SaveUnderSmallFileSizeLimit(const std::string& path, const SecurityTemplate& tmpl) {
    struct rlimit saved {};
    EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const SaveStatus status = SaveTemplate(path, tmpl, Encoding::Unicode);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return status;
}

bool RunCommand(const std::string& command) {
    return std::system((command + " 2>/dev/null").c_str()) == 0;
}

class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::path(::testing::TempDir()) / "permora-file-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { RemoveFolder(); }

    void RemoveFolder() const {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        // Folders a test locked must be opened again before they can be emptied.
        for (auto item = fs::recursive_directory_iterator(dir_, ignored);
             item != fs::recursive_directory_iterator(); item.increment(ignored)) {
            if (item->is_directory(ignored) && !item->is_symlink(ignored)) {
                fs::permissions(item->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
            }
        }
        fs::remove_all(dir_, ignored);
    }

    // Each case of a table starts from an empty folder.
    void EmptyFolder() const {
        RemoveFolder();
        fs::create_directory(dir_);
    }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    // The names in the folder but the lock files that saves leave.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(dir_)) {
            if (!test::IsLockFile(item.path().filename().string())) {
                names.push_back(item.path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Every name under the folder (lock files aside), links not followed, with what it is: a
    // file's bytes, a link's text, "folder" or "other".
    std::map<std::string, std::string> Tree() const {
        std::map<std::string, std::string> tree;
        for (const auto& item : fs::recursive_directory_iterator(dir_)) {
            if (test::IsLockFile(item.path().filename().string())) {
                continue;
            }
            const fs::file_status status = item.symlink_status();
            std::string what = "other";
            if (fs::is_symlink(status)) {
                what = "link to " + fs::read_symlink(item.path()).string();
            } else if (fs::is_directory(status)) {
                what = "folder";
            } else if (fs::is_regular_file(status)) {
                what = "file " + test::ReadBytes(item.path().string());
            }
            tree[item.path().lexically_relative(dir_).string()] = what;
        }
        return tree;
    }

    // Runs the save as a user without privileges: in a child process that becomes "nobody"
    // when the tests run as root. Empty when that cannot be done.
    std::optional<SaveStatus> SaveUnprivileged(const std::function<SaveStatus()>& save) const {
        if (::geteuid() != 0) {
            return save();
        }
        fs::permissions(dir_, fs::perms::all);
        constexpr int kCannotDrop = 100;
        const pid_t child = ::fork();
        if (child < 0) {
            return std::nullopt;
        }
        if (child == 0) {
            const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 &&
                                 ::setuid(kNobody) == 0 &&
                                 ::access(dir_.c_str(), R_OK | W_OK | X_OK) == 0;
            ::_exit(dropped ? static_cast<int>(save()) : kCannotDrop);
        }
        int status = 0;
        if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) == kCannotDrop) {
            return std::nullopt;
        }
        return static_cast<SaveStatus>(WEXITSTATUS(status));
    }

    // The user the unprivileged saves run as: the tests' own when they do not run as root.
    static uid_t SaverId() { return ::geteuid() == 0 ? kNobody : ::geteuid(); }
    static constexpr uid_t kNobody = 65534;

    static mode_t Umask() {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
    }

    static mode_t ModeOf(const std::string& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0);
        return info.st_mode & 07777;
    }

    fs::path dir_;
};

TEST_F(FileTest, SaveWritesTheBytesOfEitherEncoding) {
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    const std::string path = PathOf("security.conf");
    ASSERT_EQ(SaveTemplate(path, tmpl, Encoding::Unicode), SaveStatus::Saved);
    EXPECT_EQ(test::ReadBytes(path), EncodeUnicode(tmpl));
    EXPECT_EQ(ModeOf(path), 0666 & ~Umask());
    ASSERT_EQ(SaveTemplate(path, tmpl, Encoding::EightBit), SaveStatus::Saved);
    EXPECT_EQ(test::ReadBytes(path), Encode8Bit(tmpl));
    EXPECT_EQ(Names(), std::vector<std::string>{"security.conf"});
}

TEST_F(FileTest, SaveReplacesAnExistingFileAndKeepsItsPermissions) {
    const std::string path = PathOf("security.conf");
    test::WriteBytes(path, std::string(5000, 'x'));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    ASSERT_EQ(SaveTemplate(path, tmpl, Encoding::EightBit), SaveStatus::Saved);
    EXPECT_EQ(test::ReadBytes(path), Encode8Bit(tmpl));
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(Names(), std::vector<std::string>{"security.conf"});
}

TEST_F(FileTest, SaveThroughALinkReplacesTheFileItPointsTo) {
    const std::string real = PathOf("real.conf");
    const std::string link = PathOf("link.conf");
    test::WriteBytes(real, "old");
    fs::create_symlink(real, link);
    SecurityTemplate tmpl;
    ASSERT_EQ(SaveTemplate(link, tmpl, Encoding::EightBit), SaveStatus::Saved);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(real), "cb56f6f4\r\n");
    EXPECT_EQ(Names(), (std::vector<std::string>{"link.conf", "real.conf"}));
}

TEST_F(FileTest, SaveToAFolderThatDoesNotExistFailsToOpen) {
    SecurityTemplate tmpl;
    EXPECT_EQ(SaveTemplate(PathOf("missing/security.conf"), tmpl, Encoding::Unicode),
              SaveStatus::OpenFailed);
    EXPECT_EQ(SaveTemplate("", tmpl, Encoding::Unicode), SaveStatus::OpenFailed);
    EXPECT_TRUE(Names().empty());
}

TEST_F(FileTest, SaveRefusesWhatIsNoFileAndChangesNothing) {
    const std::vector<FolderCase> cases = {
        {"folder", "security.conf",
         [](const fs::path& dir) {
             fs::create_directory(dir / "security.conf");
             test::WriteBytes((dir / "security.conf" / "inside").string(), "keep");
             return true;
         }},
        {"link to a folder", "link.conf",
         [](const fs::path& dir) {
             fs::create_directory(dir / "real");
             return fs::create_symlink("real", dir / "link.conf"), true;
         }},
        {"link loop", "a.conf",
         [](const fs::path& dir) {
             fs::create_symlink("b.conf", dir / "a.conf");
             return fs::create_symlink(dir / "a.conf", dir / "b.conf"), true;
         }},
        {"link to itself", "self.conf",
         [](const fs::path& dir) {
             return fs::create_symlink("self.conf", dir / "self.conf"), true;
         }},
        {"link to a file in a missing folder", "link.conf",
         [](const fs::path& dir) {
             return fs::create_symlink("missing/real.conf", dir / "link.conf"), true;
         }},
        {"name ending in a slash", "new.conf/", [](const fs::path&) { return true; }},
        {"link to a name ending in a slash", "link.conf",
         [](const fs::path& dir) {
             return fs::create_symlink("new.conf/", dir / "link.conf"), true;
         }},
        {"pipe", "pipe.conf",
         [](const fs::path& dir) { return ::mkfifo((dir / "pipe.conf").c_str(), 0600) == 0; }},
    };
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyFolder();
        ASSERT_TRUE(c.make(dir_));
        const auto before = Tree();
        const std::string path = PathOf(c.path);
        EXPECT_EQ(SaveTemplate(path, tmpl, Encoding::Unicode), SaveStatus::OpenFailed);
        EXPECT_EQ(Tree(), before);
        // Neither is it read.
        SecurityTemplate read;
        EXPECT_FALSE(ImportTemplate(path, read, {}).opened);
    }
}

TEST_F(FileTest, SaveFollowsLinksAndKeepsThem) {
    struct Case {
        const char* what;
        std::function<void(const fs::path& dir)> make;
        const char* saved;              // the name the save is given
        const char* written;            // the file that gets the bytes
        std::vector<std::string> links; // names that must still be symbolic links
    };
    const std::vector<Case> cases = {
        {"link to a missing file",
         [](const fs::path& dir) { fs::create_symlink("real.conf", dir / "link.conf"); },
         "link.conf",
         "real.conf",
         {"link.conf"}},
        {"chain of relative and absolute links through a folder",
         [](const fs::path& dir) {
             fs::create_directory(dir / "sub");
             fs::create_symlink("sub/mid.conf", dir / "link.conf");
             fs::create_symlink(dir / "sub" / "end.conf", dir / "sub" / "mid.conf");
             fs::create_symlink("../real.conf", dir / "sub" / "end.conf");
             test::WriteBytes((dir / "real.conf").string(), "old");
         },
         "link.conf",
         "real.conf",
         {"link.conf", "sub/mid.conf", "sub/end.conf"}},
        {"second hard link",
         [](const fs::path& dir) {
             test::WriteBytes((dir / "real.conf").string(), std::string(3000, 'o'));
             fs::create_hard_link(dir / "real.conf", dir / "other.conf");
         },
         "other.conf",
         "real.conf",
         {}},
    };
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    const std::string bytes = Encode8Bit(tmpl);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyFolder();
        c.make(dir_);
        const auto before = Tree();
        ASSERT_EQ(SaveTemplate(PathOf(c.saved), tmpl, Encoding::EightBit), SaveStatus::Saved);
        EXPECT_EQ(test::ReadBytes(PathOf(c.saved)), bytes);
        EXPECT_EQ(test::ReadBytes(PathOf(c.written)), bytes);
        for (const std::string& link : c.links) {
            EXPECT_EQ(Tree()[link], before.at(link));
        }
        auto after = Tree();
        after.erase(c.written);
        after.erase(c.saved);
        auto expected = before;
        expected.erase(c.written);
        expected.erase(c.saved);
        EXPECT_EQ(after, expected); // nothing else written, no temporary file left
    }
}

TEST_F(FileTest, ReplacedFileKeepsItsOwnerModeAccessListAndAttributes) {
    struct Case {
        const char* what;
        // Gives the file (or its folder) what the save must keep; false: not possible here.
        std::function<bool(const std::string& file, const fs::path& dir)> make;
    };
    const std::vector<Case> cases = {
        {"unusual mode with set-group-id",
         [](const std::string& file, const fs::path&) {
             return ::chmod(file.c_str(), 02604) == 0;
         }},
        {"owner and group of another user",
         [](const std::string& file, const fs::path&) {
             return ::geteuid() == 0 && ::chown(file.c_str(), 1, 1) == 0 &&
                    ::chmod(file.c_str(), 0664) == 0;
         }},
        // The mask of this list is rw-, which the mode shows as the group bits: a mode copied
        // onto a file without the list would let the whole group write.
        {"access control list",
         [](const std::string& file, const fs::path&) {
             return RunCommand("setfacl -m user:daemon:rw-,group::r-- '" + file + "'");
         }},
        {"user attribute",
         [](const std::string& file, const fs::path&) {
             return ::setxattr(file.c_str(), "user.permora.note", "kept", 4, 0) == 0;
         }},
        {"folder whose default access list the old file does not have",
         [](const std::string&, const fs::path& dir) {
             return RunCommand("setfacl -d -m user:daemon:rwx '" + dir.string() + "'");
         }},
    };
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyFolder();
        const std::string path = PathOf("security.conf");
        test::WriteBytes(path, "old");
        ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
        if (!c.make(path, dir_)) {
            std::cout << "[ SKIPPED  ] " << c.what << ": not possible here\n";
            continue;
        }
        const Identity before = IdentityOf(path);
        ASSERT_EQ(SaveTemplate(path, tmpl, Encoding::Unicode), SaveStatus::Saved);
        EXPECT_EQ(test::ReadBytes(path), EncodeUnicode(tmpl));
        ExpectSameIdentity(IdentityOf(path), before);
        EXPECT_EQ(Names(), std::vector<std::string>{"security.conf"});
    }
}

TEST_F(FileTest, FileTheSaverMayWriteButNotReplaceIsWrittenInPlace) {
    const std::vector<FolderCase> cases = {
        {"folder the saver cannot write", "locked/security.conf",
         [](const fs::path& dir) {
             fs::create_directory(dir / "locked");
             const std::string file = (dir / "locked" / "security.conf").string();
             test::WriteBytes(file, std::string(4000, 'o'));
             return ::chown(file.c_str(), SaverId(), SaverId()) == 0 &&
                    ::chmod(file.c_str(), 0644) == 0 &&
                    ::chmod((dir / "locked").c_str(), 0555) == 0;
         }},
        {"file of another owner that the saver may write", "security.conf",
         [](const fs::path& dir) {
             const std::string file = (dir / "security.conf").string();
             test::WriteBytes(file, "old");
             return ::geteuid() == 0 && ::chmod(file.c_str(), 0666) == 0;
         }},
    };
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyFolder();
        if (!c.make(dir_)) {
            std::cout << "[ SKIPPED  ] " << c.what << ": not possible here\n";
            continue;
        }
        const std::string path = PathOf(c.path);
        const Identity before = IdentityOf(path);
        const auto status =
            SaveUnprivileged([&] { return SaveTemplate(path, tmpl, Encoding::EightBit); });
        if (!status) {
            GTEST_SKIP() << "cannot save as a user without privileges";
        }
        EXPECT_EQ(*status, SaveStatus::Saved);
        EXPECT_EQ(test::ReadBytes(path), Encode8Bit(tmpl));
        const Identity after = IdentityOf(path);
        EXPECT_EQ(after.inode, before.inode);
        ExpectSameIdentity(after, before);
    }
}

TEST_F(FileTest, FailedWriteInPlacePutsThePreviousBytesBack) {
    struct Case {
        const char* what;
        std::string previous;
        bool reserveFails; // else the second write fails after the first wrote a little
    };
    const std::vector<Case> cases = {
        {"longer file, write fails", std::string(5000, 'o'), false},
        {"shorter file, write fails", "cb56f6f4\r\nold\r\n", false},
        {"shorter file, no room for the new size", "cb56f6f4\r\nold\r\n", true},
    };
    static int writes = 0;
    struct Restore {
        ~Restore() { save_detail::inPlaceWrite = ::pwrite; }
    } restore;
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    const std::string path = PathOf("security.conf");
    const std::string other = PathOf("other.conf");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyFolder();
        test::WriteBytes(path, c.previous);
        fs::create_hard_link(path, other); // a second name makes the save write in place
        SaveStatus status = SaveStatus::Saved;
        if (c.reserveFails) {
            status = SaveUnderSmallFileSizeLimit(path, tmpl);
        } else {
            writes = 0;
            save_detail::inPlaceWrite = [](int fd, const void* data, std::size_t size,
                                           off_t offset) -> ssize_t {
                if (++writes == 2) {
                    errno = EIO;
                    return -1;
                }
                return ::pwrite(fd, data, writes == 1 ? std::min<std::size_t>(size, 7) : size,
                                offset);
            };
            status = SaveTemplate(path, tmpl, Encoding::Unicode);
            save_detail::inPlaceWrite = ::pwrite;
            EXPECT_GE(writes, 3); // the new bytes were touched, then the old put back
        }
        EXPECT_EQ(status, SaveStatus::WriteFailed);
        EXPECT_EQ(test::ReadBytes(path), c.previous);
        EXPECT_EQ(Names(), (std::vector<std::string>{"other.conf", "security.conf"}));
    }
}

// Small blocks (the disk asked to start on every second one), and writes that fail at a
// chosen call, for as long as it lives.
class SmallBlocks {
public:
    explicit SmallBlocks(std::size_t size) {
        save_detail::blockSize = size;
        save_detail::syncAhead = static_cast<off_t>(2 * size);
    }
    ~SmallBlocks() {
        save_detail::blockSize = kEncodeBlockSize;
        save_detail::syncAhead = previousSyncAhead_;
        save_detail::newFileWrite = ::write;
        save_detail::inPlaceWrite = ::pwrite;
    }
    SmallBlocks(const SmallBlocks&) = delete;
    SmallBlocks& operator=(const SmallBlocks&) = delete;

    // The n-th write of either kind fails as a full disk would; the ones before it succeed.
    static void FailWrite(int n) {
        writes = 0;
        failing = n;
        save_detail::newFileWrite = [](int fd, const void* data, std::size_t size) -> ssize_t {
            return ++writes == failing ? Fail() : ::write(fd, data, size);
        };
        save_detail::inPlaceWrite = [](int fd, const void* data, std::size_t size,
                                       off_t offset) -> ssize_t {
            return ++writes == failing ? Fail() : ::pwrite(fd, data, size, offset);
        };
    }
    static inline int writes = 0;
    static inline int failing = 0;

private:
    const off_t previousSyncAhead_ = save_detail::syncAhead;
    static ssize_t Fail() {
        errno = ENOSPC;
        return -1;
    }
};

// Each way a save writes (a new file that takes the old one's place, or the old file
// written in place when it has a second name), written in blocks much smaller than a line,
// its targets encoded on the calling thread or on several: whichever of its writes fails, the
// previous file stays as it was.
TEST_F(FileTest, SaveInSmallBlocksWritesTheWholeFileOrLeavesThePreviousOne) {
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    const std::string path = PathOf("security.conf");
    const std::string previous = "cb56f6f4\r\n" + std::string(3000, 'o') + "\r\n";
    for (const auto& [secondName, threads] :
         {std::pair{false, 1}, std::pair{true, 1}, std::pair{false, 2}, std::pair{true, 3}}) {
        const test::Parallel parallel(threads, parallel_detail::blockBytes, 1);
        for (const Encoding encoding : {Encoding::Unicode, Encoding::EightBit}) {
            const std::string expected =
                encoding == Encoding::Unicode ? EncodeUnicode(tmpl) : Encode8Bit(tmpl);
            // The first pass lets every write through and counts them; each later pass fails
            // one of them, from the first to the last.
            int writesOfASave = 0;
            for (int failing = 0; failing == 0 || failing <= writesOfASave; ++failing) {
                SCOPED_TRACE(std::to_string(threads) + " threads, " +
                             std::string(secondName ? "in place" : "new file") +
                             (encoding == Encoding::Unicode ? ", Unicode" : ", 8-bit") +
                             ", failing write " + std::to_string(failing));
                EmptyFolder();
                test::WriteBytes(path, previous);
                std::vector<std::string> names = {"security.conf"};
                if (secondName) {
                    fs::create_hard_link(path, PathOf("other.conf"));
                    names.insert(names.begin(), "other.conf");
                }
                const SmallBlocks blocks(13);
                SmallBlocks::FailWrite(failing);
                const SaveStatus status = SaveTemplate(path, tmpl, encoding);
                if (failing == 0) {
                    EXPECT_EQ(status, SaveStatus::Saved);
                    EXPECT_EQ(test::ReadBytes(path), expected);
                    writesOfASave = SmallBlocks::writes;
                    // Many blocks: the failing writes below reach the start, the middle and
                    // the end of the file.
                    ASSERT_GT(writesOfASave, 10);
                } else {
                    EXPECT_EQ(status, SaveStatus::WriteFailed);
                    EXPECT_EQ(test::ReadBytes(path), previous);
                    EXPECT_GE(SmallBlocks::writes, failing);
                }
                if (secondName) {
                    EXPECT_EQ(test::ReadBytes(PathOf("other.conf")), test::ReadBytes(path));
                }
                EXPECT_EQ(Names(), names);
            }
        }
    }
}

// Targets that come while the file is written (a conversion) take the same ways: written
// whole, or the old file left as it was when the source stops or any one write fails.
TEST_F(FileTest, SaveOfTargetsFromASourceWritesThemAllOrLeavesThePreviousFile) {
    constexpr int kTargets = 6;
    auto makeTarget = [](int i) {
        auto target =
            std::make_unique<TargetObject>("/vol/v" + std::to_string(i), MakeDefaultDescriptor());
        target->SecurityLevel = i % 2;
        return target;
    };
    SecurityTemplate all;
    for (int i = 0; i < kTargets; ++i) {
        all.Append(makeTarget(i));
    }
    const std::string path = PathOf("security.conf");
    const std::string previous = "cb56f6f4\r\nprevious\r\n";
    for (const bool secondName : {false, true}) {
        for (const Encoding encoding : {Encoding::Unicode, Encoding::EightBit}) {
            const std::string expected =
                encoding == Encoding::Unicode ? EncodeUnicode(all) : Encode8Bit(all);
            // Pass 0 gives every target and counts the writes, pass -1 stops the source after
            // three targets, and each pass N > 0 fails the N-th write.
            int writesOfASave = 0;
            for (int pass = -1; pass <= writesOfASave; ++pass) {
                const int stopAfter = pass == -1 ? 3 : -1;
                const int failing = std::max(pass, 0);
                SCOPED_TRACE(std::string(secondName ? "in place" : "new file") +
                             (encoding == Encoding::Unicode ? ", Unicode" : ", 8-bit") +
                             (pass == -1 ? ", the source stops"
                                         : ", failing write " + std::to_string(failing)));
                EmptyFolder();
                test::WriteBytes(path, previous);
                if (secondName) {
                    fs::create_hard_link(path, PathOf("other.conf"));
                }
                const SmallBlocks blocks(13);
                SmallBlocks::FailWrite(failing);
                int given = 0;
                bool refused = false;
                const TargetSource source = [&](const TargetSink& sink) {
                    for (int i = 0; i < kTargets; ++i) {
                        if (i == stopAfter) {
                            return false;
                        }
                        ++given;
                        if (!sink(makeTarget(i))) {
                            refused = true;
                            return false;
                        }
                    }
                    return true;
                };
                const SaveStatus status = SaveTargets(path, source, encoding);
                if (pass == 0) {
                    EXPECT_EQ(status, SaveStatus::Saved);
                    EXPECT_EQ(test::ReadBytes(path), expected);
                    writesOfASave = SmallBlocks::writes;
                    ASSERT_GT(writesOfASave, 10);
                } else {
                    EXPECT_EQ(status, SaveStatus::WriteFailed);
                    EXPECT_EQ(test::ReadBytes(path), previous);
                }
                // A write that fails on the way to a new file tells the source to stop; in
                // place, every target is taken before anything is written.
                if (secondName) {
                    EXPECT_FALSE(refused);
                } else if (failing == 4) {
                    EXPECT_TRUE(refused);
                }
                if (stopAfter >= 0) {
                    EXPECT_EQ(given, stopAfter);
                } else if (!refused) {
                    EXPECT_EQ(given, kTargets);
                }
                EXPECT_EQ(Names().size(), secondName ? 2u : 1u);
            }
        }
    }
}

TEST_F(FileTest, SaveTakesTheLongestNamesAFolderHolds) {
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    for (const std::size_t length : {245u, 255u}) {
        EmptyFolder();
        const std::string name = std::string(length - 5, 'n') + ".conf";
        // Once as a new file, once replacing it.
        ASSERT_EQ(SaveTemplate(PathOf(name), tmpl, Encoding::EightBit), SaveStatus::Saved);
        ASSERT_EQ(SaveTemplate(PathOf(name), tmpl, Encoding::Unicode), SaveStatus::Saved);
        EXPECT_EQ(test::ReadBytes(PathOf(name)), EncodeUnicode(tmpl));
        EXPECT_EQ(Names(), std::vector<std::string>{name});
    }
}

TEST_F(FileTest, FailedWriteLeavesThePreviousFileByteIdentical) {
    const std::string path = PathOf("security.conf");
    const std::string previous = "cb56f6f4\r\nprevious content\r\n";
    test::WriteBytes(path, previous);
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);

    // A file size limit makes the write of the new file fail.
    const SaveStatus status = SaveUnderSmallFileSizeLimit(path, tmpl);

    EXPECT_EQ(status, SaveStatus::WriteFailed);
    EXPECT_EQ(test::ReadBytes(path), previous);
    EXPECT_EQ(Names(), std::vector<std::string>{"security.conf"});
}

TEST_F(FileTest, ReadOnlyFileIsNotReplaced) {
    const std::string path = PathOf("security.conf");
    test::WriteBytes(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    SecurityTemplate tmpl;
    const auto status =
        SaveUnprivileged([&] { return SaveTemplate(path, tmpl, Encoding::EightBit); });
    if (!status) {
        GTEST_SKIP() << "cannot save as a user without privileges";
    }
    EXPECT_EQ(*status, SaveStatus::OpenFailed);
    EXPECT_EQ(test::ReadBytes(path), "old");

    // A folder that may not be written to: nothing can be created there.
    const std::string locked = PathOf("locked");
    fs::create_directory(locked);
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    EXPECT_EQ(SaveUnprivileged([&] {
                  return SaveTemplate(locked + "/security.conf", tmpl, Encoding::EightBit);
              }),
              SaveStatus::OpenFailed);
    EXPECT_TRUE(fs::is_empty(locked));
}

TEST_F(FileTest, SaveToANameWithoutFolderWritesInTheWorkingDirectory) {
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    SecurityTemplate tmpl;
    const SaveStatus status = SaveTemplate("Untitled", tmpl, Encoding::Unicode);
    fs::current_path(before);
    EXPECT_EQ(status, SaveStatus::Saved);
    EXPECT_EQ(Names(), std::vector<std::string>{"Untitled"});
    EXPECT_EQ(test::ReadBytes(PathOf("Untitled")), EncodeUnicode(tmpl));
}

TEST_F(FileTest, ImportReadsBothExampleFilesToTheSameTargets) {
    SecurityTemplate example;
    test::BuildExampleTemplate(example);
    for (const char* name : {"/example-unicode.conf", "/example-8bit.conf"}) {
        SCOPED_TRACE(name);
        SecurityTemplate tmpl;
        test::Messages messages;
        const ImportOutcome outcome =
            ImportTemplate(std::string(PERMORA_FIXTURES_DIR) + name, tmpl, messages.Sink());
        EXPECT_TRUE(outcome.opened);
        EXPECT_TRUE(outcome.complete);
        EXPECT_FALSE(outcome.readFailed);
        EXPECT_EQ(outcome.appended, 3);
        EXPECT_TRUE(messages.texts.empty());
        EXPECT_EQ(test::TemplateLines(tmpl), test::TemplateLines(example));
    }
}

TEST_F(FileTest, ImportAppendsAndStopsAtTheFirstFailingLine) {
    const std::string path = PathOf("in.conf");
    test::WriteBytes(path, "cb56f6f4\r\n"
                           "1,0,\"/vol/a\",0,\"D:(A;CI;0x1;;;x)\"\r\n"
                           "\r\n"
                           "1,0,\"/vol/b\",0,\"D:\"\r\n"
                           "1,0,\"/vol/c\",0,\"D:(Q;CI;0x1;;;x)\"\r\n"
                           "1,0,\"/vol/d\",0,\"D:\"\r\n");
    SecurityTemplate tmpl;
    tmpl.Append(test::FreshTarget());
    test::Messages messages;
    const ImportOutcome outcome = ImportTemplate(path, tmpl, messages.Sink());
    EXPECT_TRUE(outcome.opened);
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(outcome.appended, 2);
    EXPECT_EQ(messages.texts, std::vector<std::string>{"Wrong ace type."});
    ASSERT_EQ(tmpl.Count, 3);
    EXPECT_EQ(tmpl.At(1)->Path, "/vol/a");
    EXPECT_EQ(tmpl.At(2)->Path, "/vol/b");
}

TEST_F(FileTest, ImportReadsALastLineWithoutLineEndAndAppendsEachTime) {
    const std::string path = PathOf("in.conf");
    test::WriteBytes(path, "cb56f6f4\n1,0,\"/vol/a\",0,\"D:\"\n1,1,\"/vol/b\",3,\"\"");
    SecurityTemplate tmpl;
    for (int round = 1; round <= 2; ++round) {
        const ImportOutcome outcome = ImportTemplate(path, tmpl, {});
        EXPECT_TRUE(outcome.complete);
        EXPECT_EQ(outcome.appended, 2);
        EXPECT_EQ(tmpl.Count, 2 * round);
    }
    EXPECT_EQ(ToLine(*tmpl.At(3)), "1,1,\"/vol/b\",3,\"\"");

    test::WriteBytes(path, "cb56f6f4\r\n");
    const ImportOutcome headerOnly = ImportTemplate(path, tmpl, {});
    EXPECT_TRUE(headerOnly.opened);
    EXPECT_TRUE(headerOnly.complete);
    EXPECT_EQ(headerOnly.appended, 0);
}

TEST_F(FileTest, ImportOfWhatCannotBeOpenedReadsNothing) {
    SecurityTemplate tmpl;
    for (const std::string& path : {PathOf("missing.conf"), dir_.string(), std::string()}) {
        const ImportOutcome outcome = ImportTemplate(path, tmpl, {});
        EXPECT_FALSE(outcome.opened) << path;
        EXPECT_FALSE(outcome.complete);
        EXPECT_EQ(outcome.appended, 0);
    }
    EXPECT_EQ(tmpl.Count, 0);
}

TEST_F(FileTest, SavedFileSpanningManyBlocksImportsWhole) {
    SecurityTemplate tmpl;
    for (int i = 0; i < 20000; ++i) {
        auto target =
            std::make_unique<TargetObject>("/vol/v" + std::to_string(i), MakeDefaultDescriptor());
        target->SecurityLevel = i % 2;
        tmpl.Append(std::move(target));
    }
    const std::string path = PathOf("big.conf");
    ASSERT_EQ(SaveTemplate(path, tmpl, Encoding::Unicode), SaveStatus::Saved);
    ASSERT_GT(fs::file_size(path), std::uintmax_t{1} << 20);
    SecurityTemplate read;
    const ImportOutcome outcome = ImportTemplate(path, read, {});
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.appended, 20000);
    EXPECT_EQ(test::TemplateLines(read), test::TemplateLines(tmpl));
}

} // namespace
} // namespace permora
