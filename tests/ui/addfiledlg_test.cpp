#include "ui/addfiledlg.h"

#include "resources/templates/addfiledlg.h"
#include "resources/templates/securityproppage.h"
#include "support/scripted_host.h"
#include "template_file/template_file.h"
#include "ui/securityproppage.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

namespace ids = res::AddFileDlg;

// Runs the dialog with the play; returns what it ended with.
int RunAddFileDlg(tk::test::ScriptedHost& host, AddFileDlg& dialog,
                  const std::function<void(AddFileDlg&)>& play) {
    host.ExpectModal<AddFileDlg>(play);
    return dialog.DoModal();
}

SecurityPropPage& OnlyPage(tk::PropertySheet& sheet) {
    EXPECT_EQ(sheet.PageCount(), 1);
    auto* page = dynamic_cast<SecurityPropPage*>(sheet.Page(0));
    EXPECT_NE(page, nullptr);
    return *page;
}

TEST(AddFileDlg, StartsWithNtfsAndFileDirectoryAndOkDisabled) {
    tk::test::ScriptedHost host;
    AddFileDlg dialog;
    RunAddFileDlg(host, dialog, [](AddFileDlg& shown) {
        EXPECT_EQ(shown.Title(), "Add a File or Folder to the template");
        EXPECT_EQ(shown.Check(ids::IDC_NTFS), 1);
        EXPECT_FALSE(shown.IsEnabled(ids::IDC_NTFS));
        EXPECT_FALSE(shown.IsShown(ids::IDC_NFS_V4));
        EXPECT_FALSE(shown.IsShown(ids::IDC_NFS_V3));
        EXPECT_EQ(shown.Check(ids::IDC_FILE_DIRECTORY), 1);
        EXPECT_EQ(shown.Check(ids::IDC_STORAGE), 0);
        EXPECT_FALSE(shown.IsEnabled(tk::IDOK));
        EXPECT_TRUE(shown.IsEnabled(tk::IDCANCEL));
        tk::test::SavePng(shown.Widget(), "addfiledlg");
        tk::test::Click(shown, tk::IDCANCEL);
    });
    EXPECT_EQ(dialog.Result(), tk::IDCANCEL);
    EXPECT_EQ(dialog.ResultTarget, nullptr);
}

// OK is enabled while the edit box holds text; the radio buttons never disable it.
TEST(AddFileDlg, OkFollowsTheEditBox) {
    enum class Act { Type, Clear, Storage, FileDirectory };
    struct Step {
        Act act;
        bool okAfter;
    };
    const std::vector<Step> steps = {
        {Act::Storage, false}, {Act::Type, true},     {Act::FileDirectory, true},
        {Act::Clear, false},   {Act::Storage, false}, {Act::FileDirectory, false},
        {Act::Type, true},     {Act::Storage, true},  {Act::Clear, false},
        {Act::Type, true},
    };
    tk::test::ScriptedHost host;
    AddFileDlg dialog;
    RunAddFileDlg(host, dialog, [&](AddFileDlg& shown) {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            switch (steps[i].act) {
            case Act::Type:
                tk::test::TypeText(shown, ids::IDC_PATH, "/vol/a");
                break;
            case Act::Clear:
                tk::test::ClearText(shown, ids::IDC_PATH);
                break;
            case Act::Storage:
                tk::test::Click(shown, ids::IDC_STORAGE);
                break;
            case Act::FileDirectory:
                tk::test::Click(shown, ids::IDC_FILE_DIRECTORY);
                break;
            }
            EXPECT_EQ(shown.IsEnabled(tk::IDOK), steps[i].okAfter) << "step " << i + 1;
        }
        tk::test::Click(shown, tk::IDCANCEL);
    });
}

TEST(AddFileDlg, TrimsThePathAndHandsOverTheConfirmedTarget) {
    tk::test::ScriptedHost host;
    AddFileDlg dialog;
    const int result = RunAddFileDlg(host, dialog, [&](AddFileDlg& shown) {
        tk::test::TypeText(shown, ids::IDC_PATH, "  /vol/vol1/qt1  ");
        tk::test::Click(shown, ids::IDC_STORAGE);
        host.ExpectModal<tk::PropertySheet>([](tk::PropertySheet& sheet) {
            EXPECT_EQ(sheet.Title(), "NTFS Security for/vol/vol1/qt1");
            SecurityPropPage& page = OnlyPage(sheet);
            ASSERT_NE(page.Target(), nullptr);
            EXPECT_EQ(page.Target()->Path, "/vol/vol1/qt1");
            EXPECT_EQ(page.Text(res::SecurityPropPage::IDC_CURRENT_ACCOUNT), "Everyone");
            sheet.PressOK();
        });
        tk::test::Click(shown, tk::IDOK);
    });
    EXPECT_EQ(result, tk::IDOK);
    std::unique_ptr<permora::TargetObject> target = dialog.TakeResultTarget();
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->SecurityStyle, permora::kStyleNtfs);
    EXPECT_EQ(target->SecurityLevel, permora::kLevelStorage);
    EXPECT_EQ(target->Mode, 0);
    EXPECT_EQ(ToLine(*target), R"x(1,1,"/vol/vol1/qt1",0,"D:(A;CIOI;0x1200a9;;;Everyone)")x");
}

// A rejected path, a blank one and a cancelled sheet all leave the dialog open with what the
// user typed; Cancel then closes it without a target.
TEST(AddFileDlg, StaysOpenUntilASheetIsConfirmed) {
    tk::test::ScriptedHost host;
    AddFileDlg dialog;
    const int result = RunAddFileDlg(host, dialog, [&](AddFileDlg& shown) {
        tk::test::TypeText(shown, ids::IDC_PATH, "   ");
        ASSERT_TRUE(shown.IsEnabled(tk::IDOK));
        tk::test::Click(shown, tk::IDOK); // blank: nothing at all
        EXPECT_FALSE(shown.IsEnded());

        tk::test::ClearText(shown, ids::IDC_PATH);
        tk::test::TypeText(shown, ids::IDC_PATH, "/home/x");
        host.ExpectMessage("Error", "Invalid File Path");
        tk::test::Click(shown, tk::IDOK);
        EXPECT_FALSE(shown.IsEnded());
        EXPECT_EQ(shown.Text(ids::IDC_PATH), "/home/x");

        tk::test::ClearText(shown, ids::IDC_PATH);
        tk::test::TypeText(shown, ids::IDC_PATH, "/vol/vol1/qt1");
        host.ExpectModal<tk::PropertySheet>([](tk::PropertySheet& sheet) {
            EXPECT_EQ(sheet.Title(), "NTFS Security for/vol/vol1/qt1");
            sheet.PressCancel();
        });
        tk::test::Click(shown, tk::IDOK);
        EXPECT_FALSE(shown.IsEnded());
        EXPECT_EQ(shown.Text(ids::IDC_PATH), "/vol/vol1/qt1");
        EXPECT_TRUE(shown.IsEnabled(tk::IDOK));
        EXPECT_EQ(shown.ResultTarget, nullptr);

        tk::test::Click(shown, tk::IDCANCEL);
    });
    EXPECT_EQ(result, tk::IDCANCEL);
    EXPECT_EQ(dialog.ResultTarget, nullptr);
    ASSERT_EQ(host.Messages().size(), 1u);
}

} // namespace
