#include "advanced_support.h"

#include "model/target.h"
#include "resources/templates/auditingproppage.h"
#include "resources/templates/objectauditproppage.h"
#include "support/scripted_host.h"
#include "ui/auditingproppage.h"
#include "ui/objectauditproppage.h"
#include "ui/toolkit/window.h"

#include <gtest/gtest.h>

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace ids = res::AuditingPropPage;
namespace editorIds = res::ObjectAuditPropPage;
using advtest::ClickBox;
using advtest::ColumnBoxes;
using advtest::DescriptorText;
using advtest::MakeTarget;
using advtest::Row;
using advtest::Rows;

constexpr int kSuccess = 0;
constexpr int kFailed = 1;

// An entry that audits nothing (it can only come first, from a file), then entries that
// audit failures, successes and both, placed in that order by their audit bits.
constexpr const char* kMixed = "S:(AU;OI;0x1;;;Nobody)(AU;CIOIFA;0x10000;;;Staff)"
                               "(AU;CIOISA;0x200a9;;;Guests)(AU;CISAFA;0x1f01ff;;;Users)";

constexpr char kEditorTitle[] = "Auditing Entry for ";
using AuditingRun = advtest::ListPageRun<AuditingPropPage, ObjectAuditPropPage, kEditorTitle>;

TEST(AuditingPropPageTest, RowsShowTheAuditBitsAsType) {
    AuditingRun run(kMixed);
    run.Run(
        [](AuditingRun& r) {
            tk::ListView list = r.List();
            EXPECT_EQ(
                Rows(list),
                (std::vector<Row>{
                    {"None", "Nobody", "List folder/Read data", "This folder and files"},
                    {"Fail", "Staff", "Delete", "This folder, subfolders and files"},
                    {"Success", "Guests", "Read and Execute", "This folder, subfolders and files"},
                    {"All", "Users", "Full Control", "This folder and subfolders"},
                }));
            EXPECT_EQ(list.SelectedRows(), std::vector<int>{0});
            EXPECT_EQ(list.ColumnHeading(2), "Access");
            const int pad = 12 * tk::SystemMetric(tk::Metric::CxBorder) +
                            tk::SystemMetric(tk::Metric::CxHThumb);
            EXPECT_EQ(list.ColumnWidth(0), list.TextWidth("Success  ") + pad);
            EXPECT_EQ(r.page.Check(ids::IDC_INHERIT), 1);
        },
        "auditingproppage");
}

struct Scenario {
    const char* name;
    const char* before;
    std::function<void(AuditingRun&)> play;
    const char* after;
    std::vector<int> selected;
};

TEST(AuditingPropPageTest, AddEditAndRemoveGoThroughTheAuditRules) {
    const Scenario scenarios[] = {
        {"add audited for success and failure",
         kMixed,
         [](AuditingRun& r) {
             r.Add("Admins", [](auto& e) {
                 ClickBox(e, 10, kSuccess);
                 ClickBox(e, 10, kFailed);
             });
         },
         "S:(AU;OI;0x1;;;Nobody)(AU;CIOIFA;0x10000;;;Staff)(AU;CIOISA;0x200a9;;;Guests)"
         "(AU;CIOISAFA;0x10000;;;Admins)(AU;CISAFA;0x1f01ff;;;Users)",
         {3}},
        {"an entry that audits both is split and folded together again",
         kMixed,
         [](AuditingRun& r) { r.Edit(3, nullptr); },
         kMixed,
         {3}},
        {"an entry that audits nothing stays when left without a box",
         kMixed,
         [](AuditingRun& r) { r.Edit(0, nullptr); },
         kMixed,
         {0}},
        // The new part keeps the code the dialog showed for the entry (this folder and
        // files).
        {"an entry that audits nothing is replaced once a box is checked",
         kMixed,
         [](AuditingRun& r) { r.Edit(0, [](auto& e) { ClickBox(e, 10, kSuccess); }); },
         "S:(AU;CIOIFA;0x10000;;;Staff)(AU;CIOISA;0x200a9;;;Guests)"
         "(AU;OISA;0x10000;;;Nobody)(AU;CISAFA;0x1f01ff;;;Users)",
         {2}},
        {"a failed part added to a success entry",
         kMixed,
         [](AuditingRun& r) { r.Edit(2, [](auto& e) { ClickBox(e, 10, kFailed); }); },
         "S:(AU;OI;0x1;;;Nobody)(AU;CIOIFA;0x10000;;;Staff)(AU;CIOIFA;0x10000;;;Guests)"
         "(AU;CIOISA;0x200a9;;;Guests)(AU;CISAFA;0x1f01ff;;;Users)",
         {2}},
        {"a failure entry unchanged",
         kMixed,
         [](AuditingRun& r) { r.Edit(1, nullptr); },
         kMixed,
         {1}},
        {"the success part of an entry that audits both cleared",
         kMixed,
         [](AuditingRun& r) {
             r.Edit(3, [](auto& e) {
                 ClickBox(e, 0, kSuccess); // unchecked: the rights stay
                 ClickBox(e, 0, kSuccess);
                 ClickBox(e, 1, kSuccess);
             });
         },
         "S:(AU;OI;0x1;;;Nobody)(AU;CIOIFA;0x10000;;;Staff)(AU;CIFA;0x1f01ff;;;Users)"
         "(AU;CIOISA;0x200a9;;;Guests)(AU;CISA;0xf01df;;;Users)",
         {2}},
        {"remove of every kind of row",
         kMixed,
         [](AuditingRun& r) {
             r.SelectRows({0, 1, 2, 3});
             tk::test::Click(r.page, ids::IDC_REMOVE);
         },
         "",
         {}},
        {"remove with a row whose type text does not match",
         kMixed,
         [](AuditingRun& r) {
             r.SelectRows({2, 3});
             r.List().SetCell(3, 0, "Success");
             r.host.ExpectMessage("Error", "Ace item does not match.");
             tk::test::Click(r.page, ids::IDC_REMOVE);
         },
         "S:(AU;OI;0x1;;;Nobody)(AU;CIOIFA;0x10000;;;Staff)(AU;CISAFA;0x1f01ff;;;Users)",
         {0, 2}},
        {"a row without its entry cannot be edited",
         kMixed,
         [](AuditingRun& r) {
             tk::test::ClickRow(r.page, ids::IDC_ENTRY_LIST, 3);
             permora::Acl& sacl = r.target->Descriptor->SaclList;
             sacl.Remove(sacl.Audit.Tail);
             r.host.ExpectMessage("Error", "Cannot find the corresponding ace in SaclList.");
             tk::test::Click(r.page, ids::IDC_EDIT);
         },
         "S:(AU;OI;0x1;;;Nobody)(AU;CIOIFA;0x10000;;;Staff)(AU;CIOISA;0x200a9;;;Guests)",
         {3}},
        {"an audit list added to a target without one",
         "D:(A;CIOI;0x1200a9;;;Everyone)",
         [](AuditingRun& r) {
             EXPECT_EQ(r.List().RowCount(), 0);
             EXPECT_FALSE(r.page.IsEnabled(ids::IDC_EDIT));
             EXPECT_FALSE(r.page.IsEnabled(ids::IDC_REMOVE));
             r.Add("Everyone", [](auto& e) { ClickBox(e, 0, kFailed); });
         },
         "S:(AU;CIOIFA;0xf01ff;;;Everyone)D:(A;CIOI;0x1200a9;;;Everyone)",
         {0}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        AuditingRun run(s.before);
        run.Run([&s](AuditingRun& r) {
            s.play(r);
            EXPECT_EQ(r.List().SelectedRows(), s.selected);
            EXPECT_TRUE(r.host.Done());
        });
        EXPECT_EQ(DescriptorText(*run.target), s.after);
    }
}

TEST(AuditingPropPageTest, InheritanceBoxSetsTheAuditProtectionBits) {
    const advtest::InheritanceCase cases[] = {
        {"unchecked", "S:(AU;CISA;0x1;;;Users)D:AR(A;CIOI;0x1;;;Users)",
         permora::kLevelFileDirectory, 1, "S:P(AU;CISA;0x1;;;Users)D:AR(A;CIOI;0x1;;;Users)"},
        {"checked again", "S:(AU;CISA;0x1;;;Users)", permora::kLevelFileDirectory, 2,
         "S:AR(AU;CISA;0x1;;;Users)"},
        {"Storage", "S:AR(AU;CISA;0x1;;;Users)D:(A;CIOI;0x1;;;Users)", permora::kLevelStorage, 0,
         "S:P(AU;CISA;0x1;;;Users)D:(A;CIOI;0x1;;;Users)"},
    };
    advtest::ExpectInheritanceBox<AuditingRun>(cases);
}

TEST(AuditingPropPageTest, RowTexts) {
    const advtest::RowTextCase cases[] = {
        {{"Users", 0x200A9, 2, 0xC3},
         {"All", "Users", "Read and Execute", "This folder, subfolders and files"}},
        {{"Users", 0x20089, 2, 0x89}, {"Fail", "Users", "Read", "Files only"}},
        {{"Users", 0x116, 2, 0x4B}, {"Success", "Users", "Write", "Subfolders and files only"}},
        {{"Users", 0x1, 2, 0x40}, {"Success", "Users", "List folder/Read data", ""}},
        {{"Users", 0x1, 2, 0x02},
         {"None", "Users", "List folder/Read data", "This folder and subfolders"}},
    };
    advtest::ExpectRowTexts(cases, permora::ListKind::Auditing);
}

} // namespace
