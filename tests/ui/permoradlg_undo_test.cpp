// Undo and redo through the real main window: every kind of change, taken back and made
// again with the keyboard, down to the bytes the template would be written as.

#include "ui/permoradlg.h"

#include "model/target.h"
#include "resources/templates/addfiledlg.h"
#include "resources/templates/addpathsdlg.h"
#include "resources/templates/permoradlg.h"
#include "resources/templates/replaceaccountdlg.h"
#include "resources/templates/securityproppage.h"
#include "support/files.h"
#include "support/main_window.h"
#include "support/scripted_host.h"
#include "template_file/template_file.h"
#include "ui/addfiledlg.h"
#include "ui/addpathsdlg.h"
#include "ui/replaceaccountdlg.h"
#include "ui/securityproppage.h"
#include "ui/targettablemodel.h"

#include <QAbstractItemView>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace res::PermoraDlg;
using tk::test::Rows;
using tk::test::ScriptedHost;
using tk::test::TempDir;

std::string Fixture(const std::string& name) {
    return std::string(PERMORA_FIXTURES_DIR) + "/" + name;
}

void Shortcut(PermoraDlg& d, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(d.GetListView(IDC_TARGET_LIST).Widget(), key, modifiers);
}
void Undo(PermoraDlg& d) {
    Shortcut(d, Qt::Key_Z, Qt::ControlModifier);
}
void RedoShiftZ(PermoraDlg& d) {
    Shortcut(d, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
}
void RedoY(PermoraDlg& d) {
    Shortcut(d, Qt::Key_Y, Qt::ControlModifier);
}

void ClickRow(PermoraDlg& d, int row, bool control = false) {
    tk::test::ClickRow(d, IDC_TARGET_LIST, row, control);
}

std::vector<int> Selected(const PermoraDlg& d) {
    return d.GetListView(IDC_TARGET_LIST).SelectedRows();
}

struct UndoCase {
    const char* name;
    // Acts on the window, which holds the three targets of main-window-8bit.conf (the third
    // is not NTFS), imported and then saved to {dir}/start.conf.
    std::function<void(PermoraDlg&, ScriptedHost&, const TempDir&)> change;
    const char* stepName; // as the history names it
};

SecurityPropPage& OnlyPage(tk::PropertySheet& sheet) {
    return *dynamic_cast<SecurityPropPage*>(sheet.Page(0));
}

const UndoCase kUndoCases[] = {
    {"Add",
     [](PermoraDlg& d, ScriptedHost& h, const TempDir&) {
         h.ExpectModal<AddFileDlg>([&](AddFileDlg& add) {
             tk::test::TypeText(add, res::AddFileDlg::IDC_PATH, "/vol/vol9/added");
             h.ExpectModal<tk::PropertySheet>([](tk::PropertySheet& s) { s.PressOK(); });
             tk::test::Click(add, tk::IDOK);
         });
         tk::test::Click(d, IDC_ADD);
     },
     "Add Target"},
    {"Edit",
     [](PermoraDlg& d, ScriptedHost& h, const TempDir&) {
         ClickRow(d, 1);
         h.ExpectModal<tk::PropertySheet>([](tk::PropertySheet& s) {
             tk::test::Click(OnlyPage(s), res::SecurityPropPage::IDC_FULL_CONTROL_ALLOW);
             s.PressOK();
         });
         tk::test::Click(d, IDC_EDIT);
     },
     "Edit Target"},
    {"Edit by a double click",
     [](PermoraDlg& d, ScriptedHost& h, const TempDir&) {
         QAbstractItemView* view = d.GetListView(IDC_TARGET_LIST).Widget();
         const QRect row = view->visualRect(view->model()->index(0, 0));
         h.ExpectModal<tk::PropertySheet>([](tk::PropertySheet& s) {
             EXPECT_EQ(s.Title(), "NTFS Security for /vol/vol1/qt1");
             tk::test::Click(OnlyPage(s), res::SecurityPropPage::IDC_READ_DENY);
             s.PressOK();
         });
         QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
         QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
     },
     "Edit Target"},
    {"Remove two with the Delete key",
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) {
         ClickRow(d, 0);
         ClickRow(d, 2, true);
         tk::test::PressKey(d, IDC_TARGET_LIST, Qt::Key_Delete);
     },
     "Remove 2 Targets"},
    {"Remove all",
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) {
         ClickRow(d, 0);
         QTest::keyClick(d.GetListView(IDC_TARGET_LIST).Widget(), Qt::Key_A, Qt::ControlModifier);
         tk::test::Click(d, IDC_REMOVE);
     },
     "Remove 3 Targets"},
    {"Up",
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) {
         ClickRow(d, 2);
         tk::test::Click(d, IDC_UP);
     },
     "Move Up"},
    {"Dn",
     [](PermoraDlg& d, ScriptedHost&, const TempDir&) {
         ClickRow(d, 0);
         tk::test::Click(d, IDC_DOWN);
     },
     "Move Down"},
    {"Import",
     [](PermoraDlg& d, ScriptedHost& h, const TempDir&) {
         h.ExpectFileDialog(Fixture("main-window-unicode.conf"));
         tk::test::Click(d, IDC_IMPORT);
     },
     "Import main-window-unicode.conf"},
    {"Import stopped by a failing line",
     [](PermoraDlg& d, ScriptedHost& h, const TempDir&) {
         h.ExpectFileDialog(Fixture("main-window-third-line-fails.conf"));
         h.ExpectMessage("Error", "Cannot parse this Mask.");
         h.ExpectMessage("Error", "Invalid Account Name");
         h.ExpectMessage("Error", "   Invalid File");
         tk::test::Click(d, IDC_IMPORT);
     },
     "Import main-window-third-line-fails.conf"},
    {"Paste Security onto all rows",
     [](PermoraDlg& d, ScriptedHost& h, const TempDir&) {
         ClickRow(d, 1);
         Shortcut(d, Qt::Key_C, Qt::ControlModifier);
         QTest::keyClick(d.GetListView(IDC_TARGET_LIST).Widget(), Qt::Key_A, Qt::ControlModifier);
         h.ExpectMessage("Paste Security", "1 target is not NTFS and kept its security.");
         Shortcut(d, Qt::Key_V, Qt::ControlModifier);
     },
     "Paste Security onto 2 Targets"},
    {"Add Paths",
     [](PermoraDlg& d, ScriptedHost& h, const TempDir&) {
         h.ExpectModal<AddPathsDlg>([](AddPathsDlg& dlg) {
             dlg.SetText(res::AddPathsDlg::IDC_PATHS, "/vol/a\n/vol/b\n");
             tk::test::Click(dlg, tk::IDOK);
         });
         d.AddPaths();
     },
     "Add 2 Paths"},
    {"Replace Account",
     [](PermoraDlg& d, ScriptedHost& h, const TempDir&) {
         h.ExpectModal<ReplaceAccountDlg>([](ReplaceAccountDlg& dlg) {
             tk::test::TypeText(dlg, res::ReplaceAccountDlg::IDC_OLD_NAME, "everyone");
             tk::test::TypeText(dlg, res::ReplaceAccountDlg::IDC_NEW_NAME, "LAB\\staff");
             tk::test::Click(dlg, tk::IDOK);
         });
         h.ExpectMessage("Replace Account", "3 entries in 2 targets changed.");
         d.ReplaceAccount();
     },
     "Replace Account"},
};

class UndoTest : public ::testing::TestWithParam<UndoCase> {};

TEST_P(UndoTest, UndoRestoresTheBytesAndSelectionAndRedoMakesTheChangeAgain) {
    const UndoCase& c = GetParam();
    TempDir dir;
    const std::string saved = dir.File("start.conf");
    ScriptedHost host;
    PermoraDlg dlg;
    host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
        host.ExpectFileDialog(Fixture("main-window-8bit.conf"));
        tk::test::Click(d, IDC_IMPORT);
        host.ExpectMessage("Confirm", "Do you want to overwrite Untitled?", tk::IDNO);
        host.ExpectFileDialog(saved);
        tk::test::Click(d, IDC_SAVE_UTF8);
        ASSERT_EQ(d.Text(IDC_FILE_LABEL), saved);

        const std::string before = permora::Encode8Bit(d.Document().Template());
        c.change(d, host, dir);
        const std::string after = permora::Encode8Bit(d.Document().Template());
        const std::vector<int> selectionAfter = Selected(d);
        const std::vector<std::string> rowsAfter = Rows(d);
        ASSERT_NE(after, before);
        ASSERT_NE(d.Document().History().NextUndo(), nullptr);
        EXPECT_EQ(d.Document().History().NextUndo()->Name, c.stepName);
        const std::vector<int> selectionBefore = d.Document().History().NextUndo()->SelectionBefore;

        Undo(d);
        EXPECT_EQ(permora::Encode8Bit(d.Document().Template()), before);
        EXPECT_EQ(Selected(d), selectionBefore);
        EXPECT_EQ(Rows(d).size(), 3u);
        // Back at the saved template: the label drops its "*".
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), saved);

        RedoShiftZ(d);
        EXPECT_EQ(permora::Encode8Bit(d.Document().Template()), after);
        EXPECT_EQ(Selected(d), selectionAfter);
        EXPECT_EQ(Rows(d), rowsAfter);
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), saved + "*");

        Undo(d);
        RedoY(d);
        EXPECT_EQ(permora::Encode8Bit(d.Document().Template()), after);
        tk::test::Click(d, IDC_CLOSE);
    });
    dlg.DoModal();
}

INSTANTIATE_TEST_SUITE_P(EachChange, UndoTest, ::testing::ValuesIn(kUndoCases),
                         [](const ::testing::TestParamInfo<UndoCase>& param) {
                             std::string name;
                             for (const char* p = param.param.name; *p != '\0'; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p)))
                                     name.push_back(*p);
                             return name;
                         });

// The change, Undo and Redo move, take out or take in only the rows that change, with no
// rebuild of the list; afterwards every row must still stand for its target, or the next Up
// or Dn would be skipped as if the rows were stale.
TEST(UndoRowsTest, AfterUndoAndRedoEveryRowStillStandsForItsTarget) {
    const struct {
        const char* name;
        std::function<void(PermoraDlg&, ScriptedHost&)> change;
    } changes[] = {
        {"Up",
         [](PermoraDlg& d, ScriptedHost&) {
             ClickRow(d, 2);
             tk::test::Click(d, IDC_UP);
         }},
        {"Dn",
         [](PermoraDlg& d, ScriptedHost&) {
             ClickRow(d, 0);
             tk::test::Click(d, IDC_DOWN);
         }},
        {"Remove two",
         [](PermoraDlg& d, ScriptedHost&) {
             ClickRow(d, 0);
             ClickRow(d, 2, /*control=*/true);
             tk::test::Click(d, IDC_REMOVE);
         }},
        {"Import",
         [](PermoraDlg& d, ScriptedHost&) { d.ImportPath(Fixture("main-window-unicode.conf")); }},
        {"Add",
         [](PermoraDlg& d, ScriptedHost& h) {
             h.ExpectModal<AddFileDlg>([&](AddFileDlg& add) {
                 tk::test::TypeText(add, res::AddFileDlg::IDC_PATH, "/vol/vol9/added");
                 h.ExpectModal<tk::PropertySheet>([](tk::PropertySheet& s) { s.PressOK(); });
                 tk::test::Click(add, tk::IDOK);
             });
             tk::test::Click(d, IDC_ADD);
         }},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.name);
        ScriptedHost host;
        PermoraDlg dlg;
        host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
            d.ImportPath(Fixture("main-window-8bit.conf"));
            const tk::ListView list = d.GetListView(IDC_TARGET_LIST);
            auto rowsStandForTargets = [&] {
                EXPECT_EQ(list.RowCount(), d.Document().Template().Count);
                for (int row = 0; row < list.RowCount(); ++row)
                    EXPECT_TRUE(static_cast<const TargetTableModel*>(list.Widget()->model())
                                    ->RowShowsTarget(row))
                        << row;
            };
            int rebuilds = 0;
            QObject::connect(list.Widget()->model(), &QAbstractItemModel::modelReset,
                             [&rebuilds] { ++rebuilds; });
            change.change(d, host);
            rowsStandForTargets();
            for (auto* step : {&Undo, &RedoY, &Undo}) {
                step(d);
                rowsStandForTargets();
            }
            EXPECT_EQ(rebuilds, 0);
            // Up on the last row exchanges it with the one above.
            const std::string last = d.Document().Template().Tail->Path;
            ClickRow(d, d.Document().Template().Count - 1);
            tk::test::Click(d, IDC_UP);
            EXPECT_EQ(d.Document().Template().At(d.Document().Template().Count - 2)->Path, last);
            tk::test::Click(d, IDC_CLOSE);
        });
        dlg.DoModal();
    }
}

TEST(UndoNewTest, UndoOfNewBringsBackTheTargetsThePathAndTheLabel) {
    TempDir dir;
    ScriptedHost host;
    PermoraDlg dlg;
    host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
        host.ExpectFileDialog(Fixture("main-window-8bit.conf"));
        tk::test::Click(d, IDC_IMPORT);
        const std::string before = permora::Encode8Bit(d.Document().Template());

        host.ExpectFileDialog(dir.File("new.conf"));
        tk::test::Click(d, IDC_NEW);
        EXPECT_EQ(d.Document().Template().Count, 0);
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), dir.File("new.conf"));

        Undo(d);
        EXPECT_EQ(permora::Encode8Bit(d.Document().Template()), before);
        EXPECT_EQ(d.Document().Path(), "Untitled");
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), "Untitled*");
        EXPECT_EQ(Selected(d), std::vector<int>{0});

        RedoY(d);
        EXPECT_EQ(d.Document().Template().Count, 0);
        EXPECT_EQ(d.Document().Path(), dir.File("new.conf"));
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), dir.File("new.conf"));
        tk::test::Click(d, IDC_CLOSE);
    });
    dlg.DoModal();
}

TEST(UndoLabelTest, TheLabelFollowsTheStateAtTheLastSave) {
    ScriptedHost host;
    PermoraDlg dlg;
    host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
        host.ExpectFileDialog(Fixture("main-window-8bit.conf"));
        tk::test::Click(d, IDC_IMPORT);
        ClickRow(d, 1);
        tk::test::Click(d, IDC_UP);
        // Two steps; undoing both comes back to the start, which counts as saved.
        Undo(d);
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), "Untitled*");
        Undo(d);
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), "Untitled");
        EXPECT_EQ(d.Document().Template().Count, 0);
        EXPECT_FALSE(d.IsEnabled(IDC_SAVE_UTF8));
        EXPECT_FALSE(d.IsEnabled(IDC_REMOVE));
        Undo(d); // nothing left: nothing happens
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), "Untitled");
        RedoShiftZ(d);
        EXPECT_EQ(d.Text(IDC_FILE_LABEL), "Untitled*");
        EXPECT_TRUE(d.IsEnabled(IDC_SAVE_UTF8));
        tk::test::Click(d, IDC_CLOSE);
    });
    dlg.DoModal();
}

TEST(UndoLimitTest, KeepsTheLastHundredSteps) {
    ScriptedHost host;
    PermoraDlg dlg;
    host.ExpectModal<PermoraDlg>([&](PermoraDlg& d) {
        host.ExpectFileDialog(Fixture("main-window-8bit.conf"));
        tk::test::Click(d, IDC_IMPORT);
        for (int i = 0; i < 120; ++i) {
            ClickRow(d, 0);
            tk::test::Click(d, IDC_DOWN);
        }
        EXPECT_EQ(d.Document().History().UndoCount(), 100u);
        tk::test::Click(d, IDC_CLOSE);
    });
    dlg.DoModal();
}

} // namespace
