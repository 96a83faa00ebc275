// Keyboard focus and window activation where they really happen: the main window on an X
// server with a window manager (tests/x11/run starts both), its real modal windows through
// the Qt host, and input as a user gives it (xdotool's XTEST key and mouse events).
//
// The window runs its own event loop on the main thread as it does in the program; a
// second thread plays the user: it sends input, and waits (bounded) for the window and the
// window manager to react by asking the main thread what it shows.

#include "model/target.h"
#include "resources/templates/objectpermproppage.h"
#include "resources/templates/permoradlg.h"
#include "tests/ui/support/main_window.h"
#include "ui/objectpermproppage.h"
#include "ui/permoradlg.h"
#include "ui/toolkit/controls.h"
#include "ui/toolkit/modal_host.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QWidget>
#include <QWindow>

#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace res::PermoraDlg;
using Clock = std::chrono::steady_clock;

constexpr auto kPatience = std::chrono::seconds(20);

// Runs fn on the main thread, from whichever event loop runs there now, and waits for it.
template <class Fn> auto OnGui(Fn fn) {
    decltype(fn()) result{};
    QMetaObject::invokeMethod(
        qApp, [&] { result = fn(); }, Qt::BlockingQueuedConnection);
    return result;
}

// Runs fn on the main thread later, without waiting (for commands that open modal windows).
void PostToGui(std::function<void()> fn) {
    QMetaObject::invokeMethod(qApp, std::move(fn), Qt::QueuedConnection);
}

// Runs xdotool with the arguments; true when it succeeded.
bool Xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    // xdotool returns at once; one that hangs is ended.
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    pollfd ended{pidfd, POLLIN, 0};
    if (pidfd < 0 || ::poll(&ended, 1, 10000) != 1)
        ::kill(pid, SIGKILL);
    if (pidfd >= 0)
        ::close(pidfd);
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Polls a condition on the main thread until it holds or patience runs out.
bool WaitFor(const std::function<bool()>& condition, Clock::duration patience = kPatience) {
    const auto end = Clock::now() + patience;
    while (Clock::now() < end) {
        if (OnGui([&] { return condition(); }))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

using tk::test::Buttons;

// The modal window on top, when it is also the window with the keyboard.
QWidget* ActiveModal() {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && QApplication::activeWindow() == modal ? modal : nullptr;
}

// Runs the main window under the Qt host while play acts as the user on another thread.
// Whatever play leaves open is closed afterwards, so that a failure cannot hang the test.
void RunWithUser(PermoraDlg& dlg, const std::function<void()>& play) {
    std::atomic<bool> done = false;
    std::thread user([&] {
        play();
        done = true;
        PostToGui([&dlg] {
            while (QWidget* modal = QApplication::activeModalWidget()) {
                auto* dialog = qobject_cast<QDialog*>(modal);
                if (dialog == nullptr)
                    break;
                dialog->done(QDialog::Rejected);
            }
            // A window shown before it ran (with files to read at start) is not modal.
            if (!dlg.IsEnded())
                dlg.ModalWidget()->reject();
        });
    });
    dlg.DoModal();
    // The window may have closed before the user is done (a failure); the user's questions
    // still need answers until it gives up.
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    user.join();
}

// The main window has the keyboard (it is modal only when it was not shown before it ran).
bool MainWindowActive(const PermoraDlg& dlg) {
    return QApplication::activeWindow() == dlg.ModalWidget();
}

bool ClickAt(QWidget* widget);

// Waits for the window to come up with the keyboard. A window manager may decline to give a
// new window the keyboard; a click on its file label, as a user would give, settles that.
bool BringUp(const PermoraDlg& dlg) {
    const auto shown = [&] {
        const QWindow* handle = dlg.ModalWidget()->windowHandle();
        return handle != nullptr && handle->isExposed();
    };
    if (!WaitFor(shown))
        return false;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (WaitFor([&] { return MainWindowActive(dlg); }, std::chrono::seconds(2)))
            return true;
        if (!ClickAt(dlg.Control(IDC_FILE_LABEL)))
            return false;
    }
    return false;
}

bool ClickAt(QWidget* widget) {
    const QPoint at = OnGui([&] { return widget->mapToGlobal(widget->rect().center()); });
    return Xdotool({"mousemove", std::to_string(at.x()), std::to_string(at.y())}) &&
           Xdotool({"click", "1"});
}

// Import run from the list (as a menu or a shortcut runs it, leaving the focus there) with
// a file of no targets: when the file dialog has closed and the list has the focus again,
// the buttons show what Import enabled.
TEST(X11FocusTest, ImportEnablingSurvivesTheFocusComingBack) {
    PermoraDlg dlg;
    const std::string file = std::string(PERMORA_FIXTURES_DIR) + "/main-window-header-only.conf";
    RunWithUser(dlg, [&] {
        ASSERT_TRUE(BringUp(dlg)) << "the window never came up";
        QAbstractItemView* list = dlg.GetListView(IDC_TARGET_LIST).Widget();
        ASSERT_TRUE(ClickAt(list->viewport()));
        ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == list; }));
        ASSERT_EQ(OnGui([&] { return Buttons(dlg); }), "......");

        PostToGui([&] { dlg.Import(); });
        ASSERT_TRUE(WaitFor([] { return qobject_cast<QFileDialog*>(ActiveModal()) != nullptr; }))
            << "no file dialog";
        ASSERT_TRUE(Xdotool({"key", "--clearmodifiers", "ctrl+a"}));
        ASSERT_TRUE(Xdotool({"type", "--delay", "2", file}));
        ASSERT_TRUE(Xdotool({"key", "Return"}));
        ASSERT_TRUE(WaitFor([&] {
            return MainWindowActive(dlg) && QApplication::focusWidget() == list;
        })) << "the list did not get the focus back";
        EXPECT_EQ(OnGui([&] { return dlg.Text(IDC_FILE_LABEL); }), "Untitled*");
        EXPECT_EQ(OnGui([&] { return Buttons(dlg); }), "UTEudR");

        ASSERT_TRUE(Xdotool({"key", "Escape"}));
        EXPECT_TRUE(WaitFor([&] { return dlg.IsEnded(); })) << "Escape did not close the window";
    });
    EXPECT_TRUE(dlg.IsEnded());
}

// After a modal dialog closes, the window that opened it has the keyboard at once: its
// access keys work without a click.
TEST(X11FocusTest, AccessKeysWorkAtOnceAfterADialogCloses) {
    PermoraDlg dlg;
    RunWithUser(dlg, [&] {
        ASSERT_TRUE(BringUp(dlg)) << "the window never came up";
        OnGui([&] {
            dlg.Document().Append(std::make_unique<permora::TargetObject>(
                "/vol/vol1/home", permora::MakeDefaultDescriptor()));
            dlg.GetListView(IDC_TARGET_LIST).SetSelectedRows({0});
            dlg.UpdateButtons();
            return true;
        });
        const auto dialogOpen = [&](const char* title, Clock::duration patience = kPatience) {
            return WaitFor(
                [&] {
                    QWidget* modal = ActiveModal();
                    return modal != nullptr && modal != dlg.ModalWidget() &&
                           modal->windowTitle().startsWith(QString::fromUtf8(title));
                },
                patience);
        };
        const auto type = [](const char* text) { return Xdotool({"type", "--delay", "2", text}); };
        struct Step {
            const char* name;
            const char* key;   // opens the dialog
            const char* title; // of the dialog it opens
            std::function<bool()> close;
        };
        const auto escape = [] { return Xdotool({"key", "Escape"}); };
        // Each dialog right after the previous one closed, cancelled or confirmed; the
        // confirmed Add closes two windows at once (the security sheet over the dialog).
        const Step steps[] = {
            {"Add, cancelled", "alt+a", "Add", escape},
            {"Edit, cancelled", "alt+e", "NTFS Security for /vol/vol1/home", escape},
            {"Add, confirmed", "alt+a", "Add",
             [&] {
                 QWidget* path = OnGui(
                     [] { return static_cast<QWidget*>(ActiveModal()->findChild<QLineEdit*>()); });
                 return ClickAt(path) && type("/vol/vol1/new") && Xdotool({"key", "Return"}) &&
                        dialogOpen("NTFS Security for/vol/vol1/new") && Xdotool({"key", "Return"});
             }},
            {"Edit, confirmed", "alt+e", "NTFS Security for /vol/vol1/home",
             [] {
                 return Xdotool({"key", "Return"});
             }},
            {"Add, after Edit", "alt+a", "Add", escape},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.name);
            // A key pressed in the very moment the window manager moves the keyboard can
            // still go to the window that just closed; a user then presses it again.
            ASSERT_TRUE(Xdotool({"key", step.key}));
            if (!dialogOpen(step.title, std::chrono::seconds(3))) {
                ASSERT_TRUE(Xdotool({"key", step.key}));
            }
            ASSERT_TRUE(dialogOpen(step.title)) << "the access key reached no window";
            ASSERT_TRUE(step.close());
            // The window manager moves the keyboard a moment after the window closed; a
            // window that does not get it back never does.
            ASSERT_TRUE(WaitFor([&] { return MainWindowActive(dlg); }))
                << "the keyboard did not come back to the main window";
        }
        EXPECT_EQ(OnGui([&] { return dlg.Document().Template().Count; }), 2);
        ASSERT_TRUE(Xdotool({"key", "Escape"}));
        EXPECT_TRUE(WaitFor([&] { return dlg.IsEnded(); })) << "Escape did not close the window";
    });
    EXPECT_TRUE(dlg.IsEnded());
}

// An account name typed into the entry editor as a user types it, at two speeds: no box
// comes up while typing to swallow keys, and OK (Return) applies exactly the name typed.
TEST(X11FocusTest, AnAccountNameIsTypedWholeAtAnySpeed) {
    PermoraDlg dlg;
    RunWithUser(dlg, [&] {
        ASSERT_TRUE(BringUp(dlg)) << "the window never came up";
        for (const char* delay : {"1", "40"}) {
            SCOPED_TRACE(std::string("key delay ") + delay + " ms");
            std::unique_ptr<ObjectPermPropPage> page;
            std::unique_ptr<tk::PropertySheet> sheet;
            OnGui([&] {
                page = std::make_unique<ObjectPermPropPage>("Staff", permora::kLevelFileDirectory);
                sheet = std::make_unique<tk::PropertySheet>("Permission Entry for /vol/vol1/qt1");
                sheet->AddPage(page.get());
                return true;
            });
            std::atomic<int> result = -1;
            // Whatever happens below, the editor ends and goes on the window's thread.
            struct Cleanup {
                std::function<void()> run;
                ~Cleanup() { run(); }
            } cleanup{[&] {
                OnGui([&] {
                    if (result == -1)
                        sheet->ModalWidget()->reject();
                    return true;
                });
                WaitFor([&] { return result != -1; });
                OnGui([&] {
                    sheet.reset();
                    page.reset();
                    return true;
                });
            }};
            PostToGui([&] { result = sheet->DoModal(); });
            ASSERT_TRUE(WaitFor([&] { return ActiveModal() == sheet->ModalWidget(); }))
                << "the entry editor did not come up";
            ASSERT_TRUE(ClickAt(page->Control(res::ObjectPermPropPage::IDC_NAME)));
            ASSERT_TRUE(Xdotool({"key", "--clearmodifiers", "ctrl+a"}));
            ASSERT_TRUE(Xdotool({"type", "--delay", delay, "LAB\\bob"}));
            ASSERT_TRUE(WaitFor([&] {
                return page->Text(res::ObjectPermPropPage::IDC_NAME) == "LAB\\bob";
            })) << "typed: "
                << OnGui([&] { return page->Text(res::ObjectPermPropPage::IDC_NAME); });
            EXPECT_EQ(OnGui([&] { return ActiveModal(); }), sheet->ModalWidget())
                << "a box came up while typing";
            ASSERT_TRUE(Xdotool({"key", "Return"}));
            ASSERT_TRUE(WaitFor([&] { return result != -1; })) << "OK did not close the editor";
            EXPECT_EQ(result, tk::IDOK);
            EXPECT_EQ(OnGui([&] { return page->AllowAce->NTAccount; }), "LAB\\bob");
            ASSERT_TRUE(WaitFor([&] { return MainWindowActive(dlg); }));
        }
        ASSERT_TRUE(Xdotool({"key", "Escape"}));
        EXPECT_TRUE(WaitFor([&] { return dlg.IsEnded(); })) << "Escape did not close the window";
    });
    EXPECT_TRUE(dlg.IsEnded());
}

// A path far too long for the file label, shown as a user shows it: read at start, changed
// with a key, the window widened through the window manager. The label shows the path's two
// ends around an ellipsis with the change mark in sight after them.
TEST(X11FocusTest, ALongPathKeepsItsChangeMarkInSight) {
    namespace fs = std::filesystem;
    std::string work = (fs::temp_directory_path() / "permora-x11-XXXXXX").string();
    ASSERT_NE(::mkdtemp(work.data()), nullptr);
    fs::path folder = work;
    for (int depth = 0; depth < 8; ++depth)
        folder /= "a-folder-with-a-rather-long-name-for-the-label";
    fs::create_directories(folder);
    const std::string file = (folder / "template.conf").string();
    fs::copy_file(std::string(PERMORA_FIXTURES_DIR) + "/main-window-unicode.conf", file);
    struct Cleanup {
        std::string folder;
        ~Cleanup() { fs::remove_all(folder); }
    } cleanup{work};

    PermoraDlg dlg;
    dlg.ImportAtStart({file});
    RunWithUser(dlg, [&] {
        ASSERT_TRUE(BringUp(dlg)) << "the window never came up";
        ASSERT_EQ(OnGui([&] { return dlg.Text(IDC_FILE_LABEL); }), file);
        ASSERT_TRUE(Xdotool({"key", "--clearmodifiers", "alt+d"})); // Dn: a change
        ASSERT_TRUE(WaitFor([&] { return dlg.Document().IsUnsaved(); })) << "Dn changed nothing";

        auto* label = static_cast<QLabel*>(OnGui([&] { return dlg.Control(IDC_FILE_LABEL); }));
        struct Shown {
            QString text;
            int width; // of the text, in the label's font
            int room;  // the label's
        };
        const auto shown = [&] {
            return OnGui([&] {
                const QString text = QString::fromStdString(dlg.ShownFileLabel());
                return Shown{text, QFontMetrics(label->font()).horizontalAdvance(text),
                             label->contentsRect().width()};
            });
        };
        const QString path = QString::fromStdString(file);
        const QString start = path.left(12);
        const QString end = QStringLiteral("/template.conf*");
        const auto expectElided = [&](const Shown& now) {
            EXPECT_TRUE(now.text.startsWith(start) && now.text.endsWith(end) &&
                        now.text.contains(QChar(0x2026)))
                << "shown: " << now.text.toStdString();
            EXPECT_LE(now.width, now.room) << "shown: " << now.text.toStdString();
        };
        const Shown opened = shown();
        {
            SCOPED_TRACE("as the window opened");
            expectElided(opened);
        }

        const std::string window =
            std::to_string(OnGui([&] { return dlg.ModalWidget()->window()->winId(); }));
        ASSERT_TRUE(Xdotool({"windowsize", window, "1200", "600"}));
        ASSERT_TRUE(WaitFor([&] { return label->contentsRect().width() > opened.room; }))
            << "the window did not widen";
        const Shown widened = shown();
        {
            SCOPED_TRACE("widened");
            expectElided(widened);
            EXPECT_GT(widened.text.size(), opened.text.size()) << "the wider label shows no more";
        }
        EXPECT_EQ(OnGui([&] { return label->toolTip().toStdString(); }), file);

        ASSERT_TRUE(Xdotool({"key", "Escape"}));
        EXPECT_TRUE(WaitFor([&] { return dlg.IsEnded(); })) << "Escape did not close the window";
    });
    EXPECT_TRUE(dlg.IsEnded());
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
