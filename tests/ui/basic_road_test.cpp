// One edit end to end through the main window: a new target with its permissions, an edit
// that is cancelled, and the saved file down to its bytes.

#include "ui/permoradlg.h"

#include "resources/templates/addfiledlg.h"
#include "resources/templates/inputntaccountdlg.h"
#include "resources/templates/permoradlg.h"
#include "resources/templates/securityproppage.h"
#include "support/files.h"
#include "support/scripted_host.h"
#include "template_file/template_file.h"
#include "ui/addfiledlg.h"
#include "ui/inputntaccountdlg.h"
#include "ui/securityproppage.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using tk::test::ReadBytes;
using tk::test::TempDir;
using tk::test::Utf16le;
using tk::test::WriteBytes;

namespace fs = std::filesystem;
namespace main_ids = res::PermoraDlg;
namespace add_ids = res::AddFileDlg;
namespace page_ids = res::SecurityPropPage;

SecurityPropPage& OnlyPage(tk::PropertySheet& sheet) {
    auto* page = dynamic_cast<SecurityPropPage*>(sheet.Page(0));
    EXPECT_NE(page, nullptr);
    return *page;
}

TEST(BasicRoad, AddSetPermissionsEditCancelAndSave) {
    TempDir dir;
    ASSERT_FALSE(dir.Path().empty());
    const std::string file = dir.Path().string() + "/security.conf";
    const std::string line =
        R"x(1,1,"/vol/vol1/qt1",0,"D:(D;CIOI;0x120089;;;LAB\guest)(A;CIOI;0x1200a9;;;Everyone)")x";

    tk::test::ScriptedHost host;
    PermoraDlg window;
    host.ExpectModal<PermoraDlg>([&](PermoraDlg& main) {
        // Add: a path with blanks around it, Storage, OK; in the sheet an account is added
        // and denied Read.
        host.ExpectModal<AddFileDlg>([&](AddFileDlg& add) {
            tk::test::TypeText(add, add_ids::IDC_PATH, "  /vol/vol1/qt1 ");
            tk::test::Click(add, add_ids::IDC_STORAGE);
            host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& sheet) {
                EXPECT_EQ(sheet.Title(), "NTFS Security for/vol/vol1/qt1");
                SecurityPropPage& page = OnlyPage(sheet);
                host.ExpectModal<InputNTAccountDlg>([](InputNTAccountDlg& account) {
                    tk::test::TypeText(account, res::InputNTAccountDlg::IDC_ACCOUNT, "LAB\\guest");
                    tk::test::Click(account, tk::IDOK);
                });
                tk::test::Click(page, page_ids::IDC_ADD);
                EXPECT_EQ(page.Text(page_ids::IDC_CURRENT_ACCOUNT), "LAB\\guest");
                tk::test::Click(page, page_ids::IDC_READ_DENY);
                EXPECT_EQ(page.Check(page_ids::IDC_READ_DENY), 1);
                EXPECT_EQ(page.Check(page_ids::IDC_READ_ALLOW), 0);
                tk::test::SavePng(sheet.ModalWidget(), "securityproppage-road");
                sheet.PressOK();
            });
            tk::test::Click(add, tk::IDOK);
        });
        tk::test::Click(main, main_ids::IDC_ADD);

        ASSERT_EQ(main.Document().Template().Count, 1);
        permora::TargetObject& target = *main.Document().Template().Head;
        EXPECT_EQ(ToLine(target), line);
        tk::ListView list = main.GetListView(main_ids::IDC_TARGET_LIST);
        EXPECT_EQ(list.Cell(0, 0), "/vol/vol1/qt1");
        EXPECT_EQ(list.Cell(0, 2), "Storage");
        EXPECT_TRUE(list.IsSelected(0));
        EXPECT_EQ(main.Text(main_ids::IDC_FILE_LABEL), "Untitled*");
        for (int id : {main_ids::IDC_SAVE_UNICODE, main_ids::IDC_SAVE_UTF8, main_ids::IDC_EDIT,
                       main_ids::IDC_UP, main_ids::IDC_DOWN, main_ids::IDC_REMOVE}) {
            EXPECT_TRUE(main.IsEnabled(id)) << id;
        }

        // Edit: a change, then Cancel; the descriptor is exactly as before.
        host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& sheet) {
            EXPECT_EQ(sheet.Title(), "NTFS Security for /vol/vol1/qt1");
            SecurityPropPage& page = OnlyPage(sheet);
            EXPECT_EQ(page.Text(page_ids::IDC_CURRENT_ACCOUNT), "Everyone");
            tk::test::Click(page, page_ids::IDC_FULL_CONTROL_ALLOW);
            tk::test::Click(page, page_ids::IDC_REMOVE);
            EXPECT_NE(ToLine(target), line);
            sheet.PressCancel();
        });
        tk::test::Click(main, main_ids::IDC_EDIT);
        EXPECT_EQ(ToLine(target), line);
        EXPECT_EQ(target.Descriptor->DaclList.Deny.Count, 1);
        EXPECT_EQ(target.Descriptor->DaclList.Allow.Count, 1);

        // Save Unicode: not over "Untitled" but into a chosen file.
        host.ExpectMessage("Confirm", "Do you want to overwrite  Untitled?", tk::IDNO);
        host.ExpectFileDialog(file);
        tk::test::Click(main, main_ids::IDC_SAVE_UNICODE);
        EXPECT_EQ(main.Text(main_ids::IDC_FILE_LABEL), file);

        tk::test::Click(main, main_ids::IDC_CLOSE);
    });
    window.DoModal();

    EXPECT_EQ(ReadBytes(file), Utf16le("cb56f6f4\r\n" + line + "\r\n"));
}

// Edit takes no step for a target of another style, and a cancelled Add leaves everything.
TEST(BasicRoad, EditOnlyNtfsTargetsAndCancelledAddChangesNothing) {
    tk::test::ScriptedHost host;
    PermoraDlg window;
    host.ExpectModal<PermoraDlg>([&](PermoraDlg& main) {
        auto other =
            std::make_unique<permora::TargetObject>("/vol/vol2", permora::MakeDefaultDescriptor());
        other->SecurityStyle = permora::kStyleNfsV3;
        ASSERT_TRUE(main.Document().Append(std::move(other)));
        main.GetListView(main_ids::IDC_TARGET_LIST).SetSelectedRows({0});
        main.Enable(main_ids::IDC_EDIT, true);
        tk::test::Click(main, main_ids::IDC_EDIT); // no sheet is expected

        host.ExpectModal<AddFileDlg>([&](AddFileDlg& add) {
            tk::test::TypeText(add, add_ids::IDC_PATH, "/vol/vol1/qt1");
            host.ExpectModal<tk::PropertySheet>(
                [](tk::PropertySheet& sheet) { sheet.PressCancel(); });
            tk::test::Click(add, tk::IDOK);
            tk::test::Click(add, tk::IDCANCEL);
        });
        tk::test::Click(main, main_ids::IDC_ADD);
        EXPECT_EQ(main.Document().Template().Count, 1);
        EXPECT_EQ(main.Text(main_ids::IDC_FILE_LABEL), "Untit&led"); // as the window opened
        tk::test::Click(main, main_ids::IDC_CLOSE);
    });
    window.DoModal();
}

} // namespace
