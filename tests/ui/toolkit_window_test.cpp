// The parts of the dialog toolkit that every dialog leans on: notifications and their
// timing, the controls' operations, the standard OK and Cancel handling, dialog units.

#include "ui/support/scripted_host.h"
#include "ui/toolkit/controls.h"
#include "ui/toolkit/window.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QStandardItemModel>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

namespace {

using tk::Kind;
using tk::test::Click;
using tk::test::ClickRow;
using tk::test::ScriptedHost;
namespace st = tk::state;

enum Id : int {
    IDC_CHECK = 100,
    IDC_WRAP = 101,
    IDC_A1 = 110,
    IDC_A2 = 111,
    IDC_B1 = 120,
    IDC_B2 = 121,
    IDC_NAME_CAPTION = 130,
    IDC_NAME = 131,
    IDC_LIST = 140,
    IDC_COMBO = 150,
    IDC_VIEW = 160,
};

const tk::DialogTemplate kTemplate{
    900,
    "Toolkit Check",
    300,
    250,
    "MS Shell Dlg",
    8,
    {
        {IDC_CHECK, Kind::CheckBox, "&Check", 7, 7, 80, 10},
        {IDC_WRAP, Kind::CheckBox, "A long check box text that has to wrap onto a second line", 100,
         4, 120, 18, st::kMultiline},
        {tk::IDC_STATIC, Kind::GroupBox, "First", 7, 24, 130, 26},
        {IDC_A1, Kind::RadioButton, "A&1", 12, 36, 50, 10, st::kChecked},
        {IDC_A2, Kind::RadioButton, "A&2", 70, 36, 50, 10},
        // A second group straight after the first one.
        {IDC_B1, Kind::RadioButton, "B1", 150, 36, 50, 10, st::kGroup},
        {IDC_B2, Kind::RadioButton, "B2", 210, 36, 50, 10},
        {IDC_NAME_CAPTION, Kind::Label, "&Name:", 7, 58, 40, 8},
        {IDC_NAME, Kind::Edit, "", 50, 56, 120, 14},
        {tk::IDC_STATIC, Kind::Label, "&Accounts:", 7, 76, 100, 8},
        {IDC_LIST, Kind::ListBox, "", 7, 86, 100, 60},
        {IDC_COMBO, Kind::ComboBox, "", 120, 86, 100, 80},
        {tk::IDC_STATIC, Kind::Label, "&Entries:", 7, 150, 100, 8},
        {IDC_VIEW, Kind::ListView, "", 7, 160, 286, 60, st::kShowSelAlways},
        {tk::IDOK, Kind::PushButton, "OK", 190, 229, 50, 14, st::kDefault},
        {tk::IDCANCEL, Kind::PushButton, "Cancel", 243, 229, 50, 14},
    },
};

// Writes down every notification with what the handler sees at that moment.
class Recorder : public tk::Dialog {
public:
    Recorder();
    std::vector<std::string> log;

    void OnCheck() { log.push_back("check " + std::to_string(Check(IDC_CHECK))); }
    void OnWrap() { log.push_back("wrap " + std::to_string(Check(IDC_WRAP))); }
    void OnRadio() {
        std::string states = "radios ";
        for (int id : {IDC_A1, IDC_A2, IDC_B1, IDC_B2})
            states += std::to_string(Check(id));
        log.push_back(states);
    }
    void OnName() { log.push_back("name " + Text(IDC_NAME)); }
    void OnList() { log.push_back("list " + std::to_string(GetListBox(IDC_LIST).Selection())); }
    void OnCombo() { log.push_back("combo " + std::to_string(GetComboBox(IDC_COMBO).Selection())); }
    void OnViewClick() {
        std::string rows = "click";
        for (int row : GetListView(IDC_VIEW).SelectedRows())
            rows += " " + std::to_string(row);
        log.push_back(rows);
    }
    void OnViewFocus() { log.push_back("setfocus"); }
    void OnViewLostFocus() { log.push_back("killfocus"); }
    void OnViewKey(int key) {
        log.push_back("key " + std::to_string(key));
        // The handler runs before the view acts on the key: it may change the rows.
        if (key == tk::VK_DELETE) {
            tk::ListView view = GetListView(IDC_VIEW);
            const std::vector<int> rows = view.SelectedRows();
            for (auto row = rows.rbegin(); row != rows.rend(); ++row)
                view.DeleteRow(*row);
        }
    }

protected:
    void OnSysCommand(int command) override { log.push_back("sys " + std::to_string(command)); }
};

const tk::Handler<Recorder> kRecorderHandlers[] = {
    {IDC_CHECK, tk::Notify::Clicked, &Recorder::OnCheck},
    {IDC_WRAP, tk::Notify::Clicked, &Recorder::OnWrap},
    {IDC_A1, tk::Notify::Clicked, &Recorder::OnRadio},
    {IDC_A2, tk::Notify::Clicked, &Recorder::OnRadio},
    {IDC_B1, tk::Notify::Clicked, &Recorder::OnRadio},
    {IDC_B2, tk::Notify::Clicked, &Recorder::OnRadio},
    {IDC_NAME, tk::Notify::Changed, &Recorder::OnName},
    {IDC_LIST, tk::Notify::SelChange, &Recorder::OnList},
    {IDC_COMBO, tk::Notify::SelChange, &Recorder::OnCombo},
    {IDC_VIEW, tk::Notify::Click, &Recorder::OnViewClick},
    {IDC_VIEW, tk::Notify::SetFocus, &Recorder::OnViewFocus},
    {IDC_VIEW, tk::Notify::KillFocus, &Recorder::OnViewLostFocus},
    {IDC_VIEW, &Recorder::OnViewKey},
};

Recorder::Recorder() : tk::Dialog(kTemplate) {
    Bind(this, kRecorderHandlers);
}

using Log = std::vector<std::string>;

// Runs the dialog through the scripted host; the script is the user.
int RunAsUser(Recorder& dialog, const std::function<void(Recorder&)>& script) {
    ScriptedHost host;
    host.ExpectModal<Recorder>([&](Recorder& d) {
        script(d);
        if (!d.IsEnded())
            Click(d, tk::IDCANCEL);
    });
    return dialog.DoModal();
}

TEST(ToolkitTest, CheckBoxesAndRadioButtonsHaveToggledWhenTheHandlerRuns) {
    struct Step {
        int click;
        const char* logged;
    };
    const Step steps[] = {
        {IDC_CHECK, "check 1"},  {IDC_CHECK, "check 0"},
        {IDC_WRAP, "wrap 1"},    {IDC_A2, "radios 0100"},
        {IDC_B2, "radios 0101"}, {IDC_B2, "radios 0101"}, // a checked radio button stays checked
        {IDC_A1, "radios 1001"},
    };
    Recorder dlg;
    RunAsUser(dlg, [&](Recorder& d) {
        for (const Step& step : steps) {
            d.log.clear();
            Click(d, step.click);
            EXPECT_EQ(d.log, Log{step.logged}) << "click on " << step.click;
        }
        // The program's own changes notify nobody.
        d.log.clear();
        d.SetCheck(IDC_CHECK, 1);
        d.CheckRadio(IDC_A1, IDC_A2, IDC_A2);
        d.SetCheck(IDC_B2, 0); // a program may leave a whole group unchecked
        EXPECT_EQ(d.log, Log{});
        EXPECT_EQ(d.Check(IDC_CHECK), 1);
        EXPECT_EQ(d.Check(IDC_A1), 0);
        EXPECT_EQ(d.Check(IDC_A2), 1);
        EXPECT_EQ(d.Check(IDC_B1) + d.Check(IDC_B2), 0);
    });
}

TEST(ToolkitTest, EditReportsEveryChangeOfItsText) {
    Recorder dlg;
    RunAsUser(dlg, [&](Recorder& d) {
        tk::test::TypeText(d, IDC_NAME, "ab\\");
        EXPECT_EQ(d.log, (Log{"name a", "name ab", "name ab\\"}));
        d.log.clear();
        tk::test::PressKey(d, IDC_NAME, Qt::Key_Backspace);
        d.SetText(IDC_NAME, "xyz");
        d.SetText(IDC_NAME, "xyz"); // setting the same text is a change as well
        tk::test::ClearText(d, IDC_NAME);
        EXPECT_EQ(d.log, (Log{"name ab", "name xyz", "name xyz", "name "}));
        EXPECT_EQ(d.TextLength(IDC_NAME), 0);
    });
}

TEST(ToolkitTest, SortedListBoxOrdersAndFindsWithoutRegardToCase) {
    Recorder dlg;
    tk::ListBox list = dlg.GetListBox(IDC_LIST);
    struct Add {
        const char* text;
        int landed;
    };
    const Add adds[] = {
        {"banana", 0},    {"Apple", 0},   {"cherry", 2},
        {"apple pie", 1}, {"Banana", 3}, // after the item that sorts the same
        {"Zeta", 5},      {"_admins", 0},
    };
    for (const Add& add : adds)
        EXPECT_EQ(list.Add(add.text), add.landed) << add.text;
    std::vector<std::string> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.Text(i));
    EXPECT_EQ(items, (std::vector<std::string>{"_admins", "Apple", "apple pie", "banana", "Banana",
                                               "cherry", "Zeta"}));

    struct Find {
        const char* prefix;
        int found;
    };
    const Find finds[] = {{"AP", 1},   {"apple P", 2},        {"BAN", 3},
                          {"zeta", 6}, {"zetas", tk::LB_ERR}, {"x", tk::LB_ERR},
                          {"", 0}};
    for (const Find& find : finds)
        EXPECT_EQ(list.FindPrefix(find.prefix), find.found) << find.prefix;
    EXPECT_EQ(list.FindExact("APPLE"), 1);
    EXPECT_EQ(list.FindExact("appl"), tk::LB_ERR);

    list.Select(4);
    EXPECT_EQ(list.Selection(), 4);
    list.Delete(0);
    EXPECT_EQ(list.Selection(), 3) << "the selection moves with its item";
    EXPECT_EQ(list.Count(), 6);
    list.Select(tk::LB_ERR);
    EXPECT_EQ(list.Selection(), tk::LB_ERR);
    EXPECT_EQ(dlg.log, Log{}) << "the program's changes notify nobody";

    RunAsUser(dlg, [&](Recorder& d) {
        ClickRow(d, IDC_LIST, 2);
        EXPECT_EQ(d.log, Log{"list 2"});
    });
}

// As a classic list box: a click can move the one selected item but never take it away.
TEST(ToolkitTest, SingleSelectionListBoxKeepsItsSelectionAgainstClicks) {
    Recorder dlg;
    tk::ListBox list = dlg.GetListBox(IDC_LIST);
    list.Add("Administrators");
    list.Add("Everyone");
    RunAsUser(dlg, [&](Recorder& d) {
        QAbstractItemView* view = qobject_cast<QAbstractItemView*>(d.Control(IDC_LIST));
        ASSERT_NE(view, nullptr);
        const QPoint blank(view->viewport()->width() / 2, view->viewport()->height() - 2);
        ASSERT_FALSE(view->indexAt(blank).isValid()) << "the list needs room under its items";
        struct Step {
            const char* name;
            std::function<void()> input;
            int selected;
            Log logged;
        };
        const Step steps[] = {
            {"click an item", [&] { ClickRow(d, IDC_LIST, 1); }, 1, Log{"list 1"}},
            {"click under the items",
             [&] { QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, blank); }, 1,
             Log{}},
            {"Ctrl+click the selected item", [&] { ClickRow(d, IDC_LIST, 1, true); }, 1, Log{}},
            {"Ctrl+click another item", [&] { ClickRow(d, IDC_LIST, 0, true); }, 0, Log{"list 0"}},
            {"Ctrl+Space on the selected item",
             [&] { QTest::keyClick(view, Qt::Key_Space, Qt::ControlModifier); }, 0, Log{}},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.name);
            d.log.clear();
            step.input();
            EXPECT_EQ(list.Selection(), step.selected);
            EXPECT_EQ(d.log, step.logged);
        }
    });
}

TEST(ToolkitTest, DropDownComboBoxKeepsItemsInOrder) {
    Recorder dlg;
    tk::ComboBox combo = dlg.GetComboBox(IDC_COMBO);
    EXPECT_EQ(combo.Add("This folder only"), 0);
    EXPECT_EQ(combo.Add("This folder, subfolders and files"), 1);
    EXPECT_EQ(combo.Add("Subfolders only"), 2);
    EXPECT_EQ(combo.Selection(), tk::LB_ERR) << "adding selects nothing";
    EXPECT_EQ(combo.FindPrefix("this folder,"), 1);
    EXPECT_EQ(combo.FindPrefix("files"), tk::LB_ERR);
    combo.Select(1);
    EXPECT_EQ(dlg.Text(IDC_COMBO), "This folder, subfolders and files");
    combo.Select(tk::LB_ERR);
    EXPECT_EQ(combo.Selection(), tk::LB_ERR);
    EXPECT_EQ(dlg.Text(IDC_COMBO), "");
    EXPECT_EQ(dlg.log, Log{});

    RunAsUser(dlg, [&](Recorder& d) {
        tk::test::SelectComboItem(d, IDC_COMBO, 2);
        EXPECT_EQ(d.log, Log{"combo 2"});
    });
}

TEST(ToolkitTest, ListViewColumnsAndCells) {
    Recorder dlg;
    tk::ListView view = dlg.GetListView(IDC_VIEW);
    EXPECT_EQ(view.InsertColumn(0, "Name", 120), 0);
    EXPECT_EQ(view.InsertColumn(5, "Value", 80), 1) << "past the end means at the end";
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(view.InsertRow(row, "name" + std::to_string(row)), row);
        view.SetCell(row, 1, "value" + std::to_string(row));
    }
    EXPECT_EQ(view.InsertRow(99, "last"), 3);
    EXPECT_EQ(view.Cell(1, 1), "value1");

    view.DeleteColumn(0); // cells move left with their columns
    EXPECT_EQ(view.ColumnHeading(0), "Value");
    EXPECT_EQ(view.Cell(1, 0), "value1");
    view.InsertColumn(0, "Type", 50);
    EXPECT_EQ(view.Cell(1, 0), "");
    EXPECT_EQ(view.Cell(1, 1), "value1");
    EXPECT_EQ(view.ColumnCount(), 2);
    EXPECT_EQ(view.ColumnWidth(0), 50);
    EXPECT_EQ(view.ColumnWidth(1), 80);

    view.SetRows({{"a", "1"}, {"b", "2"}});
    EXPECT_EQ(view.RowCount(), 2);
    EXPECT_EQ(view.Cell(1, 1), "2");
    view.DeleteAll();
    EXPECT_EQ(view.RowCount(), 0);

    EXPECT_GT(view.ClientWidth(), 0);
    EXPECT_LE(view.ClientWidth(), view.Widget()->width());
    EXPECT_GT(view.TextWidth("Allow  "), view.TextWidth("Allow"));
}

TEST(ToolkitTest, ListViewSelectionWalkSurvivesDeletions) {
    Recorder dlg;
    tk::ListView view = dlg.GetListView(IDC_VIEW);
    view.InsertColumn(0, "Name", 200);
    for (int row = 0; row < 6; ++row)
        view.InsertRow(row, "r" + std::to_string(row));

    view.Select(0);
    view.Select(2);
    view.Select(5);
    EXPECT_EQ(view.SelectedRows(), (std::vector<int>{0, 2, 5}));
    view.DeleteRow(1); // an unselected row above selected ones
    EXPECT_EQ(view.SelectedRows(), (std::vector<int>{0, 1, 4}));
    EXPECT_EQ(view.Cell(1, 0), "r2");
    // The pages' walk: highest index first, so the indexes still to come stay valid.
    const std::vector<int> selected = view.SelectedRows();
    for (auto row = selected.rbegin(); row != selected.rend(); ++row)
        view.DeleteRow(*row);
    EXPECT_EQ(view.RowCount(), 2);
    EXPECT_EQ(view.Cell(0, 0), "r3");
    EXPECT_EQ(view.Cell(1, 0), "r4");
    EXPECT_EQ(view.SelectedCount(), 0);

    view.SetMultiSelect(false);
    view.Select(0);
    view.Select(1);
    EXPECT_EQ(view.SelectedRows(), std::vector<int>{1}) << "one row at a time";
    view.Select(1, false);
    EXPECT_EQ(view.SelectedCount(), 0);
    EXPECT_EQ(dlg.log, Log{});
}

// The test dialog's list with the columns "Name" and "Value".
tk::ListView NameValueList(Recorder& dlg) {
    tk::ListView view = dlg.GetListView(IDC_VIEW);
    view.InsertColumn(0, "Name", 120);
    view.InsertColumn(1, "Value", 80);
    return view;
}

// A list can show the rows of a model its owner keeps: cells, headings and selection are
// that model's and follow its changes, the keys move by its rows, and without it the list
// shows its own texts again.
TEST(ToolkitTest, ListViewShowsTheRowsOfAModelItsOwnerKeeps) {
    Recorder dlg;
    tk::ListView view = NameValueList(dlg);
    view.SetRows({{"own", "1"}});
    QStandardItemModel owned(3, 2);
    owned.setHorizontalHeaderLabels({QStringLiteral("Path"), QStringLiteral("Style")});
    for (int row = 0; row < 3; ++row)
        owned.setItem(row, 0, new QStandardItem(QStringLiteral("/vol/%1").arg(row)));
    view.ShowModel(&owned);
    EXPECT_EQ(view.RowCount(), 3);
    EXPECT_EQ(view.ColumnCount(), 2);
    EXPECT_EQ(view.ColumnHeading(0), "Path");
    EXPECT_EQ(view.Cell(2, 0), "/vol/2");
    EXPECT_EQ(view.Cell(3, 0), "");
    view.SetSelectedRows({0, 2});
    owned.removeRow(1);
    EXPECT_EQ(view.SelectedRows(), (std::vector<int>{0, 1}));
    RunAsUser(dlg, [&](Recorder& d) {
        ClickRow(d, IDC_VIEW, 0);
        tk::test::PressKey(d, IDC_VIEW, Qt::Key_End);
        EXPECT_EQ(view.SelectedRows(), std::vector<int>{1});
    });
    view.ShowModel(nullptr);
    EXPECT_EQ(view.RowCount(), 1);
    EXPECT_EQ(view.Cell(0, 0), "own");
    EXPECT_EQ(view.ColumnHeading(1), "Value");
}

// The keys that move in a list move by rows: Home and End to the first and last row,
// Left and Right leave the row as it is.
TEST(ToolkitTest, ListViewKeysMoveByRows) {
    Recorder dlg;
    tk::ListView view = NameValueList(dlg);
    view.SetRows({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}});
    RunAsUser(dlg, [&](Recorder& d) {
        ClickRow(d, IDC_VIEW, 1);
        const struct {
            Qt::Key key;
            std::vector<int> selected;
        } steps[] = {{Qt::Key_End, {3}},  {Qt::Key_Right, {3}}, {Qt::Key_Up, {2}},
                     {Qt::Key_Home, {0}}, {Qt::Key_Left, {0}},  {Qt::Key_Down, {1}}};
        for (const auto& step : steps) {
            tk::test::PressKey(d, IDC_VIEW, step.key);
            EXPECT_EQ(view.SelectedRows(), step.selected) << "key " << step.key;
        }
        EXPECT_EQ(view.Widget()->currentIndex().column(), 0);
    });
}

TEST(ToolkitTest, ListViewReportsClicksFocusAndKeysOfTheUser) {
    Recorder dlg;
    tk::ListView view = dlg.GetListView(IDC_VIEW);
    view.InsertColumn(0, "Name", 200);
    for (int row = 0; row < 5; ++row)
        view.InsertRow(row, "r" + std::to_string(row));
    RunAsUser(dlg, [&](Recorder& d) {
        d.log.clear();
        ClickRow(d, IDC_VIEW, 0);
        ClickRow(d, IDC_VIEW, 2, /*control=*/true);
        ClickRow(d, IDC_VIEW, 3, /*control=*/true);
        ClickRow(d, IDC_VIEW, 2, /*control=*/true); // off again
        ClickRow(d, IDC_VIEW, 4, false, /*shift=*/true);
        EXPECT_EQ(d.log, (Log{"setfocus", "click 0", "click 0 2", "click 0 2 3", "click 0 3",
                              "click 2 3 4"}));
        d.log.clear();
        tk::test::PressKey(d, IDC_VIEW, Qt::Key_Delete);
        EXPECT_EQ(d.log, Log{"key 46"});
        EXPECT_EQ(view.RowCount(), 2);
        d.log.clear();
        tk::test::TypeText(d, IDC_NAME, "x");
        EXPECT_EQ(d.log, (Log{"killfocus", "name x"}));
    });
}

// A dialog that handles Cancel itself.
class OwnCancel : public tk::Dialog {
public:
    OwnCancel() : tk::Dialog(kTemplate) {
        static const tk::Handler<OwnCancel> handlers[] = {
            {tk::IDCANCEL, tk::Notify::Clicked, &OwnCancel::OnCancelClicked}};
        Bind(this, handlers);
    }
    void OnCancelClicked() { ++cancels; }
    int cancels = 0;
};

TEST(ToolkitTest, OkAndCancelTakeTheStandardHandlingUnlessBound) {
    struct Ending {
        const char* name;
        std::function<void(Recorder&)> act;
        int result;
    };
    const Ending endings[] = {
        {"OK clicked", [](Recorder& d) { Click(d, tk::IDOK); }, tk::IDOK},
        {"Enter in the edit presses the default button",
         [](Recorder& d) { tk::test::PressKey(d, IDC_NAME, Qt::Key_Return); }, tk::IDOK},
        {"Cancel clicked", [](Recorder& d) { Click(d, tk::IDCANCEL); }, tk::IDCANCEL},
        {"Escape", [](Recorder& d) { tk::test::PressKey(d, IDC_NAME, Qt::Key_Escape); },
         tk::IDCANCEL},
        {"close box", [](Recorder& d) { d.Widget()->close(); }, tk::IDCANCEL},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.name);
        Recorder dlg;
        ScriptedHost host;
        host.ExpectModal<Recorder>([&](Recorder& d) { ending.act(d); });
        EXPECT_EQ(dlg.DoModal(), ending.result);
    }

    OwnCancel own;
    ScriptedHost host;
    host.ExpectModal<OwnCancel>([](OwnCancel& d) {
        tk::test::PressKey(d, IDC_NAME, Qt::Key_Escape);
        d.Widget()->close();
        Click(d, tk::IDCANCEL);
        EXPECT_EQ(d.cancels, 3);
        EXPECT_FALSE(d.IsEnded()) << "the bound handler replaces the standard Cancel";
        d.Enable(tk::IDCANCEL, false); // a disabled Cancel button: Escape does nothing
        tk::test::PressKey(d, IDC_NAME, Qt::Key_Escape);
        EXPECT_EQ(d.cancels, 3);
        Click(d, tk::IDOK);
    });
    EXPECT_EQ(own.DoModal(), tk::IDOK);
}

TEST(ToolkitTest, ControlsTakeTheirTemplateStateAndAccessKeys) {
    Recorder dlg;
    EXPECT_EQ(dlg.Title(), "Toolkit Check");
    EXPECT_EQ(dlg.Check(IDC_A1), 1);
    EXPECT_TRUE(dlg.IsShown(IDC_CHECK));
    dlg.Show(IDC_CHECK, false);
    EXPECT_FALSE(dlg.IsShown(IDC_CHECK));
    dlg.Enable(IDC_NAME, false);
    EXPECT_FALSE(dlg.IsEnabled(IDC_NAME));
    EXPECT_EQ(dlg.Control(12345), nullptr);

    auto* caption = qobject_cast<QLabel*>(dlg.Control(IDC_NAME_CAPTION));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->buddy(), dlg.Control(IDC_NAME)) << "the label's access key";
    EXPECT_EQ(dlg.Control(IDC_CHECK)->accessibleName(), QStringLiteral("Check"));
    EXPECT_EQ(dlg.Control(IDC_NAME)->accessibleName(), QStringLiteral("Name:"));
    EXPECT_EQ(dlg.Control(IDC_LIST)->accessibleName(), QStringLiteral("Accounts:"));
    EXPECT_EQ(dlg.Control(IDC_VIEW)->accessibleName(), QStringLiteral("Entries:"));
    EXPECT_EQ(dlg.Widget()->accessibleName(), QStringLiteral("Toolkit Check"));
}

TEST(ToolkitTest, WindowsKeepTheirProportionsAtAnyFontSize) {
    const QFont original = QApplication::font();
    int lastWidth = 0;
    for (const double points : {7.0, 9.0, 14.0, 22.0}) {
        SCOPED_TRACE(points);
        QFont font = original;
        font.setPointSizeF(points);
        QApplication::setFont(font);
        Recorder dlg;
        const QWidget* window = dlg.Widget();
        const QRect view = dlg.Control(IDC_VIEW)->geometry();
        const double width = window->width();
        const double height = window->height();
        EXPECT_GT(window->width(), lastWidth) << "a bigger font makes a bigger window";
        lastWidth = window->width();
        // Edges sit where the template puts them, relative to the window's size.
        EXPECT_NEAR(view.x() / width, 7.0 / 300, 1.0 / width);
        EXPECT_NEAR((view.x() + view.width()) / width, 293.0 / 300, 1.0 / width);
        EXPECT_NEAR(view.y() / height, 160.0 / 250, 1.0 / height);
        EXPECT_NEAR((view.y() + view.height()) / height, 220.0 / 250, 1.0 / height);
    }
    QApplication::setFont(original);
}

QMenu* OpenMenu() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* menu = qobject_cast<QMenu*>(window); menu != nullptr && menu->isVisible())
            return menu;
    }
    return nullptr;
}

TEST(ToolkitTest, SystemMenuItemIsInTheContextMenu) {
    Recorder dlg;
    dlg.AddSystemMenuItem(0x0010, "&About permora...");
    RunAsUser(dlg, [&](Recorder& d) {
        // Right click on the window.
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                                     d.Widget()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(d.Widget(), &rightClick);
        QMenu* menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 1);
        QAction* about = menu->actions().front();
        EXPECT_EQ(about->text(), QStringLiteral("&About permora..."));
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                          menu->actionGeometry(about).center());
        EXPECT_EQ(d.log, Log{"sys 16"});
        EXPECT_EQ(OpenMenu(), nullptr);

        // Shift+F10 from the keyboard; Escape closes the menu again.
        tk::test::PressKey(d, IDC_NAME, Qt::Key_Escape); // Escape in the window: Cancel
        EXPECT_TRUE(d.IsEnded());
    });

    Recorder keyboard;
    keyboard.AddSystemMenuItem(0x0010, "&About permora...");
    RunAsUser(keyboard, [&](Recorder& d) {
        d.SetFocus(IDC_NAME);
        QTest::keyClick(d.Widget(), Qt::Key_F10, Qt::ShiftModifier);
        QMenu* menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        QTest::keyClick(menu, Qt::Key_Escape);
        EXPECT_EQ(OpenMenu(), nullptr);
        EXPECT_EQ(d.log, Log{});
        d.RunSystemCommand(0x0010);
        EXPECT_EQ(d.log, Log{"sys 16"});
    });
}

} // namespace

namespace {

TEST(ToolkitTest, Picture) {
    Recorder dlg;
    for (const char* name : {"Everyone", "Administrators", "BUILTIN\\Users"})
        dlg.GetListBox(IDC_LIST).Add(name);
    dlg.GetComboBox(IDC_COMBO).Add("This folder only");
    dlg.GetComboBox(IDC_COMBO).Select(0);
    tk::ListView view = dlg.GetListView(IDC_VIEW);
    view.InsertColumn(0, "Type", view.TextWidth("Allow  ") + 20);
    view.InsertColumn(1, "Name", view.ClientWidth() - view.ColumnWidth(0));
    view.SetRows({{"Deny", "Guests"}, {"Allow", "Everyone"}, {"Allow", "Administrators"}});
    view.Select(1);
    RunAsUser(dlg, [&](Recorder& d) {
        ClickRow(d, IDC_LIST, 1);
        Click(d, IDC_WRAP);
        tk::test::TypeText(d, IDC_NAME, "LAB\\staff");
        tk::test::SavePng(d.Widget(), "toolkit_controls");
    });
}

} // namespace
