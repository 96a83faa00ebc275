// Comparing a template's descriptor with a share's, by what they grant, deny and audit.

#include "smb/verify.h"

#include "model/acl.h"
#include "model/ascii_case.h"
#include "model/effective_access.h"
#include "model/names.h"
#include "model/well_known.h"

namespace permora::smb {

namespace {

constexpr unsigned kPlaceBits[kPlaces] = {kPlaceSelf, kPlaceChildFolders, kPlaceChildFiles,
                                          kPlaceDeeperFolders, kPlaceDeeperFiles};

void AddRights(RightsMap& map, const std::string& key, std::uint8_t type, std::uint8_t flags,
               std::uint32_t mask) {
    const std::uint32_t rights = MapGenericRights(mask);
    auto& places = map[key];
    const unsigned reached = PlacesOf(flags & kInheritanceBits);
    for (int i = 0; i < kPlaces; ++i) {
        if ((reached & kPlaceBits[i]) == 0) {
            continue;
        }
        PlaceRights& at = places[static_cast<std::size_t>(i)];
        if (type == kAllowType) {
            at.allowed |= rights;
        } else if (type == kDenyType) {
            at.denied |= rights;
        } else {
            if ((flags & kAuditSuccess) != 0) {
                at.auditedOnSuccess |= rights;
            }
            if ((flags & kAuditFailure) != 0) {
                at.auditedOnFailure |= rights;
            }
        }
    }
}

void AddList(RightsMap& map, const AceList& list, const KeyOf& keyOf) {
    for (const Ace* e = list.Head; e != nullptr; e = e->Next) {
        AddRights(map, keyOf(std::string(e->NTAccount)), e->AceType, e->Flags, e->Mask);
    }
}

// What one side has and the other lacks, grouped by the rights over a set of places.
void Differences(const RightsMap& have, const RightsMap& other, bool templateHas, bool withAudit,
                 std::vector<RightsDifference>& out) {
    struct Kind {
        const char* name;
        std::uint32_t PlaceRights::*field;
        bool audit;
    };
    constexpr Kind kKinds[] = {{"Deny", &PlaceRights::denied, false},
                               {"Allow", &PlaceRights::allowed, false},
                               {"Audit success", &PlaceRights::auditedOnSuccess, true},
                               {"Audit failure", &PlaceRights::auditedOnFailure, true}};
    static const std::array<PlaceRights, kPlaces> kNone{};
    for (const auto& [key, places] : have) {
        const auto found = other.find(key);
        const auto& theirs = found != other.end() ? found->second : kNone;
        for (const Kind& kind : kKinds) {
            if (kind.audit && !withAudit) {
                continue;
            }
            std::vector<RightsDifference> byRights;
            for (int i = 0; i < kPlaces; ++i) {
                const std::uint32_t missing = places[static_cast<std::size_t>(i)].*kind.field &
                                              ~(theirs[static_cast<std::size_t>(i)].*kind.field);
                if (missing == 0) {
                    continue;
                }
                bool joined = false;
                for (RightsDifference& d : byRights) {
                    if (d.rights == missing) {
                        d.places |= kPlaceBits[i];
                        joined = true;
                    }
                }
                if (!joined) {
                    byRights.push_back({templateHas, key, kind.name, missing, kPlaceBits[i]});
                }
            }
            out.insert(out.end(), byRights.begin(), byRights.end());
        }
    }
}

} // namespace

Comparison Compare(const SecurityDescriptor& wanted, const KeyOf& keyOf, const RawDescriptor& held,
                   bool withAudit) {
    RightsMap templateRights;
    AddList(templateRights, wanted.DaclList.Deny, keyOf);
    AddList(templateRights, wanted.DaclList.Allow, keyOf);
    if (withAudit) {
        AddList(templateRights, wanted.SaclList.Audit, keyOf);
    }
    RightsMap shareRights;
    const auto addRaw = [&shareRights](const RawList& list, bool audit) {
        for (const RawEntry& e : list.entries) {
            if ((e.flags & kInheritedFlag) != 0 || e.sid.empty()) {
                continue;
            }
            const bool fits =
                audit ? e.type == kRawAudit : e.type == kRawAllow || e.type == kRawDeny;
            if (fits) {
                AddRights(shareRights, e.sid, e.type, e.flags, e.mask);
            }
        }
    };
    if (held.dacl) {
        addRaw(*held.dacl, false);
    }
    if (withAudit && held.sacl) {
        addRaw(*held.sacl, true);
    }

    Comparison comparison;
    Differences(templateRights, shareRights, true, withAudit, comparison.rights);
    Differences(shareRights, templateRights, false, withAudit, comparison.rights);
    if ((wanted.Control & SE_DACL_PRESENT) != 0 && !held.dacl) {
        comparison.shareHasNoPermissionList = true;
    }
    const bool templateProtects = (wanted.Control & SE_DACL_PROTECTED) != 0;
    if (templateProtects != ((held.control & SE_DACL_PROTECTED) != 0)) {
        comparison.marks.push_back({"permission list", templateProtects});
    }
    if (withAudit) {
        const bool auditProtected = (wanted.Control & SE_SACL_PROTECTED) != 0;
        if (auditProtected != ((held.control & SE_SACL_PROTECTED) != 0)) {
            comparison.marks.push_back({"audit list", auditProtected});
        }
    }
    return comparison;
}

std::string PlacesWords(unsigned places) {
    for (std::uint8_t code = 0; code < 16; ++code) {
        if (PlacesOf(code) == places) {
            return PlacesText(code);
        }
    }
    constexpr const char* kWords[kPlaces] = {"this folder", "subfolders", "files",
                                             "deeper subfolders", "deeper files"};
    std::string words;
    for (int i = 0; i < kPlaces; ++i) {
        if ((places & kPlaceBits[i]) != 0) {
            words += (words.empty() ? "" : ", ") + std::string(kWords[i]);
        }
    }
    return words;
}

bool ResolveAccounts(ShareSession& session, const std::vector<std::string>& names,
                     std::map<std::string, std::string>& sidOf, std::vector<std::string>& unknown,
                     ShareError& error) {
    std::vector<std::string> asked;
    for (const std::string& name : names) {
        const std::string key = FoldCase(name);
        if (sidOf.contains(key)) {
            continue;
        }
        if (const std::string_view sid = SidOf(name); !sid.empty()) {
            sidOf[key] = std::string(sid);
        } else if (LooksLikeSid(name)) {
            std::string upper = name;
            upper[0] = 'S';
            sidOf[key] = upper;
        } else if (FindWellKnown(name) != nullptr) {
            // An alias that stands for a domain's own account: never sent to the server.
            sidOf[key] = key;
        } else {
            sidOf[key] = std::string();
            asked.push_back(name);
        }
    }
    if (asked.empty()) {
        return true;
    }
    std::vector<std::string> sids;
    if (!session.LookupNames(asked, sids, error)) {
        return false;
    }
    for (std::size_t i = 0; i < asked.size(); ++i) {
        if (sids[i].empty()) {
            unknown.push_back(asked[i]);
        }
        sidOf[FoldCase(asked[i])] = sids[i];
    }
    return true;
}

} // namespace permora::smb
