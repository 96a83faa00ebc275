#include "model/well_known.h"

#include "model/ascii_case.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace permora {
namespace {

TEST(WellKnownTest, Lookups) {
    const struct {
        const char* name;
        const char* alias; // "" when the name is no well-known account
        const char* sid;
    } cases[] = {
        {"WD", "WD", "S-1-1-0"},
        {"wd", "WD", "S-1-1-0"},
        {"Everyone", "WD", "S-1-1-0"},
        {"EVERYONE", "WD", "S-1-1-0"},
        {"S-1-1-0", "WD", "S-1-1-0"},
        {"s-1-1-0", "WD", "S-1-1-0"},
        {"AU", "AU", "S-1-5-11"},
        {"S-1-5-11", "AU", "S-1-5-11"},
        {"BA", "BA", "S-1-5-32-544"},
        {"S-1-5-32-544", "BA", "S-1-5-32-544"},
        {"BUILTIN\\Administrators", "BA", "S-1-5-32-544"},
        {"SY", "SY", "S-1-5-18"},
        {"AN", "AN", "S-1-5-7"},
        {"CO", "CO", "S-1-3-0"},
        {"CG", "CG", "S-1-3-1"},
        {"OW", "OW", "S-1-3-4"},
        {"BU", "BU", "S-1-5-32-545"},
        {"BG", "BG", "S-1-5-32-546"},
        {"PU", "PU", "S-1-5-32-547"},
        {"NU", "NU", "S-1-5-2"},
        {"IU", "IU", "S-1-5-4"},
        {"SU", "SU", "S-1-5-6"},
        {"LS", "LS", "S-1-5-19"},
        {"NS", "NS", "S-1-5-20"},
        {"RD", "RD", "S-1-5-32-555"},
        {"DA", "DA", ""}, // the domain's own SID is part of it
        {"S-1-5-32-5440", "", ""},
        {"S-1-5-21-1-2-3-500", "", ""},
        {"XX", "", ""},
        {"W", "", ""},
        {"", "", ""},
        {"LAB\\everyone", "", ""},
        {"Everyone ", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AliasOf(c.name), c.alias) << c.name;
        EXPECT_EQ(SidOf(c.name), c.sid) << c.name;
    }
    EXPECT_EQ(FindByAlias("S-1-1-0"), nullptr);
    EXPECT_EQ(FindBySid("WD"), nullptr);
    EXPECT_EQ(FindByFriendlyName("WD"), nullptr);
    ASSERT_NE(FindByFriendlyName("everyone"), nullptr);
    EXPECT_EQ(FindByFriendlyName("everyone")->alias, "WD");
}

TEST(WellKnownTest, TableHoldsEachAliasSidAndNameOnce) {
    std::set<std::string> aliases;
    std::set<std::string> sids;
    std::set<std::string> names;
    for (const WellKnownAccount& row : WellKnownAccounts()) {
        EXPECT_EQ(row.alias.size(), 2U);
        EXPECT_TRUE(aliases.insert(std::string(row.alias)).second) << row.alias;
        if (!row.sid.empty()) {
            EXPECT_TRUE(LooksLikeSid(row.sid)) << row.sid;
            EXPECT_TRUE(sids.insert(std::string(row.sid)).second) << row.sid;
        }
        if (!row.friendlyName.empty()) {
            EXPECT_TRUE(names.insert(FoldCase(row.friendlyName)).second) << row.friendlyName;
        }
        EXPECT_EQ(FindByAlias(row.alias), &row);
    }
}

TEST(WellKnownTest, CanonicalAccountMatchesNamesOfOneAccount) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"WD", "Everyone", true},
        {"everyone", "S-1-1-0", true},
        {"AU", "s-1-5-11", true},
        {"BA", "S-1-5-32-544", true},
        {"SY", "S-1-5-18", true},
        {"LAB\\alice", "lab\\ALICE", true},
        {"S-1-5-21-1-2-3-1001", "s-1-5-21-1-2-3-1001", true},
        {"WD", "AU", false},
        {"AN", "WD", false},
        {"wd", "wd\\x", false},
        {"LAB\\alice", "LAB\\bob", false},
        {"BA", "ba", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SameAccount(c.a, c.b), c.same) << c.a << " / " << c.b;
        EXPECT_EQ(CanonicalAccount(c.a) == CanonicalAccount(c.b), c.same) << c.a << " / " << c.b;
    }
}

TEST(WellKnownTest, LooksLikeSid) {
    const struct {
        const char* text;
        bool sid;
    } cases[] = {
        {"S-1-1-0", true}, {"s-1-5-21-9-8-7-500", true},
        {"S-1-", false},   {"S-1-5-", false},
        {"S-1--5", false}, {"S-2-5", false},
        {"S-1-5x", false}, {"Everyone", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LooksLikeSid(c.text), c.sid) << c.text;
    }
}

} // namespace
} // namespace permora
