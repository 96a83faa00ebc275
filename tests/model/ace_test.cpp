#include "model/ace.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace permora {
namespace {

struct ConstructorCase {
    const char* name;
    std::unique_ptr<Ace> (*make)();
    std::uint8_t type;
    std::uint8_t flags;
    std::uint32_t mask;
};

TEST(AceTest, ConstructorsFillDefaultsByType) {
    const ConstructorCase cases[] = {
        {"audit default", [] { return std::make_unique<Ace>("Everyone", kAuditType); }, 2, 0xC3,
         0x000200A9},
        {"deny default", [] { return std::make_unique<Ace>("Everyone", kDenyType); }, 1, 0x03,
         0x001200A9},
        {"allow default", [] { return std::make_unique<Ace>("Everyone", kAllowType); }, 0, 0x03,
         0x001200A9},
        {"deny mask kept without synchronize",
         [] { return std::make_unique<Ace>("Everyone", 0x000301BFu, kDenyType); }, 1, 0x03,
         0x000301BF},
        {"audit mask kept", [] { return std::make_unique<Ace>("Everyone", 0x20u, kAuditType); }, 2,
         0xC3, 0x20},
        {"four fields unchanged",
         [] { return std::make_unique<Ace>("Everyone", 0x1F01FFu, kAllowType, 0x0B); }, 0, 0x0B,
         0x1F01FF},
        {"audit flags given are kept",
         [] { return std::make_unique<Ace>("Everyone", 0x1u, kAuditType, 0x41); }, 2, 0x41, 0x1},
    };
    for (const ConstructorCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<Ace> entry = c.make();
        EXPECT_EQ(entry->NTAccount, "Everyone");
        EXPECT_EQ(entry->AceType, c.type);
        EXPECT_EQ(entry->Flags, c.flags);
        EXPECT_EQ(entry->Mask, c.mask);
        EXPECT_EQ(entry->Size, 0);
        EXPECT_EQ(entry->Next, nullptr);
        EXPECT_EQ(entry->Prev, nullptr);
    }
}

TEST(AceTest, PlacesFollowTheInheritanceBits) {
    constexpr unsigned kSelf = kPlaceSelf;
    constexpr unsigned kFolders = kPlaceChildFolders | kPlaceDeeperFolders;
    constexpr unsigned kFiles = kPlaceChildFiles | kPlaceDeeperFiles;
    const struct {
        std::uint8_t flags;
        unsigned places;
    } cases[] = {
        {0x00, kSelf},
        {0x03, kAllPlaces},
        {0x01, kSelf | kFiles},
        {0x02, kSelf | kFolders},
        {0x07, kSelf | kPlaceChildFolders | kPlaceChildFiles},
        {0x0B, kFolders | kFiles},
        {0x0F, kPlaceChildFolders | kPlaceChildFiles},
        {0x04, kSelf},      // NP alone reaches no child
        {0x08, 0},          // inherit-only without inheritance reaches nothing
        {0xC3, kAllPlaces}, // audit bits play no part
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.flags));
        EXPECT_EQ(PlacesOf(c.flags), c.places);
    }
}

} // namespace
// Copies of an entry's name share its text; giving an entry another name leaves the others
// as they were.
TEST(AccountNameTest, CopiesShareTheTextAndRenamingOneLeavesTheOthers) {
    Ace first("BUILTIN\\Administrators", kAllowType);
    Ace second(first.NTAccount, kDenyType);
    EXPECT_TRUE(second.NTAccount.SharesTextWith(first.NTAccount));
    second.NTAccount = "LAB\\Staff";
    EXPECT_EQ(first.NTAccount, "BUILTIN\\Administrators");
    EXPECT_EQ(second.NTAccount, "LAB\\Staff");
    EXPECT_FALSE(second.NTAccount.SharesTextWith(first.NTAccount));

    const AccountName none;
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none, "");
    EXPECT_EQ(std::string(AccountName("Everyone")) + "!", "Everyone!");
}

} // namespace permora
