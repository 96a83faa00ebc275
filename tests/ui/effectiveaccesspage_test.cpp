#include "advanced_support.h"

#include "resources/templates/permissionproppage.h"
#include "resources/templates/securityproppage.h"
#include "support/scripted_host.h"
#include "ui/effectiveaccesspage.h"
#include "ui/effectiveaccesspanel.h"
#include "ui/securityproppage.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace ids = res::SecurityPropPage;
namespace permIds = res::PermissionPropPage;
using advtest::MakeTarget;

constexpr const char* kProj = "S:(AU;CIOIFA;0x10000;;;LAB\\staff)(AU;NPCISA;0x1;;;Everyone)"
                              "D:(D;CIOIIO;0x10000;;;LAB\\staff)(A;CIOI;0x1301bf;;;LAB\\jdoe)"
                              "(A;NPCI;0x1200a9;;;Everyone)(A;CIOI;0x1200a9;;;Admins)";

std::string Cell(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item != nullptr ? item->text().toStdString() : std::string("<none>");
}

std::vector<std::string> Row(const QTableWidget* table, int row) {
    return {Cell(table, row, 0), Cell(table, row, 1), Cell(table, row, 2)};
}

std::string Tip(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item != nullptr ? item->toolTip().toStdString() : std::string("<none>");
}

// The key goes where the focus is, as a user's key would.
void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "nothing has the focus";
    QTest::keyClick(focus, key, modifiers);
}

void Type(const char* text) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "nothing has the focus";
    QTest::keyClicks(focus, QString::fromUtf8(text));
}

// Tabs forward until the widget has the focus; fails after a round without it.
void TabTo(QWidget* widget) {
    for (int i = 0; i < 40 && !widget->hasFocus(); ++i) {
        Key(Qt::Key_Tab);
    }
    ASSERT_TRUE(widget->hasFocus())
        << widget->accessibleName().toStdString() << " is not reached by Tab";
}

// The advanced sheet of a target opened from its security page; play acts on it. (The
// security page shows its first account, Admins, without a message.)
struct AdvancedRun {
    explicit AdvancedRun(const std::string& descriptor)
        : target(MakeTarget(descriptor, permora::kLevelFileDirectory, "/vol/proj")), page(*target) {
    }

    void Run(const std::function<void(tk::PropertySheet&)>& play, bool ok = true) {
        tk::PropertySheet sheet("NTFS Security for " + target->Path);
        sheet.AddPage(&page);
        host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& s) {
            host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& advanced) {
                advanced.ModalWidget()->activateWindow();
                QApplication::setActiveWindow(advanced.ModalWidget());
                play(advanced);
                if (ok)
                    advanced.PressOK();
                else
                    advanced.PressCancel();
            });
            tk::test::Click(page, ids::IDC_ADVANCED);
            s.PressOK();
        });
        EXPECT_EQ(sheet.DoModal(), tk::IDOK);
    }

    std::unique_ptr<permora::TargetObject> target;
    SecurityPropPage page;
    tk::test::ScriptedHost host;
};

EffectiveAccessPage& AccessPage(tk::PropertySheet& sheet) {
    auto* page = dynamic_cast<EffectiveAccessPage*>(sheet.Page(2));
    EXPECT_NE(page, nullptr);
    return *page;
}

// Ctrl+Tab until the page of the index is shown.
void KeyToPage(tk::PropertySheet& sheet, int index) {
    for (int i = 0; i < 3 && sheet.ActiveIndex() != index; ++i) {
        QTest::keyClick(sheet.ModalWidget()->findChild<QTabWidget*>(), Qt::Key_Tab,
                        Qt::ControlModifier);
    }
    ASSERT_EQ(sheet.ActiveIndex(), index);
}

TEST(EffectiveAccessPageTest, TheKeyboardAsksForAnAccountWithItsGroups) {
    AdvancedRun run(kProj);
    const std::string before = advtest::DescriptorText(*run.target);
    run.Run([&](tk::PropertySheet& s) {
        ASSERT_EQ(s.PageCount(), 3);
        EXPECT_STREQ(s.Page(2)->Template().caption, "Effective Access");
        KeyToPage(s, 2);
        EffectiveAccessPanel& panel = AccessPage(s).Panel();

        // The accounts of the entries are offered.
        QComboBox* account = panel.AccountField();
        ASSERT_EQ(account->count(), 4);
        EXPECT_EQ(account->itemText(0).toStdString(), "LAB\\staff");
        EXPECT_EQ(account->itemText(1).toStdString(), "LAB\\jdoe");
        EXPECT_EQ(account->itemText(2).toStdString(), "Everyone");
        EXPECT_EQ(account->itemText(3).toStdString(), "Admins");
        EXPECT_FALSE(panel.RightsTable()->isEnabled());

        // Alt+A reaches the account field, Tab the groups, Tab the View button.
        QTest::keyClick(s.ModalWidget(), Qt::Key_A, Qt::AltModifier);
        ASSERT_TRUE(account->hasFocus() || account->lineEdit()->hasFocus());
        Type("LAB\\ann");
        Key(Qt::Key_Tab);
        ASSERT_TRUE(panel.GroupsField()->hasFocus());
        Type("lab\\STAFF; ");
        Key(Qt::Key_Tab);
        ASSERT_TRUE(panel.ViewButton()->hasFocus());
        Key(Qt::Key_Space);

        EXPECT_EQ(panel.ShownFor()->text().toStdString(),
                  "Effective access of LAB\\ann, member of lab\\STAFF:");
        tk::test::SavePng(s.ModalWidget(), "effectiveaccesspage");

        // Enter in a field views again, and leaves the sheet open.
        QTest::keyClick(s.ModalWidget(), Qt::Key_G, Qt::AltModifier);
        ASSERT_TRUE(panel.GroupsField()->hasFocus());
        panel.GroupsField()->selectAll();
        Key(Qt::Key_Delete);
        Key(Qt::Key_Return);
        EXPECT_FALSE(s.IsEnded());
        EXPECT_EQ(panel.ShownFor()->text().toStdString(), "Effective access of LAB\\ann:");
        EXPECT_EQ(Row(panel.StandardTable(), 0),
                  (std::vector<std::string>{"Not allowed", "Not allowed", "Not allowed"}));
        QTest::keyClick(s.ModalWidget(), Qt::Key_G, Qt::AltModifier);
        Type("lab\\STAFF; ");
        Key(Qt::Key_Enter);
        const QTableWidget* standard = panel.StandardTable();
        EXPECT_EQ(standard->verticalHeaderItem(0)->text().toStdString(), "Full Control");
        EXPECT_EQ(Row(standard, 0), (std::vector<std::string>{"Not allowed", "Denied", "Denied"}));
        EXPECT_EQ(Row(standard, 2),
                  (std::vector<std::string>{"Allowed", "Allowed in the first level only",
                                            "Not allowed"}));
        const QTableWidget* rights = panel.RightsTable();
        ASSERT_EQ(rights->rowCount(), 14);
        EXPECT_EQ(rights->verticalHeaderItem(10)->text().toStdString(), "Delete");
        EXPECT_EQ(Row(rights, 10), (std::vector<std::string>{"Not allowed", "Denied", "Denied"}));
        EXPECT_EQ(Tip(rights, 10, 2), "Denied by entry 1: (D;CIOIIO;0x10000;;;LAB\\staff)");
        EXPECT_EQ(Tip(rights, 2, 1),
                  "In the first level:\nAllowed by entry 3: (A;NPCI;0x1200a9;;;Everyone)\n"
                  "Below the first level:\nNo entry grants it.");
        const QTableWidget* audits = panel.AuditTable();
        ASSERT_EQ(audits->rowCount(), 2);
        EXPECT_EQ(audits->verticalHeaderItem(0)->text().toStdString(), "List Folder / Read Data");
        EXPECT_EQ(Row(audits, 0),
                  (std::vector<std::string>{"Success", "Success in the first level only",
                                            "Not audited"}));
        EXPECT_EQ(Row(audits, 1), (std::vector<std::string>{"Failure", "Failure", "Failure"}));

        // Tab on into the rights; the arrows walk its cells, and the line under the tables
        // names what decided the cell.
        TabTo(panel.RightsTable());
        Key(Qt::Key_Down);
        for (int i = 0; i < 10 && panel.RightsTable()->currentRow() < 10; ++i)
            Key(Qt::Key_Down);
        Key(Qt::Key_Right);
        Key(Qt::Key_Right);
        EXPECT_EQ(panel.RightsTable()->currentRow(), 10);
        EXPECT_EQ(panel.RightsTable()->currentColumn(), 2);
        EXPECT_EQ(panel.Details()->text().toStdString(),
                  "Delete, files: Denied by entry 1: (D;CIOIIO;0x10000;;;LAB\\staff)");
        tk::test::SavePng(s.ModalWidget(), "effectiveaccesspage-rights");
    });
    EXPECT_EQ(advtest::DescriptorText(*run.target), before) << "the page changes nothing";
}

// Enter in the account field views, as in the groups field, and leaves the sheet open.
TEST(EffectiveAccessPageTest, EnterInTheAccountFieldViews) {
    AdvancedRun run(kProj);
    run.Run([&](tk::PropertySheet& s) {
        KeyToPage(s, 2);
        EffectiveAccessPanel& panel = AccessPage(s).Panel();
        QTest::keyClick(s.ModalWidget(), Qt::Key_A, Qt::AltModifier);
        Type("LAB\\jdoe");
        Key(Qt::Key_Return);
        EXPECT_FALSE(s.IsEnded());
        EXPECT_EQ(panel.ShownFor()->text().toStdString(), "Effective access of LAB\\jdoe:");
    });
}

TEST(EffectiveAccessPageTest, NamesAreCheckedOnView) {
    struct Case {
        const char* account;
        const char* groups;
    };
    const Case cases[] = {{"LAB\\", ""}, {"", ""}, {"LAB\\ann", "LAB\\staff; a\\b\\c"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.account) + " / " + c.groups);
        AdvancedRun run(kProj);
        run.Run([&](tk::PropertySheet& s) {
            KeyToPage(s, 2);
            EffectiveAccessPanel& panel = AccessPage(s).Panel();
            panel.AccountField()->setEditText(QString::fromUtf8(c.account));
            panel.GroupsField()->setText(QString::fromUtf8(c.groups));
            run.host.ExpectMessage("Error", "Invalid Account Name");
            QTest::mouseClick(panel.ViewButton(), Qt::LeftButton);
            EXPECT_EQ(Cell(panel.RightsTable(), 0, 0), "<none>");
        });
    }
}

TEST(EffectiveAccessPageTest, FollowsTheEditsOfTheOtherPages) {
    AdvancedRun run(kProj);
    run.Run(
        [&](tk::PropertySheet& s) {
            KeyToPage(s, 2);
            EffectiveAccessPanel& panel = AccessPage(s).Panel();
            panel.AccountField()->setEditText(QStringLiteral("LAB\\jdoe"));
            panel.GroupsField()->setText(QStringLiteral("LAB\\staff"));
            QTest::mouseClick(panel.ViewButton(), Qt::LeftButton);
            EXPECT_EQ(Row(panel.RightsTable(), 10),
                      (std::vector<std::string>{"Allowed", "Denied", "Denied"}));

            // Remove the deny entry of the group on the permission page, and come back.
            KeyToPage(s, 0);
            tk::test::ClickRow(*s.Page(0), permIds::IDC_ENTRY_LIST, 0);
            tk::test::PressKey(*s.Page(0), permIds::IDC_ENTRY_LIST, Qt::Key_Delete);
            tk::test::ClickTab(s, 2);
            EXPECT_EQ(Row(panel.RightsTable(), 10),
                      (std::vector<std::string>{"Allowed", "Allowed", "Allowed"}));
            EXPECT_EQ(panel.AccountField()->count(), 4) << "the group still audits";

            // Without a permission list nothing is decided.
            tk::test::ClickTab(s, 0);
            for (int row = 2; row >= 0; --row) {
                tk::test::ClickRow(*s.Page(0), permIds::IDC_ENTRY_LIST, row);
                tk::test::PressKey(*s.Page(0), permIds::IDC_ENTRY_LIST, Qt::Key_Delete);
            }
            tk::test::ClickTab(s, 2);
            EXPECT_EQ(panel.ShownFor()->text().toStdString(),
                      "Effective access of LAB\\jdoe, member of LAB\\staff. The target has no "
                      "permission list: nothing is decided.");
            EXPECT_EQ(Row(panel.RightsTable(), 10),
                      (std::vector<std::string>{"Not decided", "Not decided", "Not decided"}));
        },
        false);
    EXPECT_EQ(advtest::DescriptorText(*run.target), kProj) << "Cancel brings the entries back";
}

TEST(EffectiveAccessPageTest, EveryFieldHasAnAccessibleName) {
    AdvancedRun run(kProj);
    run.Run([&](tk::PropertySheet& s) {
        KeyToPage(s, 2);
        EffectiveAccessPanel& panel = AccessPage(s).Panel();
        const QWidget* named[] = {panel.AccountField(),  panel.GroupsField(), panel.ViewButton(),
                                  panel.StandardTable(), panel.RightsTable(), panel.AuditTable(),
                                  panel.ShownFor(),      panel.Details()};
        for (const QWidget* widget : named) {
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->metaObject()->className();
        }
    });
}

} // namespace
