// Unsaved work written to the recovery folder: when the window closes or New clears the
// template while the label shows "*", and when the program is ended by a signal.

#include "ui/recovery.h"

#include "platform/recovery_support.h"
#include "resources/templates/permoradlg.h"
#include "resources/templates/recoverdlg.h"
#include "support/files.h"
#include "support/scripted_host.h"
#include "template_file/template_file.h"
#include "ui/permoradlg.h"
#include "ui/recoverdlg.h"
#include "ui/recoveryoffer.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>
#include <QWidget>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace res::PermoraDlg;
using recovery_test::Mode;
using recovery_test::NameAged;
using recovery_test::RecoveryConfFiles;
using recovery_test::RecoveryFiles;
using recovery_test::StateHome;
using tk::test::ReadBytes;
using tk::test::ScriptedHost;
using tk::test::TempDir;

std::string Fixture(const std::string& name) {
    return std::string(PERMORA_FIXTURES_DIR) + "/" + name;
}

class RecoveryWindowTest : public ::testing::Test {
public:
    // Opens the main window, lets play act on it, and closes it as given.
    void Run(const std::function<void(PermoraDlg&)>& play,
             const std::function<void(PermoraDlg&)>& close) {
        PermoraDlg dlg;
        host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
            play(d);
            close(d);
            EXPECT_TRUE(d.IsEnded());
        });
        EXPECT_EQ(dlg.DoModal(), tk::IDCANCEL);
    }

    void Import(PermoraDlg& d, const std::string& file) {
        host.ExpectFileDialog(Fixture(file));
        tk::test::Click(d, IDC_IMPORT);
    }

    fs::path Folder() const { return state.Path() / "permora" / "recovery"; }

    TempDir state;
    StateHome stateHome{state.Path().string()};
    ScriptedHost host;
};

TEST_F(RecoveryWindowTest, UnsavedWorkIsWrittenAsSaveUnicodeWouldWriteIt) {
    struct Case {
        const char* name;
        std::function<void(RecoveryWindowTest&, PermoraDlg&, const TempDir&)> play;
        std::function<void(PermoraDlg&)> close;
        bool written;
    };
    const auto closeButton = [](PermoraDlg& d) { tk::test::Click(d, IDC_CLOSE); };
    const auto escape = [](PermoraDlg& d) {
        tk::test::PressKey(d, IDC_TARGET_LIST, Qt::Key_Escape);
    };
    const Case cases[] = {
        {"nothing changed", [](RecoveryWindowTest&, PermoraDlg&, const TempDir&) {}, closeButton,
         false},
        {"imported, closed",
         [](RecoveryWindowTest& t, PermoraDlg& d, const TempDir&) {
             t.Import(d, "main-window-8bit.conf");
         },
         closeButton, true},
        {"imported, Escape",
         [](RecoveryWindowTest& t, PermoraDlg& d, const TempDir&) {
             t.Import(d, "main-window-unicode.conf");
         },
         escape, true},
        {"imported and saved",
         [](RecoveryWindowTest& t, PermoraDlg& d, const TempDir& dir) {
             t.host.ExpectFileDialog(dir.File("saved.conf"));
             tk::test::Click(d, IDC_NEW);
             t.Import(d, "main-window-8bit.conf");
             t.host.ExpectMessage(
                 "Confirm", "Do you want to overwrite " + dir.File("saved.conf") + "?", tk::IDYES);
             tk::test::Click(d, IDC_SAVE_UTF8);
         },
         closeButton, false},
        {"a partial import",
         [](RecoveryWindowTest& t, PermoraDlg& d, const TempDir&) {
             t.host.ExpectFileDialog(Fixture("main-window-third-line-fails.conf"));
             t.host.ExpectMessage("Error", "Cannot parse this Mask.");
             t.host.ExpectMessage("Error", "Invalid Account Name");
             t.host.ExpectMessage("Error", "   Invalid File");
             tk::test::Click(d, IDC_IMPORT);
         },
         closeButton, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Folder());
        TempDir dir;
        std::string expected;
        Run(
            [&](PermoraDlg& d) {
                c.play(*this, d, dir);
                expected = permora::EncodeUnicode(d.Document().Template());
            },
            c.close);
        const std::vector<fs::path> files = RecoveryConfFiles(Folder());
        if (!c.written) {
            EXPECT_TRUE(RecoveryFiles(Folder()).empty());
            continue;
        }
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(ReadBytes(files[0].string()), expected);
        EXPECT_TRUE(recovery::IsRecoveryFileName(files[0].filename().string()));
        EXPECT_EQ(Mode(files[0]), 0600u);
        // Beside it, what the work was of, for the user alone.
        EXPECT_EQ(Mode(files[0].string() + ".origin"), 0600u);
        EXPECT_EQ(Mode(Folder()), 0700u);
        EXPECT_TRUE(host.Messages().empty() || c.name == std::string("a partial import"));
    }
}

// New keeps the template it is about to clear; a cancelled New clears nothing and writes
// nothing.
TEST_F(RecoveryWindowTest, NewWritesTheTemplateItClears) {
    TempDir dir;
    std::string before;
    Run(
        [&](PermoraDlg& d) {
            Import(d, "main-window-8bit.conf");
            before = permora::EncodeUnicode(d.Document().Template());
            host.ExpectFileDialog(std::nullopt);
            tk::test::Click(d, IDC_NEW);
            EXPECT_TRUE(RecoveryFiles(Folder()).empty());
            host.ExpectFileDialog(dir.File("next.conf"));
            tk::test::Click(d, IDC_NEW);
            EXPECT_EQ(d.Document().Template().Count, 0);
        },
        [](PermoraDlg& d) { tk::test::Click(d, IDC_CLOSE); });
    const std::vector<fs::path> files = RecoveryConfFiles(Folder());
    ASSERT_EQ(files.size(), 1u) << "the label lost its \"*\" with New";
    EXPECT_EQ(ReadBytes(files[0].string()), before);
}

// A recovery folder that cannot be made: the window closes all the same, saying nothing.
TEST_F(RecoveryWindowTest, AFailedWriteDoesNotKeepTheWindowOpen) {
    tk::test::WriteBytes(state.File("permora"), "a file where the folder would go");
    Run([&](PermoraDlg& d) { Import(d, "main-window-8bit.conf"); },
        [](PermoraDlg& d) { tk::test::Click(d, IDC_CLOSE); });
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(recovery::Write(permora::SecurityTemplate(), state.File("permora/recovery")), "");
}

// A single file read whole at start is the saved template: no "*", and closing writes no
// recovery file. Read in part, it is unsaved work under "Untitled".
TEST_F(RecoveryWindowTest, AFileReadWholeAtStartIsNotUnsavedWork) {
    struct Case {
        const char* file;
        std::vector<std::string> messages;
        bool whole;
    };
    const Case cases[] = {
        {"main-window-8bit.conf", {}, true},
        {"main-window-third-line-fails.conf",
         {"Cannot parse this Mask.", "Invalid Account Name", "   Invalid File"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        fs::remove_all(Folder());
        PermoraDlg dlg;
        dlg.ImportAtStart({Fixture(c.file)});
        host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
            EXPECT_EQ(d.Text(IDC_FILE_LABEL), c.whole ? Fixture(c.file) : "Untitled*");
            EXPECT_EQ(d.Document().IsUnsaved(), !c.whole);
            tk::test::Click(d, IDC_CLOSE);
        });
        // The window opens, then imports (and reports) before the user can act.
        for (const std::string& message : c.messages)
            host.ExpectMessage("Error", message);
        dlg.DoModal();
        EXPECT_EQ(RecoveryConfFiles(Folder()).size(), c.whole ? 0u : 1u);
    }
}

// Puts a recovery file kept `age` ago holding one target of that path; mode as given.
std::string PutRecoveryFile(const fs::path& folder, std::chrono::hours age, int pid,
                            const std::string& path, unsigned mode = 0600) {
    permora::SecurityTemplate tmpl;
    tmpl.Append(std::make_unique<permora::TargetObject>(path, permora::MakeDefaultDescriptor()));
    const std::string name = NameAged(std::time(nullptr), age, pid);
    tk::test::WriteBytes((folder / name).string(), permora::EncodeUnicode(tmpl));
    ::chmod((folder / name).c_str(), mode);
    return name;
}

// Work found in the recovery folder is offered in a line above the list, blocking nothing:
// Import newest takes the newest not yet handled, Dismiss hides the rest, and neither is
// offered again; Recover... still lists every trusted file, newest first. Files that others
// may write are never offered.
TEST_F(RecoveryWindowTest, RecoveredWorkIsOfferedInTheWindowUntilHandled) {
    fs::create_directories(Folder());
    ::chmod(Folder().c_str(), 0700);
    using std::chrono::hours;
    const std::string newest = PutRecoveryFile(Folder(), hours(1), 101, "/vol/newest");
    const std::string older = PutRecoveryFile(Folder(), hours(2), 102, "/vol/older");
    const std::string handled = PutRecoveryFile(Folder(), hours(3), 103, "/vol/handled");
    ASSERT_TRUE(recovery::MarkHandled(handled));
    PutRecoveryFile(Folder(), hours(0), 104, "/vol/others", 0666);
    const auto paths = [](const PermoraDlg& d) {
        std::vector<std::string> all;
        for (const permora::TargetObject* t = d.Document().Template().Head; t != nullptr;
             t = t->Next)
            all.push_back(t->Path);
        return all;
    };

    {
        PermoraDlg dlg;
        dlg.OfferRecoveryAtStart();
        host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
            ASSERT_TRUE(d.Offer().IsShown());
            EXPECT_EQ(d.Offer().Text(), RecoveryOfferText(2, recovery::TimeOfName(newest)));
            // The list moves down under the line, and keeps the focus the window gives it.
            const QRect line = d.Offer().Widget()->geometry();
            EXPECT_GE(d.Control(IDC_TARGET_LIST)->geometry().top(), line.bottom());
            tk::test::SavePng(d.Widget(), "permoradlg_recovery_offer");

            QTest::mouseClick(d.Offer().ImportNewestButton(), Qt::LeftButton);
            EXPECT_EQ(paths(d), std::vector<std::string>{"/vol/newest"});
            EXPECT_EQ(d.Offer().Text(), RecoveryOfferText(1, recovery::TimeOfName(older)));
            QTest::mouseClick(d.Offer().DismissButton(), Qt::LeftButton);
            EXPECT_FALSE(d.Offer().IsShown());
            EXPECT_LE(d.Control(IDC_TARGET_LIST)->geometry().top(), line.top());
            d.Undo(); // back to the template as it started, so that closing keeps nothing
            tk::test::Click(d, IDC_CLOSE);
        });
        dlg.DoModal();
    }
    {
        PermoraDlg dlg;
        dlg.OfferRecoveryAtStart();
        host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
            EXPECT_FALSE(d.Offer().IsShown());
            host.ExpectModal<RecoverDlg>([&](RecoverDlg& r) {
                const tk::ListView files = r.GetListView(res::RecoverDlg::IDC_FILES);
                ASSERT_EQ(files.RowCount(), 3);
                EXPECT_EQ(files.Cell(0, 1), newest);
                EXPECT_EQ(files.Cell(1, 1), older);
                EXPECT_EQ(files.Cell(2, 1), handled);
                EXPECT_EQ(files.Cell(2, 0), KeptAt(recovery::TimeOfName(handled)));
                tk::test::SavePng(r.Widget(), "recoverdlg");
                tk::test::ClickRow(r, res::RecoverDlg::IDC_FILES, 2);
                tk::test::Click(r, tk::IDOK);
            });
            d.Recover();
            EXPECT_EQ(paths(d), std::vector<std::string>{"/vol/handled"});
            d.Undo();
            tk::test::Click(d, IDC_CLOSE);
        });
        dlg.DoModal();
    }
    EXPECT_EQ(RecoveryFiles(Folder()).size(), 7u); // four files, three marks, no new file
}

// A folder that others may write offers nothing, whatever it holds.
TEST_F(RecoveryWindowTest, AFolderOthersMayWriteOffersNothing) {
    fs::create_directories(Folder());
    PutRecoveryFile(Folder(), std::chrono::hours(1), 101, "/vol/planted");
    ::chmod(Folder().c_str(), 0777);
    EXPECT_TRUE(recovery::List().empty());
    EXPECT_EQ(recovery::OpenFile(RecoveryFiles(Folder()).front().filename().string()), -1);
    PermoraDlg dlg;
    dlg.OfferRecoveryAtStart();
    host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
        EXPECT_FALSE(d.Offer().IsShown());
        tk::test::Click(d, IDC_CLOSE);
    });
    dlg.DoModal();
}

// --- Signals ---------------------------------------------------------------------------

// A child process with a window of unsaved work, started and waited for with bounds.
class Child {
public:
    Child(const std::string& mode, const std::string& stateHome, const std::string& expected) {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::vector<std::string> env = {"XDG_STATE_HOME=" + stateHome, "QT_QPA_PLATFORM=offscreen"};
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (entry.rfind("XDG_STATE_HOME=", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0)
                env.push_back(entry);
        }
        std::vector<char*> envp;
        for (std::string& entry : env)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        std::string program = PERMORA_RECOVERY_CHILD;
        std::string modeArg = mode;
        std::string expectedArg = expected;
        char* argv[] = {program.data(), modeArg.data(), expectedArg.data(), nullptr};
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, envp.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        out_ = out[0];
    }
    ~Child() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0)
            ::close(out_);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // True once the child said "ready" within the time given.
    bool WaitReady(int milliseconds) {
        std::string said;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (said.find("ready\n") == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            pollfd wait{out_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) <= 0)
                return false;
            char buffer[64];
            const ssize_t got = ::read(out_, buffer, sizeof buffer);
            if (got <= 0)
                return false;
            said.append(buffer, static_cast<std::size_t>(got));
        }
        return true;
    }

    void Signal(int signal) const { ::kill(pid_, signal); }

    // The wait status once the child ended within the time given; nullopt otherwise.
    std::optional<int> WaitEnd(int milliseconds) {
        const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
        if (pidfd < 0)
            return std::nullopt;
        pollfd wait{pidfd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, milliseconds);
        ::close(pidfd);
        int status = 0;
        if (ready != 1 || ::waitpid(pid_, &status, 0) != pid_)
            return std::nullopt;
        pid_ = -1;
        return status;
    }

    bool Started() const { return pid_ > 0 && out_ >= 0; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
};

// The template as it stands, also while a dialog of its own runs, then the end the signal
// gives.
TEST(RecoverySignalTest, ASignalWritesTheTemplateAndEndsTheProgramAsTheSignalWould) {
    struct Case {
        int signal;
        const char* mode; // "window": only the main window; "dialog": a dialog over it
    };
    const Case cases[] = {
        {SIGTERM, "window"}, {SIGHUP, "window"}, {SIGINT, "window"},
        {SIGTERM, "dialog"}, {SIGTERM, "saved"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.signal)) + ", " + c.mode);
        TempDir state;
        const std::string expected = state.File("expected.conf");
        Child child(c.mode, state.Path().string(), expected);
        ASSERT_TRUE(child.Started());
        ASSERT_TRUE(child.WaitReady(30000));
        child.Signal(c.signal);
        const std::optional<int> status = child.WaitEnd(30000);
        ASSERT_TRUE(status.has_value()) << "the child did not end";
        EXPECT_TRUE(WIFSIGNALED(*status));
        EXPECT_EQ(WTERMSIG(*status), c.signal);
        const std::vector<fs::path> files = RecoveryFiles(state.Path() / "permora" / "recovery");
        if (std::string(c.mode) == "saved") {
            EXPECT_TRUE(files.empty());
            continue;
        }
        ASSERT_EQ(files.size(), 1u);
        const std::string bytes = ReadBytes(files[0].string());
        EXPECT_EQ(bytes, ReadBytes(expected));
        EXPECT_GT(bytes.size(), 100u);
    }
}

} // namespace
