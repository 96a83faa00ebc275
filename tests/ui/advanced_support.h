#pragma once

// Helpers shared by the tests of the advanced pages: targets made from descriptor text, the
// check boxes of an entry editor as a string of 0 and 1, row 0 first, and the runs of the
// twin list pages and editors in their sheets, with the checks both list pages share.

#include "model/target.h"
#include "resources/templates/entryeditorpage.h"
#include "resources/templates/entrylistpage.h"
#include "resources/templates/inputntaccountdlg.h"
#include "support/scripted_host.h"
#include "template_file/template_file.h"
#include "ui/entryeditorpage.h"
#include "ui/entrylistpage.h"
#include "ui/inputntaccountdlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace advtest {

// A target whose descriptor is read from text such as "D:(A;CIOI;0x1200a9;;;Everyone)".
inline std::unique_ptr<permora::TargetObject> MakeTarget(const std::string& descriptor,
                                                         int level = permora::kLevelFileDirectory,
                                                         std::string path = "/vol/vol1/qt1") {
    auto target =
        std::make_unique<permora::TargetObject>(std::move(path), permora::MakeDefaultDescriptor());
    target->SecurityLevel = level;
    std::vector<std::string> messages;
    const permora::ReadStatus status = permora::ReadDescriptor(
        descriptor, *target->Descriptor,
        [&messages](const std::string& message) { messages.push_back(message); });
    EXPECT_EQ(status, permora::ReadStatus::Read) << descriptor;
    EXPECT_TRUE(messages.empty()) << descriptor << ": " << (messages.empty() ? "" : messages[0]);
    return target;
}

// The descriptor part of a target's line: the text between the fourth comma's quotes.
inline std::string DescriptorText(const permora::TargetObject& target) {
    const std::string line = ToLine(target);
    const std::size_t open = line.find(",\"", line.find("\","));
    if (open == std::string::npos || line.size() < open + 3)
        return line;
    return line.substr(open + 2, line.size() - open - 3);
}

// "01111000000100": the boxes of one column, row 0 (Full Control) first.
inline std::string ColumnBoxes(const EntryEditorPage& page, int column) {
    std::string boxes;
    for (int row = 0; row < EntryEditorPage::kRowCount; ++row)
        boxes += page.Check(page.BoxId(row, column)) != 0 ? '1' : '0';
    return boxes;
}

inline constexpr const char* kNoBoxes = "00000000000000";

template <class Editor> void ClickBox(Editor& editor, int row, int column) {
    tk::test::Click(editor, editor.BoxId(row, column));
}

// The texts of one row of an entry list, cell by cell.
using Row = std::vector<std::string>;

// The texts of every row of a list view.
inline std::vector<Row> Rows(const tk::ListView& list) {
    std::vector<Row> rows;
    for (int row = 0; row < list.RowCount(); ++row) {
        Row cells;
        for (int column = 0; column < list.ColumnCount(); ++column)
            cells.push_back(list.Cell(row, column));
        rows.push_back(std::move(cells));
    }
    return rows;
}

// The next account dialog: name typed and accepted, or the dialog cancelled when name is
// empty.
inline void ExpectAccount(tk::test::ScriptedHost& host, const std::string& name) {
    host.ExpectModal<InputNTAccountDlg>([name](InputNTAccountDlg& dialog) {
        if (name.empty()) {
            tk::test::Click(dialog, res::InputNTAccountDlg::IDC_CANCEL);
            return;
        }
        tk::test::TypeText(dialog, res::InputNTAccountDlg::IDC_ACCOUNT, name);
        tk::test::Click(dialog, res::InputNTAccountDlg::IDC_OK);
    });
}

// An entry list page of a target in a sheet of its own, played by a scripted host; its Add
// and Edit open an Editor in a sheet titled kEditorTitle and the target's path.
template <class Page, class Editor, const char* kEditorTitle> struct ListPageRun {
    explicit ListPageRun(const std::string& descriptor, int level = permora::kLevelFileDirectory)
        : target(MakeTarget(descriptor, level)), page(*target) {}

    // Opens the sheet; play acts on the open page, then the sheet ends with OK.
    void Run(const std::function<void(ListPageRun&)>& play, const std::string& png = {}) {
        tk::PropertySheet sheet("Advanced Security Settings for " + target->Path);
        sheet.AddPage(&page);
        host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& s) {
            play(*this);
            if (!png.empty())
                tk::test::SavePng(s.ModalWidget(), png);
            s.PressOK();
        });
        EXPECT_EQ(sheet.DoModal(), tk::IDOK);
    }

    tk::ListView List() const { return page.GetListView(res::EntryListPage::IDC_ENTRY_LIST); }

    void SelectRows(const std::vector<int>& rows) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            tk::test::ClickRow(page, res::EntryListPage::IDC_ENTRY_LIST, rows[i], i > 0);
    }

    // The next editor sheet: its title is checked, play acts on the editor, then OK or
    // Cancel.
    void ExpectEditor(const std::function<void(Editor&)>& play, bool ok = true) {
        host.ExpectModal<tk::PropertySheet>([this, play, ok](tk::PropertySheet& s) {
            EXPECT_EQ(s.Title(), kEditorTitle + target->Path);
            auto* editor = dynamic_cast<Editor*>(s.Page(0));
            ASSERT_NE(editor, nullptr);
            if (play)
                play(*editor);
            if (ok)
                s.PressOK();
            else
                s.PressCancel();
        });
    }

    // Add: the account dialog answered with name (cancelled when empty), then the editor.
    void Add(const std::string& name, const std::function<void(Editor&)>& play, bool ok = true) {
        ExpectAccount(host, name);
        if (!name.empty())
            ExpectEditor(play, ok);
        tk::test::Click(page, res::EntryListPage::IDC_ADD);
    }

    // Edit on the selected row, or on the row clicked first.
    void Edit(const std::function<void(Editor&)>& play, bool ok = true) {
        ExpectEditor(play, ok);
        tk::test::Click(page, res::EntryListPage::IDC_EDIT);
    }
    void Edit(int row, const std::function<void(Editor&)>& play) {
        tk::test::ClickRow(page, res::EntryListPage::IDC_ENTRY_LIST, row);
        Edit(play);
    }

    std::unique_ptr<permora::TargetObject> target;
    Page page;
    tk::test::ScriptedHost host;
};

// The inheritance box of a list page: clicked some times on a target read from before, then
// the target written as after. When checked is not -1, the box shows checked, and shown says
// whether it is visible and enabled.
struct InheritanceCase {
    const char* name;
    const char* before;
    int level;
    int clicks;
    const char* after;
    int checked = -1;
    bool shown = true;
};

template <class Run> void ExpectInheritanceBox(std::span<const InheritanceCase> cases) {
    namespace ids = res::EntryListPage;
    for (const InheritanceCase& c : cases) {
        SCOPED_TRACE(c.name);
        Run run(c.before, c.level);
        run.Run([&c](Run& r) {
            for (int i = 0; i < c.clicks; ++i)
                tk::test::Click(r.page, ids::IDC_INHERIT);
            if (c.checked < 0)
                return;
            EXPECT_EQ(r.page.Check(ids::IDC_INHERIT), c.checked);
            EXPECT_EQ(r.page.IsShown(ids::IDC_INHERIT), c.shown);
            EXPECT_EQ(r.page.IsEnabled(ids::IDC_INHERIT), c.shown);
        });
        EXPECT_EQ(DescriptorText(*run.target), c.after);
    }
}

// An entry and the texts of its row in a list of the given kind.
struct RowTextCase {
    permora::Ace entry;
    Row row;
};

inline void ExpectRowTexts(std::span<const RowTextCase> cases, permora::ListKind list) {
    for (const RowTextCase& c : cases)
        EXPECT_EQ(EntryRow(c.entry, list), c.row)
            << "mask " << c.entry.Mask << ", flags " << int{c.entry.Flags};
}

// Runs an entry editor in its sheet; play acts on the open page and the sheet ends with OK.
template <class Editor>
int RunEditor(Editor& page, const std::string& title, const std::function<void(Editor&)>& play,
              const std::string& png = {}) {
    tk::test::ScriptedHost host;
    tk::PropertySheet sheet(title);
    sheet.AddPage(&page);
    host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& s) {
        play(page);
        if (!png.empty())
            tk::test::SavePng(s.ModalWidget(), png);
        s.PressOK();
    });
    return sheet.DoModal();
}

// The name check of both editors, on a new entry. Typing says nothing, whatever texts the
// name passes through; leaving the field for another control of the page and OK check it,
// once each, and OK with an invalid name keeps the page open with the text as typed. The
// sheet's Cancel does not check it. Both working entries take the name.
inline void ExpectNameCheckedWhenLeftAndOnOk(EntryEditorPage& page, const std::string& title) {
    namespace ids = res::EntryEditorPage;
    tk::test::ScriptedHost host;
    tk::PropertySheet sheet(title);
    sheet.AddPage(&page);
    host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& s) {
        tk::test::ClearText(page, ids::IDC_NAME);
        tk::test::TypeText(page, ids::IDC_NAME, "DOMAIN\\");
        EXPECT_TRUE(host.Messages().empty());
        EXPECT_EQ(page.Entry(0)->NTAccount, "DOMAIN");
        EXPECT_EQ(page.Entry(1)->NTAccount, "DOMAIN");

        host.ExpectMessage("Error", "Invalid Account Name");
        page.Control(ids::IDC_APPLY_ONTO)->setFocus();
        EXPECT_TRUE(host.Done());
        EXPECT_EQ(QApplication::focusWidget(), page.Control(ids::IDC_NAME));

        host.ExpectMessage("Error", "Invalid Account Name");
        s.PressOK();
        EXPECT_TRUE(host.Done());
        EXPECT_FALSE(s.IsEnded());
        EXPECT_EQ(page.Text(ids::IDC_NAME), "DOMAIN\\");

        for (QPushButton* button : s.ModalWidget()->findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("Cancel"))
                button->setFocus();
        EXPECT_EQ(host.Messages().size(), 2u);

        tk::test::TypeText(page, ids::IDC_NAME, "Staff");
        page.Control(ids::IDC_APPLY_ONTO)->setFocus(); // a valid name says nothing
        s.PressOK();
    });
    EXPECT_EQ(sheet.DoModal(), tk::IDOK);
    EXPECT_EQ(page.Entry(0)->NTAccount, "DOMAIN\\Staff");
    EXPECT_EQ(page.Entry(1)->NTAccount, "DOMAIN\\Staff");
    EXPECT_EQ(host.Messages().size(), 2u);
}

} // namespace advtest
