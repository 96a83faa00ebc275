// Keyboard focus and window activation where they really happen: the main window on an X
// server with a window manager (tests/x11/run starts both), its real modal windows through
// the Qt host, and input as a user gives it (xdotool's XTEST key and mouse events).
//
// The window runs its own event loop on the main thread as it does in the program; a
// second thread plays the user: it sends input, and waits (bounded) for the window and the
// window manager to react by asking the main thread what it shows.

#include "model/target.h"
#include "resources/templates/addpathsdlg.h"
#include "resources/templates/objectpermproppage.h"
#include "resources/templates/permoradlg.h"
#include "tests/ui/support/main_window.h"
#include "ui/aboutdlg.h"
#include "ui/addfiledlg.h"
#include "ui/addpathsdlg.h"
#include "ui/auditingproppage.h"
#include "ui/effectiveaccesspage.h"
#include "ui/inputntaccountdlg.h"
#include "ui/objectauditproppage.h"
#include "ui/objectpermproppage.h"
#include "ui/permissionproppage.h"
#include "ui/permoradlg.h"
#include "ui/replaceaccountdlg.h"
#include "ui/securityproppage.h"
#include "ui/toolkit/controls.h"
#include "ui/toolkit/modal_host.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QScrollBar>
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

// What a user could have changed in a window: every box's state and every field's text.
std::string Changeable(const QWidget* window) {
    std::string seen;
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->isCheckable())
            seen += button->accessibleName().toStdString() + (button->isChecked() ? "=1 " : "=0 ");
    }
    for (const QLineEdit* edit : window->findChildren<QLineEdit*>())
        seen += "[" + edit->text().toStdString() + "] ";
    for (const QPlainTextEdit* edit : window->findChildren<QPlainTextEdit*>())
        seen += "[" + edit->toPlainText().toStdString() + "] ";
    for (const QComboBox* combo : window->findChildren<QComboBox*>())
        seen += "<" + combo->currentText().toStdString() + "> ";
    return seen;
}

// The letter of a text's access key ("Perm&issions for" gives 'i'); 0 when it has none.
char AccessKey(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] == u'&') {
            ++i;
            continue;
        }
        return static_cast<char>(text[i + 1].toLower().toLatin1());
    }
    return 0;
}

// Add opens ready for the path: what the user types at once is the new target's path.
TEST(X11FocusTest, AddTakesAPathTypedAtOnce) {
    PermoraDlg dlg;
    RunWithUser(dlg, [&] {
        ASSERT_TRUE(BringUp(dlg)) << "the window never came up";
        const auto dialogOpen = [&](const char* title) {
            return WaitFor([&] {
                QWidget* modal = ActiveModal();
                return modal != nullptr && modal != dlg.ModalWidget() &&
                       modal->windowTitle() == QString::fromUtf8(title);
            });
        };
        ASSERT_TRUE(Xdotool({"key", "--clearmodifiers", "alt+a"}));
        ASSERT_TRUE(dialogOpen("Add a File or Folder to the template")) << "Add did not open";
        ASSERT_TRUE(Xdotool({"type", "--delay", "2", "/vol/vol1/typed"}));
        ASSERT_TRUE(Xdotool({"key", "Return"}));
        ASSERT_TRUE(dialogOpen("NTFS Security for/vol/vol1/typed"))
            << "the typed path did not reach the path field";
        ASSERT_TRUE(Xdotool({"key", "Return"}));
        ASSERT_TRUE(WaitFor([&] { return dlg.Document().Template().Count == 1; }));
        EXPECT_EQ(OnGui([&] { return dlg.Document().Template().Head->Path; }), "/vol/vol1/typed");
        ASSERT_TRUE(WaitFor([&] { return MainWindowActive(dlg); }));
        ASSERT_TRUE(Xdotool({"key", "Escape"}));
        EXPECT_TRUE(WaitFor([&] { return dlg.IsEnded(); })) << "Escape did not close the window";
    });
    EXPECT_TRUE(dlg.IsEnded());
}

// Add Paths typed as a user types it: Tab puts the tab between a path and its account,
// Ctrl+Tab and Shift+Tab leave the box. A line with a bad path says why; an edit after Add
// refused lines takes the problems away, as their line numbers may no longer hold.
TEST(X11FocusTest, AddPathsTakesTabsAndKeepsItsProblemsCurrent) {
    namespace ap = res::AddPathsDlg;
    PermoraDlg dlg;
    const permora::SecurityTemplate empty;
    RunWithUser(dlg, [&] {
        ASSERT_TRUE(BringUp(dlg)) << "the window never came up";
        std::unique_ptr<AddPathsDlg> paths;
        OnGui([&] {
            paths = std::make_unique<AddPathsDlg>(empty, nullptr);
            return true;
        });
        std::atomic<int> result = -1;
        PostToGui([&] { result = paths->DoModal(); });
        struct Cleanup {
            std::function<void()> run;
            ~Cleanup() { run(); }
        } cleanup{[&] {
            OnGui([&] {
                if (result == -1)
                    paths->EndDialog(tk::IDCANCEL);
                return true;
            });
            WaitFor([&] { return result != -1; });
            OnGui([&] {
                paths.reset();
                return true;
            });
        }};
        ASSERT_TRUE(WaitFor([&] { return ActiveModal() == paths->ModalWidget(); }))
            << "Add Paths did not come up";
        QWidget* box = OnGui([&] { return paths->Control(ap::IDC_PATHS); });
        ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == box; }));
        ASSERT_TRUE(Xdotool({"type", "--delay", "2", "/vol/a"}));
        ASSERT_TRUE(Xdotool({"key", "Tab"}));
        ASSERT_TRUE(Xdotool({"type", "--delay", "2", "LAB\\ann"}));
        ASSERT_TRUE(WaitFor([&] { return paths->Text(ap::IDC_PATHS) == "/vol/a\tLAB\\ann"; }))
            << "typed: " << OnGui([&] { return paths->Text(ap::IDC_PATHS); });
        EXPECT_EQ(OnGui([&] { return QApplication::focusWidget(); }), box) << "Tab left the box";
        ASSERT_TRUE(Xdotool({"key", "--clearmodifiers", "ctrl+Tab"}));
        EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() != box; }))
            << "Ctrl+Tab did not leave the box";
        ASSERT_TRUE(Xdotool({"key", "--clearmodifiers", "shift+Tab"}));
        EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() == box; }))
            << "Shift+Tab did not come back to the box";

        // Lines with bad paths, refused by Add.
        OnGui([&] {
            paths->SetText(ap::IDC_PATHS, "/vol/ok\n/vol/my file\n/etc/x\n/vol//y");
            return true;
        });
        ASSERT_TRUE(Xdotool({"key", "--clearmodifiers", "alt+a"}));
        // On the window's thread.
        const auto problems = [&] {
            const tk::ListView list = paths->GetListView(ap::IDC_PROBLEM_LIST);
            std::vector<std::string> rows;
            for (int row = 0; row < list.RowCount(); ++row)
                rows.push_back(list.Cell(row, 0) + " " + list.Cell(row, 1));
            return rows;
        };
        ASSERT_TRUE(WaitFor([&] { return !problems().empty(); })) << "Add refused no line";
        EXPECT_EQ(OnGui(problems),
                  (std::vector<std::string>{"2 /vol/my file (a blank is not allowed)",
                                            "3 /etc/x (a path from the root begins with /vol/)",
                                            "4 /vol//y (two slashes in a row)"}));
        EXPECT_EQ(result, -1) << "Add closed the dialog";
        // A line typed at the top: the numbers above would all be wrong.
        ASSERT_TRUE(Xdotool({"key", "--clearmodifiers", "ctrl+Home"}));
        ASSERT_TRUE(Xdotool({"type", "--delay", "2", "/vol/new\n"}));
        EXPECT_TRUE(WaitFor([&] { return problems().empty(); }))
            << "the problems stayed: " << OnGui(problems).size();
        EXPECT_EQ(OnGui([&] { return paths->Text(ap::IDC_PROBLEM_LABEL); }),
                  "Lines that are not valid paths:");
    });
    EXPECT_TRUE(dlg.IsEnded());
}

// Enter on the target list edits the current row as a double click does, and with several
// rows selected does nothing; it never runs New, the default button.
TEST(X11FocusTest, EnterOnTheListEditsTheRow) {
    PermoraDlg dlg;
    RunWithUser(dlg, [&] {
        ASSERT_TRUE(BringUp(dlg)) << "the window never came up";
        OnGui([&] {
            for (const char* path : {"/vol/vol1/home", "/vol/vol1/work"})
                dlg.Document().Append(std::make_unique<permora::TargetObject>(
                    path, permora::MakeDefaultDescriptor()));
            dlg.GetListView(IDC_TARGET_LIST).SetSelectedRows({0});
            dlg.UpdateButtons();
            return true;
        });
        const auto modalTitle = [&] {
            return OnGui([&] {
                QWidget* modal = ActiveModal();
                return modal != nullptr && modal != dlg.ModalWidget()
                           ? modal->windowTitle().toStdString()
                           : std::string();
            });
        };
        QAbstractItemView* list = dlg.GetListView(IDC_TARGET_LIST).Widget();
        OnGui([&] {
            list->setFocus(Qt::TabFocusReason);
            dlg.GetListView(IDC_TARGET_LIST).SetSelectedRows({0});
            return true;
        });
        ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == list; }));
        ASSERT_TRUE(Xdotool({"key", "Return"}));
        ASSERT_TRUE(WaitFor([&] {
            QWidget* modal = ActiveModal();
            return modal != nullptr && modal != dlg.ModalWidget();
        })) << "Enter opened nothing";
        EXPECT_EQ(modalTitle(), "NTFS Security for /vol/vol1/home");
        ASSERT_TRUE(Xdotool({"key", "Escape"}));
        ASSERT_TRUE(WaitFor([&] { return MainWindowActive(dlg); }));

        // Both rows: Edit is off, and so is Enter. The next window to open is Add's.
        ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == list; }));
        ASSERT_TRUE(Xdotool({"key", "shift+End"}));
        ASSERT_TRUE(WaitFor([&] { return dlg.GetListView(IDC_TARGET_LIST).SelectedCount() == 2; }));
        ASSERT_TRUE(Xdotool({"key", "Return"}));
        ASSERT_TRUE(Xdotool({"key", "--clearmodifiers", "alt+a"}));
        ASSERT_TRUE(WaitFor([&] {
            QWidget* modal = ActiveModal();
            return modal != nullptr && modal != dlg.ModalWidget();
        }));
        EXPECT_EQ(modalTitle(), "Add a File or Folder to the template");
        ASSERT_TRUE(Xdotool({"key", "Escape"}));
        ASSERT_TRUE(WaitFor([&] { return MainWindowActive(dlg); }));
        EXPECT_EQ(OnGui([&] { return dlg.Document().Template().Count; }), 2);
    });
    EXPECT_TRUE(dlg.IsEnded());
}

// At start the list with rows has the focus; the Menu key and Shift+F10 open the list's menu
// from any control of the window; after Remove the keyboard goes on from the selected row.
TEST(X11FocusTest, TheListHasTheFocusAndItsMenuEverywhere) {
    PermoraDlg dlg;
    dlg.ImportAtStart({std::string(PERMORA_FIXTURES_DIR) + "/main-window-unicode.conf"});
    RunWithUser(dlg, [&] {
        ASSERT_TRUE(BringUp(dlg)) << "the window never came up";
        QAbstractItemView* list = dlg.GetListView(IDC_TARGET_LIST).Widget();
        EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() == list; }))
            << "the list does not have the focus at start";
        const auto listMenuOpen = [] {
            QWidget* popup = QApplication::activePopupWidget();
            return popup != nullptr && popup->actions().size() > 1;
        };
        for (const char* key : {"shift+F10", "Menu"}) {
            SCOPED_TRACE(key);
            OnGui([&] {
                dlg.Control(IDC_NEW)->setFocus(Qt::TabFocusReason);
                return true;
            });
            ASSERT_TRUE(
                WaitFor([&] { return QApplication::focusWidget() == dlg.Control(IDC_NEW); }));
            ASSERT_TRUE(Xdotool({"key", "--clearmodifiers", key}));
            EXPECT_TRUE(WaitFor(listMenuOpen)) << "the list's menu did not open";
            ASSERT_TRUE(Xdotool({"key", "Escape"}));
            ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
        }

        // Remove the last row: the first row is selected, as after any Remove, and the
        // keyboard's current row is that row, not the one next to the row removed.
        OnGui([&] {
            list->setFocus(Qt::TabFocusReason);
            return true;
        });
        ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == list; }));
        ASSERT_TRUE(Xdotool({"key", "End"}));
        ASSERT_TRUE(WaitFor([&] {
            return dlg.GetListView(IDC_TARGET_LIST).SelectedRows() == std::vector<int>{2};
        }));
        ASSERT_TRUE(Xdotool({"key", "Delete"}));
        ASSERT_TRUE(WaitFor([&] { return dlg.Document().Template().Count == 2; }));
        const auto state = [&] {
            return OnGui([&] {
                return std::pair(dlg.GetListView(IDC_TARGET_LIST).SelectedRows(),
                                 list->currentIndex().row());
            });
        };
        EXPECT_EQ(state(), std::pair(std::vector<int>{0}, 0));
        ASSERT_TRUE(Xdotool({"key", "Down"}));
        EXPECT_TRUE(WaitFor([&] {
            return dlg.GetListView(IDC_TARGET_LIST).SelectedRows() == std::vector<int>{1};
        })) << "Down did not go on from the selected row";
    });
    EXPECT_TRUE(dlg.IsEnded());
}

// A list longer than its window shows a vertical scroll bar and no horizontal one, also once
// the window is made larger; long paths lose their middle, never the end that tells them
// apart.
TEST(X11FocusTest, ALongListScrollsOnlyDownwards) {
    PermoraDlg dlg;
    RunWithUser(dlg, [&] {
        ASSERT_TRUE(BringUp(dlg)) << "the window never came up";
        OnGui([&] {
            for (int i = 0; i < 200; ++i)
                dlg.Document().Append(std::make_unique<permora::TargetObject>(
                    "/vol/vol1/home/" + std::to_string(i), permora::MakeDefaultDescriptor()));
            dlg.GetListView(IDC_TARGET_LIST).SetSelectedRows({0});
            dlg.UpdateButtons();
            return true;
        });
        QAbstractItemView* list = dlg.GetListView(IDC_TARGET_LIST).Widget();
        const auto bars = [&] {
            return std::pair(list->verticalScrollBar()->isVisible(),
                             list->horizontalScrollBar()->isVisible());
        };
        EXPECT_TRUE(WaitFor([&] { return bars() == std::pair(true, false); }))
            << "vertical, horizontal: " << OnGui(bars).first << ", " << OnGui(bars).second;
        const std::string window =
            std::to_string(OnGui([&] { return dlg.ModalWidget()->window()->winId(); }));
        const int before = OnGui([&] { return list->width(); });
        ASSERT_TRUE(Xdotool({"windowsize", window, "1250", "1000"}));
        ASSERT_TRUE(WaitFor([&] { return list->width() > before; })) << "the window did not grow";
        EXPECT_TRUE(WaitFor([&] { return bars() == std::pair(true, false); }))
            << "vertical, horizontal: " << OnGui(bars).first << ", " << OnGui(bars).second;
        EXPECT_EQ(OnGui([&] { return list->textElideMode(); }), Qt::ElideMiddle);
    });
    EXPECT_TRUE(dlg.IsEnded());
}

// Every label with an access key, in every window, pressed as a user presses it: the key
// takes the focus to the label's control and changes no box and no text. (A label before a
// grid of check boxes once ticked the first of them.)
TEST(X11FocusTest, ALabelsAccessKeyOnlyMovesTheFocus) {
    PermoraDlg dlg;
    permora::TargetObject target("/vol/vol1/qt1", permora::MakeDefaultDescriptor());
    const permora::SecurityTemplate emptyTemplate;
    // A window to try: a dialog of its own, or a page shown in a sheet of its own.
    struct Shown {
        std::unique_ptr<tk::Window> window;
        std::unique_ptr<tk::PropertySheet> sheet;
        tk::Modal* Modal() const {
            return sheet ? static_cast<tk::Modal*>(sheet.get())
                         : dynamic_cast<tk::Modal*>(window.get());
        }
    };
    const auto dialog = [](std::unique_ptr<tk::Window> window) {
        return Shown{std::move(window), nullptr};
    };
    const auto page = [](std::unique_ptr<tk::PropertyPage> made) {
        Shown shown{std::move(made), std::make_unique<tk::PropertySheet>("Page")};
        shown.sheet->AddPage(static_cast<tk::PropertyPage*>(shown.window.get()));
        return shown;
    };
    const struct {
        const char* name;
        std::function<Shown()> make;
    } windows[] = {
        {"add target", [&] { return dialog(std::make_unique<AddFileDlg>()); }},
        {"add paths",
         [&] {
             return dialog(std::make_unique<AddPathsDlg>(emptyTemplate, target.Descriptor.get()));
         }},
        {"replace account", [&] { return dialog(std::make_unique<ReplaceAccountDlg>(true)); }},
        {"about", [&] { return dialog(std::make_unique<AboutDlg>()); }},
        {"account", [&] { return dialog(std::make_unique<InputNTAccountDlg>()); }},
        {"security page", [&] { return page(std::make_unique<SecurityPropPage>(target)); }},
        {"permission entries", [&] { return page(std::make_unique<PermissionPropPage>(target)); }},
        {"auditing entries", [&] { return page(std::make_unique<AuditingPropPage>(target)); }},
        {"effective access", [&] { return page(std::make_unique<EffectiveAccessPage>(target)); }},
        {"permission entry",
         [&] {
             return page(
                 std::make_unique<ObjectPermPropPage>("Everyone", permora::kLevelFileDirectory));
         }},
        {"auditing entry",
         [&] {
             return page(
                 std::make_unique<ObjectAuditPropPage>("Everyone", permora::kLevelFileDirectory));
         }},
    };
    // Presses the access key of every label of the active window that has one and a control
    // to go to.
    int tried = 0;
    const auto tryLabels = [&](QWidget* window) {
        const QList<QLabel*> labels = OnGui([&] { return window->findChildren<QLabel*>(); });
        for (QLabel* label : labels) {
            const auto [key, buddy, text] = OnGui([&] {
                QWidget* to = label->buddy();
                const bool reachable = label->isVisible() && to != nullptr && to != window &&
                                       to->isVisible() && to->isEnabled();
                return std::tuple(reachable ? AccessKey(label->text()) : '\0', to,
                                  label->text().toStdString());
            });
            if (key == '\0')
                continue;
            SCOPED_TRACE("the label \"" + text + "\"");
            ++tried;
            const std::string before = OnGui([&] { return Changeable(window); });
            const auto arrived = [&, buddy = buddy] {
                QWidget* focus = QApplication::focusWidget();
                if (focus == nullptr || (focus != buddy && !buddy->isAncestorOf(focus)))
                    return false;
                // A click of a button shows it pressed for a moment, then changes it.
                for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
                    if (button->isDown())
                        return false;
                return true;
            };
            // A key that other controls share goes round them, one press after another.
            bool reached = false;
            for (int press = 0; press < 4 && !reached; ++press) {
                ASSERT_TRUE(Xdotool({"key", "--clearmodifiers", std::string("alt+") + key}));
                reached = WaitFor(arrived, std::chrono::seconds(3));
            }
            EXPECT_TRUE(reached) << "the access key did not take the focus to the label's control";
            EXPECT_EQ(OnGui([&] { return Changeable(window); }), before);
        }
    };
    RunWithUser(dlg, [&] {
        ASSERT_TRUE(BringUp(dlg)) << "the window never came up";
        {
            SCOPED_TRACE("main window");
            tryLabels(dlg.ModalWidget());
        }
        for (const auto& w : windows) {
            SCOPED_TRACE(w.name);
            Shown shown = OnGui([&] { return w.make(); });
            std::atomic<int> result = -1;
            PostToGui([&] { result = shown.Modal()->DoModal(); });
            QWidget* window =
                OnGui([&] { return static_cast<QWidget*>(shown.Modal()->ModalWidget()); });
            const bool up = WaitFor([&] { return ActiveModal() == window; });
            if (up)
                tryLabels(window);
            OnGui([&] {
                if (result == -1)
                    window->close();
                return true;
            });
            // Whatever the close asked (a page that stops Cancel), the window ends.
            if (!WaitFor([&] { return result != -1; }, std::chrono::seconds(5)))
                OnGui([&] {
                    shown.Modal()->EndModal(tk::IDCANCEL);
                    return true;
                });
            ASSERT_TRUE(WaitFor([&] { return result != -1; }));
            OnGui([&] {
                shown = Shown{};
                return true;
            });
            ASSERT_TRUE(up) << "the window did not come up";
            ASSERT_TRUE(WaitFor([&] { return MainWindowActive(dlg); }));
        }
        EXPECT_GT(tried, 10) << "too few labels with access keys were found";
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
