#include "model/effective_access.h"

#include "model/checks.h"

#include <algorithm>
#include <bit>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace permora {

namespace {

constexpr std::string_view kEverybody[] = {"Everyone", "WD", "S-1-1-0"};
constexpr std::string_view kAuthenticatedUsers[] = {"AU", "S-1-5-11"};

bool IsOneOf(std::string_view name, std::span<const std::string_view> names) {
    return std::any_of(names.begin(), names.end(),
                       [name](std::string_view n) { return EqualsNoCase(name, n); });
}

bool IsEverybody(std::string_view name) {
    return IsOneOf(name, kEverybody);
}

bool IsAuthenticatedUsers(std::string_view name) {
    return IsOneOf(name, kAuthenticatedUsers);
}

} // namespace

std::uint32_t MapGenericRights(std::uint32_t mask) {
    std::uint32_t mapped = mask & ~(kGenericAll | kGenericExecute | kGenericWrite | kGenericRead);
    if ((mask & kGenericAll) != 0) {
        mapped |= kGenericAllMapped;
    }
    if ((mask & kGenericExecute) != 0) {
        mapped |= kGenericExecuteMapped;
    }
    if ((mask & kGenericWrite) != 0) {
        mapped |= kGenericWriteMapped;
    }
    if ((mask & kGenericRead) != 0) {
        mapped |= kGenericReadMapped;
    }
    return mapped;
}

AccessSubject::AccessSubject(std::string_view account, const std::vector<std::string>& groups)
    : account_(account), groups_(groups) {
    names_.push_back(account_);
    names_.insert(names_.end(), groups_.begin(), groups_.end());
    names_.insert(names_.end(), std::begin(kEverybody), std::end(kEverybody));
    if (!IsEverybody(account_)) {
        names_.insert(names_.end(), std::begin(kAuthenticatedUsers), std::end(kAuthenticatedUsers));
    }
}

bool AccessSubject::Includes(std::string_view entryAccount) const {
    for (const std::string& name : names_) {
        if (name.size() == entryAccount.size() && EqualsNoCase(name, entryAccount)) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> SplitGroupList(std::string_view text) {
    std::vector<std::string> groups;
    while (true) {
        const std::size_t end = text.find(';');
        std::string name = TrimBlanks(text.substr(0, end));
        if (!name.empty()) {
            groups.push_back(std::move(name));
        }
        if (end == std::string_view::npos) {
            return groups;
        }
        text.remove_prefix(end + 1);
    }
}

int PlaceIndex(unsigned place) {
    return std::countr_zero(place);
}

Access EffectiveAccess::StateOf(unsigned place, std::uint32_t bit) const {
    const PlaceAccess& at = At(place);
    if ((at.denied & bit) != 0) {
        return Access::Denied;
    }
    return (at.allowed & bit) != 0 ? Access::Allowed : Access::NotAllowed;
}

const DecidingEntry* EffectiveAccess::DeciderOf(unsigned place, std::uint32_t bit) const {
    const std::int32_t index = At(place).decidedBy[std::countr_zero(bit)];
    return index >= 0 ? &deciders[static_cast<std::size_t>(index)] : nullptr;
}

namespace {

// Lets one applying permission entry decide what is still open at the places it reaches.
void Decide(EffectiveAccess& result, int position, const Ace& entry) {
    const std::uint32_t mask = MapGenericRights(entry.Mask);
    std::int32_t decider = -1;
    for (unsigned places = PlacesOf(entry.Flags); places != 0; places &= places - 1) {
        PlaceAccess& at = result.places[std::countr_zero(places)];
        const std::uint32_t fresh = mask & ~(at.allowed | at.denied);
        if (fresh == 0) {
            continue;
        }
        if (decider < 0) {
            decider = static_cast<std::int32_t>(result.deciders.size());
            result.deciders.push_back(
                {position, entry.AceType, entry.Flags, entry.Mask, entry.NTAccount});
        }
        (entry.AceType == kDenyType ? at.denied : at.allowed) |= fresh;
        for (std::uint32_t bits = fresh; bits != 0; bits &= bits - 1) {
            at.decidedBy[std::countr_zero(bits)] = decider;
        }
    }
}

void Audit(EffectiveAccess& result, const Ace& entry) {
    const std::uint32_t mask = MapGenericRights(entry.Mask);
    for (unsigned places = PlacesOf(entry.Flags); places != 0; places &= places - 1) {
        PlaceAccess& at = result.places[std::countr_zero(places)];
        if ((entry.Flags & kAuditSuccess) != 0) {
            at.auditedOnSuccess |= mask;
        }
        if ((entry.Flags & kAuditFailure) != 0) {
            at.auditedOnFailure |= mask;
        }
    }
}

EffectiveAccess EmptyResult(const SecurityDescriptor& descriptor) {
    EffectiveAccess result;
    result.hasPermissionList = (descriptor.Control & SE_DACL_PRESENT) != 0;
    result.hasAuditList = (descriptor.Control & SE_SACL_PRESENT) != 0;
    return result;
}

// Calls visit(position, entry) for the permission entries in the order the file writes them.
// Calls visit(entry) for the entries of the lists the file writes: deny, allow, audit.
template <typename Visit> void ForEachWrittenEntry(const SecurityDescriptor& d, Visit visit) {
    std::vector<const AceList*> lists;
    if ((d.Control & SE_DACL_PRESENT) != 0) {
        lists = {&d.DaclList.Deny, &d.DaclList.Allow};
    }
    if ((d.Control & SE_SACL_PRESENT) != 0) {
        lists.push_back(&d.SaclList.Audit);
    }
    for (const AceList* list : lists) {
        for (const Ace* entry = list->Head; entry != nullptr; entry = entry->Next) {
            visit(*entry);
        }
    }
}

template <typename Visit> void ForEachPermissionEntry(const SecurityDescriptor& d, Visit visit) {
    int position = 0;
    for (const AceList* list : {&d.DaclList.Deny, &d.DaclList.Allow}) {
        for (const Ace* entry = list->Head; entry != nullptr; entry = entry->Next) {
            visit(position++, *entry);
        }
    }
}

} // namespace

EffectiveAccess ComputeEffectiveAccess(const SecurityDescriptor& descriptor,
                                       const AccessSubject& subject) {
    EffectiveAccess result = EmptyResult(descriptor);
    if (result.hasPermissionList) {
        ForEachPermissionEntry(descriptor, [&](int position, const Ace& entry) {
            if (subject.Includes(entry.NTAccount)) {
                Decide(result, position, entry);
            }
        });
    }
    if (result.hasAuditList) {
        for (const Ace* entry = descriptor.SaclList.Audit.Head; entry != nullptr;
             entry = entry->Next) {
            if (subject.Includes(entry->NTAccount)) {
                Audit(result, *entry);
            }
        }
    }
    return result;
}

std::vector<std::string> AccountsOf(const SecurityDescriptor& descriptor) {
    std::vector<std::string> accounts;
    std::unordered_set<std::string> known;
    ForEachWrittenEntry(descriptor, [&](const Ace& entry) {
        if (known.insert(FoldCase(entry.NTAccount)).second) {
            accounts.emplace_back(entry.NTAccount.view());
        }
    });
    return accounts;
}

void ForEachAccountAccess(const SecurityDescriptor& descriptor, const AccountAccessVisit& visit) {
    // The entries of each account found in one walk, so that a descriptor of many accounts
    // costs no walk per account. Entries for everybody, and for the authenticated users,
    // apply to other accounts as well.
    struct Bucket {
        std::vector<std::pair<int, const Ace*>> permissions; // with their positions, in order
        std::vector<const Ace*> audits;
    };
    std::unordered_map<std::string, Bucket> buckets;
    Bucket everybody;
    Bucket authenticated;
    const auto bucketFor = [&](std::string_view name) -> Bucket& {
        if (IsEverybody(name)) {
            return everybody;
        }
        if (IsAuthenticatedUsers(name)) {
            return authenticated;
        }
        return buckets[FoldCase(name)];
    };
    const EffectiveAccess empty = EmptyResult(descriptor);
    if (empty.hasPermissionList) {
        ForEachPermissionEntry(descriptor, [&](int position, const Ace& entry) {
            bucketFor(entry.NTAccount).permissions.emplace_back(position, &entry);
        });
    }
    if (empty.hasAuditList) {
        for (const Ace* entry = descriptor.SaclList.Audit.Head; entry != nullptr;
             entry = entry->Next) {
            bucketFor(entry->NTAccount).audits.push_back(entry);
        }
    }

    std::vector<std::pair<int, const Ace*>> merged;
    for (const std::string& account : AccountsOf(descriptor)) {
        // The buckets whose entries apply to the account, as AccessSubject decides.
        std::vector<const Bucket*> applying = {&everybody};
        if (!IsEverybody(account)) {
            applying.push_back(&authenticated);
            if (!IsAuthenticatedUsers(account)) {
                applying.push_back(&buckets[FoldCase(account)]);
            }
        }
        merged.clear();
        for (const Bucket* bucket : applying) {
            const std::size_t middle = merged.size();
            merged.insert(merged.end(), bucket->permissions.begin(), bucket->permissions.end());
            std::inplace_merge(merged.begin(), merged.begin() + static_cast<std::ptrdiff_t>(middle),
                               merged.end());
        }
        EffectiveAccess result = empty;
        for (const auto& [position, entry] : merged) {
            Decide(result, position, *entry);
        }
        for (const Bucket* bucket : applying) {
            for (const Ace* entry : bucket->audits) {
                Audit(result, *entry);
            }
        }
        visit(account, result);
    }
}

} // namespace permora
