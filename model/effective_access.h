#pragma once

// What one person may do on a target's folder, its subfolders and its files, as the
// target's own entries decide it, and which entry decides each right.

#include "model/target.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace permora {

// Generic rights and the file rights each stands for.
inline constexpr std::uint32_t kGenericAll = 0x10000000;
inline constexpr std::uint32_t kGenericExecute = 0x20000000;
inline constexpr std::uint32_t kGenericWrite = 0x40000000;
inline constexpr std::uint32_t kGenericRead = 0x80000000;
inline constexpr std::uint32_t kGenericAllMapped = 0x001F01FF;
inline constexpr std::uint32_t kGenericExecuteMapped = 0x001200A0;
inline constexpr std::uint32_t kGenericWriteMapped = 0x00120116;
inline constexpr std::uint32_t kGenericReadMapped = 0x00120089;

// The mask with its generic rights replaced by the file rights they stand for.
[[nodiscard]] std::uint32_t MapGenericRights(std::uint32_t mask);

// The person asked about: an account and the groups it is a member of. An entry applies to
// the person when it names the account, one of the groups, or everybody (Everyone, WD,
// S-1-1-0); and, unless the account itself is everybody, the authenticated users (AU,
// S-1-5-11). The anonymous account (AN) is neither everybody nor authenticated. Names are
// matched as CanonicalAccount of model/well_known.h matches them: letter case aside, and a
// well-known account by its alias, SID or friendly name alike.
class AccessSubject {
public:
    explicit AccessSubject(std::string_view account, const std::vector<std::string>& groups = {});

    [[nodiscard]] bool Includes(std::string_view entryAccount) const;
    const std::string& Account() const { return account_; }
    const std::vector<std::string>& Groups() const { return groups_; }

private:
    std::string account_;
    std::vector<std::string> groups_;
    std::vector<std::string> names_; // every name an applying entry may carry
};

// The groups of a list typed as "LAB\staff; LAB\dev": split at ";", blanks around each name
// taken away, empty names left out.
std::vector<std::string> SplitGroupList(std::string_view text);

// Places by index: the index of kPlaceSelf and the other place bits of model/ace.h.
inline constexpr int kPlaceCount = 5;
[[nodiscard]] int PlaceIndex(unsigned place);

enum class Access : std::uint8_t { NotAllowed, Allowed, Denied };

// A permission entry that decided at least one right somewhere: its position in the
// permission order (deny entries, then allow entries), from 0, and what it says, for its text
// (EntryText of template_file/access_table.h).
struct DecidingEntry {
    int position = 0;
    std::uint8_t type = kAllowType;
    std::uint8_t flags = 0;
    std::uint32_t mask = 0;
    AccountName account;
};

struct PlaceAccess {
    std::uint32_t allowed = 0;
    std::uint32_t denied = 0;
    // For each bit, the index in EffectiveAccess::deciders of the entry that decided it; -1
    // where no entry did.
    std::array<std::int32_t, 32> decidedBy;
    std::uint32_t auditedOnSuccess = 0;
    std::uint32_t auditedOnFailure = 0;

    PlaceAccess() { decidedBy.fill(-1); }
};

struct EffectiveAccess {
    // False when the descriptor has no permission list: then nothing is decided.
    bool hasPermissionList = false;
    bool hasAuditList = false;
    std::array<PlaceAccess, kPlaceCount> places;
    // Each deciding entry once, in the permission order.
    std::vector<DecidingEntry> deciders;

    const PlaceAccess& At(unsigned place) const { return places[PlaceIndex(place)]; }
    // The state of one right (a single bit) at a place, and the entry that decided it.
    [[nodiscard]] Access StateOf(unsigned place, std::uint32_t bit) const;
    [[nodiscard]] const DecidingEntry* DeciderOf(unsigned place, std::uint32_t bit) const;
};

// For each place and each right, the first permission entry in the order the file writes
// them (deny entries, then allow entries) that applies to the person, reaches the place and
// holds the right decides it: allowed or denied, by that entry. Audited rights are, per
// place, the union of every applying audit entry that reaches it, on success and on failure.
EffectiveAccess ComputeEffectiveAccess(const SecurityDescriptor& descriptor,
                                       const AccessSubject& subject);

// The accounts the written lists of a descriptor name, each once (as CanonicalAccount
// matches them, the first spelling kept): permission entries in their order, then audit entries.
std::vector<std::string> AccountsOf(const SecurityDescriptor& descriptor);

// The effective access of each account of AccountsOf, in that order, each account asked
// about alone (without groups), computed in one walk of the lists.
using AccountAccessVisit =
    std::function<void(const std::string& account, const EffectiveAccess& access)>;
void ForEachAccountAccess(const SecurityDescriptor& descriptor, const AccountAccessVisit& visit);

} // namespace permora
