#pragma once

// The well-known accounts that SDDL names by a two-letter alias (WD, BA, SY, ...): one table
// for every place that matches accounts. Entries keep the name they were written with; these
// functions only say which names stand for the same account (WD, "Everyone" and S-1-1-0 are
// one). Aliases, SIDs and friendly names compare without regard to ASCII letter case.

#include <span>
#include <string>
#include <string_view>

namespace permora {

struct WellKnownAccount {
    std::string_view alias; // "WD"
    // "S-1-1-0"; empty for an alias whose SID depends on the domain (DA, DU, ...).
    std::string_view sid;
    // The name the program shows for it ("Everyone"); empty where it shows none.
    std::string_view friendlyName;
};

// Every row, in alias order.
std::span<const WellKnownAccount> WellKnownAccounts();

// The row of an alias ("wd" too), of a SID, of a friendly name, or of any of the three;
// nullptr when there is none.
const WellKnownAccount* FindByAlias(std::string_view alias);
const WellKnownAccount* FindBySid(std::string_view sid);
const WellKnownAccount* FindByFriendlyName(std::string_view name);
const WellKnownAccount* FindWellKnown(std::string_view name);

// The alias of a SID or friendly name (an alias gives itself, in upper case); empty when the
// name is no well-known account.
std::string_view AliasOf(std::string_view name);
// The SID of an alias or friendly name; empty when there is none.
std::string_view SidOf(std::string_view name);

// Whether the text has the shape of a SID ("S-1-" and digits and dashes), letter case aside.
[[nodiscard]] bool LooksLikeSid(std::string_view text);

// The identity accounts are matched by: equal for two names of the same account. A
// well-known account's alias in upper case ("WD" for "everyone", "S-1-1-0" and "wd"); any
// other name folded to lower case (FoldCase).
std::string CanonicalAccount(std::string_view name);
[[nodiscard]] bool SameAccount(std::string_view a, std::string_view b);

} // namespace permora
