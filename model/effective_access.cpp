#include "model/effective_access.h"

#include "model/checks.h"
#include "model/well_known.h"

#include <algorithm>
#include <bit>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace permora {

namespace {

// The identities of everybody and of the authenticated users (CanonicalAccount).
constexpr std::string_view kEverybody = "WD";
constexpr std::string_view kAuthenticatedUsers = "AU";
constexpr std::string_view kAnonymous = "AN";

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
    const std::string self = CanonicalAccount(account_);
    names_.push_back(self);
    for (const std::string& group : groups_) {
        names_.push_back(CanonicalAccount(group));
    }
    // The anonymous account is neither everybody nor authenticated.
    if (self != kAnonymous) {
        names_.emplace_back(kEverybody);
        if (self != kEverybody) {
            names_.emplace_back(kAuthenticatedUsers);
        }
    }
}

bool AccessSubject::Includes(std::string_view entryAccount) const {
    const std::string identity = CanonicalAccount(entryAccount);
    return std::find(names_.begin(), names_.end(), identity) != names_.end();
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
        if (known.insert(CanonicalAccount(entry.NTAccount)).second) {
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
    const auto bucketFor = [&](std::string_view name) -> Bucket& {
        return buckets[CanonicalAccount(name)];
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
        const std::string self = CanonicalAccount(account);
        std::vector<const Bucket*> applying = {&buckets[self]};
        if (self != kAnonymous) {
            if (self != kEverybody) {
                applying.push_back(&buckets[std::string(kEverybody)]);
                if (self != kAuthenticatedUsers) {
                    applying.push_back(&buckets[std::string(kAuthenticatedUsers)]);
                }
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
