#include "ui/inputntaccountdlg.h"

#include "resources/templates/inputntaccountdlg.h"
#include "ui/support/scripted_host.h"

#include <gtest/gtest.h>

#include <QTest>

#include <string>

namespace {

namespace ids = res::InputNTAccountDlg;
using tk::test::Click;
using tk::test::ScriptedHost;
using tk::test::TypeText;

struct AccountCase {
    const char* name;
    const char* typed;   // typed key by key into the empty field
    bool accepted;       // OK ends the dialog; otherwise "Invalid Account Name" and Cancel
    const char* account; // NTAccount after OK
};

const AccountCase kAccountCases[] = {
    {"bare_name", "Everyone", true, "Everyone"},
    {"domain_and_account", "BUILTIN\\Administrators", true, "BUILTIN\\Administrators"},
    {"full_stops_and_hyphens_in_the_domain", "sales.eu-1\\svc_backup", true,
     "sales.eu-1\\svc_backup"},
    {"one_letter_parts", "a\\b", true, "a\\b"},
    {"underscores_in_both_parts", "my_domain\\my_user", true, "my_domain\\my_user"},
    {"blanks_around_are_trimmed", "   Everyone  ", true, "Everyone"},
    {"letter_case_as_typed", "bUiLtIn\\uSeRs", true, "bUiLtIn\\uSeRs"},
    {"only_blanks", "   ", false, ""},
    {"leading_backslash", "\\Administrators", false, ""},
    {"trailing_backslash", "BUILTIN\\", false, ""},
    {"two_backslashes", "a\\b\\c", false, ""},
    {"two_backslashes_in_a_row", "BUILTIN\\\\Users", false, ""},
    {"blank_inside", "Domain Users", false, ""},
    {"full_stop_in_the_account", "john.doe", false, ""},
    {"letter_outside_ascii", "Jos\xC3\xA9", false, ""},
};

class AccountEntryTest : public ::testing::TestWithParam<AccountCase> {};

// The user types the name and clicks OK. A refused name leaves the dialog open with the
// text as typed; the user then cancels.
TEST_P(AccountEntryTest, TypedNameIsAcceptedOrRefused) {
    const AccountCase& c = GetParam();
    ScriptedHost host;
    InputNTAccountDlg dlg;
    host.ExpectModal<InputNTAccountDlg>([&](InputNTAccountDlg& d) {
        EXPECT_FALSE(d.IsEnabled(ids::IDC_OK));
        TypeText(d, ids::IDC_ACCOUNT, c.typed);
        EXPECT_TRUE(d.IsEnabled(ids::IDC_OK));
        Click(d, ids::IDC_OK);
        if (c.accepted)
            return;
        EXPECT_FALSE(d.IsEnded()) << "a refused name keeps the dialog open";
        EXPECT_EQ(d.Text(ids::IDC_ACCOUNT), c.typed);
        EXPECT_TRUE(d.IsEnabled(ids::IDC_OK));
        EXPECT_EQ(d.NTAccount, "");
        Click(d, ids::IDC_CANCEL);
    });
    if (!c.accepted)
        host.ExpectMessage("Error", "Invalid Account Name");

    EXPECT_EQ(dlg.DoModal(), c.accepted ? tk::IDOK : tk::IDCANCEL);
    EXPECT_EQ(dlg.NTAccount, c.account);
    if (!c.accepted) {
        ASSERT_EQ(host.Messages().size(), 1u);
        EXPECT_EQ(host.Messages()[0].type, tk::MB_OK);
    }
}

INSTANTIATE_TEST_SUITE_P(AccountNames, AccountEntryTest, ::testing::ValuesIn(kAccountCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(InputNTAccountDlgTest, OkWaitsForTheFirstChangeAndThenStaysEnabled) {
    ScriptedHost host;
    InputNTAccountDlg dlg;
    host.ExpectModal<InputNTAccountDlg>([&](InputNTAccountDlg& d) {
        Click(d, ids::IDC_OK); // disabled: nothing happens
        EXPECT_FALSE(d.IsEnded());
        QTest::keyClick(d.Control(ids::IDC_ACCOUNT), Qt::Key_Return); // neither does Enter
        EXPECT_FALSE(d.IsEnded());
        EXPECT_FALSE(d.IsEnabled(ids::IDC_OK));

        TypeText(d, ids::IDC_ACCOUNT, "x");
        tk::test::ClearText(d, ids::IDC_ACCOUNT);
        EXPECT_EQ(d.Text(ids::IDC_ACCOUNT), "");
        EXPECT_TRUE(d.IsEnabled(ids::IDC_OK)) << "emptying the field does not disable OK";
        Click(d, ids::IDC_OK); // an empty name is refused with the message

        TypeText(d, ids::IDC_ACCOUNT, "Staff");
        QTest::keyClick(d.Control(ids::IDC_ACCOUNT), Qt::Key_Return); // Enter presses OK
    });
    host.ExpectMessage("Error", "Invalid Account Name");
    EXPECT_EQ(dlg.DoModal(), tk::IDOK);
    EXPECT_EQ(dlg.NTAccount, "Staff");
}

TEST(InputNTAccountDlgTest, EscapeAndTheCloseBoxCancelWithoutChecks) {
    for (const bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "close box");
        ScriptedHost host;
        InputNTAccountDlg dlg;
        host.ExpectModal<InputNTAccountDlg>([&](InputNTAccountDlg& d) {
            TypeText(d, ids::IDC_ACCOUNT, "not valid\\");
            if (escape)
                QTest::keyClick(d.Control(ids::IDC_ACCOUNT), Qt::Key_Escape);
            else
                d.Widget()->close();
        });
        EXPECT_EQ(dlg.DoModal(), tk::IDCANCEL);
        EXPECT_EQ(dlg.NTAccount, "");
        EXPECT_TRUE(host.Messages().empty());
    }
}

TEST(InputNTAccountDlgTest, Picture) {
    ScriptedHost host;
    InputNTAccountDlg dlg;
    host.ExpectModal<InputNTAccountDlg>([&](InputNTAccountDlg& d) {
        EXPECT_EQ(d.Title(), "Enter User, Group or Computer Account");
        TypeText(d, ids::IDC_ACCOUNT, "BUILTIN\\Administrators");
        tk::test::SavePng(d.Widget(), "inputntaccountdlg");
        Click(d, ids::IDC_CANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), tk::IDCANCEL);
}

} // namespace
