#include "model/standard_boxes.h"

#include "model_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace permora;
using namespace permora::boxes;
using model_support::MakeEntry;
using model_support::Row;
using model_support::RowsOf;

// The checked rows of a column by their letters (Full control, Modify, read and eXecute,
// List folder, Read, Write, Special).
std::string Letters(const std::array<bool, kRowCount>& column) {
    constexpr const char* kLetters = "FMXLRWS";
    std::string text;
    for (std::size_t row = 0; row < column.size(); ++row) {
        if (column[row]) {
            text += kLetters[row];
        }
    }
    return text;
}

struct Listed {
    std::uint8_t type;
    Row row;
};

// The entries in their lists. A list refuses an entry without rights, which only a file
// brings: such an entry is entered with a marker mask and emptied in place.
Acl MakeDacl(const std::vector<Listed>& entries) {
    constexpr std::uint32_t kMarker = 0x40000000;
    Acl dacl;
    for (const Listed& e : entries) {
        Row row = e.row;
        row.mask = row.mask == 0 ? kMarker : row.mask;
        EXPECT_TRUE(dacl.Add(MakeEntry(row, e.type)));
    }
    for (AceList* list : {&dacl.Allow, &dacl.Deny}) {
        for (Ace* entry = list->Head; entry != nullptr; entry = entry->Next) {
            if (entry->Mask == kMarker) {
                entry->Mask = 0;
            }
        }
    }
    return dacl;
}

// Bob's boxes come from Bob's entries alone, allow entries first and deny entries after,
// each one writing over what came before; entries the boxes cannot show say so, in order.
TEST(StandardBoxes, DerivesTheBoxesAndTheirMessages) {
    struct Case {
        const char* name;
        std::vector<Listed> entries;
        const char* allow;
        const char* deny;
        std::vector<BoxMessage> messages;
    };
    const Case cases[] = {
        {"read and execute", {{kAllowType, {"Bob", 0x03, 0x1200A9}}}, "XLR", "", {}},
        {"full control", {{kAllowType, {"bob", 0x03, 0x1F01FF}}}, "FMXLRW", "", {}},
        {"deny wins",
         {{kAllowType, {"Bob", 0x03, 0x1200A9}}, {kDenyType, {"Bob", 0x03, 0x120089}}},
         "XL",
         "R",
         {}},
        {"folders only", {{kDenyType, {"Bob", 0x02, 0x1F01FF}}}, "", "LS", {}},
        {"inherit only", {{kAllowType, {"Bob", 0x0B, 0x1F01FF}}}, "S", "", {}},
        {"no row covers it", {{kAllowType, {"Bob", 0x03, 0x100001}}}, "S", "", {}},
        {"other accounts", {{kDenyType, {"Zed", 0x03, 0x1F01FF}}}, "", "", {}},
        {"flags no rule takes",
         {{kAllowType, {"Bob", 0x07, 0x1200A9}}},
         "",
         "",
         {BoxMessage::UnexpectedFlags}},
        {"both messages, allow entries first",
         {{kDenyType, {"Bob", 0x07, 0x1200A9}},
          {kAllowType, {"Bob", 0x02, 0x1200A9}},
          {kAllowType, {"Bob", 0x03, 0x0}}},
         "L",
         "",
         {BoxMessage::NoMask, BoxMessage::UnexpectedFlags}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Acl dacl = MakeDacl(c.entries);
        Messages messages;
        const BoxStates boxes = DeriveBoxStates(dacl, "Bob", messages);
        EXPECT_EQ(Letters(boxes.allow), c.allow);
        EXPECT_EQ(Letters(boxes.deny), c.deny);
        EXPECT_EQ(messages, c.messages);
    }
}

// A click changes Bob's entries and nobody else's; a click the entries cannot follow changes
// nothing and says why.
TEST(StandardBoxes, AppliesAClickOrSaysWhyNot) {
    struct Case {
        const char* name;
        std::vector<Listed> entries;
        boxes::Row row;
        std::uint8_t type;
        bool checked;
        std::optional<BoxMessage> message;
        std::vector<Row> allowAfter;
        std::vector<Row> denyAfter;
    };
    const Case cases[] = {
        {"full control on",
         {{kAllowType, {"Bob", 0x03, 0x1200A9}}, {kDenyType, {"Bob", 0x03, 0x116}}},
         kFullControl,
         kAllowType,
         true,
         std::nullopt,
         {{"Bob", 0x03, 0x1F01FF}},
         {}},
        {"full control off",
         {{kAllowType, {"Bob", 0x03, 0x1F01FF}}},
         kFullControl,
         kAllowType,
         false,
         std::nullopt,
         {{"Bob", 0x03, 0x1301BF}},
         {}},
        {"full control off beside other entries",
         {{kAllowType, {"Bob", 0x02, 0x1F01FF}}},
         kFullControl,
         kAllowType,
         false,
         BoxMessage::NotOnlyFullControl,
         {{"Bob", 0x02, 0x1F01FF}},
         {}},
        {"write denied takes it from allow",
         {{kAllowType, {"Bob", 0x03, 0x1301BF}}},
         kWrite,
         kDenyType,
         true,
         std::nullopt,
         {{"Bob", 0x03, 0x1200A9}},
         {{"Bob", 0x03, 0x100116}}},
        {"read off without an entry",
         {{kAllowType, {"Zed", 0x03, 0x120089}}},
         kRead,
         kAllowType,
         false,
         BoxMessage::CannotFind,
         {{"Zed", 0x03, 0x120089}},
         {}},
        {"modify deny off without an entry",
         {},
         kModify,
         kDenyType,
         false,
         BoxMessage::CannotFindModifyDeny,
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Acl dacl = MakeDacl(c.entries);
        EXPECT_EQ(ApplyStandardClick(dacl, "Bob", c.row, c.type, c.checked), c.message);
        EXPECT_EQ(RowsOf(dacl.Allow), c.allowAfter);
        EXPECT_EQ(RowsOf(dacl.Deny), c.denyAfter);
    }
}

} // namespace
