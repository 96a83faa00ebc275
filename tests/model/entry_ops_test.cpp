#include "model/entry_ops.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace permora {
namespace {

// What each box of the security page enters, column by column.
TEST(EntryOpsTest, StandardPermissionsEnterWhatTheirBoxesEnter) {
    const struct {
        const char* name;
        std::uint32_t allow;
        std::uint32_t deny;
        std::uint8_t flags;
    } cases[] = {
        {"Full Control", 0x1F01FF, 0x1F01FF, 0x03},
        {"Modify", 0x301BF, 0x1301BF, 0x03},
        {"read and execute", 0x200A9, 0x1200A9, 0x03},
        {"List Folder Contents", 0x1200A9, 0x1200A9, 0x02},
        {"Read", 0x120089, 0x120089, 0x03},
        {"WRITE", 0x100116, 0x100116, 0x03},
    };
    for (const auto& c : cases) {
        const auto allow = StandardPermission(c.name, kAllowType);
        const auto deny = StandardPermission(c.name, kDenyType);
        const auto audit = StandardPermission(c.name, kAuditType);
        ASSERT_TRUE(allow && deny && audit) << c.name;
        EXPECT_EQ(allow->mask, c.allow) << c.name;
        EXPECT_EQ(deny->mask, c.deny) << c.name;
        EXPECT_EQ(audit->mask, c.allow) << c.name;
        EXPECT_EQ(allow->flags, c.flags) << c.name;
        EXPECT_EQ(deny->flags, c.flags) << c.name;
    }
    EXPECT_FALSE(StandardPermission("Special Permissions", kAllowType));
    EXPECT_EQ(StandardPermissionNames().size(), 6u);
}

// Only NTFS targets in scope change; a list that was not there is made present; a target
// whose list the entry leaves as it was is not counted.
TEST(EntryOpsTest, AddAndRemoveCountTheTargetsThatChange) {
    SecurityTemplate tmpl;
    tmpl.Append(std::make_unique<TargetObject>("/vol/a", MakeDefaultDescriptor()));
    tmpl.Append(std::make_unique<TargetObject>("/vol/b", std::make_unique<SecurityDescriptor>()));
    auto other = std::make_unique<TargetObject>("/vol/c", MakeDefaultDescriptor());
    other->SecurityStyle = kStyleNfsV3;
    tmpl.Append(std::move(other));
    tmpl.Append(std::make_unique<TargetObject>("/x/d", MakeDefaultDescriptor()));

    std::vector<TargetObject*> changed;
    const Ace read("everyone", 0x120089, kAllowType, 0x03);
    EntryChange result = AddEntryToTargets(tmpl, read, TargetsMatching("/vol/*"), &changed);
    EXPECT_EQ(result.targets, 1); // /vol/a already allowed it
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0]->Path, "/vol/b");
    EXPECT_EQ(changed[0]->Descriptor->Control, SE_DACL_PRESENT);

    const Ace audit("bob", 0x1, kAuditType, 0x43);
    result = AddEntryToTargets(tmpl, audit, AllTargets());
    EXPECT_EQ(result.targets, 3);
    EXPECT_EQ(result.entries, 3);
    EXPECT_NE(tmpl.Head->Descriptor->Control & SE_SACL_PRESENT, 0);
    EXPECT_EQ(tmpl.At(2)->Descriptor->SaclList.Audit.Count, 0); // not NTFS: untouched

    result = RemoveAccountFromTargets(tmpl, "BOB", {false, false, true}, TargetsMatching("/vol/*"));
    EXPECT_EQ(result.targets, 2);
    EXPECT_EQ(result.entries, 2);
    result = RemoveAccountFromTargets(tmpl, "Everyone", {false, true, true}, AllTargets());
    EXPECT_EQ(result.targets, 0); // no deny or audit entries of Everyone
    result = RemoveAccountFromTargets(tmpl, "Everyone", EntryKinds{}, AllTargets());
    EXPECT_EQ(result.targets, 3);
}

} // namespace
} // namespace permora
