// Property sheets: pages as tabs, the activation hook, the ending, and pages that are not
// the sheet's to destroy.

#include "ui/support/scripted_host.h"
#include "ui/toolkit/window.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using tk::Kind;
using tk::test::ClickTab;
using tk::test::ScriptedHost;

enum Id : int { IDC_BOX = 300 };

const tk::DialogTemplate kFirst{
    904,
    "&Permissions",
    240,
    120,
    "MS Shell Dlg",
    8,
    {{IDC_BOX, Kind::CheckBox, "&Allow", 7, 7, 100, 10}},
};
const tk::DialogTemplate kSecond{
    905,
    "Auditing",
    200,
    160,
    "MS Shell Dlg",
    8,
    {{IDC_BOX, Kind::CheckBox, "&Audit", 7, 7, 100, 10}},
};

using Log = std::vector<std::string>;

class LoggingPage : public tk::PropertyPage {
public:
    LoggingPage(const tk::DialogTemplate& tmpl, Log& log) : tk::PropertyPage(tmpl), log_(log) {}
    void OnSetActive() override {
        log_.push_back(std::string(Template().caption) + " " + std::to_string(Check(IDC_BOX)));
        tk::PropertyPage::OnSetActive();
    }

private:
    Log& log_;
};

TEST(PropertySheetTest, EveryReturnToATabActivatesItsPage) {
    Log log;
    LoggingPage first(kFirst, log);
    LoggingPage second(kSecond, log);
    tk::PropertySheet sheet("Advanced Security Settings for /vol/vol1");
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    EXPECT_EQ(sheet.PageCount(), 2);
    EXPECT_EQ(first.Sheet(), &sheet);
    EXPECT_EQ(log, Log{}) << "nothing is activated before the sheet runs";

    ScriptedHost host;
    host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& s) {
        EXPECT_EQ(log, Log{"&Permissions 0"}) << "the first page, on first display";
        ClickTab(s, 1);
        tk::test::Click(second, IDC_BOX);
        ClickTab(s, 0);
        ClickTab(s, 0); // the tab that is already shown: no new activation
        s.SetActivePage(1);
        EXPECT_EQ(s.ActiveIndex(), 1);
        EXPECT_EQ(log, (Log{"&Permissions 0", "Auditing 0", "&Permissions 0", "Auditing 1"}));
        s.PressOK();
    });
    EXPECT_EQ(sheet.DoModal(), tk::IDOK);

    // A second run starts with an activation of the page on top.
    log.clear();
    host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& s) { s.PressCancel(); });
    EXPECT_EQ(sheet.DoModal(), tk::IDCANCEL);
    EXPECT_EQ(log, Log{"Auditing 1"});
}

TEST(PropertySheetTest, TitleTabsAndOnlyOkAndCancel) {
    Log log;
    LoggingPage first(kFirst, log);
    LoggingPage second(kSecond, log);
    tk::PropertySheet sheet("Permission Entry for /vol/vol1");
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    EXPECT_EQ(sheet.Title(), "Permission Entry for /vol/vol1");
    auto* tabs = sheet.ModalWidget()->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("&Permissions"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Auditing"));
    QStringList buttons;
    for (QPushButton* button : sheet.ModalWidget()->findChildren<QPushButton*>()) {
        if (button->parentWidget() == sheet.ModalWidget())
            buttons << button->text();
    }
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
    // The sheet makes room for its widest and its tallest page.
    EXPECT_GE(tabs->sizeHint().width(), first.Widget()->width());
    EXPECT_GE(tabs->sizeHint().height(), second.Widget()->height());
    EXPECT_GT(second.Widget()->height(), first.Widget()->height());
}

TEST(PropertySheetTest, EndsWithOkOrCancel) {
    struct Ending {
        const char* name;
        std::function<void(tk::PropertySheet&)> act;
        int result;
    };
    const Ending endings[] = {
        {"OK", [](tk::PropertySheet& s) { s.PressOK(); }, tk::IDOK},
        {"Enter", [](tk::PropertySheet& s) { QTest::keyClick(s.ModalWidget(), Qt::Key_Return); },
         tk::IDOK},
        {"Cancel", [](tk::PropertySheet& s) { s.PressCancel(); }, tk::IDCANCEL},
        {"Escape", [](tk::PropertySheet& s) { QTest::keyClick(s.ModalWidget(), Qt::Key_Escape); },
         tk::IDCANCEL},
        {"close box", [](tk::PropertySheet& s) { s.ModalWidget()->close(); }, tk::IDCANCEL},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.name);
        Log log;
        LoggingPage page(kFirst, log);
        tk::PropertySheet sheet("Sheet");
        sheet.AddPage(&page);
        ScriptedHost host;
        host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& s) { ending.act(s); });
        EXPECT_EQ(sheet.DoModal(), ending.result);
    }
}

TEST(PropertySheetTest, PagesOutliveTheirSheet) {
    Log log;
    LoggingPage page(kFirst, log);
    {
        tk::PropertySheet sheet("First sheet");
        sheet.AddPage(&page);
        EXPECT_NE(page.Widget()->parentWidget(), nullptr);
    }
    EXPECT_EQ(page.Sheet(), nullptr);
    EXPECT_EQ(page.Widget()->parentWidget(), nullptr) << "the page has its widgets back";
    page.SetCheck(IDC_BOX, 1);

    // The same page serves a second sheet.
    tk::PropertySheet again("Second sheet");
    again.AddPage(&page);
    ScriptedHost host;
    host.ExpectModal<tk::PropertySheet>([](tk::PropertySheet& s) { s.PressOK(); });
    EXPECT_EQ(again.DoModal(), tk::IDOK);
    EXPECT_EQ(log, Log{"&Permissions 1"});

    // A page that goes first leaves the sheet.
    tk::PropertySheet sheet("Third sheet");
    auto early = std::make_unique<LoggingPage>(kSecond, log);
    sheet.AddPage(early.get());
    EXPECT_EQ(sheet.PageCount(), 1);
    early.reset();
    EXPECT_EQ(sheet.PageCount(), 0);
}

} // namespace
