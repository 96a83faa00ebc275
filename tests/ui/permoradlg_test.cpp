// The main window driven as a user drives it: list clicks, buttons, the Delete key, the
// save questions and file dialogs, imports of sample files, down to the bytes on disk.

#include "support/main_window.h"
#include "ui/permoradlg.h"

#include "model/target.h"
#include "resources/templates/aboutdlg.h"
#include "resources/templates/permoradlg.h"
#include "support/files.h"
#include "support/scripted_host.h"
#include "template_file/template_file.h"
#include "ui/aboutdlg.h"
#include "ui/toolkit/modal_host.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using tk::test::ReadBytes;
using tk::test::TempDir;
using tk::test::Utf16le;
using tk::test::WriteBytes;

namespace fs = std::filesystem;
using namespace res::PermoraDlg;
using tk::test::ScriptedHost;

constexpr const char* kFilter = "Conf files (*.conf)|*.conf|All files (*.*)|*.*||";

std::string Fixture(const std::string& name) {
    return std::string(PERMORA_FIXTURES_DIR) + "/" + name;
}

using tk::test::Buttons;
using tk::test::Rows;

std::vector<std::string> Paths(const permora::SecurityTemplate& tmpl) {
    std::vector<std::string> paths;
    for (const permora::TargetObject* t = tmpl.Head; t != nullptr; t = t->Next)
        paths.push_back(t->Path);
    return paths;
}

std::vector<int> Selected(const PermoraDlg& dlg) {
    return dlg.GetListView(IDC_TARGET_LIST).SelectedRows();
}

// Appends targets with the default descriptor and shows them, as Add will.
void AddTargets(PermoraDlg& dlg, const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        dlg.Document().Append(
            std::make_unique<permora::TargetObject>(path, permora::MakeDefaultDescriptor()));
    dlg.GetListView(IDC_TARGET_LIST).SetSelectedRows({0});
}

class PermoraDlgTest : public ::testing::Test {
protected:
    // Opens the main window, lets play act on it, and closes it with the Close button.
    void Run(const std::function<void(PermoraDlg&)>& play) {
        PermoraDlg dlg;
        host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
            play(d);
            if (!d.IsEnded())
                tk::test::Click(d, IDC_CLOSE);
        });
        EXPECT_EQ(dlg.DoModal(), tk::IDCANCEL);
    }

    // Imports a file through the Import button.
    void ImportFile(PermoraDlg& dlg, const std::string& path) {
        host.ExpectFileDialog(path);
        tk::test::Click(dlg, IDC_IMPORT);
    }

    ScriptedHost host;
};

// ---------------------------------------------------------------------------------------
// Button enabling and the file label

enum class Start {
    Empty,        // just opened
    ThreeRows,    // three targets appended behind the window, nothing enabled yet
    Imported,     // three targets from a complete import: all six enabled, label "*"
    ImportedInDir // New chose {dir}/a.conf, then the complete import
};

struct EnablingCase {
    const char* name;
    Start start;
    std::function<void(PermoraDlg&, ScriptedHost&, const TempDir&)> operation;
    const char* buttons; // see Buttons()
    const char* label;   // {dir} stands for the temporary folder; "&&" shows one "&"
};

void ClickRow(PermoraDlg& d, int row, bool control = false, bool shift = false) {
    tk::test::ClickRow(d, IDC_TARGET_LIST, row, control, shift);
}

// A click into a list that has no rows.
void ClickEmptyList(PermoraDlg& d) {
    QAbstractItemView* view = d.GetListView(IDC_TARGET_LIST).Widget();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->viewport()->rect().center());
}

const EnablingCase kEnablingCases[] = {
    {"start", Start::Empty, [](PermoraDlg&, ScriptedHost&, const TempDir&) {}, "......",
     "Untit&led"},
    {"click one row", Start::Imported,
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) { ClickRow(d, 1); }, "UTEudR", "Untitled*"},
    {"click one row enables the row commands only", Start::ThreeRows,
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) { ClickRow(d, 2); }, "..EudR", "Untit&led"},
    {"click clears the only selected row", Start::Imported,
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) { ClickRow(d, 0, true); }, "UT....",
     "Untitled*"},
    {"click selects several rows, Remove stays enabled", Start::Imported,
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) { ClickRow(d, 2, true); }, "UT...R",
     "Untitled*"},
    {"click selects several rows, Remove stays disabled", Start::ThreeRows,
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) {
         ClickRow(d, 0);
         ClickRow(d, 0, true); // none selected: Remove disabled
         ClickRow(d, 2, false, true);
         ASSERT_EQ(Selected(d), (std::vector<int>{0, 1, 2}));
     },
     "......", "Untit&led"},
    {"click in a list without rows", Start::ImportedInDir,
     [](PermoraDlg& d, ScriptedHost& h, const TempDir& dir) {
         h.ExpectFileDialog(dir.File("b.conf"));
         tk::test::Click(d, IDC_NEW);
         ClickEmptyList(d);
     },
     "......", "{dir}/b.conf"},
    {"remove with targets left", Start::ThreeRows,
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) {
         ClickRow(d, 1);
         tk::test::Click(d, IDC_REMOVE);
     },
     "UTEudR", "Untitled*"},
    {"remove the last targets", Start::Imported,
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) {
         ClickRow(d, 1, true);
         ClickRow(d, 2, true);
         tk::test::Click(d, IDC_REMOVE);
     },
     "......", "Untitled*"},
    {"up", Start::ThreeRows,
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) {
         ClickRow(d, 1);
         tk::test::Click(d, IDC_UP);
     },
     "UTEudR", "Untitled*"},
    {"down", Start::ThreeRows,
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) {
         ClickRow(d, 1);
         tk::test::Click(d, IDC_DOWN);
     },
     "UTEudR", "Untitled*"},
    {"new keeps every button as it was", Start::Imported,
     [](PermoraDlg& d, ScriptedHost& h, const TempDir& dir) {
         h.ExpectFileDialog(dir.File("new.conf"));
         tk::test::Click(d, IDC_NEW);
     },
     "UTEudR", "{dir}/new.conf"},
    {"new with an ampersand in the name", Start::Imported,
     [](PermoraDlg& d, ScriptedHost& h, const TempDir& dir) {
         h.ExpectFileDialog(dir.File("R&D.conf"));
         tk::test::Click(d, IDC_NEW);
     },
     "UTEudR", "{dir}/R&&D.conf"},
    {"new cancelled", Start::Imported,
     [](PermoraDlg& d, ScriptedHost& h, const TempDir&) {
         h.ExpectFileDialog(std::nullopt);
         tk::test::Click(d, IDC_NEW);
     },
     "UTEudR", "Untitled*"},
    {"save unicode disables its own button", Start::ImportedInDir,
     [](PermoraDlg& d, ScriptedHost& h, const TempDir& dir) {
         h.ExpectMessage("Confirm", "Do you want to overwrite  " + dir.File("a.conf") + "?",
                         tk::IDYES);
         tk::test::Click(d, IDC_SAVE_UNICODE);
     },
     ".TEudR", "{dir}/a.conf"},
    {"save utf8 disables its own button", Start::ImportedInDir,
     [](PermoraDlg& d, ScriptedHost& h, const TempDir& dir) {
         h.ExpectMessage("Confirm", "Do you want to overwrite " + dir.File("a.conf") + "?",
                         tk::IDYES);
         tk::test::Click(d, IDC_SAVE_UTF8);
     },
     "U.EudR", "{dir}/a.conf"},
    {"save unicode under another name", Start::ImportedInDir,
     [](PermoraDlg& d, ScriptedHost& h, const TempDir& dir) {
         h.ExpectMessage("Confirm", "Do you want to overwrite  " + dir.File("a.conf") + "?",
                         tk::IDNO);
         h.ExpectFileDialog(dir.File("other.conf"));
         tk::test::Click(d, IDC_SAVE_UNICODE);
     },
     ".TEudR", "{dir}/other.conf"},
    {"save cancelled", Start::ImportedInDir,
     [](PermoraDlg& d, ScriptedHost& h, const TempDir& dir) {
         h.ExpectMessage("Confirm", "Do you want to overwrite " + dir.File("a.conf") + "?",
                         tk::IDCANCEL);
         tk::test::Click(d, IDC_SAVE_UTF8);
     },
     "UTEudR", "{dir}/a.conf*"},
    {"import complete", Start::Empty,
     [](PermoraDlg& d, ScriptedHost& h, const TempDir&) {
         h.ExpectFileDialog(Fixture("main-window-8bit.conf"));
         tk::test::Click(d, IDC_IMPORT);
     },
     "UTEudR", "Untitled*"},
    {"import of a header alone", Start::Empty,
     [](PermoraDlg& d, ScriptedHost& h, const TempDir&) {
         h.ExpectFileDialog(Fixture("main-window-header-only.conf"));
         tk::test::Click(d, IDC_IMPORT);
     },
     "UTEudR", "Untitled*"},
    {"import failing after one target", Start::Empty,
     [](PermoraDlg& d, ScriptedHost& h, const TempDir&) {
         h.ExpectFileDialog(Fixture("main-window-third-line-fails.conf"));
         h.ExpectMessage("Error", "Cannot parse this Mask.");
         h.ExpectMessage("Error", "Invalid Account Name");
         h.ExpectMessage("Error", "   Invalid File");
         tk::test::Click(d, IDC_IMPORT);
     },
     "UTEudR", "Untitled*"},
    {"import of a file that cannot be opened", Start::ThreeRows,
     [](PermoraDlg& d, ScriptedHost& h, const TempDir& dir) {
         h.ExpectFileDialog(dir.File("missing.conf"));
         h.ExpectMessage("Error", "There is problem in opening this file.");
         tk::test::Click(d, IDC_IMPORT);
     },
     "......", "Untit&led"},
};

class PermoraDlgEnablingTest : public PermoraDlgTest,
                               public ::testing::WithParamInterface<EnablingCase> {};

TEST_P(PermoraDlgEnablingTest, ButtonsAndLabelFollowTheOperation) {
    const EnablingCase& c = GetParam();
    TempDir dir;
    Run([&](PermoraDlg& d) {
        switch (c.start) {
        case Start::Empty:
            break;
        case Start::ThreeRows:
            AddTargets(d, {"/vol/a", "/vol/b", "/vol/c"});
            break;
        case Start::ImportedInDir:
            host.ExpectFileDialog(dir.File("a.conf"));
            tk::test::Click(d, IDC_NEW);
            [[fallthrough]];
        case Start::Imported:
            ImportFile(d, Fixture("main-window-8bit.conf"));
            ASSERT_EQ(Buttons(d), "UTEudR");
            break;
        }
        c.operation(d, host, dir);
        EXPECT_EQ(Buttons(d), c.buttons);
        std::string label = c.label;
        if (const auto at = label.find("{dir}"); at != std::string::npos)
            label.replace(at, 5, dir.Path().string());
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), label);
        EXPECT_TRUE(host.Done());
    });
}

INSTANTIATE_TEST_SUITE_P(MainWindow, PermoraDlgEnablingTest, ::testing::ValuesIn(kEnablingCases),
                         [](const ::testing::TestParamInfo<EnablingCase>& param) {
                             std::string name;
                             for (const char* p = param.param.name; *p != '\0'; ++p)
                                 name.push_back(std::isalnum(static_cast<unsigned char>(*p)) ? *p
                                                                                             : '_');
                             return name;
                         });

// ---------------------------------------------------------------------------------------
// Removing and moving

struct RemoveCase {
    const char* name;
    std::vector<int> select; // rows clicked, the first plainly, the others with Ctrl
    bool deleteKey;          // the Delete key in the list, or the Remove button
    std::vector<std::string> left;
    std::vector<int> selectedAfter;
};

TEST_F(PermoraDlgTest, RemoveTakesTheSelectedTargetsAndSelectsTheFirstRow) {
    const RemoveCase cases[] = {
        {"rows 1, 3 and 4", {1, 3, 4}, false, {"/vol/a", "/vol/c"}, {0}},
        {"one row by the Delete key", {2}, true, {"/vol/a", "/vol/b", "/vol/d", "/vol/e"}, {0}},
        {"the first row", {0}, false, {"/vol/b", "/vol/c", "/vol/d", "/vol/e"}, {0}},
        {"nothing selected, Delete key",
         {},
         true,
         {"/vol/a", "/vol/b", "/vol/c", "/vol/d", "/vol/e"},
         {0}},
        {"every row", {0, 1, 2, 3, 4}, false, {}, {}},
    };
    for (const RemoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        Run([&](PermoraDlg& d) {
            AddTargets(d, {"/vol/a", "/vol/b", "/vol/c", "/vol/d", "/vol/e"});
            for (std::size_t i = 0; i < c.select.size(); ++i)
                ClickRow(d, c.select[i], i > 0);
            if (c.select.empty()) // clear the selection AddTargets made
                ClickRow(d, 0, true);
            ASSERT_EQ(Selected(d).size(), c.select.size());
            if (c.deleteKey)
                tk::test::PressKey(d, IDC_TARGET_LIST, Qt::Key_Delete);
            else
                tk::test::Click(d, IDC_REMOVE);
            EXPECT_EQ(Paths(d.Document().Template()), c.left);
            std::vector<std::string> rowPaths;
            for (const std::string& row : Rows(d))
                rowPaths.push_back(row.substr(0, row.find(" | ")));
            EXPECT_EQ(rowPaths, c.left);
            EXPECT_EQ(Selected(d), c.selectedAfter);
            EXPECT_EQ(d.Text(IDC_FILE_LABEL), "Untitled*");
            EXPECT_EQ(d.IsEnabled(IDC_SAVE_UNICODE), !c.left.empty());
        });
    }
}

TEST_F(PermoraDlgTest, UpAndDownMoveTheFirstSelectedTargetOnePlace) {
    struct MoveCase {
        const char* name;
        std::vector<std::string> paths;
        int row;
        int button;
        std::vector<std::string> after;
        std::vector<int> selectedAfter;
        bool marked; // the label got its "*"
    };
    const MoveCase cases[] = {
        {"up from the last of two", {"/a", "/b"}, 1, IDC_UP, {"/b", "/a"}, {0}, true},
        {"up from the middle", {"/a", "/b", "/c"}, 1, IDC_UP, {"/b", "/a", "/c"}, {0}, true},
        {"up at the top does nothing",
         {"/a", "/b", "/c"},
         0,
         IDC_UP,
         {"/a", "/b", "/c"},
         {0},
         false},
        {"down from the top", {"/a", "/b", "/c"}, 0, IDC_DOWN, {"/b", "/a", "/c"}, {1}, true},
        {"down into the last place",
         {"/a", "/b", "/c"},
         1,
         IDC_DOWN,
         {"/a", "/c", "/b"},
         {2},
         true},
        {"down at the bottom does nothing",
         {"/a", "/b", "/c"},
         2,
         IDC_DOWN,
         {"/a", "/b", "/c"},
         {2},
         false},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        Run([&](PermoraDlg& d) {
            AddTargets(d, c.paths);
            ClickRow(d, c.row);
            tk::test::Click(d, c.button);
            EXPECT_EQ(Paths(d.Document().Template()), c.after);
            EXPECT_EQ(Rows(d).size(), c.after.size());
            for (std::size_t i = 0; i < c.after.size(); ++i)
                EXPECT_EQ(d.GetListView(IDC_TARGET_LIST).Cell(static_cast<int>(i), 0), c.after[i]);
            EXPECT_EQ(Selected(d), c.selectedAfter);
            EXPECT_EQ(d.Text(IDC_FILE_LABEL) == "Untitled*", c.marked);
        });
    }
}

TEST_F(PermoraDlgTest, MoveSkipsTheExchangeWhenTheRowsNoLongerShowTheTargets) {
    Run([&](PermoraDlg& d) {
        AddTargets(d, {"/a", "/b", "/c"});
        d.Document().Template().At(1)->Path = "/changed"; // the row still says /b
        ClickRow(d, 1);
        tk::test::Click(d, IDC_UP);
        EXPECT_EQ(Paths(d.Document().Template()),
                  (std::vector<std::string>{"/a", "/changed", "/c"}));
        EXPECT_EQ(d.GetListView(IDC_TARGET_LIST).Cell(1, 0), "/changed");
        EXPECT_EQ(Selected(d), std::vector<int>{0});
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), "Untitled*");
    });
}

// ---------------------------------------------------------------------------------------
// Saving

// The text of the small template the save tests write.
const std::string kSmallText = "cb56f6f4\r\n"
                               "1,0,\"/vol/vol1/qt1\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)\"\r\n"
                               "1,1,\"/vol/vol2\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)\"\r\n";

void BuildSmallTemplate(PermoraDlg& d) {
    AddTargets(d, {"/vol/vol1/qt1", "/vol/vol2"});
    d.Document().Template().At(1)->SecurityLevel = permora::kLevelStorage;
}

void ExpectSaveDialog(const tk::FileDialogRequest& request, const PermoraDlg& owner) {
    EXPECT_FALSE(request.open);
    EXPECT_EQ(request.owner, &owner);
    EXPECT_EQ(request.flags, 0x0806u);
    EXPECT_EQ(request.defaultExtension, "conf");
    EXPECT_EQ(request.initialName, "security.conf");
    EXPECT_EQ(request.filter, kFilter);
}

TEST_F(PermoraDlgTest, SavesWriteEitherEncodingAfterTheQuestion) {
    struct SaveCase {
        const char* name;
        int button;
        int answer;
        std::optional<std::string> dialogFile; // the save dialog's answer, when it is asked
        bool dialogShown;
        const char* writtenFile; // nullptr: nothing written
        bool unicode;
    };
    const SaveCase cases[] = {
        {"unicode, yes", IDC_SAVE_UNICODE, tk::IDYES, std::nullopt, false, "current.conf", true},
        {"unicode, no, then a name", IDC_SAVE_UNICODE, tk::IDNO, "chosen.conf", true, "chosen.conf",
         true},
        {"unicode, no, then cancel", IDC_SAVE_UNICODE, tk::IDNO, std::nullopt, true, nullptr, true},
        {"unicode, cancel", IDC_SAVE_UNICODE, tk::IDCANCEL, std::nullopt, false, nullptr, true},
        {"utf8, yes", IDC_SAVE_UTF8, tk::IDYES, std::nullopt, false, "current.conf", false},
        {"utf8, no, then a name", IDC_SAVE_UTF8, tk::IDNO, "chosen.conf", true, "chosen.conf",
         false},
        {"utf8, no, then cancel", IDC_SAVE_UTF8, tk::IDNO, std::nullopt, true, nullptr, false},
        {"utf8, cancel", IDC_SAVE_UTF8, tk::IDCANCEL, std::nullopt, false, nullptr, false},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string current = dir.File("current.conf");
        Run([&](PermoraDlg& d) {
            host.ExpectFileDialog(current);
            tk::test::Click(d, IDC_NEW);
            BuildSmallTemplate(d);
            d.Document().MarkChanged();

            const std::string spaces = c.button == IDC_SAVE_UNICODE ? "  " : " ";
            host.ExpectMessage("Confirm", "Do you want to overwrite" + spaces + current + "?",
                               c.answer);
            if (c.dialogShown)
                host.ExpectFileDialog(c.dialogFile ? std::optional(dir.File(*c.dialogFile))
                                                   : std::nullopt);
            const std::size_t dialogsBefore = host.FileDialogs().size();
            tk::test::Click(d, c.button);

            ASSERT_FALSE(host.Messages().empty());
            EXPECT_EQ(host.Messages().back().type, tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION);
            if (c.dialogShown) {
                ASSERT_EQ(host.FileDialogs().size(), dialogsBefore + 1);
                ExpectSaveDialog(host.FileDialogs().back(), d);
            }
            if (c.writtenFile == nullptr) {
                EXPECT_EQ(dir.Names(), std::vector<std::string>{});
                EXPECT_EQ(d.Text(IDC_FILE_LABEL), current + "*");
                EXPECT_TRUE(d.IsEnabled(c.button));
                return;
            }
            const std::string written = dir.File(c.writtenFile);
            EXPECT_EQ(dir.Names(), std::vector<std::string>{c.writtenFile});
            EXPECT_EQ(ReadBytes(written), c.unicode ? Utf16le(kSmallText) : kSmallText);
            EXPECT_EQ(d.Document().Path(), written);
            EXPECT_EQ(d.Text(IDC_FILE_LABEL), written);
            EXPECT_FALSE(d.IsEnabled(c.button));
            EXPECT_TRUE(d.IsEnabled(c.unicode ? IDC_SAVE_UTF8 : IDC_SAVE_UNICODE));
        });
    }
}

TEST_F(PermoraDlgTest, TheBytesOfBothEncodingsBeginAndEndAsExpected) {
    TempDir dir;
    Run([&](PermoraDlg& d) {
        host.ExpectFileDialog(dir.File("t.conf"));
        tk::test::Click(d, IDC_NEW);
        BuildSmallTemplate(d);
        d.Document().MarkChanged();
        host.ExpectMessage("Confirm", "Do you want to overwrite  " + dir.File("t.conf") + "?",
                           tk::IDYES);
        tk::test::Click(d, IDC_SAVE_UNICODE);
        const std::string unicode = ReadBytes(dir.File("t.conf"));
        EXPECT_EQ(unicode.substr(0, 22), std::string("\xff\xfe"
                                                     "c\0b\0"
                                                     "5\0"
                                                     "6\0f\0"
                                                     "6\0f\0"
                                                     "4\0\r\0\n\0",
                                                     22));
        EXPECT_EQ(unicode.substr(unicode.size() - 4), std::string("\r\0\n\0", 4));

        host.ExpectMessage("Confirm", "Do you want to overwrite " + dir.File("t.conf") + "?",
                           tk::IDYES);
        tk::test::Click(d, IDC_SAVE_UTF8);
        const std::string eightBit = ReadBytes(dir.File("t.conf"));
        EXPECT_EQ(eightBit.substr(0, 10), "cb56f6f4\r\n");
        EXPECT_EQ(eightBit.substr(eightBit.size() - 2), "\r\n");
    });
}

// A working folder of its own for the duration of a test.
class WorkingFolder {
public:
    explicit WorkingFolder(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~WorkingFolder() { fs::current_path(previous_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    fs::path previous_;
};

TEST_F(PermoraDlgTest, UntitledIsSavedInTheWorkingFolder) {
    TempDir dir;
    WorkingFolder working(dir.Path());
    Run([&](PermoraDlg& d) {
        BuildSmallTemplate(d);
        d.Document().MarkChanged();
        EXPECT_EQ(d.Document().Path(), "Untitled");
        host.ExpectMessage("Confirm", "Do you want to overwrite  Untitled?", tk::IDYES);
        tk::test::Click(d, IDC_SAVE_UNICODE);
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), "Untitled");
        host.ExpectMessage("Confirm", "Do you want to overwrite Untitled?", tk::IDYES);
        tk::test::Click(d, IDC_SAVE_UTF8);
    });
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"Untitled"});
    EXPECT_EQ(ReadBytes(dir.File("Untitled")), kSmallText);
}

// Makes writes to files fail beyond a small size, for the life of the object (the limit
// binds root as well).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(PermoraDlgTest, AFailedSaveKeepsThePreviousFileAndSaysSo) {
    struct FailCase {
        const char* name;
        int button;
        int answer;
        const char* message;
        // Prepares the place to save to; returns the path the save goes to.
        std::function<std::string(const TempDir&)> prepare;
        bool limitSize;
    };
    const std::string oldBytes = "cb56f6f4\r\n1,0,\"/old\",0,\"D:(A;;0x1;;;Everyone)\"\r\n";
    const FailCase cases[] = {
        {"unicode: writing fails", IDC_SAVE_UNICODE, tk::IDYES,
         "There is problem in creating this file.",
         [&](const TempDir& dir) {
             WriteBytes(dir.File("t.conf"), oldBytes);
             return dir.File("t.conf");
         },
         true},
        {"utf8: writing fails", IDC_SAVE_UTF8, tk::IDYES, "There is problem in creating this file.",
         [&](const TempDir& dir) {
             WriteBytes(dir.File("t.conf"), oldBytes);
             return dir.File("t.conf");
         },
         true},
        {"unicode: a folder stands in the way", IDC_SAVE_UNICODE, tk::IDYES,
         "There is problem in opening this file.",
         [&](const TempDir& dir) {
             fs::create_directory(dir.File("t.conf"));
             WriteBytes(dir.File("t.conf/inside"), oldBytes);
             return dir.File("t.conf");
         },
         false},
        {"utf8: the folder has gone", IDC_SAVE_UTF8, tk::IDYES,
         "There is problem in opening this file.",
         [&](const TempDir& dir) { return dir.File("gone/t.conf"); }, false},
        {"unicode: the folder has gone", IDC_SAVE_UNICODE, tk::IDYES,
         "There is problem in opening this file.",
         [&](const TempDir& dir) { return dir.File("gone/t.conf"); }, false},
    };
    for (const FailCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = c.prepare(dir);
        const std::vector<std::string> namesBefore = dir.Names();
        Run([&](PermoraDlg& d) {
            host.ExpectFileDialog(path);
            tk::test::Click(d, IDC_NEW);
            AddTargets(d, {"/vol/vol1/qt1", "/vol/vol2/with/a/longer/path/than/the/limit"});
            ClickRow(d, 1);
            tk::test::Click(d, IDC_UP); // marks the label and enables both saves
            const std::string spaces = c.button == IDC_SAVE_UNICODE ? "  " : " ";
            host.ExpectMessage("Confirm", "Do you want to overwrite" + spaces + path + "?",
                               c.answer);
            host.ExpectMessage("Error", c.message);
            {
                std::optional<FileSizeLimit> limit;
                if (c.limitSize)
                    limit.emplace(40);
                tk::test::Click(d, c.button);
            }
            EXPECT_EQ(d.Text(IDC_FILE_LABEL), path + "*");
            EXPECT_TRUE(d.IsEnabled(IDC_SAVE_UNICODE));
            EXPECT_TRUE(d.IsEnabled(IDC_SAVE_UTF8));
        });
        EXPECT_EQ(dir.Names(), namesBefore);
        if (fs::is_regular_file(path)) {
            EXPECT_EQ(ReadBytes(path), oldBytes);
        } else if (fs::is_directory(path)) {
            EXPECT_EQ(ReadBytes(path + "/inside"), oldBytes);
        }
    }
}

TEST_F(PermoraDlgTest, SaveAsThatCannotCreateTheFileSaysSo) {
    TempDir dir;
    Run([&](PermoraDlg& d) {
        BuildSmallTemplate(d);
        d.Document().MarkChanged();
        host.ExpectMessage("Confirm", "Do you want to overwrite  Untitled?", tk::IDNO);
        host.ExpectFileDialog(dir.File("gone/t.conf"));
        host.ExpectMessage("Error", "There is problem in creating this file.");
        tk::test::Click(d, IDC_SAVE_UNICODE);
        // The save did not happen: the next one still goes to the file the label shows.
        EXPECT_EQ(d.Document().Path(), "Untitled");
        EXPECT_TRUE(d.IsEnabled(IDC_SAVE_UNICODE));
    });
}

// A path too long for the label is shown elided in the middle with its "*" in sight; the
// label's text (what a screen reader reads) and its tooltip keep the whole path.
TEST_F(PermoraDlgTest, ALongPathIsElidedInTheMiddleKeepingTheMark) {
    TempDir dir;
    const std::string longPath =
        dir.File(std::string(60, 'a') + "/" + std::string(60, 'b') + "/security.conf");
    const std::string shortPath = dir.File("s.conf");
    for (const std::string& path : {shortPath, longPath}) {
        SCOPED_TRACE(path);
        Run([&](PermoraDlg& d) {
            host.ExpectFileDialog(path);
            tk::test::Click(d, IDC_NEW);
            tk::test::PressKey(d, IDC_TARGET_LIST, Qt::Key_Delete); // marks the label
            EXPECT_EQ(d.Text(IDC_FILE_LABEL), path + "*");
            const QWidget* label = d.Control(IDC_FILE_LABEL);
            EXPECT_EQ(label->toolTip().toStdString(), path);
            const std::string shown = d.ShownFileLabel();
            if (path == shortPath) {
                EXPECT_EQ(shown, path + "*");
                return;
            }
            EXPECT_EQ(shown.substr(0, 10), path.substr(0, 10));
            EXPECT_EQ(shown.substr(shown.size() - 14), "security.conf*");
            EXPECT_NE(shown.find("\xe2\x80\xa6"), std::string::npos); // ...
            EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(QString::fromStdString(shown)),
                      label->contentsRect().width());
            tk::test::SavePng(d.Widget(), "permoradlg_long_path");
        });
    }
}

// Before a save to the file the window read or last wrote, a file that another program
// changed since is named in a Yes/No question instead of the usual one; No writes nothing.
TEST_F(PermoraDlgTest, AFileChangedOnDiskIsNotOverwrittenUnasked) {
    struct Case {
        const char* name;
        int button;
        bool replaceFirst; // another program replaces the file before the save
        int answer;        // to the question that comes
        bool written;
    };
    const Case cases[] = {
        {"unchanged, Save Unicode", IDC_SAVE_UNICODE, false, tk::IDYES, true},
        {"replaced, Save Unicode, No", IDC_SAVE_UNICODE, true, tk::IDNO, false},
        {"replaced, Save Unicode, Yes", IDC_SAVE_UNICODE, true, tk::IDYES, true},
        {"replaced, Save UTF8, No", IDC_SAVE_UTF8, true, tk::IDNO, false},
        {"replaced, Save UTF8, Yes", IDC_SAVE_UTF8, true, tk::IDYES, true},
    };
    const std::string theirs = "cb56f6f4\r\n1,0,\"/theirs\",0,\"D:(A;;0x1;;;Everyone)\"\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string file = dir.File("t.conf");
        fs::copy_file(Fixture("main-window-8bit.conf"), file);
        PermoraDlg dlg;
        dlg.ImportAtStart({file});
        host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
            for (int round = 0; round < 2; ++round) {
                // The second round: the file as the window itself last wrote it.
                tk::test::PressKey(d, IDC_TARGET_LIST, Qt::Key_Delete);
                d.Document().MarkChanged();
                if (c.replaceFirst) {
                    WriteBytes(dir.File("new"), theirs);
                    fs::rename(dir.File("new"), file);
                }
                const std::string spaces = c.button == IDC_SAVE_UNICODE ? "  " : " ";
                if (c.replaceFirst)
                    host.ExpectMessage("Confirm",
                                       file + " has changed on disk since it was last read or "
                                              "saved. Overwrite it?",
                                       c.answer);
                else
                    host.ExpectMessage("Confirm", "Do you want to overwrite" + spaces + file + "?",
                                       c.answer);
                tk::test::Click(d, c.button);
                EXPECT_TRUE(host.Done());
                EXPECT_EQ(ReadBytes(file) == theirs, c.replaceFirst && !c.written);
                EXPECT_EQ(d.Text(IDC_FILE_LABEL), c.written ? file : file + "*");
                EXPECT_EQ(d.Document().Path(), file);
            }
            tk::test::Click(d, IDC_CLOSE);
        });
        dlg.DoModal();
    }
}

// Another program (permora-cli, another window) is saving the file: the window does not
// wait for it, says so and writes nothing, with either encoding.
TEST_F(PermoraDlgTest, ASaveWhileAnotherProgramWritesTheFileSaysSoAndWritesNothing) {
    TempDir dir;
    const std::string path = dir.File("t.conf");
    const std::string oldBytes = "cb56f6f4\r\n";
    WriteBytes(path, oldBytes);
    const permora::FileLock other = permora::FileLock::Take(path, permora::LockWait::No);
    ASSERT_EQ(other.Status(), permora::FileLock::State::Held);
    for (const int button : {IDC_SAVE_UNICODE, IDC_SAVE_UTF8}) {
        Run([&](PermoraDlg& d) {
            BuildSmallTemplate(d);
            d.Document().FileRead(path, std::nullopt);
            d.Document().MarkChanged();
            const std::string spaces = button == IDC_SAVE_UNICODE ? "  " : " ";
            host.ExpectMessage("Confirm", "Do you want to overwrite" + spaces + path + "?",
                               tk::IDYES);
            host.ExpectMessage("Error", "The file is being written by another program.");
            tk::test::Click(d, button);
            EXPECT_TRUE(d.IsEnabled(button));
        });
        EXPECT_EQ(ReadBytes(path), oldBytes);
    }
}

// ---------------------------------------------------------------------------------------
// Importing

const std::vector<std::string> kSampleRows = {
    "/vol/vol1/qt1 | NTFS | File/Directory",
    "/vol/vol2 | NTFS | Storage",
    "/vol/vol3/nfs | NFSV3 ACL | File/Directory",
};

TEST_F(PermoraDlgTest, ImportAppendsTheTargetsOfEitherEncoding) {
    struct ImportCase {
        const char* name;
        std::vector<const char*> files; // imported one after the other
        std::vector<std::string> messages;
        std::vector<std::string> rows;
    };
    std::vector<std::string> twice = kSampleRows;
    twice.insert(twice.end(), kSampleRows.begin(), kSampleRows.end());
    const ImportCase cases[] = {
        {"8-bit", {"main-window-8bit.conf"}, {}, kSampleRows},
        {"UTF-16LE", {"main-window-unicode.conf"}, {}, kSampleRows},
        {"UTF-16 big-endian", {"main-window-bigendian.conf"}, {}, kSampleRows},
        {"twice", {"main-window-8bit.conf", "main-window-unicode.conf"}, {}, twice},
        {"header alone", {"main-window-header-only.conf"}, {}, {}},
        {"third line fails",
         {"main-window-third-line-fails.conf"},
         {"Cannot parse this Mask.", "Invalid Account Name", "   Invalid File"},
         {"/vol/vol1/first | NTFS | File/Directory"}},
    };
    for (const ImportCase& c : cases) {
        SCOPED_TRACE(c.name);
        Run([&](PermoraDlg& d) {
            for (const char* file : c.files) {
                host.ExpectFileDialog(Fixture(file));
                for (const std::string& message : c.messages)
                    host.ExpectMessage("Error", message);
                tk::test::Click(d, IDC_IMPORT);
                const tk::FileDialogRequest& request = host.FileDialogs().back();
                EXPECT_TRUE(request.open);
                EXPECT_EQ(request.owner, &d);
                EXPECT_EQ(request.flags, 0x1004u);
                EXPECT_EQ(request.defaultExtension, "conf");
                EXPECT_EQ(request.initialName, "security.conf");
                EXPECT_EQ(request.filter, kFilter);
            }
            EXPECT_EQ(Rows(d), c.rows);
            EXPECT_EQ(Paths(d.Document().Template()).size(), c.rows.size());
            EXPECT_EQ(Selected(d), c.rows.empty() ? std::vector<int>{} : std::vector<int>{0});
            EXPECT_EQ(d.Document().Path(), "Untitled");
        });
    }
}

TEST_F(PermoraDlgTest, ImportedTargetsAreWrittenBackAsRead) {
    const std::string eightBit = ReadBytes(Fixture("main-window-8bit.conf"));
    for (const char* file :
         {"main-window-8bit.conf", "main-window-unicode.conf", "main-window-bigendian.conf"}) {
        SCOPED_TRACE(file);
        Run([&](PermoraDlg& d) {
            ImportFile(d, Fixture(file));
            EXPECT_EQ(permora::Encode8Bit(d.Document().Template()), eightBit);
        });
    }
}

TEST_F(PermoraDlgTest, NewAsksForAFileAndEmptiesTheTemplate) {
    TempDir dir;
    Run([&](PermoraDlg& d) {
        ImportFile(d, Fixture("main-window-8bit.conf"));
        host.ExpectFileDialog(dir.File("fresh.conf"));
        tk::test::Click(d, IDC_NEW);
        const tk::FileDialogRequest& request = host.FileDialogs().back();
        EXPECT_TRUE(request.open);
        EXPECT_EQ(request.owner, &d);
        EXPECT_EQ(request.flags, 0x3004u);
        EXPECT_EQ(request.initialName, "security.conf");
        EXPECT_EQ(request.filter, kFilter);
        EXPECT_EQ(d.Document().Template().Count, 0);
        EXPECT_EQ(Rows(d), std::vector<std::string>{});
        EXPECT_EQ(d.Document().Path(), dir.File("fresh.conf"));
        EXPECT_FALSE(fs::exists(dir.File("fresh.conf"))); // named, not created
    });
}

// ---------------------------------------------------------------------------------------
// The window itself

TEST_F(PermoraDlgTest, ColumnsShareTheListWidth) {
    Run([&](PermoraDlg& d) {
        const tk::ListView list = d.GetListView(IDC_TARGET_LIST);
        ASSERT_EQ(list.ColumnCount(), 3);
        EXPECT_EQ(list.ColumnHeading(0), "Target Object");
        EXPECT_EQ(list.ColumnHeading(1), "Security Style");
        EXPECT_EQ(list.ColumnHeading(2), "Security Level");
        const int extra =
            tk::SystemMetric(tk::Metric::CxHThumb) + 36 * tk::SystemMetric(tk::Metric::CxBorder);
        EXPECT_EQ(list.ColumnWidth(1), list.TextWidth("Security Style    ") + extra);
        EXPECT_EQ(list.ColumnWidth(2), list.TextWidth("Security Level    ") + extra);
        // Room is left for the vertical scroll bar, shown or not.
        const int bar = list.Widget()->verticalScrollBar()->sizeHint().width();
        EXPECT_EQ(list.ColumnWidth(0) + list.ColumnWidth(1) + list.ColumnWidth(2) + bar,
                  list.ClientWidth());
        EXPECT_GT(list.ColumnWidth(0), list.ColumnWidth(1));
    });
}

TEST_F(PermoraDlgTest, StartsWithTheTemplateLayout) {
    Run([&](PermoraDlg& d) {
        EXPECT_EQ(d.Title(), "Vendra Storage Security");
        EXPECT_FALSE(d.IsShown(IDC_SAVE_AS));
        EXPECT_FALSE(d.IsEnabled(IDC_SAVE_AS));
        EXPECT_FALSE(d.IsShown(IDC_OK));
        EXPECT_TRUE(d.IsEnabled(IDC_NEW));
        EXPECT_TRUE(d.IsEnabled(IDC_ADD));
        EXPECT_TRUE(d.IsEnabled(IDC_IMPORT));
        EXPECT_TRUE(d.IsEnabled(IDC_CLOSE));
        EXPECT_EQ(d.Document().Path(), "Untitled");
        EXPECT_FALSE(d.ModalWidget()->windowIcon().isNull());
    });
}

TEST_F(PermoraDlgTest, ClosingWithUnsavedChangesAsksNothing) {
    Run([&](PermoraDlg& d) {
        ImportFile(d, Fixture("main-window-8bit.conf"));
        ASSERT_EQ(d.Text(IDC_FILE_LABEL), "Untitled*");
        tk::test::Click(d, IDC_CLOSE);
        EXPECT_TRUE(d.IsEnded());
    });
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(PermoraDlgTest, TheSystemMenuOpensTheAboutBox) {
    for (const int command : {0x0010, 0x0013}) {
        Run([&](PermoraDlg& d) {
            host.ExpectModal<AboutDlg>([](AboutDlg& about) {
                EXPECT_EQ(about.Title(), "About Vendra Storage Security");
                tk::test::Click(about, 1);
            });
            d.RunSystemCommand(command);
            EXPECT_TRUE(host.Done());
        });
    }
    // Another system command does not open it.
    Run([&](PermoraDlg& d) { d.RunSystemCommand(0x0020); });
}

TEST_F(PermoraDlgTest, PicturesOfTheMainWindowAndTheAboutBox) {
    Run([&](PermoraDlg& d) {
        ImportFile(d, Fixture("main-window-8bit.conf"));
        AddTargets(d, {"/vol/vol1/projects/engineering/shared", "/vol/vol4"});
        ClickRow(d, 1);
        const std::string png = tk::test::SavePng(d.ModalWidget(), "main_window");
        EXPECT_TRUE(fs::exists(png));
        host.ExpectModal<AboutDlg>([](AboutDlg& about) {
            EXPECT_TRUE(fs::exists(tk::test::SavePng(about.ModalWidget(), "about_box")));
            tk::test::Click(about, 1);
        });
        d.RunSystemCommand(0x0010);
    });
}

} // namespace
