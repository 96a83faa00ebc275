#include "model/well_known.h"

#include "model/ascii_case.h"

#include <algorithm>
#include <iterator>

namespace permora {

namespace {

// Sorted by alias. Aliases whose SID holds the domain's own part have no SID here.
constexpr WellKnownAccount kAccounts[] = {
    {"AA", "S-1-5-32-579", ""},
    {"AC", "S-1-15-2-1", ""},
    {"AN", "S-1-5-7", "NT AUTHORITY\\ANONYMOUS LOGON"},
    {"AO", "S-1-5-32-548", "BUILTIN\\Account Operators"},
    {"AP", "", ""},
    {"AS", "S-1-18-1", ""},
    {"AU", "S-1-5-11", "NT AUTHORITY\\Authenticated Users"},
    {"BA", "S-1-5-32-544", "BUILTIN\\Administrators"},
    {"BG", "S-1-5-32-546", "BUILTIN\\Guests"},
    {"BO", "S-1-5-32-551", "BUILTIN\\Backup Operators"},
    {"BU", "S-1-5-32-545", "BUILTIN\\Users"},
    {"CA", "", ""},
    {"CD", "S-1-5-32-574", ""},
    {"CG", "S-1-3-1", "CREATOR GROUP"},
    {"CN", "", ""},
    {"CO", "S-1-3-0", "CREATOR OWNER"},
    {"CY", "S-1-5-32-569", ""},
    {"DA", "", ""},
    {"DC", "", ""},
    {"DD", "", ""},
    {"DG", "", ""},
    {"DU", "", ""},
    {"EA", "", ""},
    {"ED", "S-1-5-9", ""},
    {"EK", "", ""},
    {"ER", "S-1-5-32-573", ""},
    {"ES", "S-1-5-32-576", ""},
    {"HA", "S-1-5-32-578", ""},
    {"HI", "S-1-16-12288", ""},
    {"IS", "S-1-5-32-568", ""},
    {"IU", "S-1-5-4", "NT AUTHORITY\\INTERACTIVE"},
    {"KA", "", ""},
    {"LA", "", ""},
    {"LG", "", ""},
    {"LS", "S-1-5-19", "NT AUTHORITY\\LOCAL SERVICE"},
    {"LU", "S-1-5-32-559", ""},
    {"LW", "S-1-16-4096", ""},
    {"ME", "S-1-16-8192", ""},
    {"MP", "S-1-16-8448", ""},
    {"MU", "S-1-5-32-558", ""},
    {"NO", "S-1-5-32-556", ""},
    {"NS", "S-1-5-20", "NT AUTHORITY\\NETWORK SERVICE"},
    {"NU", "S-1-5-2", "NT AUTHORITY\\NETWORK"},
    {"OW", "S-1-3-4", "OWNER RIGHTS"},
    {"PA", "", ""},
    {"PO", "S-1-5-32-550", "BUILTIN\\Print Operators"},
    {"PS", "S-1-5-10", "NT AUTHORITY\\SELF"},
    {"PU", "S-1-5-32-547", "BUILTIN\\Power Users"},
    {"RA", "S-1-5-32-575", ""},
    {"RC", "S-1-5-12", "NT AUTHORITY\\RESTRICTED"},
    {"RD", "S-1-5-32-555", "BUILTIN\\Remote Desktop Users"},
    {"RE", "S-1-5-32-552", "BUILTIN\\Replicator"},
    {"RM", "S-1-5-32-580", ""},
    {"RO", "", ""},
    {"RS", "", ""},
    {"RU", "S-1-5-32-554", ""},
    {"SA", "", ""},
    {"SI", "S-1-16-16384", ""},
    {"SO", "S-1-5-32-549", "BUILTIN\\Server Operators"},
    {"SS", "S-1-18-2", ""},
    {"SU", "S-1-5-6", "NT AUTHORITY\\SERVICE"},
    {"SY", "S-1-5-18", "NT AUTHORITY\\SYSTEM"},
    {"UD", "S-1-5-84-0-0-0-0-0", ""},
    {"WD", "S-1-1-0", "Everyone"},
    {"WR", "S-1-5-33", ""},
};

template <typename Field> const WellKnownAccount* FindBy(std::string_view text, Field field) {
    if (text.empty()) {
        return nullptr;
    }
    const auto row = std::find_if(
        std::begin(kAccounts), std::end(kAccounts),
        [&](const WellKnownAccount& account) { return EqualsNoCase(account.*field, text); });
    return row != std::end(kAccounts) ? row : nullptr;
}

} // namespace

std::span<const WellKnownAccount> WellKnownAccounts() {
    return kAccounts;
}

const WellKnownAccount* FindByAlias(std::string_view alias) {
    if (alias.size() != 2) {
        return nullptr;
    }
    const auto row = std::lower_bound(std::begin(kAccounts), std::end(kAccounts), alias,
                                      [](const WellKnownAccount& account, std::string_view key) {
                                          return CompareNoCase(account.alias, key) < 0;
                                      });
    return row != std::end(kAccounts) && EqualsNoCase(row->alias, alias) ? row : nullptr;
}

const WellKnownAccount* FindBySid(std::string_view sid) {
    return LooksLikeSid(sid) ? FindBy(sid, &WellKnownAccount::sid) : nullptr;
}

const WellKnownAccount* FindByFriendlyName(std::string_view name) {
    return FindBy(name, &WellKnownAccount::friendlyName);
}

const WellKnownAccount* FindWellKnown(std::string_view name) {
    if (name.size() == 2) {
        return FindByAlias(name);
    }
    if (const WellKnownAccount* row = FindBySid(name)) {
        return row;
    }
    return FindByFriendlyName(name);
}

std::string_view AliasOf(std::string_view name) {
    const WellKnownAccount* row = FindWellKnown(name);
    return row != nullptr ? row->alias : std::string_view();
}

std::string_view SidOf(std::string_view name) {
    const WellKnownAccount* row = FindWellKnown(name);
    return row != nullptr ? row->sid : std::string_view();
}

bool LooksLikeSid(std::string_view text) {
    if (text.size() < 5 || FoldAscii(text[0]) != 's' || text.substr(1, 3) != "-1-") {
        return false;
    }
    bool digit = false;
    for (const char c : text.substr(4)) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '-' && digit) {
            digit = false;
        } else {
            return false;
        }
    }
    return digit;
}

std::string CanonicalAccount(std::string_view name) {
    // Aliases are upper case, folded names never are: the two kinds of key cannot meet.
    if (const WellKnownAccount* row = FindWellKnown(name)) {
        return std::string(row->alias);
    }
    return FoldCase(name);
}

bool SameAccount(std::string_view a, std::string_view b) {
    if (EqualsNoCase(a, b)) {
        return true;
    }
    const WellKnownAccount* left = FindWellKnown(a);
    return left != nullptr && left == FindWellKnown(b);
}

} // namespace permora
