#pragma once

// Verify: whether a share's folders hold what a template's targets say, compared by meaning:
// per account (by SID), the rights its entries grant, deny and audit at each place an entry
// reaches, and the protected marks.

#include "model/target.h"
#include "smb/descriptor_bytes.h"
#include "smb/share.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace permora::smb {

// The rights at one place.
struct PlaceRights {
    std::uint32_t allowed = 0;
    std::uint32_t denied = 0;
    std::uint32_t auditedOnSuccess = 0;
    std::uint32_t auditedOnFailure = 0;
};
inline constexpr int kPlaces = 5;
// Per account key (a SID, or the name of an account no SID was found for), the rights at
// each place (the order of PlaceIndex).
using RightsMap = std::map<std::string, std::array<PlaceRights, kPlaces>>;

// One kind of right that one side has and the other lacks, for one account, at a set of
// places.
struct RightsDifference {
    bool templateHas = true; // false: the share has it, the template does not
    std::string account;     // the key
    const char* kind = "";   // "Allow", "Deny", "Audit success", "Audit failure"
    std::uint32_t rights = 0;
    unsigned places = 0; // place bits of model/ace.h
};

struct MarkDifference {
    const char* list; // "permission list", "audit list"
    bool templateProtects;
};

struct Comparison {
    std::vector<RightsDifference> rights;
    std::vector<MarkDifference> marks;
    bool shareHasNoPermissionList = false; // the template has one
    [[nodiscard]] bool Agrees() const {
        return rights.empty() && marks.empty() && !shareHasNoPermissionList;
    }
};

// The key an account of the template is compared by: the SID of a well-known name or alias,
// a SID as written, the SID the server gave for the name, or the name itself (letter case
// folded) when none is known.
using KeyOf = std::function<std::string(const std::string& account)>;

// Compares a template's descriptor with the share's (its explicit entries only); the audit
// parts only when withAudit.
Comparison Compare(const SecurityDescriptor& wanted, const KeyOf& keyOf, const RawDescriptor& held,
                   bool withAudit);

// Places as words: the Apply-to text of the one inheritance code that reaches exactly those
// places, or the places listed.
std::string PlacesWords(unsigned places);

// Resolves the accounts a template names to SIDs through the server, each name once: a
// well-known name or alias and a SID are never sent. unknown receives the names the server
// does not know, in the order given. False when the server could not be asked.
[[nodiscard]] bool ResolveAccounts(ShareSession& session, const std::vector<std::string>& names,
                                   std::map<std::string, std::string>& sidOf,
                                   std::vector<std::string>& unknown, ShareError& error);

} // namespace permora::smb
