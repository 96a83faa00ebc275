#include "advanced_support.h"

#include "model/target.h"
#include "resources/templates/objectpermproppage.h"
#include "resources/templates/permissionproppage.h"
#include "support/scripted_host.h"
#include "ui/objectpermproppage.h"
#include "ui/permissionproppage.h"
#include "ui/toolkit/window.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <Qt>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace ids = res::PermissionPropPage;
namespace editorIds = res::ObjectPermPropPage;
using advtest::ClickBox;
using advtest::ColumnBoxes;
using advtest::DescriptorText;
using advtest::MakeTarget;
using advtest::Row;
using advtest::Rows;

constexpr int kAllow = 0;
constexpr int kDeny = 1;

// Deny Staff and Guests, then allow Users and Staff.
constexpr const char* kMixed = "D:(D;CIOI;0x10000;;;Staff)(D;CIOI;0x40000;;;Guests)"
                               "(A;CIOI;0x1200a9;;;Users)(A;CIOI;0x1f01ff;;;Staff)";

constexpr char kEditorTitle[] = "Permission Entry for ";
using PermissionRun = advtest::ListPageRun<PermissionPropPage, ObjectPermPropPage, kEditorTitle>;

TEST(PermissionPropPageTest, RowsShowDenyEntriesBeforeAllowEntries) {
    PermissionRun run(kMixed);
    run.Run(
        [](PermissionRun& r) {
            tk::ListView list = r.List();
            EXPECT_EQ(
                Rows(list),
                (std::vector<Row>{
                    {"Deny", "Staff", "Delete", "This folder, subfolders and files"},
                    {"Deny", "Guests", "Change permissions", "This folder, subfolders and files"},
                    {"Allow", "Users", "Read and Execute", "This folder, subfolders and files"},
                    {"Allow", "Staff", "Full Control", "This folder, subfolders and files"},
                }));
            EXPECT_EQ(list.SelectedRows(), std::vector<int>{0});
            EXPECT_TRUE(r.page.IsEnabled(ids::IDC_EDIT));
            EXPECT_TRUE(r.page.IsEnabled(ids::IDC_REMOVE));
            // Neither inheritance bit: the box shows inheritance allowed.
            EXPECT_EQ(r.page.Check(ids::IDC_INHERIT), 1);

            // Row 2 is the allow entry of Users.
            tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 2);
            r.Edit(
                [](ObjectPermPropPage& editor) {
                    EXPECT_EQ(editor.Text(editorIds::IDC_NAME), "Users");
                    EXPECT_EQ(ColumnBoxes(editor, kAllow), "01111000000100");
                    EXPECT_EQ(ColumnBoxes(editor, kDeny), advtest::kNoBoxes);
                },
                false);
        },
        "permissionproppage");
    EXPECT_EQ(DescriptorText(*run.target), kMixed);
}

TEST(PermissionPropPageTest, ColumnsAreSizedFromSampleTexts) {
    PermissionRun run(kMixed);
    run.Run([](PermissionRun& r) {
        tk::ListView list = r.List();
        ASSERT_EQ(list.ColumnCount(), 4);
        const int pad =
            12 * tk::SystemMetric(tk::Metric::CxBorder) + tk::SystemMetric(tk::Metric::CxHThumb);
        EXPECT_EQ(list.ColumnHeading(0), "Type");
        EXPECT_EQ(list.ColumnHeading(1), "Name");
        EXPECT_EQ(list.ColumnHeading(2), "Permission");
        EXPECT_EQ(list.ColumnHeading(3), "Apply To");
        EXPECT_EQ(list.ColumnWidth(0), list.TextWidth("Allow  ") + pad);
        EXPECT_EQ(list.ColumnWidth(2), list.TextWidth("List Folder Contents  ") + pad);
        EXPECT_EQ(list.ColumnWidth(3), list.TextWidth("This folder, subfolders and files  ") + pad);
        EXPECT_EQ(list.ColumnWidth(0) + list.ColumnWidth(1) + list.ColumnWidth(2) +
                      list.ColumnWidth(3),
                  list.ClientWidth());
        // A second activation rebuilds the columns instead of adding to them.
        r.page.OnSetActive();
        EXPECT_EQ(list.ColumnCount(), 4);
        EXPECT_EQ(list.RowCount(), 4);
    });
}

struct Scenario {
    const char* name;
    const char* before;
    std::function<void(PermissionRun&)> play;
    const char* after; // the descriptor text afterwards
    std::vector<int> selected;
    bool editEnabled;
    bool removeEnabled;
};

TEST(PermissionPropPageTest, AddEditAndRemoveChangeTheListAtOnce) {
    const Scenario scenarios[] = {
        {"add with allow boxes only",
         kMixed,
         [](PermissionRun& r) { r.Add("Admins", [](auto& e) { ClickBox(e, 0, kAllow); }); },
         "D:(D;CIOI;0x10000;;;Staff)(D;CIOI;0x40000;;;Guests)(A;CIOI;0x1200a9;;;Users)"
         "(A;CIOI;0x1f01ff;;;Staff)(A;CIOI;0x1f01ff;;;Admins)",
         {4},
         true,
         true},
        {"add selects the first row of the account",
         kMixed,
         [](PermissionRun& r) {
             tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 2);
             r.Add("staff", [](auto& e) { ClickBox(e, 7, kDeny); });
         },
         "D:(D;CIOI;0x10100;;;Staff)(D;CIOI;0x40000;;;Guests)(A;CIOI;0x1200a9;;;Users)"
         "(A;CIOI;0x1f01ff;;;Staff)",
         {0},
         true,
         true},
        {"add with no box checked",
         kMixed,
         [](PermissionRun& r) {
             tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 1);
             r.Add("Admins", nullptr);
         },
         kMixed,
         {1},
         true,
         true},
        {"add of this folder only beside subfolders and files only: the whole tree",
         "D:(A;CIOIIO;0x1f01ff;;;Users)",
         [](PermissionRun& r) {
             r.Add("Users", [](auto& e) {
                 tk::test::SelectComboItem(e, editorIds::IDC_APPLY_ONTO, 0);
                 ClickBox(e, 0, kAllow);
             });
             EXPECT_EQ(Rows(r.List()), (std::vector<Row>{{"Allow", "Users", "Full Control",
                                                          "This folder, subfolders and files"}}));
         },
         "D:(A;CIOI;0x1f01ff;;;Users)",
         {0},
         true,
         true},
        {"add cancelled in the account dialog",
         kMixed,
         [](PermissionRun& r) { r.Add("", nullptr); },
         kMixed,
         {0},
         true,
         true},
        {"add cancelled in the editor",
         kMixed,
         [](PermissionRun& r) {
             r.Add(
                 "Admins", [](auto& e) { ClickBox(e, 0, kAllow); }, false);
         },
         kMixed,
         {0},
         true,
         true},
        {"edit without a change",
         kMixed,
         [](PermissionRun& r) {
             tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 2);
             r.Edit(nullptr);
         },
         kMixed,
         {2},
         true,
         true},
        {"edit that changes only the letter case of the name",
         kMixed,
         [](PermissionRun& r) {
             tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 2);
             r.Edit([](ObjectPermPropPage& e) {
                 tk::test::ClearText(e, editorIds::IDC_NAME);
                 tk::test::TypeText(e, editorIds::IDC_NAME, "USERS");
             });
         },
         kMixed,
         {2},
         true,
         true},
        {"edit that folds the entry into another account's entry",
         kMixed,
         [](PermissionRun& r) {
             tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 2);
             r.Edit([](ObjectPermPropPage& e) {
                 tk::test::ClearText(e, editorIds::IDC_NAME);
                 tk::test::TypeText(e, editorIds::IDC_NAME, "Staff");
             });
         },
         "D:(D;CIOI;0x10000;;;Staff)(D;CIOI;0x40000;;;Guests)(A;CIOI;0x1f01ff;;;Staff)",
         {0},
         true,
         true},
        {"edit that takes a right away",
         kMixed,
         [](PermissionRun& r) {
             tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 3);
             r.Edit([](auto& e) { ClickBox(e, 10, kAllow); });
         },
         "D:(D;CIOI;0x10000;;;Staff)(D;CIOI;0x40000;;;Guests)(A;CIOI;0x1200a9;;;Users)"
         "(A;CIOI;0x1e01ff;;;Staff)",
         {0},
         true,
         true},
        {"edit that changes the apply-onto choice",
         kMixed,
         [](PermissionRun& r) {
             tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 1);
             r.Edit([](auto& e) { tk::test::SelectComboItem(e, editorIds::IDC_APPLY_ONTO, 6); });
         },
         "D:(D;CIOI;0x10000;;;Staff)(D;OIIO;0x40000;;;Guests)(A;CIOI;0x1200a9;;;Users)"
         "(A;CIOI;0x1f01ff;;;Staff)",
         {1},
         true,
         true},
        {"edit that empties the entry",
         kMixed,
         [](PermissionRun& r) {
             tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 1);
             r.Edit([](auto& e) { tk::test::Click(e, editorIds::IDC_CLEAR_ALL); });
         },
         "D:(D;CIOI;0x10000;;;Staff)(A;CIOI;0x1200a9;;;Users)(A;CIOI;0x1f01ff;;;Staff)",
         {0},
         true,
         true},
        {"edit that empties the last entry",
         "D:(A;CIOI;0x1200a9;;;Users)",
         [](PermissionRun& r) {
             r.Edit([](auto& e) { tk::test::Click(e, editorIds::IDC_CLEAR_ALL); });
         },
         "",
         {},
         false,
         false},
        {"remove of three rows, one of which does not match its entry",
         kMixed,
         [](PermissionRun& r) {
             r.SelectRows({0, 2, 3});
             r.List().SetCell(2, 1, "Nobody");
             r.host.ExpectMessage("Error", "Ace item does not match.");
             tk::test::Click(r.page, ids::IDC_REMOVE);
             EXPECT_EQ(
                 Rows(r.List()),
                 (std::vector<Row>{
                     {"Deny", "Guests", "Change permissions", "This folder, subfolders and files"},
                     {"Allow", "Nobody", "Read and Execute", "This folder, subfolders and files"},
                 }));
         },
         "D:(D;CIOI;0x40000;;;Guests)(A;CIOI;0x1200a9;;;Users)",
         {0, 1},
         false,
         true},
        {"a type text that differs in letter case does not match",
         kMixed,
         [](PermissionRun& r) {
             r.SelectRows({1});
             r.List().SetCell(1, 0, "deny");
             r.host.ExpectMessage("Error", "Ace item does not match.");
             tk::test::Click(r.page, ids::IDC_REMOVE);
         },
         kMixed,
         {1},
         true,
         true},
        {"the Delete key removes the selected rows",
         kMixed,
         [](PermissionRun& r) {
             r.SelectRows({1, 3});
             tk::test::PressKey(r.page, ids::IDC_ENTRY_LIST, Qt::Key_Delete);
         },
         "D:(D;CIOI;0x10000;;;Staff)(A;CIOI;0x1200a9;;;Users)",
         {0},
         false,
         true},
        {"two rows clicked disable Edit; Remove removes both",
         kMixed,
         [](PermissionRun& r) {
             r.SelectRows({0, 1});
             EXPECT_FALSE(r.page.IsEnabled(ids::IDC_EDIT));
             EXPECT_TRUE(r.page.IsEnabled(ids::IDC_REMOVE));
             tk::test::Click(r.page, ids::IDC_REMOVE);
         },
         "D:(A;CIOI;0x1200a9;;;Users)(A;CIOI;0x1f01ff;;;Staff)",
         {0},
         false,
         true},
        {"removing every row makes the list absent",
         kMixed,
         [](PermissionRun& r) {
             r.SelectRows({0, 1, 2, 3});
             tk::test::Click(r.page, ids::IDC_REMOVE);
             EXPECT_EQ(r.List().RowCount(), 0);
             EXPECT_FALSE(r.page.IsEnabled(ids::IDC_EDIT));
             EXPECT_FALSE(r.page.IsEnabled(ids::IDC_REMOVE));
         },
         "",
         {},
         false,
         false},
        {"an entry added to an absent list makes it present again",
         kMixed,
         [](PermissionRun& r) {
             r.SelectRows({0, 1, 2, 3});
             tk::test::Click(r.page, ids::IDC_REMOVE);
             r.Add("Admins", [](auto& e) { ClickBox(e, 2, kAllow); });
         },
         "D:(A;CIOI;0x1;;;Admins)",
         {0},
         true,
         true},
        {"a row without its entry cannot be edited",
         kMixed,
         [](PermissionRun& r) {
             tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 3);
             permora::Acl& dacl = r.target->Descriptor->DaclList;
             dacl.Remove(dacl.Allow.Tail); // behind the page's back
             r.host.ExpectMessage("Error", "Cannot find the corresponding ace in DaclList.");
             tk::test::Click(r.page, ids::IDC_EDIT);
         },
         "D:(D;CIOI;0x10000;;;Staff)(D;CIOI;0x40000;;;Guests)(A;CIOI;0x1200a9;;;Users)",
         {3},
         true,
         true},
        {"remove stops at a row without its entry",
         kMixed,
         [](PermissionRun& r) {
             r.SelectRows({2, 3});
             permora::Acl& dacl = r.target->Descriptor->DaclList;
             dacl.Remove(dacl.Allow.Tail);
             r.host.ExpectMessage("Error", "Cannot find the ace.");
             tk::test::Click(r.page, ids::IDC_REMOVE);
         },
         "D:(D;CIOI;0x10000;;;Staff)(D;CIOI;0x40000;;;Guests)(A;CIOI;0x1200a9;;;Users)",
         {2, 3},
         false,
         true},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        PermissionRun run(s.before);
        run.Run([&s](PermissionRun& r) {
            s.play(r);
            EXPECT_EQ(r.List().SelectedRows(), s.selected);
            EXPECT_EQ(r.page.IsEnabled(ids::IDC_EDIT), s.editEnabled);
            EXPECT_EQ(r.page.IsEnabled(ids::IDC_REMOVE), s.removeEnabled);
            EXPECT_TRUE(r.host.Done());
        });
        EXPECT_EQ(DescriptorText(*run.target), s.after);
    }
}

TEST(PermissionPropPageTest, ListClickSetsEditAndRemove) {
    PermissionRun run(kMixed);
    run.Run([](PermissionRun& r) {
        r.SelectRows({0, 1});
        EXPECT_FALSE(r.page.IsEnabled(ids::IDC_EDIT));
        EXPECT_TRUE(r.page.IsEnabled(ids::IDC_REMOVE));
        tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 3);
        EXPECT_TRUE(r.page.IsEnabled(ids::IDC_EDIT));
        EXPECT_TRUE(r.page.IsEnabled(ids::IDC_REMOVE));
        // With several rows selected (Edit is disabled then, but the handler still runs
        // when asked) Edit takes the lowest one.
        tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 1, true);
        r.ExpectEditor(
            [](ObjectPermPropPage& e) { EXPECT_EQ(e.Text(editorIds::IDC_NAME), "Guests"); }, false);
        r.page.OnEdit();
    });
}

TEST(PermissionPropPageTest, InheritanceBoxSetsTheProtectionBits) {
    const advtest::InheritanceCase cases[] = {
        {"neither bit shows inheritance allowed", "D:(A;CIOI;0x1;;;Users)",
         permora::kLevelFileDirectory, 0, "D:(A;CIOI;0x1;;;Users)", 1, true},
        {"protected shows it unchecked", "D:P(A;CIOI;0x1;;;Users)", permora::kLevelFileDirectory, 0,
         "D:P(A;CIOI;0x1;;;Users)", 0, true},
        {"unchecking protects the list", "D:AR(A;CIOI;0x1;;;Users)", permora::kLevelFileDirectory,
         1, "D:P(A;CIOI;0x1;;;Users)", 0, true},
        {"checking again asks for inheritance", "D:(A;CIOI;0x1;;;Users)",
         permora::kLevelFileDirectory, 2, "D:AR(A;CIOI;0x1;;;Users)", 1, true},
        {"Storage is always protected", "D:AR(A;CIOI;0x1;;;Users)", permora::kLevelStorage, 0,
         "D:P(A;CIOI;0x1;;;Users)", 0, false},
        {"the auditing bits stay", "S:AR(AU;CISA;0x1;;;Users)D:(A;CIOI;0x1;;;Users)",
         permora::kLevelFileDirectory, 1, "S:AR(AU;CISA;0x1;;;Users)D:P(A;CIOI;0x1;;;Users)", 0,
         true},
    };
    advtest::ExpectInheritanceBox<PermissionRun>(cases);
}

TEST(PermissionPropPageTest, RowTexts) {
    const advtest::RowTextCase cases[] = {
        {{"Users", 0x1F01FF, 0, 0x00}, {"Allow", "Users", "Full Control", ""}},
        {{"Users", 0x100116, 1, 0x04}, {"Deny", "Users", "Write", "This folder only"}},
        {{"Users", 0x3, 0, 0x0B}, {"Allow", "Users", "Special", "Subfolders and files only"}},
        // Permission entries name their whole flags byte.
        {{"Users", 0x1, 0, 0x42}, {"Allow", "Users", "List folder/Read data", ""}},
    };
    advtest::ExpectRowTexts(cases, permora::ListKind::Permissions);
}

TEST(PermissionPropPageTest, EntriesAtFindsSeveralPositionsInOneWalk) {
    auto target = MakeTarget(kMixed);
    const permora::Acl& dacl = target->Descriptor->DaclList;
    constexpr permora::ListKind kPermissions = permora::ListKind::Permissions;
    const std::vector<permora::Ace*> found = EntriesAt(dacl, kPermissions, {-1, 0, 2, 2, 3, 4});
    const std::vector<permora::Ace*> expected = {nullptr,
                                                 dacl.EntryAt(0, kPermissions),
                                                 dacl.EntryAt(2, kPermissions),
                                                 dacl.EntryAt(2, kPermissions),
                                                 dacl.EntryAt(3, kPermissions),
                                                 nullptr};
    EXPECT_EQ(found, expected);
}

} // namespace
