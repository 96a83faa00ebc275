#include "model/effective_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace permora {
namespace {

struct Entry {
    std::uint8_t type;
    const char* account;
    std::uint8_t flags;
    std::uint32_t mask;
};

constexpr std::uint16_t kBothLists = SE_DACL_PRESENT | SE_SACL_PRESENT;

// Entries go in through the lists' own Add, as the reader enters them.
std::unique_ptr<SecurityDescriptor> Make(const std::vector<Entry>& entries,
                                         std::uint16_t control = kBothLists) {
    auto d = std::make_unique<SecurityDescriptor>();
    d->Control = control;
    for (const Entry& e : entries) {
        auto ace = std::make_unique<Ace>(e.account, e.mask, e.type, e.flags);
        Acl& acl = e.type == kAuditType ? d->SaclList : d->DaclList;
        (void)acl.Add(ace); // an empty mask is refused, as the reader's Add refuses it
    }
    return d;
}

constexpr std::array<unsigned, kPlaceCount> kPlaces = {
    kPlaceSelf, kPlaceChildFolders, kPlaceChildFiles, kPlaceDeeperFolders, kPlaceDeeperFiles};

struct PlaceExpectation {
    std::uint32_t allowed;
    std::uint32_t denied;
};

using Expected = std::array<PlaceExpectation, kPlaceCount>; // in the order of kPlaces

Expected Everywhere(std::uint32_t allowed, std::uint32_t denied = 0) {
    Expected e;
    e.fill({allowed, denied});
    return e;
}

TEST(EffectiveAccessTest, HandWorkedCases) {
    struct Case {
        const char* name;
        std::vector<Entry> entries;
        const char* account;
        std::vector<std::string> groups;
        Expected expected;
        int deniedDeleteBy = -1; // position of the entry that denies Delete on the folder
    };
    const Case cases[] = {
        {"a deny entry comes before an allow entry of the same account",
         {{kAllowType, "LAB\\jdoe", 0x03, 0x1F01FF}, {kDenyType, "LAB\\jdoe", 0x03, 0x10000}},
         "LAB\\jdoe",
         {},
         Everywhere(0x1F01FF & ~0x10000u, 0x10000),
         0},
        {"a group's deny wins over the account's allow",
         {{kAllowType, "LAB\\jdoe", 0x03, 0x1F01FF},
          {kDenyType, "LAB\\guests", 0x03, 0x2},
          {kDenyType, "LAB\\staff", 0x03, 0x10002}},
         "LAB\\jdoe",
         {"LAB\\staff"},
         Everywhere(0x1F01FF & ~0x10002u, 0x10002),
         1},
        {"inherit-only reaches the children and not the folder",
         {{kAllowType, "LAB\\jdoe", 0x0B, 0x1200A9}},
         "LAB\\jdoe",
         {},
         {{{0, 0}, {0x1200A9, 0}, {0x1200A9, 0}, {0x1200A9, 0}, {0x1200A9, 0}}}},
        {"NP stops at the first level",
         {{kAllowType, "LAB\\jdoe", 0x06, 0x1}, {kDenyType, "LAB\\jdoe", 0x05, 0x2}},
         "LAB\\jdoe",
         {},
         {{{0x1, 0x2}, {0x1, 0}, {0, 0x2}, {0, 0}, {0, 0}}}},
        {"generic rights count as the file rights they stand for",
         {{kAllowType, "LAB\\jdoe", 0x03, kGenericRead | kGenericExecute},
          {kDenyType, "LAB\\jdoe", 0x02, kGenericWrite}},
         "LAB\\jdoe",
         {},
         {{{0x1200A9 & ~kGenericWriteMapped, kGenericWriteMapped},
           {0x1200A9 & ~kGenericWriteMapped, kGenericWriteMapped},
           {0x1200A9, 0},
           {0x1200A9 & ~kGenericWriteMapped, kGenericWriteMapped},
           {0x1200A9, 0}}}},
        {"generic all is full control",
         {{kAllowType, "LAB\\jdoe", 0x03, kGenericAll}},
         "LAB\\jdoe",
         {},
         Everywhere(0x1F01FF)},
        {"everybody by any of its names, and the authenticated users",
         {{kAllowType, "Everyone", 0x03, 0x1},
          {kAllowType, "wd", 0x03, 0x2},
          {kAllowType, "S-1-1-0", 0x03, 0x4},
          {kAllowType, "AU", 0x03, 0x8},
          {kAllowType, "s-1-5-11", 0x03, 0x10},
          {kAllowType, "AN", 0x03, 0x20}},
         "LAB\\jdoe",
         {},
         Everywhere(0x1F)},
        {"asking about everybody leaves the authenticated users out",
         {{kAllowType, "Everyone", 0x03, 0x1}, {kAllowType, "AU", 0x03, 0x8}},
         "everyone",
         {},
         Everywhere(0x1)},
        {"a group named by its SID meets an entry by its alias, and the other way round",
         {{kAllowType, "BA", 0x03, 0x1}, {kDenyType, "S-1-5-18", 0x03, 0x10000}},
         "LAB\\jdoe",
         {"S-1-5-32-544", "SY"},
         Everywhere(0x1, 0x10000),
         0},
        {"the authenticated users by their SID and asked about by their alias",
         {{kAllowType, "S-1-5-11", 0x03, 0x1}, {kAllowType, "Everyone", 0x03, 0x2}},
         "au",
         {},
         Everywhere(0x3)},
        {"asking about everybody by its SID leaves the authenticated users out",
         {{kAllowType, "WD", 0x03, 0x1}, {kAllowType, "S-1-5-11", 0x03, 0x8}},
         "S-1-1-0",
         {},
         Everywhere(0x1)},
        {"the anonymous account is neither everybody nor authenticated",
         {{kAllowType, "Everyone", 0x03, 0x1},
          {kAllowType, "AU", 0x03, 0x8},
          {kAllowType, "S-1-5-7", 0x03, 0x20}},
         "AN",
         {},
         Everywhere(0x20)},
        {"another letter case is the same account",
         {{kDenyType, "lab\\JDOE", 0x03, 0x10000}, {kAllowType, "Lab\\Staff", 0x03, 0x1}},
         "LAB\\jdoe",
         {"LAB\\staff"},
         Everywhere(0x1, 0x10000),
         0},
        {"entries of other accounts decide nothing",
         {{kAllowType, "LAB\\jdoe2", 0x03, 0x1F01FF}, {kDenyType, "LAB", 0x03, 0x1F01FF}},
         "LAB\\jdoe",
         {},
         Everywhere(0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto d = Make(c.entries);
        const EffectiveAccess access =
            ComputeEffectiveAccess(*d, AccessSubject(c.account, c.groups));
        EXPECT_TRUE(access.hasPermissionList);
        for (int i = 0; i < kPlaceCount; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(access.At(kPlaces[i]).allowed, c.expected[i].allowed);
            EXPECT_EQ(access.At(kPlaces[i]).denied, c.expected[i].denied);
        }
        const DecidingEntry* deleteBy = access.DeciderOf(kPlaceSelf, kDelete);
        if (c.deniedDeleteBy >= 0) {
            ASSERT_NE(deleteBy, nullptr);
            EXPECT_EQ(deleteBy->position, c.deniedDeleteBy);
            EXPECT_EQ(deleteBy->type, kDenyType);
            EXPECT_EQ(deleteBy->mask,
                      d->DaclList.EntryAt(c.deniedDeleteBy, ListKind::Permissions)->Mask);
            EXPECT_EQ(access.StateOf(kPlaceSelf, kDelete), Access::Denied);
        }
    }
}

TEST(EffectiveAccessTest, DecidingEntriesAreNamedOnceInListOrder) {
    const auto d = Make({{kDenyType, "LAB\\staff", 0x02, 0x10000},
                         {kAllowType, "LAB\\jdoe", 0x03, 0x1200A9},
                         {kAllowType, "Everyone", 0x03, 0x1F01FF}});
    const EffectiveAccess access =
        ComputeEffectiveAccess(*d, AccessSubject("LAB\\jdoe", {"LAB\\staff"}));
    ASSERT_EQ(access.deciders.size(), 3u);
    EXPECT_EQ(access.deciders[0].position, 0);
    EXPECT_EQ(access.deciders[0].account, "LAB\\staff");
    EXPECT_EQ(access.deciders[0].flags, 0x02);
    EXPECT_EQ(access.deciders[1].position, 1);
    EXPECT_EQ(access.deciders[2].position, 2);
    EXPECT_EQ(access.DeciderOf(kPlaceChildFiles, kDelete)->position, 2);
    EXPECT_EQ(access.DeciderOf(kPlaceChildFolders, kDelete)->position, 0);
    EXPECT_EQ(access.DeciderOf(kPlaceSelf, kReadData)->position, 1);
    EXPECT_EQ(access.DeciderOf(kPlaceSelf, 0x80000000), nullptr);
    EXPECT_EQ(access.StateOf(kPlaceSelf, 0x80000000), Access::NotAllowed);
}

TEST(EffectiveAccessTest, WithoutAPermissionListNothingIsDecided) {
    const auto d = Make({{kAllowType, "Everyone", 0x03, 0x1F01FF}}, SE_SACL_PRESENT);
    const EffectiveAccess access = ComputeEffectiveAccess(*d, AccessSubject("LAB\\jdoe"));
    EXPECT_FALSE(access.hasPermissionList);
    EXPECT_TRUE(access.deciders.empty());
    for (unsigned place : kPlaces) {
        EXPECT_EQ(access.At(place).allowed, 0u);
        EXPECT_EQ(access.At(place).denied, 0u);
    }
}

TEST(EffectiveAccessTest, AuditingIsTheUnionPerPlace) {
    const auto d = Make({{kAuditType, "LAB\\jdoe", 0x42, 0x1},         // SA, CI
                         {kAuditType, "Everyone", 0x89, kGenericRead}, // FA, OI IO
                         {kAuditType, "LAB\\other", 0xC3, 0x1F01FF},   // someone else
                         {kAuditType, "lab\\JDOE", 0xC4, 0x10000}});   // SA FA, NP
    const EffectiveAccess access = ComputeEffectiveAccess(*d, AccessSubject("LAB\\jdoe"));
    EXPECT_TRUE(access.hasAuditList);
    EXPECT_EQ(access.At(kPlaceSelf).auditedOnSuccess, 0x10001u);
    EXPECT_EQ(access.At(kPlaceSelf).auditedOnFailure, 0x10000u);
    EXPECT_EQ(access.At(kPlaceChildFolders).auditedOnSuccess, 0x1u);
    EXPECT_EQ(access.At(kPlaceChildFolders).auditedOnFailure, 0u);
    EXPECT_EQ(access.At(kPlaceDeeperFiles).auditedOnSuccess, 0u);
    EXPECT_EQ(access.At(kPlaceDeeperFiles).auditedOnFailure, kGenericReadMapped);

    const auto withoutList = Make({{kAuditType, "LAB\\jdoe", 0xC3, 0x1}}, SE_DACL_PRESENT);
    const EffectiveAccess none = ComputeEffectiveAccess(*withoutList, AccessSubject("LAB\\jdoe"));
    EXPECT_FALSE(none.hasAuditList);
    EXPECT_EQ(none.At(kPlaceSelf).auditedOnSuccess, 0u);
}

TEST(EffectiveAccessTest, SplitGroupList) {
    EXPECT_EQ(SplitGroupList(""), std::vector<std::string>{});
    EXPECT_EQ(SplitGroupList(" ; ;"), std::vector<std::string>{});
    EXPECT_EQ(SplitGroupList("LAB\\staff"), std::vector<std::string>{"LAB\\staff"});
    EXPECT_EQ(SplitGroupList(" LAB\\staff;;LAB\\dev ; "),
              (std::vector<std::string>{"LAB\\staff", "LAB\\dev"}));
}

// ---------------------------------------------------------------------------------------
// The calculation against a straightforward second one, right by right, over random lists.

struct ReferenceDecision {
    Access state = Access::NotAllowed;
    int position = -1;
};

std::uint32_t ReferenceMap(std::uint32_t mask) {
    std::uint32_t out = mask & 0x0FFFFFFF;
    const std::pair<std::uint32_t, std::uint32_t> generic[] = {{0x10000000, 0x1F01FF},
                                                               {0x20000000, 0x1200A0},
                                                               {0x40000000, 0x120116},
                                                               {0x80000000, 0x120089}};
    for (const auto& [bit, rights] : generic) {
        if (mask & bit) {
            out |= rights;
        }
    }
    return out;
}

std::string Fold(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Every name, folded, whose entries apply to the account with its groups. A name of a
// well-known account stands for its other names too.
std::set<std::string> ReferenceNames(const std::string& account,
                                     const std::vector<std::string>& groups) {
    const std::vector<std::set<std::string>> families = {{"everyone", "wd", "s-1-1-0"},
                                                         {"au", "s-1-5-11"}};
    std::set<std::string> names = {"everyone", "wd", "s-1-1-0"};
    const auto add = [&](const std::string& name) {
        names.insert(Fold(name));
        for (const auto& family : families) {
            if (family.count(Fold(name))) {
                names.insert(family.begin(), family.end());
            }
        }
    };
    add(account);
    for (const std::string& g : groups) {
        add(g);
    }
    if (!families[0].count(Fold(account))) {
        names.insert({"au", "s-1-5-11"});
    }
    return names;
}

ReferenceDecision ReferenceDecide(const SecurityDescriptor& d, unsigned place, int bit,
                                  const std::set<std::string>& names) {
    for (int i = 0; const Ace* e = d.DaclList.EntryAt(i, ListKind::Permissions); ++i) {
        if (names.count(Fold(e->NTAccount)) && (PlacesOf(e->Flags) & place) &&
            (ReferenceMap(e->Mask) >> bit & 1)) {
            return {e->AceType == kDenyType ? Access::Denied : Access::Allowed, i};
        }
    }
    return {};
}

TEST(EffectiveAccessTest, AgreesWithAStraightforwardEvaluation) {
    std::mt19937 random(20261211);
    const std::vector<std::string> pool = {"LAB\\jdoe", "lab\\JDOE", "LAB\\staff", "Lab\\Dev",
                                           "Everyone",  "WD",        "S-1-1-0",    "AU",
                                           "s-1-5-11",  "LAB\\other"};
    const std::uint32_t bits[] = {0x1,        0x2,        0x4,        0x20,
                                  0x40,       0x10000,    0x80000,    0x100000,
                                  0x10000000, 0x20000000, 0x40000000, 0x80000000};
    const auto pick = [&](auto& from) { return from[random() % std::size(from)]; };
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        std::vector<Entry> entries;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) {
            std::uint32_t mask = 0;
            for (int b = 0, n = 1 + static_cast<int>(random() % 3); b < n; ++b) {
                mask |= pick(bits);
            }
            const std::uint8_t type = static_cast<std::uint8_t>(random() % 3);
            std::uint8_t flags = static_cast<std::uint8_t>(random() % 16);
            if (type == kAuditType) {
                flags |= static_cast<std::uint8_t>((1 + random() % 3) << 6);
            }
            entries.push_back({type, pool[random() % pool.size()].c_str(), flags, mask});
        }
        const auto d = Make(
            entries, static_cast<std::uint16_t>(random() % 8 == 0 ? SE_SACL_PRESENT : kBothLists));
        const std::string account = pool[random() % pool.size()];
        std::vector<std::string> groups;
        if (random() % 2) {
            groups.push_back(pool[random() % pool.size()]);
        }
        const EffectiveAccess access = ComputeEffectiveAccess(*d, AccessSubject(account, groups));
        const std::set<std::string> names = ReferenceNames(account, groups);
        for (unsigned place : kPlaces) {
            std::uint32_t success = 0;
            std::uint32_t failure = 0;
            for (const Ace* e = d->SaclList.Audit.Head; e != nullptr; e = e->Next) {
                if (names.count(Fold(e->NTAccount)) && (PlacesOf(e->Flags) & place)) {
                    success |= (e->Flags & kAuditSuccess) ? ReferenceMap(e->Mask) : 0;
                    failure |= (e->Flags & kAuditFailure) ? ReferenceMap(e->Mask) : 0;
                }
            }
            EXPECT_EQ(access.At(place).auditedOnSuccess, success);
            EXPECT_EQ(access.At(place).auditedOnFailure, failure);
            for (int bit = 0; bit < 32; ++bit) {
                const ReferenceDecision expected = (d->Control & SE_DACL_PRESENT)
                                                       ? ReferenceDecide(*d, place, bit, names)
                                                       : ReferenceDecision{};
                const std::uint32_t right = 1u << bit;
                ASSERT_EQ(access.StateOf(place, right), expected.state)
                    << "place " << place << " bit " << bit;
                const DecidingEntry* by = access.DeciderOf(place, right);
                ASSERT_EQ(by != nullptr ? by->position : -1, expected.position);
            }
        }

        // Every account at once gives what asking about each alone gives.
        std::vector<std::string> visited;
        ForEachAccountAccess(*d, [&](const std::string& name, const EffectiveAccess& all) {
            visited.push_back(name);
            const EffectiveAccess alone = ComputeEffectiveAccess(*d, AccessSubject(name));
            for (unsigned place : kPlaces) {
                EXPECT_EQ(all.At(place).allowed, alone.At(place).allowed) << name;
                EXPECT_EQ(all.At(place).denied, alone.At(place).denied) << name;
                EXPECT_EQ(all.At(place).auditedOnSuccess, alone.At(place).auditedOnSuccess);
                EXPECT_EQ(all.At(place).auditedOnFailure, alone.At(place).auditedOnFailure);
                for (int bit = 0; bit < 32; ++bit) {
                    const DecidingEntry* a = all.DeciderOf(place, 1u << bit);
                    const DecidingEntry* b = alone.DeciderOf(place, 1u << bit);
                    EXPECT_EQ(a != nullptr ? a->position : -1, b != nullptr ? b->position : -1);
                }
            }
        });
        EXPECT_EQ(visited, AccountsOf(*d));
    }
}

TEST(EffectiveAccessTest, AccountsOfNamesEachAccountOnce) {
    const auto d = Make({{kAuditType, "LAB\\auditor", 0xC3, 0x1},
                         {kAllowType, "Everyone", 0x03, 0x1200A9},
                         {kDenyType, "LAB\\guest", 0x03, 0x1},
                         {kAllowType, "lab\\GUEST", 0x03, 0x1200A9},
                         {kAuditType, "everyone", 0x43, 0x2}});
    EXPECT_EQ(AccountsOf(*d), (std::vector<std::string>{"LAB\\guest", "Everyone", "LAB\\auditor"}));
    d->Control = SE_SACL_PRESENT;
    // The audit list puts success-only entries before entries of both kinds.
    EXPECT_EQ(AccountsOf(*d), (std::vector<std::string>{"everyone", "LAB\\auditor"}));
}

TEST(EffectiveAccessTest, EveryNameOfAWellKnownAccountIsOneAccount) {
    const auto d = Make({{kAllowType, "WD", 0x03, 0x1},
                         {kAllowType, "Everyone", 0x03, 0x2},
                         {kAllowType, "S-1-1-0", 0x03, 0x4},
                         {kAllowType, "BA", 0x03, 0x1F01FF},
                         {kAuditType, "s-1-5-32-544", 0xC3, 0x1}});
    EXPECT_EQ(AccountsOf(*d), (std::vector<std::string>{"WD", "BA"}));
    std::vector<std::pair<std::string, std::uint32_t>> seen;
    ForEachAccountAccess(*d, [&](const std::string& account, const EffectiveAccess& access) {
        seen.emplace_back(account, access.At(kPlaceSelf).allowed);
        EXPECT_EQ(access.At(kPlaceSelf).auditedOnSuccess, account == "BA" ? 0x1U : 0U);
    });
    EXPECT_EQ(seen,
              (std::vector<std::pair<std::string, std::uint32_t>>{{"WD", 0x7}, {"BA", 0x1F01FF}}));
}

} // namespace
} // namespace permora
