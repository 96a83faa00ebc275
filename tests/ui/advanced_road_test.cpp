// One import end to end through the main window: a file is imported, an auditing entry and
// a permission entry are edited in the advanced sheet, and the template is saved in both
// encodings, down to the bytes.

#include "ui/permoradlg.h"

#include "resources/templates/auditingproppage.h"
#include "resources/templates/permissionproppage.h"
#include "resources/templates/permoradlg.h"
#include "resources/templates/securityproppage.h"
#include "support/files.h"
#include "support/scripted_host.h"
#include "template_file/template_file.h"
#include "ui/objectauditproppage.h"
#include "ui/objectpermproppage.h"
#include "ui/securityproppage.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace {

using tk::test::ReadBytes;
using tk::test::TempDir;
using tk::test::Utf16le;
using tk::test::WriteBytes;

namespace fs = std::filesystem;
namespace main_ids = res::PermoraDlg;
namespace page_ids = res::SecurityPropPage;
namespace perm_ids = res::PermissionPropPage;
namespace audit_ids = res::AuditingPropPage;

// Edits the entry of a row in an entry list page; edit acts on the open editor.
template <class Editor>
void EditRow(tk::test::ScriptedHost& host, tk::Window& page, int row,
             const std::function<void(Editor&)>& edit) {
    host.ExpectModal<tk::PropertySheet>([edit](tk::PropertySheet& sheet) {
        auto* editor = dynamic_cast<Editor*>(sheet.Page(0));
        ASSERT_NE(editor, nullptr);
        edit(*editor);
        sheet.PressOK();
    });
    tk::test::ClickRow(page, perm_ids::IDC_ENTRY_LIST, row);
    tk::test::Click(page, perm_ids::IDC_EDIT);
}

TEST(AdvancedRoad, ImportEditEntriesInTheAdvancedSheetAndSaveBothEncodings) {
    TempDir dir;
    ASSERT_FALSE(dir.Path().empty());
    const std::string unicodeFile = dir.Path().string() + "/security.conf";
    const std::string eightBitFile = dir.Path().string() + "/security-8bit.conf";
    const std::string edited =
        R"x(1,0,"/vol/vol1/qt1",0,"S:(AU;CIOIFA;0x10000;;;Everyone)(AU;CIOISA;0x200a9;;;Everyone))x"
        R"x((AU;CIOISAFA;0x10000;;;LAB\guest)D:P(D;CIOI;0x10000;;;LAB\guest))x"
        R"x((A;CIOI;0x1201a9;;;Everyone)")x";
    const std::string untouched = R"x(1,1,"/vol/vol2",0,"D:(A;CIOI;0x1f01ff;;;LAB\admins)")x";

    tk::test::ScriptedHost host;
    PermoraDlg window;
    host.ExpectModal<PermoraDlg>([&](PermoraDlg& main) {
        host.ExpectFileDialog(std::string(PERMORA_FIXTURES_DIR) + "/advanced-import.conf");
        tk::test::Click(main, main_ids::IDC_IMPORT);
        ASSERT_EQ(main.Document().Template().Count, 2);
        permora::TargetObject& target = *main.Document().Template().Head;

        host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& sheet) {
            auto* page = dynamic_cast<SecurityPropPage*>(sheet.Page(0));
            ASSERT_NE(page, nullptr);
            host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& advanced) {
                EXPECT_EQ(advanced.Title(), "Advanced Security Settings for /vol/vol1/qt1");
                // Write Attributes allowed for Everyone (row 1: the allow entry).
                EditRow<ObjectPermPropPage>(host, *advanced.Page(0), 1,
                                            [](ObjectPermPropPage& editor) {
                                                EXPECT_EQ(editor.AllowAce->NTAccount, "Everyone");
                                                tk::test::Click(editor, editor.BoxId(7, 0));
                                            });
                tk::test::SavePng(advanced.ModalWidget(), "advanced-road-permissions");
                // Failed deletes audited for Everyone too (row 0: its success entry).
                tk::test::ClickTab(advanced, 1);
                EditRow<ObjectAuditPropPage>(host, *advanced.Page(1), 0,
                                             [](ObjectAuditPropPage& editor) {
                                                 EXPECT_EQ(editor.SuccessAce->Mask, 0x200A9u);
                                                 tk::test::Click(editor, editor.BoxId(10, 1));
                                             });
                tk::test::SavePng(advanced.ModalWidget(), "advanced-road-auditing");
                advanced.PressOK();
            });
            tk::test::Click(*page, page_ids::IDC_ADVANCED);
            EXPECT_EQ(page->Text(page_ids::IDC_CURRENT_ACCOUNT), "Everyone");
            sheet.PressOK();
        });
        tk::test::Click(main, main_ids::IDC_EDIT);
        EXPECT_EQ(ToLine(target), edited);

        // Save Unicode into a file of our choice, then Save UTF8 into another.
        host.ExpectMessage("Confirm", "Do you want to overwrite  Untitled?", tk::IDNO);
        host.ExpectFileDialog(unicodeFile);
        tk::test::Click(main, main_ids::IDC_SAVE_UNICODE);
        host.ExpectMessage("Confirm", "Do you want to overwrite " + unicodeFile + "?", tk::IDNO);
        host.ExpectFileDialog(eightBitFile);
        tk::test::Click(main, main_ids::IDC_SAVE_UTF8);
        tk::test::Click(main, main_ids::IDC_CLOSE);
    });
    window.DoModal();

    const std::string text = "cb56f6f4\r\n" + edited + "\r\n" + untouched + "\r\n";
    EXPECT_EQ(ReadBytes(unicodeFile), Utf16le(text));
    EXPECT_EQ(ReadBytes(eightBitFile), text);
}

} // namespace
