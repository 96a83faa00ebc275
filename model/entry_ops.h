#pragma once

// Entering and taking away one account's rights on many targets at once, as the window's
// pages do on one: the standard permissions, granting, denying, auditing and revoking.

#include "model/template_ops.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace permora {

// The mask and inheritance flags of an entry to enter.
struct EntryRights {
    std::uint32_t mask = 0;
    std::uint8_t flags = 0;
};

// What the security page's box of a standard permission ("Full Control", "Modify", "Read
// and Execute", "List Folder Contents", "Read", "Write"; any letter case) enters when it is
// checked in the column of the given type: the Allow column for kAllowType, the Deny
// column for kDenyType. Audit entries take the Allow column's. nullopt for any other name.
std::optional<EntryRights> StandardPermission(std::string_view name, std::uint8_t type);

// The names StandardPermission knows, in the page's order.
const std::vector<std::string>& StandardPermissionNames();

struct EntryChange {
    int targets = 0; // targets whose lists changed
    int entries = 0; // entries entered or taken away
    // Of the entries taken away, how many were allow, deny and audit entries.
    int allow = 0;
    int deny = 0;
    int audit = 0;
};

// Enters a copy of the entry into every NTFS target in scope through its list's merge-aware
// Add, marking the list present. A target counts when its list comes out different. changed
// (optional) receives the targets that changed, in template order.
EntryChange AddEntryToTargets(SecurityTemplate& tmpl, const Ace& entry, const TargetScope& scope,
                              std::vector<TargetObject*>* changed = nullptr);

// Which lists RemoveAccountFromTargets empties of the account: the permissions unless
// asked otherwise; audit entries only when asked for.
struct EntryKinds {
    bool allow = true;
    bool deny = true;
    bool audit = false;
};

// Takes every entry of the account out of the chosen lists of every NTFS target in scope.
// The account is matched as SameAccount of model/well_known.h matches it: any letter case,
// and a well-known account by any of its names (Everyone finds the entries of WD).
EntryChange RemoveAccountFromTargets(SecurityTemplate& tmpl, std::string_view account,
                                     EntryKinds kinds, const TargetScope& scope,
                                     std::vector<TargetObject*>* changed = nullptr);

} // namespace permora
