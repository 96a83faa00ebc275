#include "model/entry_ops.h"

#include "model/ascii_case.h"

#include <utility>

namespace permora {

namespace {

struct StandardBox {
    const char* name;
    std::uint32_t allowMask;
    std::uint32_t denyMask;
    std::uint8_t flags;
};

// The boxes enter their Allow entries without SYNCHRONIZE where the Deny entries carry it.
constexpr StandardBox kBoxes[] = {
    {"Full Control", 0x1F01FF, 0x1F01FF, 0x03},
    {"Modify", 0x301BF, 0x1301BF, 0x03},
    {"Read and Execute", 0x200A9, 0x1200A9, 0x03},
    {"List Folder Contents", 0x1200A9, 0x1200A9, 0x02},
    {"Read", 0x120089, 0x120089, 0x03},
    {"Write", 0x100116, 0x100116, 0x03},
};

AceList& MemberOf(SecurityDescriptor& descriptor, std::uint8_t type) {
    switch (type) {
    case kDenyType:
        return descriptor.DaclList.Deny;
    case kAuditType:
        return descriptor.SaclList.Audit;
    default:
        return descriptor.DaclList.Allow;
    }
}

bool IsNtfs(const TargetObject& target) {
    return target.SecurityStyle == kStyleNtfs && target.Descriptor != nullptr;
}

} // namespace

std::optional<EntryRights> StandardPermission(std::string_view name, std::uint8_t type) {
    for (const StandardBox& box : kBoxes) {
        if (EqualsNoCase(box.name, name)) {
            return EntryRights{type == kDenyType ? box.denyMask : box.allowMask, box.flags};
        }
    }
    return std::nullopt;
}

const std::vector<std::string>& StandardPermissionNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const StandardBox& box : kBoxes) {
            all.emplace_back(box.name);
        }
        return all;
    }();
    return names;
}

EntryChange AddEntryToTargets(SecurityTemplate& tmpl, const Ace& entry, const TargetScope& scope,
                              std::vector<TargetObject*>* changed) {
    EntryChange result;
    const std::uint16_t present = entry.AceType == kAuditType ? SE_SACL_PRESENT : SE_DACL_PRESENT;
    int index = 0;
    for (TargetObject* target = tmpl.Head; target != nullptr; target = target->Next, ++index) {
        if (!IsNtfs(*target) || (scope && !scope(*target, index))) {
            continue;
        }
        SecurityDescriptor& descriptor = *target->Descriptor;
        const AceList& member = MemberOf(descriptor, entry.AceType);
        const int countBefore = member.Count;
        const auto before = EntriesOf(member, entry.NTAccount);
        auto copy = std::make_unique<Ace>(entry.NTAccount, entry.Mask, entry.AceType, entry.Flags);
        Acl& acl = entry.AceType == kAuditType ? descriptor.SaclList : descriptor.DaclList;
        if (acl.Add(copy) == 0) {
            continue;
        }
        const bool listChanged =
            member.Count != countBefore || EntriesOf(member, entry.NTAccount) != before;
        const bool marked = (descriptor.Control & present) == 0;
        descriptor.Control |= present;
        if (listChanged || marked) {
            ++result.targets;
            result.entries += listChanged ? 1 : 0;
            if (changed != nullptr) {
                changed->push_back(target);
            }
        }
    }
    return result;
}

EntryChange RemoveAccountFromTargets(SecurityTemplate& tmpl, std::string_view account,
                                     EntryKinds kinds, const TargetScope& scope,
                                     std::vector<TargetObject*>* changed) {
    EntryChange result;
    int index = 0;
    for (TargetObject* target = tmpl.Head; target != nullptr; target = target->Next, ++index) {
        if (!IsNtfs(*target) || (scope && !scope(*target, index))) {
            continue;
        }
        SecurityDescriptor& descriptor = *target->Descriptor;
        int removed = 0;
        for (const auto& [wanted, list] : {std::pair{kinds.deny, &descriptor.DaclList.Deny},
                                           std::pair{kinds.allow, &descriptor.DaclList.Allow},
                                           std::pair{kinds.audit, &descriptor.SaclList.Audit}}) {
            if (!wanted) {
                continue;
            }
            const int before = list->Count;
            list->RemoveAccount(account);
            removed += before - list->Count;
        }
        if (removed > 0) {
            ++result.targets;
            result.entries += removed;
            if (changed != nullptr) {
                changed->push_back(target);
            }
        }
    }
    return result;
}

} // namespace permora
