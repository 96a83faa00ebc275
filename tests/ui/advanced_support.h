#pragma once

// Helpers shared by the tests of the advanced pages: targets made from descriptor text,
// and the check boxes of an entry editor as a string of 0 and 1, row 0 first.

#include "model/target.h"
#include "resources/templates/inputntaccountdlg.h"
#include "support/scripted_host.h"
#include "template_file/template_file.h"
#include "ui/entryeditorpage.h"
#include "ui/inputntaccountdlg.h"

#include <gtest/gtest.h>

#include <memory>
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
    const std::string line = target.ToLine();
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

// The texts of every row of a list view, cell by cell.
inline std::vector<std::vector<std::string>> Rows(const tk::ListView& list) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < list.RowCount(); ++row) {
        std::vector<std::string> cells;
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

} // namespace advtest
