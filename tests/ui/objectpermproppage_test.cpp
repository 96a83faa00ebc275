#include "advanced_support.h"

#include "model/ace.h"
#include "model/names.h"
#include "resources/templates/objectpermproppage.h"
#include "support/scripted_host.h"
#include "ui/objectpermproppage.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace ids = res::ObjectPermPropPage;
using advtest::ColumnBoxes;
using advtest::kNoBoxes;
using permora::kLevelFileDirectory;
using permora::kLevelStorage;

constexpr int kAllow = 0;
constexpr int kDeny = 1;

struct EntryFields {
    std::uint8_t type;
    std::uint8_t flags;
    std::uint32_t mask;
};

std::unique_ptr<ObjectPermPropPage> MakePage(const std::optional<EntryFields>& entry, int level) {
    if (!entry)
        return std::make_unique<ObjectPermPropPage>("Staff", level);
    const permora::Ace existing("Staff", entry->mask, entry->type, entry->flags);
    return std::make_unique<ObjectPermPropPage>(existing, level);
}

int RunPage(ObjectPermPropPage& page, const std::function<void(ObjectPermPropPage&)>& play,
            const std::string& png = {}) {
    return advtest::RunEditor(page, "Permission Entry for /vol/vol1/qt1", play, png);
}

void ExpectEntry(const permora::Ace* ace, std::uint8_t type, std::uint8_t flags, std::uint32_t mask,
                 const char* account = "Staff") {
    ASSERT_NE(ace, nullptr);
    EXPECT_EQ(ace->AceType, type);
    EXPECT_EQ(ace->Flags, flags);
    EXPECT_EQ(ace->Mask, mask);
    EXPECT_EQ(ace->NTAccount, account);
}

struct ActivationCase {
    const char* name;
    std::optional<EntryFields> entry; // none: a new entry for Staff
    int level;
    int items;
    int selected;
    const char* allowBoxes;
    const char* denyBoxes;
    std::uint8_t flags; // both working entries
    std::uint32_t allowMask;
    std::uint32_t denyMask;
};

TEST(ObjectPermPropPageTest, ActivationShowsTheWorkingEntries) {
    const ActivationCase cases[] = {
        {"new, File/Directory", std::nullopt, kLevelFileDirectory, 7, 1, kNoBoxes, kNoBoxes, 0x03,
         0, 0},
        {"new, Storage", std::nullopt, kLevelStorage, 3, 0, kNoBoxes, kNoBoxes, 0x03, 0, 0},
        {"allow read and execute", EntryFields{0, 0x03, 0x1200A9}, kLevelFileDirectory, 7, 1,
         "01111000000100", kNoBoxes, 0x03, 0x1200A9, 0},
        {"deny every right without synchronize", EntryFields{1, 0x0B, 0xF01FF}, kLevelFileDirectory,
         7, 4, kNoBoxes, "01111111111111", 0x0B, 0, 0xF01FF},
        {"deny full control", EntryFields{1, 0x09, 0x1F01FF}, kLevelStorage, 3, 2, kNoBoxes,
         "11111111111111", 0x09, 0, 0x1F01FF},
        {"this folder only at Storage", EntryFields{0, 0x04, 0x10000}, kLevelStorage, 3, -1,
         "00000000001000", kNoBoxes, 0x04, 0x10000, 0},
        {"this folder only at File/Directory", EntryFields{0, 0x04, 0x10000}, kLevelFileDirectory,
         7, 0, "00000000001000", kNoBoxes, 0x04, 0x10000, 0},
        {"a code without a name", EntryFields{0, 0x00, 0x02}, kLevelFileDirectory, 7, -1,
         "00000100000000", kNoBoxes, 0x00, 0x02, 0},
    };
    for (const ActivationCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto page = MakePage(c.entry, c.level);
        std::vector<std::string> items;
        int selected = -2;
        std::string name;
        EXPECT_EQ(RunPage(*page,
                          [&](ObjectPermPropPage& p) {
                              tk::ComboBox combo = p.GetComboBox(ids::IDC_APPLY_ONTO);
                              for (int i = 0; i < combo.Count(); ++i)
                                  items.push_back(combo.Text(i));
                              selected = combo.Selection();
                              name = p.Text(ids::IDC_NAME);
                          }),
                  tk::IDOK);
        ASSERT_EQ(static_cast<int>(items.size()), c.items);
        const auto codes = ApplyOntoCodes(c.level);
        ASSERT_EQ(static_cast<int>(codes.size()), c.items);
        for (int i = 0; i < c.items; ++i)
            EXPECT_EQ(items[i], permora::ApplyToName(codes[i]));
        EXPECT_EQ(selected, c.selected);
        EXPECT_EQ(name, "Staff");
        EXPECT_EQ(ColumnBoxes(*page, kAllow), c.allowBoxes);
        EXPECT_EQ(ColumnBoxes(*page, kDeny), c.denyBoxes);
        ExpectEntry(page->AllowAce.get(), 0, c.flags, c.allowMask);
        ExpectEntry(page->DenyAce.get(), 1, c.flags, c.denyMask);
    }
}

TEST(ObjectPermPropPageTest, ApplyOntoCodesPerLevel) {
    const std::vector<std::uint8_t> storage = {0x03, 0x02, 0x09};
    const std::vector<std::uint8_t> fileDirectory = {0x04, 0x03, 0x02, 0x01, 0x0B, 0x0A, 0x09};
    const auto s = ApplyOntoCodes(kLevelStorage);
    const auto f = ApplyOntoCodes(kLevelFileDirectory);
    EXPECT_EQ(std::vector<std::uint8_t>(s.begin(), s.end()), storage);
    EXPECT_EQ(std::vector<std::uint8_t>(f.begin(), f.end()), fileDirectory);
    // Any level other than Storage offers the File/Directory list.
    EXPECT_EQ(ApplyOntoCodes(7).size(), fileDirectory.size());
}

struct Click {
    int row;
    int column;
};

struct ClickCase {
    const char* name;
    std::optional<EntryFields> entry;
    std::vector<Click> clicks; // row -1: Clear All
    const char* allowBoxes;
    const char* denyBoxes;
    std::uint32_t allowMask;
    std::uint32_t denyMask;
};

TEST(ObjectPermPropPageTest, BoxClicksKeepAllowAndDenyApart) {
    std::vector<Click> allRowsAllow;
    for (int row = 1; row < EntryEditorPage::kRowCount; ++row)
        allRowsAllow.push_back({row, kAllow});
    const ClickCase cases[] = {
        {"full control allow",
         std::nullopt,
         {{0, kAllow}},
         "11111111111111",
         kNoBoxes,
         0x1F01FF,
         0x100000},
        {"full control allow, then delete unchecked",
         std::nullopt,
         {{0, kAllow}, {10, kAllow}},
         "01111111110111",
         kNoBoxes,
         0x1E01FF,
         0x100000},
        {"full control allow checked and unchecked",
         std::nullopt,
         {{0, kAllow}, {0, kAllow}},
         "01111111111111",
         kNoBoxes,
         0x1F01FF,
         0x100000},
        {"read attributes denied after full control allowed",
         std::nullopt,
         {{0, kAllow}, {3, kDeny}},
         "01101111111111",
         "00010000000000",
         0x1F017F,
         0x100080},
        {"read attributes allowed after full control denied",
         std::nullopt,
         {{0, kDeny}, {3, kAllow}},
         "00010000000000",
         "01101111111111",
         0x100080,
         0x1F017F},
        {"every right allowed one by one", std::nullopt, allRowsAllow, "01111111111111", kNoBoxes,
         0xF01FF, 0},
        {"full control denied on an allow entry",
         EntryFields{0, 0x03, 0x1200A9},
         {{0, kDeny}},
         kNoBoxes,
         "11111111111111",
         0x100000,
         0x1F01FF},
        {"delete unchecked on a deny entry",
         EntryFields{1, 0x03, 0x1F01FF},
         {{10, kDeny}},
         kNoBoxes,
         "01111111110111",
         0,
         0x1E01FF},
        {"clear all on an allow entry",
         EntryFields{0, 0x03, 0x1200A9},
         {{-1, 0}},
         kNoBoxes,
         kNoBoxes,
         0x100000,
         0x100000},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto page = MakePage(c.entry, kLevelFileDirectory);
        EXPECT_EQ(RunPage(*page,
                          [&](ObjectPermPropPage& p) {
                              for (const Click& click : c.clicks)
                                  tk::test::Click(p, click.row < 0
                                                         ? static_cast<int>(ids::IDC_CLEAR_ALL)
                                                         : p.BoxId(click.row, click.column));
                          }),
                  tk::IDOK);
        EXPECT_EQ(ColumnBoxes(*page, kAllow), c.allowBoxes);
        EXPECT_EQ(ColumnBoxes(*page, kDeny), c.denyBoxes);
        EXPECT_EQ(page->AllowAce->Mask, c.allowMask);
        EXPECT_EQ(page->DenyAce->Mask, c.denyMask);
        EXPECT_EQ(page->AllowAce->Flags, page->DenyAce->Flags);
    }
}

struct ApplyOntoCase {
    const char* name;
    std::optional<EntryFields> entry;
    int level;
    int pick; // -1: no item picked
    std::uint8_t flags;
};

TEST(ObjectPermPropPageTest, ApplyOntoReplacesTheFlagsOfBothEntries) {
    const ApplyOntoCase cases[] = {
        {"files only, File/Directory", std::nullopt, kLevelFileDirectory, 6, 0x09},
        {"this folder only", std::nullopt, kLevelFileDirectory, 0, 0x04},
        {"files only, Storage", std::nullopt, kLevelStorage, 2, 0x09},
        {"subfolders only replaces every bit", EntryFields{0, 0x07, 0x1}, kLevelFileDirectory, 5,
         0x0A},
        {"a code the level does not offer is kept", EntryFields{0, 0x04, 0x1}, kLevelStorage, -1,
         0x04},
        {"until an item is picked", EntryFields{0, 0x04, 0x1}, kLevelStorage, 0, 0x03},
    };
    for (const ApplyOntoCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto page = MakePage(c.entry, c.level);
        RunPage(*page, [&](ObjectPermPropPage& p) {
            if (c.pick >= 0)
                tk::test::SelectComboItem(p, ids::IDC_APPLY_ONTO, c.pick);
        });
        EXPECT_EQ(page->AllowAce->Flags, c.flags);
        EXPECT_EQ(page->DenyAce->Flags, c.flags);
    }
}

TEST(ObjectPermPropPageTest, NameIsCheckedWhenLeftAndOnOkNeverWhileTyped) {
    auto page = MakePage(std::nullopt, kLevelFileDirectory);
    advtest::ExpectNameCheckedWhenLeftAndOnOk(*page, "Permission Entry for /vol/vol1/qt1");
}

// OK never applies a name other than the field's: a field emptied and left invalid is not
// replaced by the last valid name.
TEST(ObjectPermPropPageTest, OkWithAnInvalidNameCanOnlyBeCancelled) {
    auto page = MakePage(std::nullopt, kLevelFileDirectory);
    tk::test::ScriptedHost host;
    tk::PropertySheet sheet("Permission Entry for /vol/vol1/qt1");
    sheet.AddPage(page.get());
    host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& s) {
        tk::test::TypeText(*page, ids::IDC_NAME, "\\");
        host.ExpectMessage("Error", "Invalid Account Name");
        tk::test::PressKey(*page, ids::IDC_NAME, Qt::Key_Return);
        EXPECT_FALSE(s.IsEnded());
        s.PressCancel();
    });
    EXPECT_EQ(sheet.DoModal(), tk::IDCANCEL);
}

TEST(ObjectPermPropPageTest, CancelKeepsTheEntryUntouched) {
    const permora::Ace entry("Staff", 0x1200A9, 0, 0x03);
    ObjectPermPropPage page(entry, kLevelFileDirectory);
    tk::test::ScriptedHost host;
    tk::PropertySheet sheet("Permission Entry for /vol/vol1/qt1");
    sheet.AddPage(&page);
    host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& s) {
        tk::test::Click(page, ids::IDC_CLEAR_ALL);
        tk::test::SelectComboItem(page, ids::IDC_APPLY_ONTO, 6);
        s.PressCancel();
    });
    EXPECT_EQ(sheet.DoModal(), tk::IDCANCEL);
    EXPECT_EQ(entry.Mask, 0x1200A9u);
    EXPECT_EQ(entry.Flags, 0x03);
}

TEST(ObjectPermPropPageTest, Picture) {
    const permora::Ace entry("LAB\\admins", 0x1301BF, 0, 0x03);
    ObjectPermPropPage page(entry, kLevelFileDirectory);
    RunPage(
        page, [](ObjectPermPropPage& p) { tk::test::Click(p, p.BoxId(13, kDeny)); },
        "objectpermproppage");
    EXPECT_EQ(page.DenyAce->Mask, 0x80000u);
}

} // namespace
