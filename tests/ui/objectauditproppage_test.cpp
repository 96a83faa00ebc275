#include "advanced_support.h"

#include "model/ace.h"
#include "model/names.h"
#include "resources/templates/objectauditproppage.h"
#include "support/scripted_host.h"
#include "ui/objectauditproppage.h"

#include <gtest/gtest.h>

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace ids = res::ObjectAuditPropPage;
using advtest::ColumnBoxes;
using advtest::kNoBoxes;
using permora::kLevelFileDirectory;
using permora::kLevelStorage;

constexpr int kSuccess = 0;
constexpr int kFailed = 1;

struct EntryFields {
    std::uint8_t flags;
    std::uint32_t mask;
};

std::unique_ptr<ObjectAuditPropPage> MakePage(const std::optional<EntryFields>& entry, int level) {
    if (!entry)
        return std::make_unique<ObjectAuditPropPage>("Staff", level);
    const permora::Ace existing("Staff", entry->mask, permora::kAuditType, entry->flags);
    return std::make_unique<ObjectAuditPropPage>(existing, level);
}

int RunPage(ObjectAuditPropPage& page, const std::function<void(ObjectAuditPropPage&)>& play,
            const std::string& png = {}) {
    return advtest::RunEditor(page, "Auditing Entry for /vol/vol1/qt1", play, png);
}

void ExpectPart(const permora::Ace* ace, std::uint8_t flags, std::uint32_t mask) {
    ASSERT_NE(ace, nullptr);
    EXPECT_EQ(ace->AceType, permora::kAuditType);
    EXPECT_EQ(ace->Flags, flags);
    EXPECT_EQ(ace->Mask, mask);
    EXPECT_EQ(ace->NTAccount, "Staff");
}

struct ActivationCase {
    const char* name;
    std::optional<EntryFields> entry; // none: a new entry for Staff
    int level;
    int items;
    int selected;
    const char* successBoxes;
    const char* failedBoxes;
    std::uint8_t successFlags;
    std::uint32_t successMask;
    std::uint8_t failedFlags;
    std::uint32_t failedMask;
};

TEST(ObjectAuditPropPageTest, ActivationSplitsTheEntryIntoItsParts) {
    const ActivationCase cases[] = {
        {"new, File/Directory", std::nullopt, kLevelFileDirectory, 7, 1, kNoBoxes, kNoBoxes, 0x43,
         0, 0x83, 0},
        {"new, Storage", std::nullopt, kLevelStorage, 3, 0, kNoBoxes, kNoBoxes, 0x43, 0, 0x83, 0},
        {"success, files only", EntryFields{0x49, 0x200A9}, kLevelFileDirectory, 7, 6,
         "01111000000100", kNoBoxes, 0x49, 0x200A9, 0x89, 0},
        // Every right without SYNCHRONIZE is Full Control here.
        {"failure, subfolders only", EntryFields{0x8A, 0xF01FF}, kLevelFileDirectory, 7, 5,
         kNoBoxes, "11111111111111", 0x4A, 0, 0x8A, 0xF01FF},
        {"success and failure", EntryFields{0xC3, 0x10000}, kLevelFileDirectory, 7, 1,
         "00000000001000", "00000000001000", 0x43, 0x10000, 0x83, 0x10000},
        {"success and failure, files only, Storage", EntryFields{0xC9, 0x1F01FF}, kLevelStorage, 3,
         2, "11111111111111", "11111111111111", 0x49, 0x1F01FF, 0x89, 0x1F01FF},
        // The part an entry lacks starts empty with the entry's own inheritance code.
        {"neither success nor failure", EntryFields{0x01, 0x1}, kLevelFileDirectory, 7, 3, kNoBoxes,
         kNoBoxes, 0x41, 0, 0x81, 0},
    };
    for (const ActivationCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto page = MakePage(c.entry, c.level);
        int items = 0;
        int selected = -2;
        std::string name;
        EXPECT_EQ(RunPage(*page,
                          [&](ObjectAuditPropPage& p) {
                              items = p.GetComboBox(ids::IDC_APPLY_ONTO).Count();
                              selected = p.GetComboBox(ids::IDC_APPLY_ONTO).Selection();
                              name = p.Text(ids::IDC_NAME);
                          }),
                  tk::IDOK);
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(selected, c.selected);
        EXPECT_EQ(name, "Staff");
        EXPECT_EQ(ColumnBoxes(*page, kSuccess), c.successBoxes);
        EXPECT_EQ(ColumnBoxes(*page, kFailed), c.failedBoxes);
        ExpectPart(page->SuccessAce.get(), c.successFlags, c.successMask);
        ExpectPart(page->FailedAce.get(), c.failedFlags, c.failedMask);
    }
}

struct Click {
    int row; // -1: Clear All
    int column;
};

struct ClickCase {
    const char* name;
    std::optional<EntryFields> entry;
    std::vector<Click> clicks;
    const char* successBoxes;
    const char* failedBoxes;
    std::uint32_t successMask;
    std::uint32_t failedMask;
};

TEST(ObjectAuditPropPageTest, ColumnsAreIndependent) {
    const ClickCase cases[] = {
        {"delete audited for success and failure",
         std::nullopt,
         {{10, kSuccess}, {10, kFailed}},
         "00000000001000",
         "00000000001000",
         0x10000,
         0x10000},
        {"full control success",
         std::nullopt,
         {{0, kSuccess}},
         "11111111111111",
         kNoBoxes,
         0xF01FF,
         0},
        {"full control success leaves the failed column",
         std::nullopt,
         {{10, kFailed}, {0, kSuccess}},
         "11111111111111",
         "00000000001000",
         0xF01FF,
         0x10000},
        {"full control failed, then delete unchecked",
         std::nullopt,
         {{0, kFailed}, {10, kFailed}},
         kNoBoxes,
         "01111111110111",
         0,
         0xE01FF},
        {"full control success checked and unchecked",
         std::nullopt,
         {{0, kSuccess}, {0, kSuccess}},
         "01111111111111",
         kNoBoxes,
         0xF01FF,
         0},
        {"clear all on both parts",
         EntryFields{0xC3, 0x10000},
         {{-1, 0}},
         kNoBoxes,
         kNoBoxes,
         0x100000,
         0x100000},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto page = MakePage(c.entry, kLevelFileDirectory);
        RunPage(*page, [&](ObjectAuditPropPage& p) {
            for (const Click& click : c.clicks)
                tk::test::Click(p, click.row < 0 ? static_cast<int>(ids::IDC_CLEAR_ALL)
                                                 : p.BoxId(click.row, click.column));
        });
        EXPECT_EQ(ColumnBoxes(*page, kSuccess), c.successBoxes);
        EXPECT_EQ(ColumnBoxes(*page, kFailed), c.failedBoxes);
        EXPECT_EQ(page->SuccessAce->Mask, c.successMask);
        EXPECT_EQ(page->FailedAce->Mask, c.failedMask);
    }
}

struct ApplyOntoCase {
    const char* name;
    std::optional<EntryFields> entry;
    int level;
    int pick;    // -1: no item picked
    Click click; // row -1: none
    std::uint8_t successFlags;
    std::uint8_t failedFlags;
};

TEST(ObjectAuditPropPageTest, ApplyOntoKeepsEachPartsAuditBit) {
    const ApplyOntoCase cases[] = {
        {"files only", std::nullopt, kLevelFileDirectory, 6, {-1, 0}, 0x49, 0x89},
        {"this folder and subfolders, Storage",
         std::nullopt,
         kLevelStorage,
         1,
         {-1, 0},
         0x42,
         0x82},
        // The failed part starts from the entry's own code, the one the dialog shows: a
        // failed box checked without a pick gives a failed part for files only too.
        {"a failed box on a success entry",
         EntryFields{0x49, 0x200A9},
         kLevelFileDirectory,
         -1,
         {10, kFailed},
         0x49,
         0x89},
        {"picked on a split entry",
         EntryFields{0xC3, 0x200A9},
         kLevelFileDirectory,
         0,
         {-1, 0},
         0x44,
         0x84},
    };
    for (const ApplyOntoCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto page = MakePage(c.entry, c.level);
        RunPage(*page, [&](ObjectAuditPropPage& p) {
            if (c.pick >= 0)
                tk::test::SelectComboItem(p, ids::IDC_APPLY_ONTO, c.pick);
            if (c.click.row >= 0)
                tk::test::Click(p, p.BoxId(c.click.row, c.click.column));
        });
        EXPECT_EQ(page->SuccessAce->Flags, c.successFlags);
        EXPECT_EQ(page->FailedAce->Flags, c.failedFlags);
    }
}

TEST(ObjectAuditPropPageTest, NameIsCheckedWhenLeftAndOnOkNeverWhileTyped) {
    auto page = MakePage(std::nullopt, kLevelFileDirectory);
    advtest::ExpectNameCheckedWhenLeftAndOnOk(*page, "Auditing Entry for /vol/vol1/qt1");
}

TEST(ObjectAuditPropPageTest, Picture) {
    auto page = MakePage(EntryFields{0xC3, 0x200A9}, kLevelFileDirectory);
    RunPage(
        *page, [](ObjectAuditPropPage& p) { tk::test::Click(p, p.BoxId(10, kFailed)); },
        "objectauditproppage");
    EXPECT_EQ(page->FailedAce->Mask, 0x300A9u);
}

} // namespace
