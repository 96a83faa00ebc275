#include "advanced_support.h"

#include "resources/templates/auditingproppage.h"
#include "resources/templates/permissionproppage.h"
#include "resources/templates/securityproppage.h"
#include "support/scripted_host.h"
#include "ui/auditingproppage.h"
#include "ui/objectpermproppage.h"
#include "ui/permissionproppage.h"
#include "ui/securityproppage.h"

#include <gtest/gtest.h>

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace ids = res::SecurityPropPage;
namespace permIds = res::PermissionPropPage;
namespace auditIds = res::AuditingPropPage;
using advtest::MakeTarget;

constexpr const char* kTarget = "S:AR(AU;CIOISA;0x200a9;;;Everyone)(AU;CIOISAFA;0x10000;;;Guests)"
                                "D:P(D;CIOI;0x10000;;;Guests)(A;CIOI;0x1200a9;;;Everyone)";

std::vector<std::string> ListedAccounts(const SecurityPropPage& page) {
    tk::ListBox list = page.GetListBox(ids::IDC_ACCOUNT_LIST);
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.Text(i));
    return names;
}

void SelectAllRows(const tk::Window& page, int listId, int count) {
    for (int row = 0; row < count; ++row)
        tk::test::ClickRow(page, listId, row, row > 0);
}

// The security page of a target in its sheet; play acts on the open page.
struct SecurityRun {
    explicit SecurityRun(const std::string& descriptor)
        : target(MakeTarget(descriptor)), page(*target) {}

    void Run(const std::function<void()>& play) {
        tk::PropertySheet sheet("NTFS Security for " + target->Path);
        sheet.AddPage(&page);
        host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& s) {
            play();
            s.PressOK();
        });
        EXPECT_EQ(sheet.DoModal(), tk::IDOK);
    }

    // Clicks Advanced; play acts on the advanced sheet, which then ends with OK or Cancel.
    void Advanced(const std::function<void(tk::PropertySheet&)>& play, bool ok) {
        host.ExpectModal<tk::PropertySheet>([play, ok](tk::PropertySheet& s) {
            play(s);
            if (ok)
                s.PressOK();
            else
                s.PressCancel();
        });
        tk::test::Click(page, ids::IDC_ADVANCED);
    }

    std::unique_ptr<permora::TargetObject> target;
    SecurityPropPage page;
    tk::test::ScriptedHost host;
};

TEST(AdvancedSheetTest, HoldsThePermissionAndAuditingPages) {
    SecurityRun run(kTarget);
    run.Run([&run] {
        run.Advanced(
            [](tk::PropertySheet& s) {
                EXPECT_EQ(s.Title(), "Advanced Security Settings for /vol/vol1/qt1");
                ASSERT_EQ(s.PageCount(), 3);
                ASSERT_NE(dynamic_cast<PermissionPropPage*>(s.Page(0)), nullptr);
                ASSERT_NE(dynamic_cast<AuditingPropPage*>(s.Page(1)), nullptr);
                EXPECT_STREQ(s.Page(0)->Template().caption, "Permissions");
                EXPECT_STREQ(s.Page(1)->Template().caption, "Auditing");
                EXPECT_STREQ(s.Page(2)->Template().caption, "Effective Access");
                EXPECT_EQ(s.ActiveIndex(), 0);
                EXPECT_EQ(s.Page(0)->GetListView(permIds::IDC_ENTRY_LIST).RowCount(), 2);
                tk::test::ClickTab(s, 1);
                tk::ListView audit = s.Page(1)->GetListView(auditIds::IDC_ENTRY_LIST);
                EXPECT_EQ(audit.RowCount(), 2);
                EXPECT_EQ(audit.ColumnCount(), 4);
                tk::test::SavePng(s.ModalWidget(), "auditingproppage-sheet");
                // Coming back rebuilds the columns and rows.
                tk::test::ClickTab(s, 0);
                tk::ListView perm = s.Page(0)->GetListView(permIds::IDC_ENTRY_LIST);
                EXPECT_EQ(perm.ColumnCount(), 4);
                EXPECT_EQ(perm.RowCount(), 2);
            },
            true);
    });
}

TEST(AdvancedSheetTest, OkKeepsTheChangesAndRelistsTheAccounts) {
    SecurityRun run("D:(A;CIOI;0x1200a9;;;Everyone)");
    run.Run([&run] {
        EXPECT_EQ(run.page.CurrentNTAccount(), "Everyone");
        run.Advanced(
            [&run](tk::PropertySheet& s) {
                advtest::ExpectAccount(run.host, "Admins");
                run.host.ExpectModal<tk::PropertySheet>([](tk::PropertySheet& editorSheet) {
                    auto* editor = dynamic_cast<ObjectPermPropPage*>(editorSheet.Page(0));
                    ASSERT_NE(editor, nullptr);
                    tk::test::Click(*editor, editor->BoxId(0, 0)); // Full Control, Allow
                    editorSheet.PressOK();
                });
                tk::test::Click(*s.Page(0), permIds::IDC_ADD);
            },
            true);
        EXPECT_EQ(ListedAccounts(run.page), (std::vector<std::string>{"Admins", "Everyone"}));
        EXPECT_EQ(run.page.GetListBox(ids::IDC_ACCOUNT_LIST).Selection(), 0);
        EXPECT_EQ(run.page.CurrentNTAccount(), "Admins");
        EXPECT_EQ(run.page.Text(ids::IDC_CURRENT_ACCOUNT), "Admins");
        EXPECT_EQ(run.page.Check(ids::IDC_FULL_CONTROL_ALLOW), 1);
    });
    EXPECT_EQ(advtest::DescriptorText(*run.target),
              "D:(A;CIOI;0x1200a9;;;Everyone)(A;CIOI;0x1f01ff;;;Admins)");
}

TEST(AdvancedSheetTest, CancelRestoresTheListsAndControlExactly) {
    for (const bool removeEverything : {false, true}) {
        SCOPED_TRACE(removeEverything ? "everything removed" : "entries edited");
        SecurityRun run(kTarget);
        const std::string before = ToLine(*run.target);
        const std::uint16_t control = run.target->Descriptor->Control;
        run.Run([&run, &before, removeEverything] {
            run.Advanced(
                [&run, &before, removeEverything](tk::PropertySheet& s) {
                    tk::Window& perm = *s.Page(0);
                    if (removeEverything) {
                        SelectAllRows(perm, permIds::IDC_ENTRY_LIST, 2);
                        tk::test::Click(perm, permIds::IDC_REMOVE);
                    } else {
                        run.host.ExpectModal<tk::PropertySheet>([](tk::PropertySheet& e) {
                            auto* editor = dynamic_cast<ObjectPermPropPage*>(e.Page(0));
                            ASSERT_NE(editor, nullptr);
                            tk::test::Click(*editor, editor->BoxId(10, 1)); // Delete, Deny
                            e.PressOK();
                        });
                        tk::test::ClickRow(perm, permIds::IDC_ENTRY_LIST, 1);
                        tk::test::Click(perm, permIds::IDC_EDIT);
                    }
                    tk::test::Click(perm, permIds::IDC_INHERIT);
                    tk::test::ClickTab(s, 1);
                    tk::Window& audit = *s.Page(1);
                    SelectAllRows(audit, auditIds::IDC_ENTRY_LIST, 2);
                    tk::test::Click(audit, auditIds::IDC_REMOVE);
                    tk::test::Click(audit, auditIds::IDC_INHERIT);
                    EXPECT_NE(ToLine(*run.target), before);
                },
                false);
            // The page still shows what it showed, and the restored lists agree with it.
            EXPECT_EQ(ListedAccounts(run.page), (std::vector<std::string>{"Everyone", "Guests"}));
            EXPECT_EQ(run.page.CurrentNTAccount(), "Everyone");
        });
        EXPECT_EQ(ToLine(*run.target), before);
        EXPECT_EQ(run.target->Descriptor->Control, control);
    }
}

TEST(AdvancedSheetTest, OkAfterRemovingEveryPermissionEntryLeavesNoAccount) {
    SecurityRun run(kTarget);
    run.Run([&run] {
        run.Advanced(
            [](tk::PropertySheet& s) {
                SelectAllRows(*s.Page(0), permIds::IDC_ENTRY_LIST, 2);
                tk::test::Click(*s.Page(0), permIds::IDC_REMOVE);
            },
            true);
        EXPECT_TRUE(ListedAccounts(run.page).empty());
        EXPECT_EQ(run.page.CurrentNTAccount(), "");
    });
    // The auditing entries stay; the permission list is no longer present.
    EXPECT_EQ(advtest::DescriptorText(*run.target),
              "S:AR(AU;CIOISA;0x200a9;;;Everyone)(AU;CIOISAFA;0x10000;;;Guests)");
}

} // namespace
