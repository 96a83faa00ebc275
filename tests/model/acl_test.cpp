#include "model/acl.h"
#include "model/ascii_case.h"

#include "model_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace permora {
namespace {

using model_support::LinksAreSound;
using model_support::MakeEntry;
using model_support::Row;
using model_support::RowsOf;

struct Step {
    Row entry;
    bool taken;
};

struct AddCase {
    const char* name;
    std::uint8_t type;
    std::vector<Row> start;
    std::vector<Step> steps;
    std::vector<Row> final;
};

// Builds a member from entries that are already in their final order and never merge, and
// makes sure they went in as written.
AceList ListOf(const std::vector<Row>& rows, std::uint8_t type) {
    AceList list;
    for (const Row& row : rows) {
        EXPECT_TRUE(list.Add(MakeEntry(row, type)));
    }
    EXPECT_EQ(RowsOf(list), rows) << "the start list does not build as written";
    return list;
}

TEST(AceListTest, AddFollowsTheMergeAndPlacementRules) {
    const AddCase cases[] = {
        // Permission entries.
        {"same flags: the masks join",
         0,
         {{"Everyone", 0x03, 0x1200A9}},
         {{{"Everyone", 0x03, 0x1F01FF}, true}},
         {{"Everyone", 0x03, 0x1F01FF}}},
        {"same mask: the flags join",
         0,
         {{"Everyone", 0x03, 0x1200A9}},
         {{{"Everyone", 0x02, 0x1200A9}, true}},
         {{"Everyone", 0x03, 0x1200A9}}},
        {"existing entry covers the new one: it keeps its own inheritance",
         0,
         {{"Everyone", 0x03, 0x1200A9}},
         {{{"Everyone", 0x09, 0x120089}, true}},
         {{"Everyone", 0x03, 0x1200A9}}},
        {"new entry covers the existing one: its inheritance is taken",
         0,
         {{"Everyone", 0x04, 0x1}},
         {{{"Everyone", 0x01, 0x3}, true}},
         {{"Everyone", 0x01, 0x3}}},
        // A merge keeps every place that either entry reached.
        {"this folder beside subfolders and files only: the whole tree",
         0,
         {{"WD", 0x00, 0x1200A9}},
         {{{"WD", 0x0B, 0x1200A9}, true}},
         {{"WD", 0x03, 0x1200A9}}},
        {"a wider entry absorbs this folder only and keeps its reach",
         0,
         {{"x", 0x03, 0x1F01FF}},
         {{{"x", 0x04, 0x1200A9}, true}, {{"x", 0x04, 0x1F01FF}, true}},
         {{"x", 0x03, 0x1F01FF}}},
        {"files only beside this folder only: this folder and files",
         0,
         {{"x", 0x09, 0x1}},
         {{{"x", 0x04, 0x1}, true}},
         {{"x", 0x01, 0x1}}},
        {"the kept entry's own code wins where both reach the places",
         0,
         {{"x", 0x00, 0x1}, {"y", 0x04, 0x1}},
         {{{"x", 0x04, 0x1}, true}, {{"y", 0x00, 0x1}, true}},
         {{"x", 0x00, 0x1}, {"y", 0x04, 0x1}}},
        {"else the new entry's code, when it reaches every place",
         0,
         {{"x", 0x08, 0x1}},
         {{{"x", 0x05, 0x1}, true}},
         {{"x", 0x05, 0x1}}},
        {"else a code that neither entry had",
         0,
         {{"x", 0x06, 0x1}},
         {{{"x", 0x0D, 0x1}, true}},
         {{"x", 0x07, 0x1}}},
        {"equal masks over places no code joins: both stay, placed as unmerged",
         0,
         {{"x", 0x05, 0x1}, {"y", 0x03, 0x1}},
         {{{"x", 0x0A, 0x1}, true}},
         {{"x", 0x05, 0x1}, {"x", 0x0A, 0x1}, {"y", 0x03, 0x1}}},
        {"nothing mergeable: placed after the account's last entry",
         0,
         {{"Everyone", 0x03, 0x1200A9}, {"Admins", 0x03, 0x1F01FF}},
         {{{"Everyone", 0x02, 0x116}, true}},
         {{"Everyone", 0x03, 0x1200A9}, {"Everyone", 0x02, 0x116}, {"Admins", 0x03, 0x1F01FF}}},
        {"nothing mergeable for the last account: appended",
         0,
         {{"Admins", 0x03, 0x1F01FF}, {"Everyone", 0x03, 0x1200A9}},
         {{{"Everyone", 0x02, 0x116}, true}},
         {{"Admins", 0x03, 0x1F01FF}, {"Everyone", 0x03, 0x1200A9}, {"Everyone", 0x02, 0x116}}},
        {"new account goes to the end",
         0,
         {{"Everyone", 0x03, 0x1200A9}},
         {{{"Admins", 0x03, 0x1F01FF}, true}},
         {{"Everyone", 0x03, 0x1200A9}, {"Admins", 0x03, 0x1F01FF}}},
        {"follow-up pass folds the grown entry into the next one",
         0,
         {{"x", 0x01, 0x1}, {"x", 0x02, 0x3}},
         {{{"x", 0x01, 0x2}, true}},
         {{"x", 0x03, 0x3}}},
        {"follow-up passes repeat until nothing merges",
         0,
         {{"x", 0x02, 0x3}, {"x", 0x09, 0x1}, {"x", 0x01, 0x2}},
         {{{"x", 0x01, 0x1}, true}},
         {{"x", 0x03, 0x3}}},
        {"follow-up passes join no places that hold other rights",
         0,
         {{"x", 0x02, 0x3}, {"x", 0x09, 0x1}, {"x", 0x08, 0x2}},
         {{{"x", 0x01, 0x2}, true}},
         {{"x", 0x02, 0x3}, {"x", 0x09, 0x1}, {"x", 0x01, 0x2}}},
        {"accounts compare without case",
         0,
         {{"Everyone", 0x03, 0x1200A9}},
         {{{"EVERYONE", 0x03, 0x1}, true}},
         {{"Everyone", 0x03, 0x1200A9}}},
        {"empty masks are refused",
         0,
         {{"Everyone", 0x03, 0x1200A9}},
         {{{"Everyone", 0x03, 0x00100000}, false}, {{"Everyone", 0x03, 0x0}, false}},
         {{"Everyone", 0x03, 0x1200A9}}},
        {"the first entry of an empty list",
         1,
         {},
         {{{"x", 0x0B, 0x20}, true}},
         {{"x", 0x0B, 0x20}}},

        // Audit entries: placement.
        {"audit placement by audit bits",
         2,
         {{"x", 0x83, 0x1}, {"y", 0x43, 0x1}, {"z", 0xC3, 0x1}},
         {{{"w", 0x43, 0x1}, true}, {{"v", 0x83, 0x1}, true}, {{"u", 0xC3, 0x1}, true}},
         {{"x", 0x83, 0x1},
          {"v", 0x83, 0x1},
          {"y", 0x43, 0x1},
          {"w", 0x43, 0x1},
          {"z", 0xC3, 0x1},
          {"u", 0xC3, 0x1}}},
        {"audit placement with no later group: appended",
         2,
         {{"x", 0x83, 0x1}},
         {{{"y", 0x43, 0x1}, true}, {{"z", 0x83, 0x1}, true}},
         {{"x", 0x83, 0x1}, {"z", 0x83, 0x1}, {"y", 0x43, 0x1}}},
        {"failure-only entry becomes the new Head",
         2,
         {{"y", 0x43, 0x1}},
         {{{"x", 0x83, 0x1}, true}},
         {{"x", 0x83, 0x1}, {"y", 0x43, 0x1}}},
        {"audit entry auditing nothing starts an empty list",
         2,
         {},
         {{{"x", 0x03, 0x1}, true}},
         {{"x", 0x03, 0x1}}},
        {"audit entry auditing nothing is dropped from a non-empty list",
         2,
         {{"x", 0xC3, 0x1}},
         {{{"y", 0x03, 0x1}, true}},
         {{"x", 0xC3, 0x1}}},
        {"audit empty mask is refused", 2, {}, {{{"x", 0xC3, 0x00100000}, false}}, {}},

        // Audit entries: the rule chosen by the audit bits of the account's first entry.
        {"R1: both audit both, equal flags join the masks",
         2,
         {{"a", 0xC3, 0x1}},
         {{{"a", 0xC3, 0x2}, true}},
         {{"a", 0xC3, 0x3}}},
        {"R1: both audit both, other flags are not merged even with an equal mask",
         2,
         {{"a", 0xC3, 0x1}},
         {{{"a", 0xC1, 0x1}, true}},
         {{"a", 0xC3, 0x1}, {"a", 0xC1, 0x1}}},
        {"R2: the new entry audits both, equal scope and mask mark the entry",
         2,
         {{"a", 0x43, 0x1}},
         {{{"a", 0xC3, 0x1}, true}},
         {{"a", 0xC3, 0x1}}},
        {"R2: the first entry audits both, a different mask is placed instead",
         2,
         {{"a", 0xC3, 0x1}},
         {{{"a", 0x43, 0x2}, true}},
         {{"a", 0x43, 0x2}, {"a", 0xC3, 0x1}}},
        {"R3: both audit success, mergeable entries join",
         2,
         {{"a", 0x43, 0x1}},
         {{{"a", 0x43, 0x2}, true}},
         {{"a", 0x43, 0x3}}},
        {"R3: equal masks join their places",
         2,
         {{"a", 0x41, 0x1}},
         {{{"a", 0x4A, 0x1}, true}},
         {{"a", 0x43, 0x1}}},
        {"R3: equal masks over places no code joins stay apart",
         2,
         {{"a", 0x45, 0x1}},
         {{{"a", 0x4A, 0x1}, true}},
         {{"a", 0x45, 0x1}, {"a", 0x4A, 0x1}}},
        {"R3: audit flags are never a recognised scope, so nothing covers",
         2,
         {{"a", 0x83, 0x3}},
         {{{"a", 0x81, 0x1}, true}},
         {{"a", 0x83, 0x3}, {"a", 0x81, 0x1}}},
        {"R4: success then failure with equal scope and mask audit both",
         2,
         {{"Everyone", 0x43, 0x200A9}},
         {{{"Everyone", 0x83, 0x200A9}, true}},
         {{"Everyone", 0xC3, 0x200A9}}},
        {"R4: a different scope is placed instead",
         2,
         {{"a", 0x43, 0x1}},
         {{{"a", 0x81, 0x1}, true}},
         {{"a", 0x81, 0x1}, {"a", 0x43, 0x1}}},
        {"R4: the scope compared is the examined entry's own, not the first entry's",
         2,
         {{"a", 0x83, 0x1}, {"a", 0x41, 0x2}},
         {{{"a", 0x43, 0x2}, true}},
         {{"a", 0x83, 0x1}, {"a", 0x41, 0x2}, {"a", 0x43, 0x2}}},
        {"R4: a later entry of equal scope and mask audits both",
         2,
         {{"a", 0x43, 0x1}, {"a", 0x41, 0x2}},
         {{{"a", 0x81, 0x2}, true}},
         {{"a", 0x43, 0x1}, {"a", 0xC1, 0x2}}},
        {"R4: failure auditing stays where it was asked for",
         2,
         {{"x", 0x43, 0x1}, {"x", 0x49, 0x2}},
         {{{"x", 0x83, 0x2}, true}},
         {{"x", 0x83, 0x2}, {"x", 0x43, 0x1}, {"x", 0x49, 0x2}}},
        {"audit scan ends at the first entry of another account",
         2,
         {{"a", 0x81, 0x1}, {"b", 0x41, 0x1}, {"a", 0x41, 0x2}},
         {{{"a", 0x41, 0x2}, true}},
         {{"a", 0x81, 0x1}, {"b", 0x41, 0x1}, {"a", 0x41, 0x2}, {"a", 0x41, 0x2}}},

        // Audit entries: the follow-up passes.
        {"F3: the grown entry is folded into an entry with an equal mask",
         2,
         {{"x", 0x41, 0x1}, {"x", 0x42, 0x3}},
         {{{"x", 0x41, 0x2}, true}},
         {{"x", 0x43, 0x3}}},
        {"F1: entries auditing both merge only with equal flags",
         2,
         {{"x", 0xC1, 0x1}, {"x", 0xC2, 0x3}},
         {{{"x", 0xC1, 0x2}, true}},
         {{"x", 0xC1, 0x3}, {"x", 0xC2, 0x3}}},
        {"F2: the grown entry audits both; an equal mask over other places stays apart",
         2,
         {{"x", 0x82, 0x2}, {"x", 0x42, 0x1}, {"x", 0x44, 0x1}},
         {{{"x", 0xC2, 0x1}, true}},
         {{"x", 0x82, 0x2}, {"x", 0xC2, 0x1}, {"x", 0x44, 0x1}}},
    };

    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.name);
        AceList list = ListOf(c.start, c.type);
        for (const Step& step : c.steps) {
            std::unique_ptr<Ace> entry = MakeEntry(step.entry, c.type);
            const Ace* handed = entry.get();
            EXPECT_EQ(list.Add(entry), step.taken) << step.entry;
            if (step.taken) {
                EXPECT_EQ(entry, nullptr) << "a taken entry leaves the caller";
            } else {
                EXPECT_EQ(entry.get(), handed) << "a refused entry stays with the caller";
            }
        }
        EXPECT_EQ(RowsOf(list), c.final);
        EXPECT_TRUE(LinksAreSound(list));
    }
}

TEST(AceListTest, FindAndAtCoverTheirEdges) {
    AceList list = ListOf({{"", 0x03, 0x1}, {"Everyone", 0x03, 0x2}, {"bob", 0x03, 0x4}}, 0);
    EXPECT_EQ(list.Find(""), nullptr) << "an empty name matches nothing, not even itself";
    ASSERT_NE(list.Find("everyone"), nullptr);
    EXPECT_EQ(list.Find("everyone")->Mask, 0x2u);
    EXPECT_EQ(list.Find("bobby"), nullptr);
    EXPECT_EQ(list.Find("bo"), nullptr);
    EXPECT_EQ(list.At(-1), nullptr);
    EXPECT_EQ(list.At(3), nullptr);
    EXPECT_EQ(list.At(0), list.Head);
    EXPECT_EQ(list.At(2), list.Tail);
}

TEST(AceListTest, RemoveAndRemoveAccountKeepTheLinks) {
    AceList list = ListOf(
        {{"a", 0x01, 0x1}, {"a", 0x02, 0x2}, {"b", 0x03, 0x1}, {"c", 0x03, 0x1}, {"C", 0x04, 0x2}},
        0);
    list.Remove(nullptr);
    EXPECT_EQ(list.Count, 5);

    // An entry that is not in this list is left alone.
    Ace stranger("b", 0x1, kAllowType);
    list.Remove(&stranger);
    AceList other = ListOf({{"b", 0x03, 0x1}}, 0);
    list.Remove(other.Head);
    EXPECT_EQ(list.Count, 5);
    EXPECT_EQ(other.Count, 1);

    list.Remove(list.Head);
    EXPECT_EQ(
        RowsOf(list),
        (std::vector<Row>{{"a", 0x02, 0x2}, {"b", 0x03, 0x1}, {"c", 0x03, 0x1}, {"C", 0x04, 0x2}}));
    list.RemoveAccount("c");
    EXPECT_EQ(RowsOf(list), (std::vector<Row>{{"a", 0x02, 0x2}, {"b", 0x03, 0x1}}));
    list.RemoveAccount("");
    list.RemoveAccount("nobody");
    EXPECT_EQ(list.Count, 2);
    list.Remove(list.Tail);
    list.Remove(list.Head);
    EXPECT_EQ(list.Count, 0);
    EXPECT_EQ(list.Head, nullptr);
    EXPECT_EQ(list.Tail, nullptr);
}

// Remove unlinks only an entry of its own list: an entry of another list of the same account,
// or of none, leaves both lists as they were, short lists and long ones alike.
TEST(AceListTest, RemoveLeavesAnEntryOfAnotherListAlone) {
    for (const int length : {3, AceList::kIndexedAbove + 10}) {
        AceList mine;
        AceList other;
        for (int i = 0; i < length; ++i) {
            const std::string account = "LAB\\user" + std::to_string(i);
            mine.Add(std::make_unique<Ace>(account, 0x1u, kAllowType, kDefaultFlags));
            other.Add(std::make_unique<Ace>(account, 0x2u, kAllowType, kDefaultFlags));
        }
        const std::vector<Row> before = RowsOf(mine);
        for (Ace* theirs : {other.Head, other.Head->Next, other.Tail}) {
            mine.Remove(theirs);
        }
        Ace loose("LAB\\user1", kAllowType);
        mine.Remove(&loose);
        EXPECT_EQ(RowsOf(mine), before) << length;
        EXPECT_EQ(other.Count, length);
        EXPECT_TRUE(LinksAreSound(mine));
        EXPECT_TRUE(LinksAreSound(other));

        mine.Remove(mine.Head->Next);
        EXPECT_EQ(mine.Count, length - 1);
        EXPECT_EQ(mine.Find("lab\\USER1"), nullptr);
    }
}

TEST(AceListTest, InitWithReplacesWhateverTheListHeld) {
    AceList list = ListOf({{"a", 0x01, 0x1}, {"b", 0x02, 0x2}}, 0);
    list.InitWith(std::make_unique<Ace>("c", 0x4u, kAllowType, 0x03));
    EXPECT_EQ(RowsOf(list), (std::vector<Row>{{"c", 0x03, 0x4}}));
    EXPECT_TRUE(LinksAreSound(list));
    list.InitWith(nullptr);
    EXPECT_EQ(list.Count, 0);
    EXPECT_TRUE(LinksAreSound(list));
}

TEST(AceListTest, MoveLeavesTheSourceEmpty) {
    AceList source = ListOf({{"a", 0x01, 0x1}, {"b", 0x02, 0x2}}, 0);
    const Ace* head = source.Head;
    AceList moved(std::move(source));
    EXPECT_EQ(moved.Head, head);
    EXPECT_EQ(moved.Count, 2);
    EXPECT_EQ(source.Count, 0); // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(source.Head, nullptr);

    AceList target = ListOf({{"z", 0x03, 0x1}}, 0);
    target = std::move(moved);
    EXPECT_EQ(RowsOf(target), (std::vector<Row>{{"a", 0x01, 0x1}, {"b", 0x02, 0x2}}));
    EXPECT_TRUE(LinksAreSound(target));
}

// A full list takes no further link, but may still merge. Filling a list through Add would
// cost a quadratic number of name comparisons, so it is filled with audit entries, which
// InsertAudit appends without a search; the list itself does not care about entry types.
TEST(AceListTest, AFullListRefusesNewLinksButStillMerges) {
    AceList list;
    for (int i = 0; i < AceList::kMaxCount; ++i) {
        list.InsertAudit(std::make_unique<Ace>("a" + std::to_string(i % 7), 0x1u, kAuditType,
                                               std::uint8_t{0xC3}));
    }
    ASSERT_EQ(list.Count, AceList::kMaxCount);
    const Ace* tail = list.Tail;

    struct CapCase {
        const char* name;
        Row entry;
        std::uint8_t type;
        bool taken;
    };
    const CapCase cases[] = {
        {"new audit account", {"new", 0xC3, 0x1}, kAuditType, false},
        {"audit entry that merges", {"a0", 0xC3, 0x2}, kAuditType, true},
        {"audit entry dropped for auditing nothing", {"new", 0x03, 0x1}, kAuditType, true},
        {"new permission account", {"new", 0x03, 0x1}, kAllowType, false},
        {"permission entry that would be linked", {"a0", 0x44, 0x100}, kAllowType, false},
        {"permission entry that merges", {"a0", 0xC3, 0x4}, kAllowType, true},
    };
    for (const CapCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Ace> entry = MakeEntry(c.entry, c.type);
        EXPECT_EQ(list.Add(entry), c.taken);
        EXPECT_EQ(entry == nullptr, c.taken);
        EXPECT_EQ(list.Count, AceList::kMaxCount);
        EXPECT_EQ(list.Tail, tail);
    }
    EXPECT_EQ(list.Head->Mask, 0x7u);

    list.InsertAudit(std::make_unique<Ace>("new", 0x1u, kAuditType, std::uint8_t{0xC3}));
    EXPECT_EQ(list.Count, AceList::kMaxCount);
    EXPECT_TRUE(LinksAreSound(list));
}

// After every successful Add to a permission member, the account's entries are consecutive,
// no two of them can be merged (so neither can the one carrying the new rights), and no
// right that the account had or was given is lost.
TEST(AceListTest, RandomPermissionAddsKeepEveryAccountMergeFree) {
    const char* accounts[] = {"alice", "ALICE", "bob", "Carol", "carol"};
    const std::uint8_t scopes[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x09, 0x0A, 0x0B, 0x05, 0x0C};
    std::mt19937 random(20240611);
    auto pick = [&random](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    auto folded = [](std::string name) {
        for (char& c : name) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return name;
    };

    for (int round = 0; round < 200; ++round) {
        Acl acl;
        for (int add = 0; add < 30; ++add) {
            const std::uint8_t type = pick(2) == 0 ? kAllowType : kDenyType;
            std::uint32_t mask = 0;
            for (int bit = 0; bit < 5; ++bit) {
                if (pick(3) == 0) {
                    mask |= 1u << bit;
                }
            }
            if (pick(2) == 0) {
                mask |= kSynchronize;
            }
            const std::string account = accounts[pick(std::size(accounts))];
            const std::uint8_t flags = scopes[pick(std::size(scopes))];
            AceList& member = type == kAllowType ? acl.Allow : acl.Deny;

            std::uint32_t rightsBefore = mask;
            for (const Ace* e = member.Head; e != nullptr; e = e->Next) {
                if (folded(e->NTAccount) == folded(account)) {
                    rightsBefore |= e->Mask;
                }
            }

            const bool taken = acl.Add(std::make_unique<Ace>(account, mask, type, flags));
            ASSERT_EQ(taken, !IsMaskEmpty(mask));
            ASSERT_TRUE(LinksAreSound(member));
            if (!taken) {
                continue;
            }

            std::vector<const Ace*> mine;
            std::set<std::string> runsClosed;
            std::string previous;
            std::uint32_t rightsAfter = 0;
            for (const Ace* e = member.Head; e != nullptr; e = e->Next) {
                const std::string name = folded(e->NTAccount);
                ASSERT_FALSE(runsClosed.count(name)) << "entries of " << name << " are split";
                if (!previous.empty() && previous != name) {
                    runsClosed.insert(previous);
                }
                previous = name;
                if (name == folded(account)) {
                    mine.push_back(e);
                    rightsAfter |= e->Mask;
                }
            }
            EXPECT_EQ(rightsAfter, rightsBefore);
            for (std::size_t i = 0; i < mine.size(); ++i) {
                for (std::size_t j = i + 1; j < mine.size(); ++j) {
                    ASSERT_FALSE(AreMergeable(*mine[i], *mine[j]))
                        << "round " << round << ", add " << add << ": " << account;
                }
            }
        }
    }
}

// Audit merges follow rules that may leave entries apart; what must hold is that every
// sequence keeps the list sound and every entry owned exactly once (the sanitizer build
// checks the latter).
TEST(AceListTest, RandomAuditAddsKeepTheListSound) {
    const char* accounts[] = {"alice", "ALICE", "bob"};
    const std::uint8_t audits[] = {0x00, 0x40, 0x80, 0xC0};
    const std::uint8_t scopes[] = {0x01, 0x02, 0x03, 0x04, 0x09, 0x0A, 0x0B};
    std::mt19937 random(7);
    auto pick = [&random](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    for (int round = 0; round < 200; ++round) {
        AceList list;
        for (int add = 0; add < 30; ++add) {
            const std::uint8_t flags =
                static_cast<std::uint8_t>(audits[pick(4)] | scopes[pick(std::size(scopes))]);
            const std::uint32_t mask = 1u << pick(3);
            const int before = list.Count;
            ASSERT_TRUE(
                list.Add(std::make_unique<Ace>(accounts[pick(3)], mask, kAuditType, flags)));
            ASSERT_TRUE(LinksAreSound(list));
            ASSERT_LE(list.Count, before + 1);
        }
    }
}

// What each place of an account holds in one member: per place, the rights of every entry
// of the account that reaches it (for audit entries, only those auditing the given bits).
using PlaceRights = std::array<std::uint32_t, 5>;

PlaceRights RightsByPlace(const AceList& list, std::string_view account,
                          std::uint8_t auditBits = 0) {
    PlaceRights rights{};
    for (const Ace* e = list.Head; e != nullptr; e = e->Next) {
        if (!EqualsNoCase(e->NTAccount, account) || (e->Flags & auditBits) != auditBits) {
            continue;
        }
        for (std::size_t place = 0; place < rights.size(); ++place) {
            if ((PlacesOf(e->Flags) & (1u << place)) != 0) {
                rights[place] |= e->Mask;
            }
        }
    }
    return rights;
}

PlaceRights WithEntry(PlaceRights rights, std::uint8_t flags, std::uint32_t mask) {
    for (std::size_t place = 0; place < rights.size(); ++place) {
        if ((PlacesOf(flags) & (1u << place)) != 0) {
            rights[place] |= mask;
        }
    }
    return rights;
}

TEST(JoinedInheritanceTest, ReachesExactlyThePlacesOfBoth) {
    for (unsigned kept = 0; kept < 16; ++kept) {
        for (unsigned absorbed = 0; absorbed < 16; ++absorbed) {
            const unsigned both = PlacesOf(static_cast<std::uint8_t>(kept)) |
                                  PlacesOf(static_cast<std::uint8_t>(absorbed));
            bool reachable = false;
            for (unsigned code = 0; code < 16; ++code) {
                reachable = reachable || PlacesOf(static_cast<std::uint8_t>(code)) == both;
            }
            const auto joined = JoinedInheritance(static_cast<std::uint8_t>(kept),
                                                  static_cast<std::uint8_t>(absorbed));
            SCOPED_TRACE(testing::Message() << kept << " absorbing " << absorbed);
            ASSERT_EQ(joined.has_value(), reachable);
            if (joined) {
                EXPECT_EQ(PlacesOf(*joined), both);
                EXPECT_EQ(*joined & ~kInheritanceBits, 0);
            }
        }
    }

    struct Case {
        const char* why;
        std::uint8_t kept;
        std::uint8_t absorbed;
        int joined; // -1: none
    };
    const Case cases[] = {
        {"the kept code reaches everything already", 0x03, 0x09, 0x03},
        {"both reach the folder alone: the kept code stays", 0x04, 0x00, 0x04},
        {"both reach the folder alone, the other way round", 0x00, 0x04, 0x00},
        {"the absorbed code reaches both", 0x09, 0x01, 0x01},
        {"neither: the first of the editors' codes", 0x00, 0x0B, 0x03},
        {"neither, folders beside files below", 0x02, 0x09, 0x03},
        {"neither, the folder beside files", 0x04, 0x09, 0x01},
        {"neither, the folder beside folders", 0x04, 0x0A, 0x02},
        {"neither, and no editor code either", 0x0D, 0x0E, 0x0F},
        {"neither, the folder and both kinds of child", 0x06, 0x0D, 0x07},
        {"child files beside every folder below: no code", 0x05, 0x0A, -1},
        {"two codes that reach nothing", 0x0C, 0x08, 0x0C},
        {"audit bits play no part", 0x43, 0x89, 0x03},
    };
    for (const Case& c : cases) {
        const auto joined = JoinedInheritance(c.kept, c.absorbed);
        EXPECT_EQ(joined ? int{*joined} : -1, c.joined) << c.why;
    }
}

TEST(MergeIntoTest, KeepsEveryPlaceAndJoinsTheRest) {
    struct Case {
        Row kept;
        Row absorbed;
        bool merged;
        Row result;
    };
    const Case cases[] = {
        {{"x", 0x03, 0x1F01FF}, {"x", 0x04, 0x1200A9}, true, {"x", 0x03, 0x1F01FF}},
        {{"x", 0x09, 0x1}, {"x", 0x04, 0x1}, true, {"x", 0x01, 0x1}},
        {{"x", 0x41, 0x1}, {"x", 0x8A, 0x1}, true, {"x", 0xC3, 0x1}},
        {{"x", 0x05, 0x1}, {"x", 0x0A, 0x1}, false, {"x", 0x05, 0x1}},
        {{"x", 0x01, 0x1}, {"x", 0x02, 0x2}, false, {"x", 0x01, 0x1}},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<Ace> kept = MakeEntry(c.kept, kAllowType);
        const std::unique_ptr<Ace> absorbed = MakeEntry(c.absorbed, kAllowType);
        EXPECT_EQ(AreMergeable(*kept, *absorbed), c.merged) << c.kept << " " << c.absorbed;
        EXPECT_EQ(AreMergeable(*absorbed, *kept), c.merged) << c.kept << " " << c.absorbed;
        EXPECT_EQ(MergeInto(*kept, *absorbed), c.merged) << c.kept << " " << c.absorbed;
        EXPECT_EQ((Row{kept->NTAccount, kept->Flags, kept->Mask}), c.result);
    }
}

// Over every inheritance code: after each Add of a permission entry every place of the
// account holds exactly what it held before plus the new entry's rights, and no two of the
// account's entries are left that could be merged.
TEST(AceListTest, RandomPermissionAddsKeepWhatEveryPlaceHolds) {
    const char* accounts[] = {"alice", "ALICE", "bob"};
    std::mt19937 random(20261211);
    auto pick = [&random](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    for (int round = 0; round < 300; ++round) {
        Acl acl;
        for (int add = 0; add < 25; ++add) {
            const std::uint8_t type = pick(2) == 0 ? kAllowType : kDenyType;
            const auto flags = static_cast<std::uint8_t>(pick(16));
            std::uint32_t mask = 0;
            while (mask == 0) {
                mask = static_cast<std::uint32_t>(pick(8)); // three rights: many equal masks
            }
            const std::string account = accounts[pick(std::size(accounts))];
            AceList& member = type == kAllowType ? acl.Allow : acl.Deny;
            const PlaceRights expected = WithEntry(RightsByPlace(member, account), flags, mask);

            ASSERT_TRUE(acl.Add(std::make_unique<Ace>(account, mask, type, flags)));
            ASSERT_TRUE(LinksAreSound(member));
            SCOPED_TRACE(testing::Message() << "round " << round << ", add " << add);
            ASSERT_EQ(RightsByPlace(member, account), expected);
            std::vector<const Ace*> mine;
            for (const Ace* e = member.Head; e != nullptr; e = e->Next) {
                if (EqualsNoCase(e->NTAccount, account)) {
                    mine.push_back(e);
                }
            }
            for (std::size_t i = 0; i < mine.size(); ++i) {
                for (std::size_t j = i + 1; j < mine.size(); ++j) {
                    ASSERT_FALSE(AreMergeable(*mine[i], *mine[j]));
                }
            }
        }
    }
}

// Over every inheritance code and audit bits: after each Add of an audit entry no place loses
// a right audited on success or on failure, and the new entry's are there as well.
TEST(AceListTest, RandomAuditAddsLoseNoPlace) {
    const char* accounts[] = {"alice", "ALICE", "bob"};
    const std::uint8_t audits[] = {0x00, kAuditSuccess, kAuditFailure, kAuditBits};
    std::mt19937 random(11);
    auto pick = [&random](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    for (int round = 0; round < 300; ++round) {
        AceList list;
        for (int add = 0; add < 25; ++add) {
            const auto flags = static_cast<std::uint8_t>(audits[pick(4)] | pick(16));
            const auto mask = static_cast<std::uint32_t>(1 + pick(7));
            const std::string account = accounts[pick(std::size(accounts))];
            PlaceRights expected[2];
            for (int kind = 0; kind < 2; ++kind) {
                const std::uint8_t bit = kind == 0 ? kAuditSuccess : kAuditFailure;
                expected[kind] = RightsByPlace(list, account, bit);
                if ((flags & bit) != 0) {
                    expected[kind] = WithEntry(expected[kind], flags, mask);
                }
            }

            ASSERT_TRUE(list.Add(std::make_unique<Ace>(account, mask, kAuditType, flags)));
            ASSERT_TRUE(LinksAreSound(list));
            SCOPED_TRACE(testing::Message() << "round " << round << ", add " << add);
            for (int kind = 0; kind < 2; ++kind) {
                const PlaceRights after =
                    RightsByPlace(list, account, kind == 0 ? kAuditSuccess : kAuditFailure);
                for (std::size_t place = 0; place < after.size(); ++place) {
                    ASSERT_EQ(after[place] & expected[kind][place], expected[kind][place])
                        << (kind == 0 ? "success" : "failure") << " at place " << place;
                }
            }
        }
    }
}

TEST(AclTest, EntriesGoToTheMemberOfTheirType) {
    Acl acl;
    EXPECT_TRUE(acl.Add(std::make_unique<Ace>("x", 0x1u, kAllowType, 0x03)));
    EXPECT_TRUE(acl.Add(std::make_unique<Ace>("X", 0x1u, kDenyType, 0x03)));
    EXPECT_TRUE(acl.Add(std::make_unique<Ace>("x", 0x1u, kAuditType, 0xC3)));
    EXPECT_EQ(acl.Allow.Count, 1) << "allow and deny entries of one account never merge";
    EXPECT_EQ(acl.Deny.Count, 1);
    EXPECT_EQ(acl.Audit.Count, 1);

    std::unique_ptr<Ace> odd = std::make_unique<Ace>("x", 0x1u, std::uint8_t{3}, 0x03);
    const Ace* handed = odd.get();
    EXPECT_FALSE(acl.Add(odd));
    EXPECT_EQ(odd.get(), handed);
    std::unique_ptr<Ace> none;
    EXPECT_FALSE(acl.Add(none));

    EXPECT_EQ(acl.Find("X", kAllowType), acl.Allow.Head);
    EXPECT_EQ(acl.Find("x", kAuditType), acl.Audit.Head);
    EXPECT_EQ(acl.Find("x", 3), nullptr);

    acl.Remove(odd.get()); // type 3 belongs to no member
    acl.Remove(nullptr);
    acl.Remove(acl.Deny.Head);
    EXPECT_EQ(acl.Deny.Count, 0);
    EXPECT_EQ(acl.Allow.Count, 1);

    acl.RemoveAccount("X");
    EXPECT_EQ(acl.Allow.Count, 0);
    EXPECT_EQ(acl.Audit.Count, 0);
}

TEST(AclTest, EntryAtListsDenyEntriesBeforeAllowEntries) {
    Acl acl;
    acl.Add(std::make_unique<Ace>("a", 0x1u, kAllowType, 0x03));
    acl.Add(std::make_unique<Ace>("b", 0x1u, kAllowType, 0x03));
    acl.Add(std::make_unique<Ace>("c", 0x1u, kDenyType, 0x03));
    acl.Add(std::make_unique<Ace>("d", 0x1u, kAuditType, 0xC3));

    struct Case {
        int index;
        ListKind list;
        const char* account; // nullptr: no entry
    };
    constexpr ListKind kPermissions = ListKind::Permissions;
    constexpr ListKind kAuditing = ListKind::Auditing;
    const Case cases[] = {
        {0, kPermissions, "c"},     {1, kPermissions, "a"},      {2, kPermissions, "b"},
        {3, kPermissions, nullptr}, {-1, kPermissions, nullptr}, {0, kAuditing, "d"},
        {1, kAuditing, nullptr},    {-1, kAuditing, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "index " << c.index << (c.list == kAuditing ? ", auditing" : ""));
        const Ace* entry = acl.EntryAt(c.index, c.list);
        if (c.account == nullptr) {
            EXPECT_EQ(entry, nullptr);
        } else {
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->NTAccount, c.account);
        }
    }
}

TEST(AclTest, CloneCopiesEveryEntryAndSharesNone) {
    Acl empty;
    Acl emptyCopy = empty.Clone();
    EXPECT_EQ(emptyCopy.Allow.Count + emptyCopy.Deny.Count + emptyCopy.Audit.Count, 0);

    Acl source;
    source.Add(std::make_unique<Ace>("Everyone", 0x1200A9u, kAllowType, 0x03));
    source.Add(std::make_unique<Ace>("Everyone", 0x116u, kAllowType, 0x02));
    source.Add(std::make_unique<Ace>("Admins", 0x1F01FFu, kAllowType, 0x0B));
    source.Add(std::make_unique<Ace>("Guest", 0x10000u, kDenyType, 0x03));
    source.Add(std::make_unique<Ace>("x", 0x1u, kAuditType, 0x83));
    source.Add(std::make_unique<Ace>("y", 0x1u, kAuditType, 0x43));

    Acl copy = source.Clone();
    for (auto member : {&Acl::Allow, &Acl::Deny, &Acl::Audit}) {
        const AceList& from = source.*member;
        const AceList& to = copy.*member;
        EXPECT_EQ(RowsOf(to), RowsOf(from));
        EXPECT_TRUE(LinksAreSound(to));
        for (const Ace* a = from.Head; a != nullptr; a = a->Next) {
            for (const Ace* b = to.Head; b != nullptr; b = b->Next) {
                EXPECT_NE(a, b);
                EXPECT_EQ(a->AceType, b->AceType);
            }
        }
    }

    copy.Allow.Head->Mask = 0x1;
    copy.Allow.RemoveAccount("Admins");
    EXPECT_EQ(source.Allow.Head->Mask, 0x1200A9u);
    EXPECT_EQ(source.Allow.Count, 3);
}

// A clone is what a cancelled edit puts back, so it must be the lists exactly as they were,
// also where editing left entries that Add would merge (a mask changed in place) or place
// elsewhere (an audit entry that gained bits by merging keeps its place).
TEST(AclTest, CloneKeepsEntriesThatAddWouldMergeOrMove) {
    Acl source;
    source.Add(std::make_unique<Ace>("Everyone", 0x1200A9u, kAllowType, 0x03));
    source.Add(std::make_unique<Ace>("Everyone", 0x116u, kAllowType, 0x02));
    source.Allow.Tail->Mask = 0x1200A9u; // now mergeable with the first entry
    source.Add(std::make_unique<Ace>("x", 0x1u, kAuditType, 0x83));
    source.Add(std::make_unique<Ace>("y", 0x1u, kAuditType, 0x43));
    source.Add(std::make_unique<Ace>("x", 0x1u, kAuditType, 0x43)); // x gains SA in place
    ASSERT_EQ(RowsOf(source.Audit), (std::vector<Row>{{"x", 0xC3, 0x1}, {"y", 0x43, 0x1}}));

    Acl copy = source.Clone();
    EXPECT_EQ(RowsOf(copy.Allow), RowsOf(source.Allow));
    EXPECT_EQ(RowsOf(copy.Audit), RowsOf(source.Audit));
    EXPECT_TRUE(LinksAreSound(copy.Allow));
    EXPECT_TRUE(LinksAreSound(copy.Audit));
}

TEST(MaskAndScopeTest, ScopeCoversTable) {
    const std::uint8_t codes[] = {0, 1, 2, 3, 4, 8, 9, 10, 11, 12, 0x43, 0xC3};
    auto expected = [](std::uint8_t a, std::uint8_t b) {
        switch (a) {
        case 1:
            return b == 1 || b == 4 || b == 9;
        case 2:
            return b == 2 || b == 4 || b == 10;
        case 3:
            return true;
        case 4:
        case 9:
        case 10:
            return b == a;
        case 11:
            return (b & 0x08) != 0;
        default:
            return false;
        }
    };
    for (std::uint8_t a : codes) {
        for (std::uint8_t b : codes) {
            EXPECT_EQ(ScopeCovers(a, b), expected(a, b)) << int{a} << " over " << int{b};
        }
    }
    EXPECT_TRUE(IsMaskEmpty(0));
    EXPECT_TRUE(IsMaskEmpty(0x00100000));
    EXPECT_FALSE(IsMaskEmpty(0x00100001));
    EXPECT_TRUE(MaskCovers(0x1200A9, 0x120089));
    EXPECT_FALSE(MaskCovers(0x120089, 0x1200A9));
    EXPECT_TRUE(MaskCovers(0x1, 0));
}

} // namespace
} // namespace permora
