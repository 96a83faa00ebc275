// Two writers of one file at once: each save takes its turn, and a command that reads a
// template and writes it back keeps the file locked in between, so nothing either writes is
// lost or mixed with the other's.

#include "cli/edit.h"
#include "cli_support.h"
#include "template_file/lock_detail.h"
#include "template_file/safe_save.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace permora::cli_test {
namespace {

const std::string kHeader = "cb56f6f4";

std::string Line(const std::string& path) {
    return "1,0,\"" + path + "\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)\"";
}

// The template of the given paths, as UTF-16LE.
std::string Template(const std::vector<std::string>& paths) {
    std::vector<std::string> lines{kHeader};
    for (const std::string& path : paths) {
        lines.push_back(Line(path));
    }
    return Text16(lines);
}

// The folder of two adds: t.conf holding /vol/old, and the lists a.list (/vol/a) and b.list
// (/vol/b). Returns the path of t.conf.
std::string PrepareTwoAdds(const Folder& here) {
    const std::string file = (here.Path() / "t.conf").string();
    WriteBytes((here.Path() / "a.list").string(), "/vol/a\n");
    WriteBytes((here.Path() / "b.list").string(), "/vol/b\n");
    WriteBytes(file, Template({"/vol/old"}));
    return file;
}

// Two conversions into a file with a second name, which is written in place: the second
// starts while the first has written one block of several.
TEST(CliLockTest, ASecondConversionIntoTheFileDoesNotMixWithTheFirst) {
    static Folder* folder;
    static Outcome second;
    static int writes;
    Folder here;
    folder = &here;
    writes = 0;
    std::vector<std::string> a;
    std::vector<std::string> b;
    for (int i = 0; i < 40; ++i) {
        a.push_back("/vol/a" + std::to_string(i));
        b.push_back("/vol/b" + std::to_string(i));
    }
    WriteBytes((here.Path() / "a.conf").string(), Template(a));
    WriteBytes((here.Path() / "b.conf").string(), Template(b));
    WriteBytes((here.Path() / "out.conf").string(), Template({"/vol/old"}));
    std::filesystem::create_hard_link(here.Path() / "out.conf", here.Path() / "other-name.conf");

    save_detail::blockSize = 256;
    save_detail::inPlaceWrite = [](int fd, const void* data, std::size_t size, off_t offset) {
        if (writes++ == 1) {
            second = RunIn(*folder, {"convert", "b.conf", "-o", "out.conf", "--no-wait"});
        }
        return ::pwrite(fd, data, size, offset);
    };
    const Outcome first = RunIn(here, {"convert", "a.conf", "-o", "out.conf"});
    save_detail::inPlaceWrite = ::pwrite;
    save_detail::blockSize = kEncodeBlockSize;

    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(second.status, 3);
    EXPECT_EQ(second.err, "permora-cli: out.conf: the file is being written by another process\n");
    const auto files = here.Files();
    const std::vector<std::string> expected = DecodeLines(Template(a));
    EXPECT_EQ(DecodeLines(files.at("out.conf")), expected);
    EXPECT_EQ(files.at("other-name.conf"), files.at("out.conf"));
}

// A second add that starts after the first has read the template and before it writes it
// back: without --no-wait it waits for its turn and then reads what the first wrote.
TEST(CliLockTest, TwoAddsAtOnceKeepBothAdditions) {
    static Folder* folder;
    static Outcome second;
    static int signalFd;
    Folder here;
    folder = &here;
    const std::string file = PrepareTwoAdds(here);

    // The second in this process, refusing to wait.
    cli::edit_detail::afterRead = [] {
        cli::edit_detail::afterRead = nullptr;
        second = RunIn(*folder, {"add", "t.conf", "--paths", "b.list", "--no-wait"});
    };
    const Outcome first = RunIn(here, {"add", "t.conf", "--paths", "a.list"});
    cli::edit_detail::afterRead = nullptr;
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(second.status, 3);
    EXPECT_EQ(second.err, "permora-cli: t.conf: the file is being written by another process\n");
    EXPECT_EQ(DecodeLines(ReadBytes(file)), DecodeLines(Template({"/vol/old", "/vol/a"})));

    // The second in another process, waiting: it says so through a pipe just before it
    // waits, and the pipe ends when it ends without having waited.
    WriteBytes(file, Template({"/vol/old"}));
    static pid_t child;
    cli::edit_detail::afterRead = [] {
        cli::edit_detail::afterRead = nullptr;
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        child = ::fork();
        if (child == 0) {
            // A child shares the open files of its parent, the parent's lock among them.
            signalFd = pipeFds[1];
            ::close_range(3, static_cast<unsigned>(signalFd) - 1, 0);
            ::close_range(static_cast<unsigned>(signalFd) + 1, ~0U, 0);
            lock_detail::beforeWait = [] {
                const char waiting = 'w';
                (void)!::write(signalFd, &waiting, 1);
            };
            const Outcome outcome = RunIn(*folder, {"add", "t.conf", "--paths", "b.list"});
            ::_exit(outcome.status);
        }
        ::close(pipeFds[1]);
        char said = 0;
        EXPECT_EQ(::read(pipeFds[0], &said, 1), 1) << "the second add did not wait";
        ::close(pipeFds[0]);
    };
    const Outcome again = RunIn(here, {"add", "t.conf", "--paths", "a.list"});
    cli::edit_detail::afterRead = nullptr;
    EXPECT_EQ(again.status, 0) << again.err;
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(DecodeLines(ReadBytes(file)),
              DecodeLines(Template({"/vol/old", "/vol/a", "/vol/b"})));
}

// Every command that edits a file in place takes its turn: while an add holds the file
// between its read and its save, each of them with --no-wait ends with status 3 and leaves
// the file to the add.
TEST(CliLockTest, EveryEditingCommandWaitsForTheFile) {
    static Folder* folder;
    static const std::vector<std::string>* second;
    static Outcome outcome;
    const std::vector<std::vector<std::string>> commands = {
        {"grant", "t.conf", "bob", "Read"},
        {"deny", "t.conf", "bob", "Read"},
        {"audit", "t.conf", "bob", "Read", "--both"},
        {"revoke", "t.conf", "Everyone"},
        {"remove", "t.conf", "--path", "/vol/old"},
        {"replace-account", "t.conf", "Everyone", "bob"},
        {"add", "t.conf", "--paths", "b.list", "--for", "Everyone", "--account", "LAB\\{name}"},
    };
    for (const std::vector<std::string>& command : commands) {
        SCOPED_TRACE(command.front());
        Folder here;
        folder = &here;
        second = &command;
        const std::string file = PrepareTwoAdds(here);
        cli::edit_detail::afterRead = [] {
            cli::edit_detail::afterRead = nullptr;
            std::vector<std::string> args = *second;
            args.emplace_back("--no-wait");
            outcome = RunIn(*folder, args);
        };
        const Outcome first = RunIn(here, {"add", "t.conf", "--paths", "a.list"});
        cli::edit_detail::afterRead = nullptr;
        EXPECT_EQ(first.status, 0) << first.err;
        EXPECT_EQ(outcome.status, 3);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err,
                  "permora-cli: t.conf: the file is being written by another process\n");
        EXPECT_EQ(DecodeLines(ReadBytes(file)), DecodeLines(Template({"/vol/old", "/vol/a"})));
    }
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kConcurrentAdds = 60;
#else
constexpr int kConcurrentAdds = 600;
#endif

// Many adds of one file at once, each in its own process, all let go at the same moment:
// every one of them waits for its turn and keeps its target.
TEST(CliLockTest, ManyAddsAtOnceKeepEveryTarget) {
    Folder here;
    const std::string file = (here.Path() / "t.conf").string();
    WriteBytes(file, Template({}));
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < kConcurrentAdds; ++i) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(start[1]);
            char go = 0;
            (void)!::read(start[0], &go, 1); // ends when the parent closes its end
            const Outcome outcome =
                RunIn(here, {"add", "t.conf", "--paths", "-"}, "/vol/p" + std::to_string(i) + "\n");
            ::_exit(outcome.status);
        }
        children.push_back(child);
    }
    ::close(start[0]);
    ::close(start[1]);
    int failed = 0;
    for (const pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        failed += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
    }
    EXPECT_EQ(failed, 0);
    // The lines of the targets (the header is not among them).
    const std::vector<std::string> lines = DecodeLines(ReadBytes(file));
    EXPECT_EQ(lines.size(), static_cast<std::size_t>(kConcurrentAdds));
    const std::set<std::string> kept(lines.begin(), lines.end());
    for (int i = 0; i < kConcurrentAdds; ++i) {
        EXPECT_EQ(kept.count(Line("/vol/p" + std::to_string(i))), 1u) << i;
    }
}

// While an add waits for its list of paths, another account puts a link to a file of the
// first one's in the template's place: the add writes nothing, through the link or over it.
TEST(CliLockTest, AFileReplacedWhileAnAddRunsIsNotWritten) {
    static Folder* folder;
    static bool asLink;
    for (const bool link : {true, false}) {
        SCOPED_TRACE(link ? "by a link" : "by another file");
        Folder here;
        folder = &here;
        asLink = link;
        const std::string file = PrepareTwoAdds(here);
        WriteBytes((here.Path() / "victim.conf").string(), "victim");
        cli::edit_detail::afterRead = [] {
            cli::edit_detail::afterRead = nullptr;
            const fs::path name = folder->Path() / "t.conf";
            fs::remove(name);
            if (asLink) {
                fs::create_symlink(folder->Path() / "victim.conf", name);
            } else {
                WriteBytes(name.string(), Template({"/vol/other"}));
            }
        };
        const Outcome outcome = RunIn(here, {"add", "t.conf", "--paths", "a.list"});
        cli::edit_detail::afterRead = nullptr;
        EXPECT_EQ(outcome.status, 3);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "permora-cli: t.conf: the file was replaced while it was being "
                               "edited; nothing was written\n");
        EXPECT_EQ(ReadBytes((here.Path() / "victim.conf").string()), "victim");
        EXPECT_EQ(fs::is_symlink(file), link);
        if (!link) {
            EXPECT_EQ(ReadBytes(file), Template({"/vol/other"}));
        }
    }
}

// Where the file system cannot lock, no command writes, unless told to go on without the
// lock with --no-lock.
TEST(CliLockTest, WithoutALockNothingIsWrittenUnlessAskedTo) {
    lock_detail::lockCall = [](int, int) {
        errno = ENOLCK;
        return -1;
    };
    struct Case {
        std::vector<std::string> args;
        std::string file;
    };
    const std::vector<Case> cases = {
        {{"add", "t.conf", "--paths", "b.list"}, "t.conf"},
        {{"add", "new.conf", "--paths", "b.list"}, "new.conf"},
        {{"convert", "t.conf", "-o", "out.conf"}, "out.conf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + c.file);
        Folder here;
        PrepareTwoAdds(here);
        const auto before = here.Files();
        const Outcome refused = RunIn(here, c.args);
        EXPECT_EQ(refused.status, 3);
        EXPECT_EQ(refused.err, "permora-cli: " + c.file +
                                   ": cannot lock the file: No locks available; nothing was "
                                   "written (--no-lock writes without the lock)\n");
        EXPECT_EQ(here.Files(), before);
        std::vector<std::string> args = c.args;
        args.emplace_back("--no-lock");
        const Outcome written = RunIn(here, args);
        EXPECT_EQ(written.status, 0) << written.err;
        EXPECT_NE(here.Files(), before);
    }
    lock_detail::lockCall = ::flock;
}

// A writer that waits says so, once it has waited a while, naming the file it waits for.
TEST(CliLockTest, AWriterThatWaitsSaysForWhichFile) {
    static int signalFd;
    Folder here;
    PrepareTwoAdds(here);
    int notice[2];
    int result[2];
    ASSERT_EQ(::pipe(notice), 0);
    ASSERT_EQ(::pipe(result), 0);
    std::optional<FileLock> held;
    held.emplace(FileLock::Take((here.Path() / "t.conf").string(), LockWait::No));
    ASSERT_EQ(held->Status(), FileLock::State::Held);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A child shares the open files of its parent, the parent's lock among them.
        for (int fd = 3; fd < 1024; ++fd) {
            if (fd != notice[1] && fd != result[1]) {
                ::close(fd);
            }
        }
        signalFd = notice[1];
        lock_detail::waitNotice = std::chrono::milliseconds(0);
        lock_detail::afterNotice = [] {
            const char said = 'n';
            (void)!::write(signalFd, &said, 1);
        };
        const Outcome outcome = RunIn(here, {"add", "t.conf", "--paths", "b.list"});
        (void)!::write(result[1], outcome.err.data(), outcome.err.size());
        ::_exit(outcome.status);
    }
    ::close(notice[1]);
    ::close(result[1]);
    char said = 0;
    EXPECT_EQ(::read(notice[0], &said, 1), 1) << "the add did not say it waits";
    held.reset(); // the add goes on
    std::string err;
    char buffer[256];
    for (ssize_t got; (got = ::read(result[0], buffer, sizeof buffer)) > 0;) {
        err.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(notice[0]);
    ::close(result[0]);
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(err, "permora-cli: waiting for t.conf, which another process is writing\n");
}

} // namespace
} // namespace permora::cli_test
