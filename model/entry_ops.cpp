#include "model/entry_ops.h"

#include "model/ascii_case.h"
#include "model/standard_boxes.h"
#include "model/well_known.h"

#include <tuple>
#include <utility>

namespace permora {

namespace {

bool IsNtfs(const TargetObject& target) {
    return target.SecurityStyle == kStyleNtfs && target.Descriptor != nullptr;
}

} // namespace

std::optional<EntryRights> StandardPermission(std::string_view name, std::uint8_t type) {
    for (const boxes::StandardRow& row : boxes::kStandardRows) {
        if (EqualsNoCase(row.name, name)) {
            return EntryRights{row.MaskFor(type), row.flags};
        }
    }
    return std::nullopt;
}

const std::vector<std::string>& StandardPermissionNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        all.reserve(boxes::kStandardRows.size());
        for (const boxes::StandardRow& row : boxes::kStandardRows) {
            all.emplace_back(row.name);
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
        const AceList& member = ListOfType(descriptor, entry.AceType);
        const int countBefore = member.Count;
        const auto before = EntriesOf(member, entry.NTAccount);
        auto copy = std::make_unique<Ace>(entry.NTAccount, entry.Mask, entry.AceType, entry.Flags);
        Acl& acl = entry.AceType == kAuditType ? descriptor.SaclList : descriptor.DaclList;
        if (!acl.Add(copy)) {
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
        const std::string identity = CanonicalAccount(account);
        for (const auto& [wanted, list, count] :
             {std::tuple{kinds.deny, &descriptor.DaclList.Deny, &result.deny},
              std::tuple{kinds.allow, &descriptor.DaclList.Allow, &result.allow},
              std::tuple{kinds.audit, &descriptor.SaclList.Audit, &result.audit}}) {
            if (!wanted) {
                continue;
            }
            for (Ace* entry = list->Head; entry != nullptr;) {
                Ace* next = entry->Next;
                if (CanonicalAccount(entry->NTAccount) == identity) {
                    list->Remove(entry);
                    ++*count;
                    ++removed;
                }
                entry = next;
            }
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
