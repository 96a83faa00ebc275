// Two writers of one file at once: each save takes its turn, and a command that reads a
// template and writes it back keeps the file locked in between, so nothing either writes is
// lost or mixed with the other's.

#include "cli/edit.h"
#include "cli_support.h"
#include "template_file/lock_detail.h"
#include "template_file/safe_save.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

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

} // namespace
} // namespace permora::cli_test
