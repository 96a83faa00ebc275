#include "ui/securityproppage.h"

#include "model/target.h"
#include "resources/templates/inputntaccountdlg.h"
#include "resources/templates/securityproppage.h"
#include "support/scripted_host.h"
#include "template_file/template_file.h"
#include "ui/inputntaccountdlg.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace ids = res::SecurityPropPage;
using permora::boxes::BoxStates;

constexpr const char* kNoMask = "Current ace does not have any Masks. It should be deleted.";
constexpr const char* kBadFlags =
    "Current aceflags is NOT CIOI. You must miss some flag combination.";
constexpr const char* kFullControl = "There are more other aces other than FullControl?";
constexpr const char* kCannotFind = "Cannot find the ACE to be modified.";
constexpr const char* kCannotFindModifyDeny = "Cannot find the ACE to be modified";

// Placeholder for a mask of 0 in a table: the lists refuse empty masks, so such an entry is
// entered with this mask and emptied afterwards, as an entry emptied in place would be.
constexpr std::uint32_t kZeroMaskMarker = 0x40000000;

void ZeroMarkedMasks(permora::AceList& entries) {
    for (permora::Ace* entry = entries.Head; entry != nullptr; entry = entry->Next) {
        if (entry->Mask == kZeroMaskMarker) {
            entry->Mask = 0;
        }
    }
}

// A target whose descriptor is read from descriptor text, as a template file gives it.
std::unique_ptr<permora::TargetObject> MakeTarget(std::string descriptor) {
    for (std::size_t at = descriptor.find(";0x0;"); at != std::string::npos;
         at = descriptor.find(";0x0;")) {
        descriptor.replace(at, 5, ";0x40000000;");
    }
    auto target =
        std::make_unique<permora::TargetObject>("/vol/vol1/qt1", permora::MakeDefaultDescriptor());
    std::vector<std::string> messages;
    EXPECT_EQ(permora::ReadDescriptor(descriptor, *target->Descriptor,
                                      [&](const std::string& m) { messages.push_back(m); }),
              permora::ReadStatus::Read);
    EXPECT_TRUE(messages.empty()) << descriptor;
    ZeroMarkedMasks(target->Descriptor->DaclList.Allow);
    ZeroMarkedMasks(target->Descriptor->DaclList.Deny);
    return target;
}

// The permission entries as the file writes them: deny entries, then allow entries.
std::string Entries(const permora::TargetObject& target) {
    const permora::Acl& dacl = target.Descriptor->DaclList;
    return ToSddl(dacl.Deny) + ToSddl(dacl.Allow);
}

// The fourteen boxes in short: "A:" and the checked Allow rows, " D:" and the checked Deny
// rows, each row by its letter (Full control, Modify, read and eXecute, List folder, Read,
// Write, Special); "" when nothing is checked.
std::string Describe(const BoxStates& boxes) {
    constexpr const char* kLetters = "FMXLRWS";
    std::string allow;
    std::string deny;
    for (std::size_t row = 0; row < boxes.allow.size(); ++row) {
        if (boxes.allow[row]) {
            allow += kLetters[row];
        }
        if (boxes.deny[row]) {
            deny += kLetters[row];
        }
    }
    std::string text;
    if (!allow.empty()) {
        text = "A:" + allow;
    }
    if (!deny.empty()) {
        text += (text.empty() ? "D:" : " D:") + deny;
    }
    return text;
}

std::vector<std::string> ListedAccounts(const SecurityPropPage& page) {
    tk::ListBox list = page.GetListBox(ids::IDC_ACCOUNT_LIST);
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) {
        names.push_back(list.Text(i));
    }
    return names;
}

bool StandardBoxesEnabled(const SecurityPropPage& page) {
    for (int id : {ids::IDC_FULL_CONTROL_ALLOW, ids::IDC_FULL_CONTROL_DENY, ids::IDC_MODIFY_ALLOW,
                   ids::IDC_MODIFY_DENY, ids::IDC_READ_EXECUTE_ALLOW, ids::IDC_READ_EXECUTE_DENY,
                   ids::IDC_LIST_FOLDER_ALLOW, ids::IDC_LIST_FOLDER_DENY, ids::IDC_READ_ALLOW,
                   ids::IDC_READ_DENY, ids::IDC_WRITE_ALLOW, ids::IDC_WRITE_DENY}) {
        if (!page.IsEnabled(id)) {
            return false;
        }
    }
    return true;
}

// Runs the security sheet on the target with the page; messages the page shows when it
// first becomes active are expected before the play runs.
void RunSheet(tk::test::ScriptedHost& host, SecurityPropPage& page,
              const std::vector<std::string>& activationMessages,
              const std::function<void(tk::PropertySheet&)>& play, bool ok = false) {
    tk::PropertySheet sheet("NTFS Security for /vol/vol1/qt1");
    sheet.AddPage(&page);
    host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& shown) {
        play(shown);
        if (ok) {
            shown.PressOK();
        } else {
            shown.PressCancel();
        }
    });
    for (const std::string& message : activationMessages) {
        host.ExpectMessage("Error", message);
    }
    sheet.DoModal();
}

void ExpectAccountDialog(tk::test::ScriptedHost& host, const std::string& name) {
    host.ExpectModal<InputNTAccountDlg>([name](InputNTAccountDlg& dialog) {
        tk::test::TypeText(dialog, res::InputNTAccountDlg::IDC_ACCOUNT, name);
        tk::test::Click(dialog, tk::IDOK);
    });
}

// ---------------------------------------------------------------------------------------
// What the boxes show for an account's entries.

struct ShowCase {
    const char* name;
    const char* entries; // descriptor text; "Bob" is the first listed account
    const char* boxes;
    std::vector<std::string> messages;
};

class SecurityPropPageShow : public ::testing::TestWithParam<ShowCase> {};

TEST_P(SecurityPropPageShow, DerivesTheFourteenBoxes) {
    const ShowCase& c = GetParam();
    tk::test::ScriptedHost host;
    auto target = MakeTarget(c.entries);
    SecurityPropPage page(*target);
    RunSheet(host, page, c.messages, [&](tk::PropertySheet&) {
        EXPECT_EQ(page.CurrentNTAccount(), "Bob");
        EXPECT_EQ(page.Text(ids::IDC_CURRENT_ACCOUNT), "Bob");
        EXPECT_EQ(Describe(page.ShownBoxes()), c.boxes);
        EXPECT_TRUE(StandardBoxesEnabled(page));
        EXPECT_FALSE(page.IsEnabled(ids::IDC_SPECIAL_ALLOW));
        EXPECT_FALSE(page.IsEnabled(ids::IDC_SPECIAL_DENY));
    });
    EXPECT_EQ(page.ReleaseTarget(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, SecurityPropPageShow,
    ::testing::Values(
        ShowCase{"DefaultEntry", "D:(A;CIOI;0x1200a9;;;Bob)", "A:XLR", {}},
        ShowCase{"FullControl", "D:(A;CIOI;0x1f01ff;;;Bob)", "A:FMXLRW", {}},
        ShowCase{"FullControlWithoutSynchronize", "D:(A;CIOI;0xf01ff;;;Bob)", "A:MXLRW", {}},
        ShowCase{"ModifyAllowedWriteDenied",
                 "D:(D;CIOI;0x100116;;;Bob)(A;CIOI;0x1301bf;;;Bob)",
                 "A:MXLR D:W",
                 {}},
        ShowCase{"DenyWinsOverAllow",
                 "D:(D;CIOI;0x120089;;;Bob)(A;CIOI;0x1200a9;;;Bob)",
                 "A:XL D:R",
                 {}},
        ShowCase{"FurtherBitsShowOnlyCoveredRows", "D:(A;CIOI;0x1200ab;;;Bob)", "A:XLR", {}},
        ShowCase{"MaskCoveringNoRowAllow", "D:(A;CIOI;0x100001;;;Bob)", "A:S", {}},
        ShowCase{"MaskCoveringNoRowDeny", "D:(D;CIOI;0x40000;;;Bob)", "D:S", {}},
        ShowCase{"FoldersOnlyListFolder", "D:(D;CI;0x1200a9;;;Bob)", "D:L", {}},
        ShowCase{"FoldersOnlyFullControl", "D:(D;CI;0x1f01ff;;;Bob)", "D:LS", {}},
        ShowCase{"FoldersOnlyCoveringNoRow", "D:(A;CI;0x100116;;;Bob)", "A:S", {}},
        ShowCase{"FoldersOnlyBesideDeny",
                 "D:(D;CIOI;0x100116;;;Bob)(A;CI;0x1200a9;;;Bob)",
                 "A:L D:W",
                 {}},
        ShowCase{"FilesOnlyWithoutFolders", "D:(A;OI;0x1200a9;;;Bob)", "A:S", {}},
        ShowCase{"ThisFolderOnly", "D:(A;NP;0x1f01ff;;;Bob)", "A:S", {}},
        ShowCase{"InheritOnly", "D:(A;CIOIIO;0x1f01ff;;;Bob)", "A:S", {}},
        ShowCase{"InheritOnlyFoldersDeny", "D:(D;CIIO;0x1200a9;;;Bob)", "D:S", {}},
        ShowCase{"OtherAccountsNotShown",
                 "D:(D;CIOI;0x1f01ff;;;Zed)(A;CIOI;0x1200a9;;;Bob)(A;CIOI;0x116;;;Zed)",
                 "A:XLR",
                 {}},
        ShowCase{"FlagsNoRuleAccepts", "D:(A;NPCIOI;0x1200a9;;;Bob)", "", {kBadFlags}},
        ShowCase{"AuditBitsInPermissionEntry", "D:(A;CIOISA;0x1200a9;;;Bob)", "", {kBadFlags}},
        ShowCase{"EmptyMask", "D:(A;CIOI;0x0;;;Bob)", "", {kNoMask}},
        ShowCase{"BothMessagesAllowFirst",
                 "D:(D;NPCIOI;0x1200a9;;;Bob)(D;CIOI;0x116;;;Bob)(A;CIOI;0x0;;;Bob)"
                 "(A;CI;0x1200a9;;;Bob)",
                 "A:L D:W",
                 {kNoMask, kBadFlags}}),
    [](const ::testing::TestParamInfo<ShowCase>& param) { return param.param.name; });

// ---------------------------------------------------------------------------------------
// Clicks on the twelve standard boxes.

struct ClickStep {
    int box;
    bool checked;             // the state the click gives the box, which its handler reads
    const char* entriesAfter; // deny entries, then allow entries
    const char* boxesAfter;
    const char* message = nullptr;
    bool stale = false; // the box shows the other state before the click, without a refresh
    // After an error message every box is drawn again from the lists, the clicked one too.
};

struct ClickCase {
    const char* name;
    const char* entries;
    std::vector<ClickStep> steps;
};

class SecurityPropPageClick : public ::testing::TestWithParam<ClickCase> {};

TEST_P(SecurityPropPageClick, ChangesTheEntriesAndShowsThem) {
    const ClickCase& c = GetParam();
    tk::test::ScriptedHost host;
    auto target = MakeTarget(c.entries);
    const std::uint16_t control = target->Descriptor->Control;
    SecurityPropPage page(*target);
    RunSheet(host, page, {}, [&](tk::PropertySheet&) {
        ASSERT_EQ(page.CurrentNTAccount(), "Bob");
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const ClickStep& step = c.steps[i];
            SCOPED_TRACE("step " + std::to_string(i + 1) + ", box " + std::to_string(step.box));
            if (step.stale) {
                page.SetCheck(step.box, step.checked ? 0 : 1);
            }
            if (step.message != nullptr) {
                host.ExpectMessage("Error", step.message);
            }
            tk::test::Click(page, step.box);
            EXPECT_EQ(Entries(*target), step.entriesAfter);
            EXPECT_EQ(Describe(page.ShownBoxes()), step.boxesAfter);
            EXPECT_TRUE(host.Done());
        }
    });
    // The clicks never touch the control bits, even when the last entry goes.
    EXPECT_EQ(target->Descriptor->Control, control);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, SecurityPropPageClick,
    ::testing::Values(
        // Full Control on and off, then Modify and Write off, on the default entry.
        ClickCase{"FullControlOnOffModifyOffWriteOff",
                  "D:(D;CIOI;0x1200a9;;;Zed)(A;CIOI;0x1200a9;;;Bob)",
                  {{ids::IDC_FULL_CONTROL_ALLOW, true,
                    "(D;CIOI;0x1200a9;;;Zed)(A;CIOI;0x1f01ff;;;Bob)", "A:FMXLRW"},
                   {ids::IDC_FULL_CONTROL_ALLOW, false,
                    "(D;CIOI;0x1200a9;;;Zed)(A;CIOI;0x1301bf;;;Bob)", "A:MXLRW"},
                   {ids::IDC_MODIFY_ALLOW, false, "(D;CIOI;0x1200a9;;;Zed)(A;CIOI;0x1201bf;;;Bob)",
                    "A:XLRW"},
                   {ids::IDC_WRITE_ALLOW, false, "(D;CIOI;0x1200a9;;;Zed)(A;CIOI;0x1200a9;;;Bob)",
                    "A:XLR"}}},
        ClickCase{"FullControlAllowCreatesEntryAndClearsDeny",
                  "D:(D;CIOI;0x100116;;;Bob)(D;CI;0x1200a9;;;Bob)",
                  {{ids::IDC_FULL_CONTROL_ALLOW, true, "(A;CIOI;0x1f01ff;;;Bob)", "A:FMXLRW"}}},
        ClickCase{"FullControlAllowOnFoldersOnlyEntryKeepsItsFlags",
                  "D:(A;CI;0x1200a9;;;Bob)",
                  {{ids::IDC_FULL_CONTROL_ALLOW, true, "(A;CI;0x1f01ff;;;Bob)", "A:LS"}}},
        ClickCase{"FullControlAllowOffWhenFoldersOnlyEntryComesFirst",
                  "D:(A;CI;0x1000000;;;Bob)(A;CIOI;0x1f01ff;;;Bob)",
                  {{ids::IDC_FULL_CONTROL_ALLOW, false,
                    "(A;CI;0x1000000;;;Bob)(A;CIOI;0x1f01ff;;;Bob)", "A:FMXLRWS", kFullControl}}},
        ClickCase{"FullControlDenyOnLeavesOtherAccounts",
                  "D:(A;CIOI;0x1200a9;;;Bob)(A;CIOI;0x1200a9;;;Zed)",
                  {{ids::IDC_FULL_CONTROL_DENY, true,
                    "(D;CIOI;0x1f01ff;;;Bob)(A;CIOI;0x1200a9;;;Zed)", "D:FMXLRW"}}},
        ClickCase{"FullControlDenyOff",
                  "D:(D;CIOI;0x1f01ff;;;Bob)",
                  {{ids::IDC_FULL_CONTROL_DENY, false, "(D;CIOI;0x1301bf;;;Bob)", "D:MXLRW"}}},
        ClickCase{"FullControlDenyOffWithFurtherBits",
                  "D:(D;CIOI;0x11f01ff;;;Bob)",
                  {{ids::IDC_FULL_CONTROL_DENY, false, "(D;CIOI;0x11f01ff;;;Bob)", "D:FMXLRW",
                    kFullControl}}},
        ClickCase{"ModifyAllowWithoutSynchronizeTakenFromDeny",
                  "D:(D;CIOI;0x120089;;;Bob)",
                  {{ids::IDC_MODIFY_ALLOW, true, "(A;CIOI;0x301bf;;;Bob)", "A:MXLRW"}}},
        ClickCase{"ModifyDenyWithSynchronizeTakenFromAllow",
                  "D:(A;CIOI;0x1200a9;;;Bob)",
                  {{ids::IDC_MODIFY_DENY, true, "(D;CIOI;0x1301bf;;;Bob)", "D:MXLRW"}}},
        ClickCase{"ModifyDenyOff",
                  "D:(D;CIOI;0x1301bf;;;Bob)",
                  {{ids::IDC_MODIFY_DENY, false, "(D;CIOI;0x1201bf;;;Bob)", "D:XLRW"}}},
        ClickCase{
            "ModifyAllowOffWithoutEntry",
            "D:(A;CI;0x1200a9;;;Bob)",
            {{ids::IDC_MODIFY_ALLOW, false, "(A;CI;0x1200a9;;;Bob)", "A:L", kCannotFind, true}}},
        ClickCase{"ModifyDenyOffWithoutEntry",
                  "D:(A;CIOI;0x1200a9;;;Bob)",
                  {{ids::IDC_MODIFY_DENY, false, "(A;CIOI;0x1200a9;;;Bob)", "A:XLR",
                    kCannotFindModifyDeny, true}}},
        ClickCase{"ReadExecuteAllowOnLeavesUnrelatedDeny",
                  "D:(D;CIOI;0x100116;;;Bob)",
                  {{ids::IDC_READ_EXECUTE_ALLOW, true,
                    "(D;CIOI;0x100116;;;Bob)(A;CIOI;0x200a9;;;Bob)", "A:XLR D:W"}}},
        ClickCase{"ReadExecuteAllowOffKeepsFolderListing",
                  "D:(A;CIOI;0x1200a9;;;Bob)",
                  {{ids::IDC_READ_EXECUTE_ALLOW, false,
                    "(A;CIOI;0x120089;;;Bob)(A;CI;0x1200a9;;;Bob)", "A:LR"}}},
        ClickCase{"ReadExecuteDenyOnEmptiesAllow",
                  "D:(A;CIOI;0x1200a9;;;Bob)",
                  {{ids::IDC_READ_EXECUTE_DENY, true, "(D;CIOI;0x1200a9;;;Bob)", "D:XLR"}}},
        ClickCase{"ReadExecuteDenyOff",
                  "D:(D;CIOI;0x1200a9;;;Bob)",
                  {{ids::IDC_READ_EXECUTE_DENY, false,
                    "(D;CIOI;0x120089;;;Bob)(D;CI;0x1200a9;;;Bob)", "D:LR"}}},
        ClickCase{"ReadExecuteDenyOffWithoutEntry",
                  "D:(D;CI;0x1200a9;;;Bob)",
                  {{ids::IDC_READ_EXECUTE_DENY, false, "(D;CI;0x1200a9;;;Bob)", "D:L", kCannotFind,
                    true}}},
        ClickCase{"ListFolderAllowOnEmptiesDeny",
                  "D:(D;CIOI;0x1200a9;;;Bob)",
                  {{ids::IDC_LIST_FOLDER_ALLOW, true, "(A;CI;0x1200a9;;;Bob)", "A:L"}}},
        ClickCase{"ListFolderDenyOnTakesReadFromModify",
                  "D:(A;CIOI;0x1301bf;;;Bob)",
                  {{ids::IDC_LIST_FOLDER_DENY, true, "(D;CI;0x1200a9;;;Bob)(A;CIOI;0x100116;;;Bob)",
                    "A:W D:L"}}},
        ClickCase{"ListFolderAllowOffTakesBothEntries",
                  "D:(A;CIOI;0x120089;;;Bob)(A;CI;0x1200a9;;;Bob)",
                  {{ids::IDC_LIST_FOLDER_ALLOW, false, "(A;CIOI;0x120089;;;Bob)", "A:R"}}},
        ClickCase{"ListFolderDenyOff",
                  "D:(D;CIOI;0x1200a9;;;Bob)",
                  {{ids::IDC_LIST_FOLDER_DENY, false, "(D;CIOI;0x120089;;;Bob)", "D:R"}}},
        ClickCase{"ListFolderDenyOffWithoutEntry",
                  "D:(A;CIOI;0x1200a9;;;Bob)",
                  {{ids::IDC_LIST_FOLDER_DENY, false, "(A;CIOI;0x1200a9;;;Bob)", "A:XLR",
                    kCannotFind, true}}},
        // An entry of other places with the click's own mask is joined into one that
        // reaches them all, and shows as the standard box.
        ClickCase{"ListFolderAllowJoinsFilesOnlyIntoTheWholeTree",
                  "D:(A;OIIO;0x1200a9;;;Bob)",
                  {{ids::IDC_LIST_FOLDER_ALLOW, true, "(A;CIOI;0x1200a9;;;Bob)", "A:XLR"}}},
        ClickCase{"ReadAllowCoversThisFolderOnly",
                  "D:(A;NP;0x120089;;;Bob)",
                  {{ids::IDC_READ_ALLOW, true, "(A;CIOI;0x120089;;;Bob)", "A:R"}}},
        ClickCase{"ReadAllowOnEmptiesDeny",
                  "D:(D;CIOI;0x1200a9;;;Bob)",
                  {{ids::IDC_READ_ALLOW, true, "(A;CIOI;0x120089;;;Bob)", "A:R"}}},
        ClickCase{"ReadDenyOnEmptiesAllow",
                  "D:(A;CIOI;0x1200a9;;;Bob)",
                  {{ids::IDC_READ_DENY, true, "(D;CIOI;0x120089;;;Bob)", "D:R"}}},
        ClickCase{"ReadAllowOffKeepsFolderListing",
                  "D:(A;CIOI;0x1200a9;;;Bob)",
                  {{ids::IDC_READ_ALLOW, false, "(A;CI;0x1200a9;;;Bob)", "A:L"}}},
        ClickCase{"ReadDenyOffRemovesLastEntry",
                  "D:(D;CIOI;0x120089;;;Bob)",
                  {{ids::IDC_READ_DENY, false, "", ""}}},
        ClickCase{
            "ReadAllowOffWithoutEntry",
            "D:(A;CI;0x1200a9;;;Bob)",
            {{ids::IDC_READ_ALLOW, false, "(A;CI;0x1200a9;;;Bob)", "A:L", kCannotFind, true}}},
        ClickCase{"WriteAllowOnTakesWriteFromModify",
                  "D:(D;CIOI;0x1301bf;;;Bob)",
                  {{ids::IDC_WRITE_ALLOW, true, "(D;CIOI;0x1200a9;;;Bob)(A;CIOI;0x100116;;;Bob)",
                    "A:W D:XLR"}}},
        ClickCase{"WriteDenyOnTakesWriteFromModify",
                  "D:(A;CIOI;0x1301bf;;;Bob)",
                  {{ids::IDC_WRITE_DENY, true, "(D;CIOI;0x100116;;;Bob)(A;CIOI;0x1200a9;;;Bob)",
                    "A:XLR D:W"}}},
        ClickCase{"WriteDenyOffRemovesLastEntry",
                  "D:(D;CIOI;0x100116;;;Bob)",
                  {{ids::IDC_WRITE_DENY, false, "", ""}}},
        ClickCase{
            "WriteDenyOffWithoutEntry",
            "D:(A;CIOI;0x1200a9;;;Bob)",
            {{ids::IDC_WRITE_DENY, false, "(A;CIOI;0x1200a9;;;Bob)", "A:XLR", kCannotFind, true}}}),
    [](const ::testing::TestParamInfo<ClickCase>& param) { return param.param.name; });

// ---------------------------------------------------------------------------------------
// The account list.

// Accounts are listed once each, sorted, whole names compared without regard to case: a name
// that begins another one is listed beside it and can be added beside it.
TEST(SecurityPropPageAccounts, ListsEveryAccountOnceSortedAndAddsNewOnes) {
    tk::test::ScriptedHost host;
    auto target = MakeTarget("D:(D;CIOI;0x1f01ff;;;Administrators)(A;CIOI;0x1200a9;;;zeta)"
                             "(A;CIOI;0x1200a9;;;Admin)(A;CIOI;0x116;;;beta)"
                             "(A;CIOI;0x40000;;;ADMINISTRATORS)");
    SecurityPropPage page(*target);
    RunSheet(host, page, {}, [&](tk::PropertySheet&) {
        using Names = std::vector<std::string>;
        EXPECT_EQ(ListedAccounts(page), (Names{"Admin", "Administrators", "beta", "zeta"}));
        tk::ListBox list = page.GetListBox(ids::IDC_ACCOUNT_LIST);
        EXPECT_EQ(list.Selection(), 0);
        EXPECT_EQ(page.Text(ids::IDC_CURRENT_ACCOUNT), "Admin");
        EXPECT_EQ(Describe(page.ShownBoxes()), "A:XLR");

        tk::test::ClickRow(page, ids::IDC_ACCOUNT_LIST, 1);
        EXPECT_EQ(page.CurrentNTAccount(), "Administrators");
        EXPECT_EQ(page.Text(ids::IDC_CURRENT_ACCOUNT), "Administrators");
        EXPECT_EQ(Describe(page.ShownBoxes()), "A:S D:FMXLRW");

        // A listed name, in other letters: nothing changes.
        const std::string before = Entries(*target);
        ExpectAccountDialog(host, "admin");
        tk::test::Click(page, ids::IDC_ADD);
        EXPECT_EQ(Entries(*target), before);
        EXPECT_EQ(ListedAccounts(page).size(), 4u);
        EXPECT_EQ(page.CurrentNTAccount(), "Administrators");

        // A name that begins two listed ones is new.
        ExpectAccountDialog(host, "Adm");
        tk::test::Click(page, ids::IDC_ADD);
        EXPECT_EQ(ListedAccounts(page), (Names{"Adm", "Admin", "Administrators", "beta", "zeta"}));
        EXPECT_EQ(list.Selection(), 0);
        EXPECT_EQ(page.CurrentNTAccount(), "Adm");
        EXPECT_EQ(page.Text(ids::IDC_CURRENT_ACCOUNT), "Adm");
        EXPECT_EQ(Describe(page.ShownBoxes()), "A:XLR");
        EXPECT_EQ(Entries(*target), before + "(A;CIOI;0x1200a9;;;Adm)");

        // A cancelled account dialog changes nothing.
        host.ExpectModal<InputNTAccountDlg>(
            [](InputNTAccountDlg& dialog) { tk::test::Click(dialog, tk::IDCANCEL); });
        tk::test::Click(page, ids::IDC_ADD);
        EXPECT_EQ(ListedAccounts(page).size(), 5u);
    });
}

// Remove takes every permission entry of the account and keeps its auditing entries; down to
// an empty list, the boxes go dark until Add brings an account back.
TEST(SecurityPropPageAccounts, RemovesDownToAnEmptyListAndAddsAgain) {
    tk::test::ScriptedHost host;
    auto target = MakeTarget("S:(AU;CIOISAFA;0x200a9;;;Staff)"
                             "D:(D;CIOI;0x100116;;;Staff)(A;CIOI;0x1200a9;;;Everyone)"
                             "(A;CIOI;0x1f01ff;;;Staff)");
    SecurityPropPage page(*target);
    RunSheet(host, page, {}, [&](tk::PropertySheet& sheet) {
        using Names = std::vector<std::string>;
        tk::ListBox list = page.GetListBox(ids::IDC_ACCOUNT_LIST);
        EXPECT_EQ(page.CurrentNTAccount(), "Everyone");

        tk::test::Click(page, ids::IDC_REMOVE);
        EXPECT_EQ(ListedAccounts(page), (Names{"Staff"}));
        EXPECT_EQ(list.Selection(), 0);
        EXPECT_EQ(page.Text(ids::IDC_CURRENT_ACCOUNT), "Staff");
        EXPECT_EQ(Describe(page.ShownBoxes()), "A:FMXLR D:W");

        tk::test::Click(page, ids::IDC_REMOVE);
        EXPECT_TRUE(ListedAccounts(page).empty());
        EXPECT_EQ(page.CurrentNTAccount(), "");
        EXPECT_EQ(page.Text(ids::IDC_CURRENT_ACCOUNT), "");
        EXPECT_FALSE(page.IsEnabled(ids::IDC_REMOVE));
        EXPECT_FALSE(StandardBoxesEnabled(page));
        EXPECT_FALSE(page.IsEnabled(ids::IDC_SPECIAL_LABEL));
        EXPECT_EQ(Describe(page.ShownBoxes()), "");
        EXPECT_EQ(ToLine(*target),
                  R"x(1,0,"/vol/vol1/qt1",0,"S:(AU;CIOISAFA;0x200a9;;;Staff)D:")x");
        tk::test::SavePng(sheet.ModalWidget(), "securityproppage-empty");

        ExpectAccountDialog(host, "Guests");
        tk::test::Click(page, ids::IDC_ADD);
        EXPECT_EQ(ListedAccounts(page), (Names{"Guests"}));
        EXPECT_EQ(list.Selection(), 0);
        EXPECT_TRUE(page.IsEnabled(ids::IDC_REMOVE));
        EXPECT_TRUE(StandardBoxesEnabled(page));
        EXPECT_TRUE(page.IsEnabled(ids::IDC_SPECIAL_LABEL));
        EXPECT_EQ(Describe(page.ShownBoxes()), "A:XLR");
        EXPECT_EQ(
            ToLine(*target),
            R"x(1,0,"/vol/vol1/qt1",0,"S:(AU;CIOISAFA;0x200a9;;;Staff)D:(A;CIOI;0x1200a9;;;Guests)")x");
    });
}

// A target read from a line without a "D:" part: nothing is listed until Add, which makes the
// permission list present so that the account stays listed and is written to the file.
TEST(SecurityPropPageAccounts, TargetWithoutPermissionList) {
    tk::test::ScriptedHost host;
    auto target = MakeTarget("S:(AU;CIOISAFA;0x200a9;;;Everyone)");
    ASSERT_EQ(target->Descriptor->Control & permora::SE_DACL_PRESENT, 0);
    SecurityPropPage page(*target);
    RunSheet(host, page, {}, [&](tk::PropertySheet&) {
        EXPECT_TRUE(ListedAccounts(page).empty());
        EXPECT_EQ(page.Text(ids::IDC_CURRENT_ACCOUNT), "");
        EXPECT_FALSE(StandardBoxesEnabled(page));
        EXPECT_TRUE(page.IsEnabled(ids::IDC_REMOVE));

        // Remove on the empty list removes nothing and goes dark.
        tk::test::Click(page, ids::IDC_REMOVE);
        EXPECT_FALSE(page.IsEnabled(ids::IDC_REMOVE));
        EXPECT_FALSE(StandardBoxesEnabled(page));

        ExpectAccountDialog(host, "Everyone");
        tk::test::Click(page, ids::IDC_ADD);
        EXPECT_EQ(page.CurrentNTAccount(), "Everyone");
        EXPECT_TRUE(StandardBoxesEnabled(page));
        EXPECT_EQ(Describe(page.ShownBoxes()), "A:XLR");
        EXPECT_EQ(
            ToLine(*target),
            R"x(1,0,"/vol/vol1/qt1",0,"S:(AU;CIOISAFA;0x200a9;;;Everyone)D:(A;CIOI;0x1200a9;;;Everyone)")x");

        // The next activation lists it.
        page.FillAccountList();
        EXPECT_EQ(ListedAccounts(page), std::vector<std::string>{"Everyone"});
        EXPECT_EQ(Describe(page.ShownBoxes()), "A:XLR");
    });
}

// Accounts that come back to an empty list (here through the advanced sheet's OK) can be
// edited and removed at once.
TEST(SecurityPropPageAccounts, AccountsBackFromTheAdvancedSheetEnableTheBoxes) {
    tk::test::ScriptedHost host;
    auto target = MakeTarget("D:(A;CIOI;0x1200a9;;;Staff)");
    SecurityPropPage page(*target);
    RunSheet(host, page, {}, [&](tk::PropertySheet&) {
        tk::test::Click(page, ids::IDC_REMOVE);
        ASSERT_FALSE(StandardBoxesEnabled(page));
        ASSERT_FALSE(page.IsEnabled(ids::IDC_REMOVE));
        host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& advanced) {
            auto entry = std::make_unique<permora::Ace>("Guests", permora::kAllowType);
            target->Descriptor->DaclList.Add(std::move(entry));
            advanced.PressOK();
        });
        tk::test::Click(page, ids::IDC_ADVANCED);
        EXPECT_EQ(ListedAccounts(page), std::vector<std::string>{"Guests"});
        EXPECT_EQ(page.CurrentNTAccount(), "Guests");
        EXPECT_TRUE(StandardBoxesEnabled(page));
        EXPECT_TRUE(page.IsEnabled(ids::IDC_REMOVE));
        EXPECT_EQ(Describe(page.ShownBoxes()), "A:XLR");
    });
}

// The page owns a target given to it until it is released, and destroys one it still holds.
TEST(SecurityPropPageAccounts, OwnsItsTargetUntilReleased) {
    auto target = MakeTarget("D:(A;CIOI;0x1200a9;;;Everyone)");
    permora::TargetObject* raw = target.get();
    {
        SecurityPropPage page(std::move(target));
        EXPECT_EQ(page.Target(), raw);
        target = page.ReleaseTarget();
        EXPECT_EQ(page.Target(), nullptr);
        EXPECT_EQ(page.ReleaseTarget(), nullptr);
    }
    ASSERT_EQ(target.get(), raw);
    SecurityPropPage holder(std::move(target)); // destroyed with the page; the leak check
    EXPECT_EQ(holder.Target(), raw);            // of the sanitizer build watches it
}

// A page for a target with allow and deny entries, to be looked at.
TEST(SecurityPropPageAccounts, Picture) {
    tk::test::ScriptedHost host;
    auto target = MakeTarget("D:(D;CIOI;0x100116;;;LAB\\guest)(A;CIOI;0x1200a9;;;Everyone)"
                             "(A;CIOI;0x1301bf;;;LAB\\admins)(A;CIOI;0x1200a9;;;LAB\\guest)");
    SecurityPropPage page(*target);
    RunSheet(host, page, {}, [&](tk::PropertySheet& sheet) {
        tk::test::ClickRow(page, ids::IDC_ACCOUNT_LIST, 2);
        EXPECT_EQ(page.CurrentNTAccount(), "LAB\\guest");
        EXPECT_EQ(Describe(page.ShownBoxes()), "A:XLR D:W");
        tk::test::SavePng(sheet.ModalWidget(), "securityproppage");
    });
}

} // namespace
