// The main window's additions driven as a user drives them: the list's context menu and
// its commands, the two bulk dialogs, tooltips, files dropped from a file manager and a
// resized window.

#include "ui/permoradlg.h"

#include "model/target.h"
#include "resources/templates/addpathsdlg.h"
#include "resources/templates/permoradlg.h"
#include "resources/templates/replaceaccountdlg.h"
#include "support/files.h"
#include "support/scripted_host.h"
#include "template_file/template_file.h"
#include "ui/aboutdlg.h"
#include "ui/addpathsdlg.h"
#include "ui/replaceaccountdlg.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace res::PermoraDlg;
using tk::test::ScriptedHost;
using tk::test::TempDir;
namespace paths_ids = res::AddPathsDlg;
namespace replace_ids = res::ReplaceAccountDlg;

std::string Fixture(const std::string& name) {
    return std::string(PERMORA_FIXTURES_DIR) + "/" + name;
}

// The three sample targets: /vol/vol1/qt1 and /vol/vol2 (NTFS), /vol/vol3/nfs (not NTFS).
const char* const kSample = "main-window-8bit.conf";

std::vector<std::string> Lines(const PermoraDlg& d) {
    std::vector<std::string> lines;
    for (const permora::TargetObject* t = d.Document().Template().Head; t != nullptr; t = t->Next)
        lines.push_back(ToLine(*t));
    return lines;
}

QAbstractItemView* ListWidget(const PermoraDlg& d) {
    return d.GetListView(IDC_TARGET_LIST).Widget();
}

void ClickRow(PermoraDlg& d, int row, bool control = false) {
    tk::test::ClickRow(d, IDC_TARGET_LIST, row, control);
}

void SelectAll(PermoraDlg& d) {
    QTest::keyClick(ListWidget(d), Qt::Key_A, Qt::ControlModifier);
}

// Opens the context menu as a right click on a row does; returns it, open.
QMenu* RightClick(PermoraDlg& d, int row) {
    QAbstractItemView* view = ListWidget(d);
    const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::RightButton, Qt::NoModifier, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &event);
    return d.ContextMenu();
}

// The menu's items as "text" or "-text" for a disabled one; separators left out.
std::vector<std::string> Items(QMenu* menu) {
    std::vector<std::string> items;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        items.push_back((action->isEnabled() ? "" : "-") + action->text().toStdString());
    }
    return items;
}

// Chooses an item of the open menu by its text, as a click on it does.
void Choose(QMenu* menu, const std::string& text) {
    for (QAction* action : menu->actions()) {
        if (action->text().toStdString() == text) {
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                              menu->actionGeometry(action).center());
            EXPECT_FALSE(menu->isVisible());
            return;
        }
    }
    ADD_FAILURE() << "the menu has no item " << text;
    menu->hide();
}

class CommandsTest : public ::testing::Test {
protected:
    // Opens the main window with the sample imported, lets play act, closes it.
    void Run(const std::function<void(PermoraDlg&)>& play) {
        PermoraDlg dlg;
        host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
            host.ExpectFileDialog(Fixture(kSample));
            tk::test::Click(d, IDC_IMPORT);
            play(d);
            if (!d.IsEnded())
                tk::test::Click(d, IDC_CLOSE);
        });
        dlg.DoModal();
    }
    ScriptedHost host;
};

TEST_F(CommandsTest, TheMenuOffersWhatTheSelectionAllowsAndNamesTheNextUndo) {
    struct Case {
        const char* name;
        std::function<void(PermoraDlg&, ScriptedHost&)> before; // then a right click on row
        int row;
        std::vector<std::string> items;
    };
    const std::vector<std::string> none;
    const Case cases[] = {
        {"one NTFS row, nothing copied yet",
         [](PermoraDlg&, ScriptedHost&) {},
         0,
         {"&Undo Import main-window-8bit.conf", "-&Redo", "&Copy Security", "-&Paste Security",
          "Copy &Line", "Add Pa&ths...", "Replace Acc&ount...", "Reco&ver...",
          "&About permora..."}},
        {"a row that is not NTFS cannot be copied",
         [](PermoraDlg&, ScriptedHost&) {},
         2,
         {"&Undo Import main-window-8bit.conf", "-&Redo", "-&Copy Security", "-&Paste Security",
          "Copy &Line", "Add Pa&ths...", "Replace Acc&ount...", "Reco&ver...",
          "&About permora..."}},
        {"after a copy and a Remove of three, undone",
         [](PermoraDlg& d, ScriptedHost&) {
             ClickRow(d, 1);
             QTest::keyClick(ListWidget(d), Qt::Key_C, Qt::ControlModifier);
             SelectAll(d);
             tk::test::Click(d, IDC_REMOVE);
             QTest::keyClick(ListWidget(d), Qt::Key_Z, Qt::ControlModifier);
             ClickRow(d, 0);
             ClickRow(d, 1, true);
         },
         1,
         {"&Undo Import main-window-8bit.conf", "&Redo Remove 3 Targets", "-&Copy Security",
          "&Paste Security", "Copy &Line", "Add Pa&ths...", "Replace Acc&ount...", "Reco&ver...",
          "&About permora..."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Run([&](PermoraDlg& d) {
            c.before(d, host);
            QMenu* menu = RightClick(d, c.row);
            ASSERT_TRUE(menu->isVisible());
            EXPECT_EQ(Items(menu), c.items);
            menu->hide();
            // Closed, the shortcuts work again whatever the menu showed.
            for (QAction* action : menu->actions())
                EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
        });
    }
}

TEST_F(CommandsTest, MenuKeyOpensTheMenuAndItsAboutItemTheAboutBox) {
    Run([&](PermoraDlg& d) {
        ClickRow(d, 1);
        QTest::keyClick(ListWidget(d), Qt::Key_Menu);
        QMenu* menu = d.ContextMenu();
        ASSERT_TRUE(menu->isVisible());
        tk::test::SavePng(menu, "permoradlg-context-menu");
        host.ExpectModal<AboutDlg>([](AboutDlg& about) { tk::test::Click(about, tk::IDOK); });
        Choose(menu, "&About permora...");
    });
}

// After Remove the keyboard's current row is the row selected, wherever it was before.
TEST_F(CommandsTest, AfterRemoveTheKeyboardGoesOnFromTheSelectedRow) {
    Run([&](PermoraDlg& d) {
        QAbstractItemView* view = ListWidget(d);
        const int last = view->model()->rowCount() - 1;
        ClickRow(d, last);
        QTest::keyClick(view, Qt::Key_Delete);
        const std::vector<int> selected = d.GetListView(IDC_TARGET_LIST).SelectedRows();
        ASSERT_EQ(selected.size(), 1u);
        EXPECT_EQ(view->currentIndex().row(), selected.front());
    });
}

TEST_F(CommandsTest, CopyLineAndCopySecurityFillTheClipboardAndPasteNeverReadsIt) {
    Run([&](PermoraDlg& d) {
        const std::vector<std::string> lines = Lines(d);
        ClickRow(d, 0);
        ClickRow(d, 2, true);
        Choose(RightClick(d, 2), "Copy &Line");
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
                  lines[0] + "\n" + lines[2] + "\n");

        ClickRow(d, 1);
        QTest::keyClick(ListWidget(d), Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), lines[1]);

        // Whatever the clipboard holds now, Paste gives the copied security.
        QGuiApplication::clipboard()->setText(QStringLiteral("D:(A;;0x1;;;Nobody)"));
        ClickRow(d, 0);
        Choose(RightClick(d, 0), "&Paste Security");
        const std::string vol2Security = lines[1].substr(lines[1].find(",0,\"") + 3);
        EXPECT_EQ(Lines(d)[0], "1,0,\"/vol/vol1/qt1\",0," + vol2Security);
        EXPECT_EQ(Lines(d)[1], lines[1]);
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), "Untitled*");
    });
}

TEST_F(CommandsTest, PasteOntoTargetsThatAreNotNtfsLeavesThemAndSaysSo) {
    Run([&](PermoraDlg& d) {
        const std::vector<std::string> lines = Lines(d);
        ClickRow(d, 0);
        QTest::keyClick(ListWidget(d), Qt::Key_C, Qt::ControlModifier);
        ClickRow(d, 2);
        host.ExpectMessage("Paste Security", "1 target is not NTFS and kept its security.");
        QTest::keyClick(ListWidget(d), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Lines(d), lines);
        EXPECT_EQ(d.Document().History().NextUndo()->Name, "Import main-window-8bit.conf");
    });
}

TEST_F(CommandsTest, RowsShowTheirLineAsTooltipCutAfterThreeHundredCharacters) {
    Run([&](PermoraDlg& d) {
        const std::string longPath = "/vol/" + std::string(400, 'x');
        ASSERT_TRUE(d.Document().Append(
            std::make_unique<permora::TargetObject>(longPath, permora::MakeDefaultDescriptor())));
        QAbstractItemView* view = ListWidget(d);
        const auto tip = [&](int row) {
            return view->model()->index(row, 1).data(Qt::ToolTipRole).toString().toStdString();
        };
        EXPECT_EQ(tip(0), Lines(d)[0]);
        const std::string line = Lines(d)[3];
        EXPECT_EQ(tip(3), line.substr(0, 300) + "\xe2\x80\xa6");
    });
}

TEST_F(CommandsTest, AddPathsListsFailingLinesSkipsKnownPathsAndUsesTheCopiedSecurity) {
    struct Case {
        const char* name;
        bool copyFirst;
        std::vector<std::string> typed;                 // each entry is the box's text at one OK
        std::vector<std::vector<std::string>> problems; // rows of the failing lines per OK
        bool storage;
        bool useCopied; // the check box as left
        const char* report;
        std::vector<std::string> added; // lines of the new targets
    };
    const std::string everyone = "\"D:(A;CIOI;0x1200a9;;;Everyone)\"";
    const Case cases[] = {
        {"two new paths, one known, blanks and comments",
         false,
         {"  /vol/new/a  \n\n# home folders\r\n/vol/vol2\n/vol/new/b"},
         {{}},
         false,
         false,
         "2 targets were added; 1 path was already in the template and skipped.",
         {"1,0,\"/vol/new/a\",0," + everyone, "1,0,\"/vol/new/b\",0," + everyone}},
        {"failing lines are listed with their numbers until fixed",
         false,
         {"/vol/ok\nnot a path\n/vol/also_ok\n/vol/has space", "/vol/ok\n/vol/also_ok"},
         {{"2 | not a path (a blank is not allowed)",
           "4 | /vol/has space (a blank is not allowed)"},
          {}},
         true,
         false,
         nullptr,
         {"1,1,\"/vol/ok\",0," + everyone, "1,1,\"/vol/also_ok\",0," + everyone}},
        {"the copied security, offered and kept",
         true,
         {"/vol/copied"},
         {{}},
         false,
         true,
         nullptr,
         {"1,0,\"/vol/copied\",0,\"S:(AU;CIOISAFA;0x200a9;;;Everyone)D:P(D;CIOI;0x1f01ff;;;"
          "LAB\\guest)(A;CIOI;0x1200a9;;;Everyone)\""}},
        {"the copied security, offered and declined",
         true,
         {"/vol/plain"},
         {{}},
         false,
         false,
         nullptr,
         {"1,0,\"/vol/plain\",0," + everyone}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Run([&](PermoraDlg& d) {
            if (c.copyFirst) {
                ClickRow(d, 1);
                QTest::keyClick(ListWidget(d), Qt::Key_C, Qt::ControlModifier);
            }
            const std::vector<std::string> before = Lines(d);
            host.ExpectModal<AddPathsDlg>([&](AddPathsDlg& dlg) {
                EXPECT_FALSE(dlg.IsEnabled(tk::IDOK));
                EXPECT_EQ(dlg.IsEnabled(paths_ids::IDC_USE_COPIED), c.copyFirst);
                EXPECT_EQ(dlg.Check(paths_ids::IDC_USE_COPIED), c.copyFirst ? 1 : 0);
                if (c.storage)
                    tk::test::Click(dlg, paths_ids::IDC_STORAGE);
                if (c.copyFirst && !c.useCopied)
                    tk::test::Click(dlg, paths_ids::IDC_USE_COPIED);
                for (std::size_t i = 0; i < c.typed.size(); ++i) {
                    // Pasted in, as a list usually arrives.
                    dlg.SetText(paths_ids::IDC_PATHS, c.typed[i]);
                    tk::test::Click(dlg, tk::IDOK);
                    const tk::ListView problems = dlg.GetListView(paths_ids::IDC_PROBLEM_LIST);
                    std::vector<std::string> rows;
                    for (int r = 0; r < problems.RowCount(); ++r)
                        rows.push_back(problems.Cell(r, 0) + " | " + problems.Cell(r, 1));
                    EXPECT_EQ(rows, c.problems[i]);
                    if (!rows.empty()) {
                        EXPECT_FALSE(dlg.IsEnded());
                        EXPECT_EQ(dlg.Text(paths_ids::IDC_PROBLEM_LABEL),
                                  std::to_string(rows.size()) +
                                      " lines are not valid paths; fix or remove them before "
                                      "adding:");
                        if (std::string(c.name).starts_with("failing"))
                            tk::test::SavePng(dlg.Widget(), "addpathsdlg-failing-lines");
                    }
                }
                EXPECT_TRUE(dlg.IsEnded());
            });
            if (c.report != nullptr)
                host.ExpectMessage("Add Paths", c.report);
            Choose(RightClick(d, 0), "Add Pa&ths...");
            std::vector<std::string> expected = before;
            expected.insert(expected.end(), c.added.begin(), c.added.end());
            EXPECT_EQ(Lines(d), expected);
            // The new rows are the selected ones.
            std::vector<int> newRows;
            for (std::size_t i = 0; i < c.added.size(); ++i)
                newRows.push_back(static_cast<int>(before.size() + i));
            EXPECT_EQ(d.GetListView(IDC_TARGET_LIST).SelectedRows(), newRows);
        });
    }
}

// Each line's account, after a tab or from the pattern, replaces the stand-in account of the
// copied security; lines whose account fails the rule are listed until fixed.
TEST_F(CommandsTest, AddPathsGivesEachPathItsAccountInPlaceOfTheStandIn) {
    Run([&](PermoraDlg& d) {
        ClickRow(d, 1);
        QTest::keyClick(ListWidget(d), Qt::Key_C, Qt::ControlModifier);
        const std::vector<std::string> before = Lines(d);
        host.ExpectModal<AddPathsDlg>([&](AddPathsDlg& dlg) {
            dlg.SetText(paths_ids::IDC_STAND_IN, "bob");
            dlg.SetText(paths_ids::IDC_PATHS, "/vol/home/bob\n/vol/home/ann\tLAB\\ann.x\n");
            tk::test::Click(dlg, tk::IDOK); // bob is no account of the security
            EXPECT_FALSE(dlg.IsEnded());
            dlg.SetText(paths_ids::IDC_STAND_IN, "everyone");
            tk::test::Click(dlg, tk::IDOK); // no pattern, and a bad account
            const tk::ListView problems = dlg.GetListView(paths_ids::IDC_PROBLEM_LIST);
            ASSERT_EQ(problems.RowCount(), 2);
            EXPECT_EQ(problems.Cell(0, 1), "/vol/home/bob (no account)");
            EXPECT_EQ(problems.Cell(1, 1), "LAB\\ann.x (Invalid Account Name)");
            EXPECT_EQ(dlg.Text(paths_ids::IDC_PROBLEM_LABEL),
                      "2 lines are not valid paths with valid accounts; fix or remove them "
                      "before adding:");
            tk::test::SavePng(dlg.Widget(), "addpathsdlg-accounts");
            dlg.SetText(paths_ids::IDC_ACCOUNT_PATTERN, "LAB\\{name}");
            dlg.SetText(paths_ids::IDC_PATHS, "/vol/home/bob\n/vol/home/ann\tLAB\\ann\n");
            tk::test::Click(dlg, tk::IDOK);
            EXPECT_TRUE(dlg.IsEnded());
        });
        host.ExpectMessage("Error", "The security the new targets get has no entry of bob.");
        Choose(RightClick(d, 0), "Add Pa&ths...");
        std::vector<std::string> expected = before;
        for (const char* user : {"bob", "ann"})
            expected.push_back(
                std::string("1,0,\"/vol/home/") + user + "\",0,\"S:(AU;CIOISAFA;0x200a9;;;LAB\\" +
                user + ")D:P(D;CIOI;0x1f01ff;;;LAB\\guest)(A;CIOI;0x1200a9;;;LAB\\" + user + ")\"");
        EXPECT_EQ(Lines(d), expected);
    });
}
// Accounts given without a stand-in to replace are refused, not dropped: the dialog stays
// open with what was typed, and nothing is added.
TEST_F(CommandsTest, AddPathsRefusesAccountsWithoutAStandIn) {
    struct Case {
        const char* name;
        const char* paths;
        const char* pattern;
    };
    const Case cases[] = {
        {"an account after a tab", "/vol/home/ann\tLAB\\ann\n", ""},
        {"an account pattern", "/vol/home/ann\n", "LAB\\{name}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Run([&](PermoraDlg& d) {
            const std::vector<std::string> before = Lines(d);
            host.ExpectModal<AddPathsDlg>([&](AddPathsDlg& dlg) {
                dlg.SetText(paths_ids::IDC_PATHS, c.paths);
                dlg.SetText(paths_ids::IDC_ACCOUNT_PATTERN, c.pattern);
                tk::test::Click(dlg, tk::IDOK);
                EXPECT_FALSE(dlg.IsEnded());
                EXPECT_EQ(dlg.Text(paths_ids::IDC_PATHS), c.paths);
                tk::test::Click(dlg, tk::IDCANCEL);
            });
            host.ExpectMessage("Error",
                               "Give the stand-in account that the lines' accounts replace.");
            Choose(RightClick(d, 0), "Add Pa&ths...");
            EXPECT_EQ(Lines(d), before);
        });
    }
}

TEST_F(CommandsTest, ReplaceAccountChecksTheNewNameAndReportsWhatChanged) {
    struct Case {
        const char* name;
        std::vector<int> selectRows;
        bool selectedOnly;
        const char* oldName;
        std::vector<const char*> newNames; // tried in order; all but the last are refused
        const char* report;
        int changedTargets;
    };
    const Case cases[] = {
        {"all targets",
         {0},
         false,
         "EVERYONE",
         {"LAB\\staff"},
         "3 entries in 2 targets changed.",
         2},
        {"selected targets",
         {1},
         true,
         "everyone",
         {"LAB\\staff"},
         "2 entries in 1 target changed.",
         1},
        {"an invalid new name first",
         {0},
         false,
         "lab\\guest",
         {"LAB\\a\\b", "LAB\\visitor"},
         "1 entry in 1 target changed.",
         1},
        {"an account no target holds",
         {0},
         false,
         "LAB\\nobody",
         {"LAB\\x"},
         "0 entries in 0 targets changed.",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Run([&](PermoraDlg& d) {
            const std::vector<std::string> before = Lines(d);
            ClickRow(d, c.selectRows.front());
            host.ExpectModal<ReplaceAccountDlg>([&](ReplaceAccountDlg& dlg) {
                EXPECT_FALSE(dlg.IsEnabled(tk::IDOK));
                EXPECT_TRUE(dlg.IsEnabled(replace_ids::IDC_SELECTED_TARGETS));
                tk::test::TypeText(dlg, replace_ids::IDC_OLD_NAME, c.oldName);
                if (c.selectedOnly)
                    tk::test::Click(dlg, replace_ids::IDC_SELECTED_TARGETS);
                for (std::size_t i = 0; i < c.newNames.size(); ++i) {
                    tk::test::ClearText(dlg, replace_ids::IDC_NEW_NAME);
                    tk::test::TypeText(dlg, replace_ids::IDC_NEW_NAME, c.newNames[i]);
                    if (i + 1 < c.newNames.size()) {
                        host.ExpectMessage("Error", "Invalid Account Name");
                        tk::test::Click(dlg, tk::IDOK);
                        EXPECT_FALSE(dlg.IsEnded());
                    }
                }
                if (c.selectedOnly)
                    tk::test::SavePng(dlg.Widget(), "replaceaccountdlg");
                host.ExpectMessage("Replace Account", c.report);
                tk::test::Click(dlg, tk::IDOK);
            });
            Choose(RightClick(d, c.selectRows.front()), "Replace Acc&ount...");
            int changed = 0;
            const std::vector<std::string> after = Lines(d);
            for (std::size_t i = 0; i < after.size(); ++i)
                changed += after[i] != before[i] ? 1 : 0;
            EXPECT_EQ(changed, c.changedTargets);
            EXPECT_EQ(d.Text(IDC_FILE_LABEL), "Untitled*");
        });
    }
}

// A drop of files from a file manager, as the window receives it.
void DropFiles(PermoraDlg& d, const std::vector<std::string>& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& file : files)
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(file)));
    data.setUrls(urls);
    QWidget* window = d.Widget();
    const QPoint at = window->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
}

TEST_F(CommandsTest, DroppedFilesAreImportedInOrderAsImportDoes) {
    Run([&](PermoraDlg& d) {
        const std::vector<std::string> sample = Lines(d);
        host.ExpectMessage("Error", "Cannot parse this Mask.");
        host.ExpectMessage("Error", "Invalid Account Name");
        host.ExpectMessage("Error", "   Invalid File");
        host.ExpectMessage("Error", "There is problem in opening this file.");
        DropFiles(d, {Fixture("main-window-third-line-fails.conf"), Fixture("missing.conf"),
                      Fixture("main-window-unicode.conf")});
        std::vector<std::string> expected = sample;
        expected.push_back("1,0,\"/vol/vol1/first\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)\"");
        expected.insert(expected.end(), sample.begin(), sample.end());
        EXPECT_EQ(Lines(d), expected);
        EXPECT_EQ(d.Document().Path(), "Untitled");
        // One step of undo per file that added targets.
        QTest::keyClick(ListWidget(d), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(d.Document().Template().Count, 4);
    });
}

TEST_F(CommandsTest, DragsOfAnythingButLocalFilesAreRefused) {
    Run([&](PermoraDlg& d) {
        QMimeData data;
        data.setText(QStringLiteral("/vol/vol1/qt1"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(d.Widget(), &enter);
        EXPECT_FALSE(enter.isAccepted());
    });
}

TEST_F(CommandsTest, TheWindowGrowsAroundItsListAndReturnsToItsTemplateLayout) {
    Run([&](PermoraDlg& d) {
        QWidget* window = d.Widget();
        const QSize templateSize = window->size();
        const auto geometry = [&](int id) { return d.Control(id)->geometry(); };
        const int ids[] = {IDC_FILE_LABEL, IDC_TARGET_LIST, IDC_NEW, IDC_SAVE_UNICODE,
                           IDC_CLOSE,      IDC_UP,          IDC_DOWN};
        std::vector<QRect> original;
        for (const int id : ids)
            original.push_back(geometry(id));
        const int firstColumn = d.GetListView(IDC_TARGET_LIST).ColumnWidth(0);
        EXPECT_EQ(window->minimumSize(), templateSize);
        EXPECT_GT(window->maximumWidth(), templateSize.width());

        window->resize(templateSize + QSize(300, 200));
        const int right = window->width();
        const int bottom = window->height();
        EXPECT_EQ(geometry(IDC_TARGET_LIST).size(), original[1].size() + QSize(300, 200));
        EXPECT_EQ(geometry(IDC_FILE_LABEL).width(), original[0].width() + 300);
        EXPECT_EQ(right - geometry(IDC_NEW).right(), templateSize.width() - original[2].right());
        EXPECT_EQ(geometry(IDC_NEW).top(), original[2].top());
        EXPECT_EQ(geometry(IDC_CLOSE).bottomRight(), original[4].bottomRight() + QPoint(300, 200));
        EXPECT_EQ(bottom - geometry(IDC_UP).bottom(), templateSize.height() - original[5].bottom());
        EXPECT_EQ(geometry(IDC_DOWN).left(), original[6].left());
        EXPECT_EQ(d.GetListView(IDC_TARGET_LIST).ColumnWidth(0), firstColumn + 300);
        tk::test::SavePng(window, "permoradlg-enlarged");

        window->resize(templateSize);
        for (std::size_t i = 0; i < std::size(ids); ++i)
            EXPECT_EQ(geometry(ids[i]), original[i]) << ids[i];
        EXPECT_EQ(d.GetListView(IDC_TARGET_LIST).ColumnWidth(0), firstColumn);
    });
}

} // namespace
