#include "model/template_ops.h"

#include "model/checks.h"
#include "model_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace permora {
namespace {

using model_support::LinksAreSound;
using model_support::Row;
using model_support::RowsOf;

// One entry of a target as the tests spell it.
struct Entry {
    std::uint8_t type;
    std::string account;
    std::uint8_t flags;
    std::uint32_t mask;
};

std::unique_ptr<TargetObject> MakeTarget(const std::string& path, const std::vector<Entry>& entries,
                                         std::int32_t style = kStyleNtfs,
                                         std::uint16_t control = SE_DACL_PRESENT) {
    auto descriptor = std::make_unique<SecurityDescriptor>();
    descriptor->Control = control;
    for (const Entry& e : entries) {
        auto ace = std::make_unique<Ace>(e.account, e.mask, e.type, e.flags);
        if (e.type == kAuditType) {
            descriptor->SaclList.Add(std::move(ace));
        } else {
            descriptor->DaclList.Add(std::move(ace));
        }
    }
    auto target = std::make_unique<TargetObject>(path, std::move(descriptor));
    target->SecurityStyle = style;
    target->SecurityLevel = kLevelFileDirectory;
    return target;
}

std::vector<std::string> PathsOf(const SecurityTemplate& tmpl) {
    std::vector<std::string> paths;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
        paths.push_back(t->Path);
    }
    return paths;
}

// ---------------------------------------------------------------------------------------

TEST(ReadPathListTest, TrimsSkipsAndReportsLinesByNumber) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> inTemplate;
        std::vector<std::string> paths;
        std::vector<std::pair<int, std::string>> invalid;
        int skipped;
    };
    const Case cases[] = {
        {"empty", "", {}, {}, {}, 0},
        {"blanks trimmed", "  /vol/a \t\n\t/vol/b\r\n", {}, {"/vol/a", "/vol/b"}, {}, 0},
        {"blank and # lines passed over, numbers still count",
         "# homes\n\n   \n/vol/a\n  # indented comment\n/vol//b\n",
         {},
         {"/vol/a"},
         {{6, "/vol//b"}},
         0},
        {"CR LF counts once, a lone CR ends a line",
         "/vol/a\r\n/home/x\r/vol/b\rbad path",
         {},
         {"/vol/a", "/vol/b"},
         {{2, "/home/x"}, {4, "bad path"}},
         0},
        {"in the template or earlier in the list: skipped, compared with case",
         "/vol/a\n/vol/B\n/vol/b\n/vol/b\n/vol/A\n",
         {"/vol/a"},
         {"/vol/B", "/vol/b", "/vol/A"},
         {},
         2},
        {"a leading UTF-8 mark is not part of the first path",
         "\xEF\xBB\xBF/vol/a\n",
         {},
         {"/vol/a"},
         {},
         0},
        {"no line end at the end", "/vol/a\n/vol/b", {}, {"/vol/a", "/vol/b"}, {}, 0},
        {"non-ASCII and invalid characters fail",
         "/vol/\xC3\xA9\n/vol/a,b\n/vol/\"x\"\n",
         {},
         {},
         {{1, "/vol/\xC3\xA9"}, {2, "/vol/a,b"}, {3, "/vol/\"x\""}},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SecurityTemplate tmpl;
        for (const std::string& path : c.inTemplate) {
            tmpl.Append(MakeTarget(path, {}));
        }
        const PathList list = ReadPathList(c.text, &tmpl);
        EXPECT_EQ(list.paths, c.paths);
        std::vector<std::pair<int, std::string>> invalid;
        for (const InvalidPathLine& line : list.invalid) {
            invalid.emplace_back(static_cast<int>(line.line), line.text);
        }
        EXPECT_EQ(invalid, c.invalid);
        EXPECT_EQ(list.skipped, c.skipped);
    }
}

// A tab ends the path; what follows is its account, checked by the account-name rule; a
// pattern gives the paths without one theirs.
TEST(ReadPathListTest, AccountsBesideThePathsAndFromAPattern) {
    PathList list = ReadPathList("/vol/a\tLAB\\ann\n /vol/b \t \n/vol/c\ta b\n/home/x\tbob\n"
                                 "/vol/d/\n/vol/e\t LAB\\eve \n",
                                 nullptr);
    EXPECT_EQ(list.paths, (std::vector<std::string>{"/vol/a", "/vol/b", "/vol/d/", "/vol/e"}));
    EXPECT_EQ(list.accounts, (std::vector<std::string>{"LAB\\ann", "", "", "LAB\\eve"}));
    EXPECT_EQ(list.lines, (std::vector<std::int64_t>{1, 2, 5, 6}));
    ASSERT_EQ(list.invalid.size(), 2u);
    EXPECT_TRUE(list.invalid[0].account);
    EXPECT_EQ(list.invalid[0].text, "a b");
    EXPECT_FALSE(list.invalid[1].account);
    EXPECT_EQ(list.invalid[1].text, "/home/x");

    FillAccounts(list, "LAB\\{name}.x");
    EXPECT_EQ(list.accounts,
              (std::vector<std::string>{"LAB\\ann", "LAB\\b.x", "LAB\\d.x", "LAB\\eve"}));
    ASSERT_EQ(list.invalid.size(), 4u); // in line order
    for (std::size_t i = 0; i < list.invalid.size(); ++i) {
        EXPECT_EQ(list.invalid[i].line, static_cast<std::int64_t>(i) + 2);
    }
    EXPECT_EQ(list.invalid[0].text, "LAB\\b.x");

    const struct {
        const char* pattern;
        const char* path;
        const char* account;
    } cases[] = {
        {"LAB\\{name}", "/vol/home/bob", "LAB\\bob"},
        {"{name}", "/vol/home/bob///", "bob"},
        {"{name}-{name}", "qt1", "qt1-qt1"},
        {"fixed", "/vol/a", "fixed"},
        {"{nam}", "/vol/a", "{nam}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AccountForPath(c.pattern, c.path), c.account) << c.pattern << " " << c.path;
    }
}

TEST(AppendTargetsTest, PerPathAccountsReplaceTheStandIn) {
    auto like = std::make_unique<SecurityDescriptor>();
    like->Control = SE_DACL_PRESENT | SE_SACL_PRESENT;
    ASSERT_TRUE(
        like->DaclList.Add(std::make_unique<Ace>("LAB\\admins", 0x1F01FF, kAllowType, 0x03)));
    ASSERT_TRUE(like->DaclList.Add(std::make_unique<Ace>("ME", 0x1301BF, kAllowType, 0x03)));
    ASSERT_TRUE(like->SaclList.Add(std::make_unique<Ace>("me", 0x1, kAuditType, 0x43)));
    SecurityTemplate tmpl;
    const std::vector<std::string> paths = {"/vol/a", "/vol/b", "/vol/c"};
    const std::vector<std::string> accounts = {"bob", "", "lab\\ADMINS"};
    const auto appended =
        AppendTargets(tmpl, paths, kLevelFileDirectory, like.get(), "me", &accounts);
    ASSERT_EQ(appended.size(), 3u);
    const struct {
        std::vector<Row> allow;
        std::vector<Row> audit;
    } expected[] = {
        {{{"LAB\\admins", 0x03, 0x1F01FF}, {"bob", 0x03, 0x1301BF}}, {{"bob", 0x43, 0x1}}},
        {{{"LAB\\admins", 0x03, 0x1F01FF}, {"ME", 0x03, 0x1301BF}}, {{"me", 0x43, 0x1}}},
        {{{"LAB\\admins", 0x03, 0x1F01FF}}, {{"lab\\ADMINS", 0x43, 0x1}}}, // merged
    };
    for (std::size_t i = 0; i < appended.size(); ++i) {
        EXPECT_EQ(RowsOf(appended[i]->Descriptor->DaclList.Allow), expected[i].allow) << i;
        EXPECT_EQ(RowsOf(appended[i]->Descriptor->SaclList.Audit), expected[i].audit) << i;
    }
}

TEST(AppendTargetsTest, CopiesTheGivenDescriptorExactlyOrUsesTheDefault) {
    SecurityTemplate tmpl;
    tmpl.Append(MakeTarget("/vol/first", {}));

    // Entries that Add would have merged: a copy keeps them as they are.
    auto like = std::make_unique<SecurityDescriptor>();
    like->Control = SE_DACL_PRESENT | SE_DACL_PROTECTED | SE_SACL_PRESENT;
    like->DaclList.Allow.InitWith(std::make_unique<Ace>("B", 0x1F01FF, kAllowType, 0x03));
    like->DaclList.Allow.Add(std::make_unique<Ace>("A", 0x1200A9, kAllowType, 0x03));
    like->SaclList.Audit.InitWith(std::make_unique<Ace>("Everyone", 0x1, kAuditType, 0x43));

    const std::vector<TargetObject*> copied =
        AppendTargets(tmpl, {"/vol/x", "/vol/y"}, kLevelStorage, like.get());
    ASSERT_EQ(copied.size(), 2u);
    EXPECT_EQ(copied[0], tmpl.At(1));
    EXPECT_EQ(copied[1], tmpl.Tail);
    for (const TargetObject* t : copied) {
        EXPECT_EQ(t->SecurityStyle, kStyleNtfs);
        EXPECT_EQ(t->SecurityLevel, kLevelStorage);
        EXPECT_EQ(t->Mode, 0);
        EXPECT_EQ(t->Descriptor->Control, like->Control);
        EXPECT_NE(t->Descriptor.get(), like.get());
        EXPECT_EQ(RowsOf(t->Descriptor->DaclList.Allow),
                  (std::vector<Row>{{"B", 0x03, 0x1F01FF}, {"A", 0x03, 0x1200A9}}));
        EXPECT_EQ(RowsOf(t->Descriptor->SaclList.Audit),
                  (std::vector<Row>{{"Everyone", 0x43, 0x1}}));
    }
    // The copies share nothing with the source.
    like->DaclList.Allow.Head->Mask = 0x1;
    EXPECT_EQ(copied[0]->Descriptor->DaclList.Allow.Head->Mask, 0x1F01FFu);

    const std::vector<TargetObject*> fresh =
        AppendTargets(tmpl, {"/vol/z"}, kLevelFileDirectory, nullptr);
    ASSERT_EQ(fresh.size(), 1u);
    EXPECT_EQ(fresh[0]->SecurityLevel, kLevelFileDirectory);
    EXPECT_EQ(fresh[0]->Descriptor->Control, SE_DACL_PRESENT);
    EXPECT_EQ(RowsOf(fresh[0]->Descriptor->DaclList.Allow),
              (std::vector<Row>{{"Everyone", kDefaultFlags, kDefaultMask}}));
    EXPECT_EQ(PathsOf(tmpl),
              (std::vector<std::string>{"/vol/first", "/vol/x", "/vol/y", "/vol/z"}));
}

// ---------------------------------------------------------------------------------------

TEST(ReplaceAccountTest, RenamedEntriesGoBackThroughTheMergeRules) {
    struct Case {
        const char* name;
        std::vector<Entry> entries;
        std::string oldName;
        std::string newName;
        int renamed;
        std::vector<Row> deny;
        std::vector<Row> allow;
        std::vector<Row> audit;
    };
    const Case cases[] = {
        {"an account new to the list goes to its end, as Add places it",
         {{kAllowType, "LAB\\bob", 0x03, 0x1200A9}, {kAllowType, "Everyone", 0x03, 0x1}},
         "lab\\BOB",
         "LAB\\carol",
         1,
         {},
         {{"Everyone", 0x03, 0x1}, {"LAB\\carol", 0x03, 0x1200A9}},
         {}},
        {"whole name only: bob is not LAB\\bob",
         {{kAllowType, "LAB\\bob", 0x03, 0x1200A9}},
         "bob",
         "carol",
         0,
         {},
         {{"LAB\\bob", 0x03, 0x1200A9}},
         {}},
        {"an entry of the new name absorbs the renamed one",
         {{kAllowType, "bob", 0x03, 0x1200A9}, {kAllowType, "alice", 0x03, 0x1F01FF}},
         "bob",
         "alice",
         1,
         {},
         {{"alice", 0x03, 0x1F01FF}},
         {}},
        {"a renamed entry of the same mask joins the places of the new name's entry",
         {{kAllowType, "alice", 0x0B, 0x1200A9}, {kAllowType, "bob", 0x00, 0x1200A9}},
         "bob",
         "alice",
         1,
         {},
         {{"alice", 0x03, 0x1200A9}},
         {}},
        {"a renamed entry that merges with none joins the new name's group",
         {{kAllowType, "alice", 0x04, 0x1},
          {kAllowType, "x", 0x03, 0x1},
          {kAllowType, "bob", 0x0A, 0x2}},
         "BOB",
         "Alice",
         1,
         {},
         {{"alice", 0x04, 0x1}, {"Alice", 0x0A, 0x2}, {"x", 0x03, 0x1}},
         {}},
        {"every list, each in its own order",
         {{kDenyType, "bob", 0x03, 0x10000},
          {kAllowType, "bob", 0x04, 0x1},
          {kAllowType, "bob", 0x0A, 0x2},
          {kAuditType, "zed", 0x83, 0x1},
          {kAuditType, "bob", 0x43, 0x1}},
         "bob",
         "ann",
         4,
         {{"ann", 0x03, 0x10000}},
         {{"ann", 0x04, 0x1}, {"ann", 0x0A, 0x2}},
         {{"zed", 0x83, 0x1}, {"ann", 0x43, 0x1}}},
        {"a change of letter case alone is a rename",
         {{kAllowType, "bob", 0x03, 0x1}},
         "bob",
         "BOB",
         1,
         {},
         {{"BOB", 0x03, 0x1}},
         {}},
        {"the same name changes nothing",
         {{kAllowType, "bob", 0x03, 0x1}},
         "bob",
         "bob",
         0,
         {},
         {{"bob", 0x03, 0x1}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto target =
            MakeTarget("/vol/a", c.entries, kStyleNtfs, SE_DACL_PRESENT | SE_SACL_PRESENT);
        if (c.renamed > 0) {
            EXPECT_TRUE(HoldsAccount(*target, c.oldName));
        }
        EXPECT_EQ(ReplaceAccountIn(*target, c.oldName, c.newName), c.renamed);
        const SecurityDescriptor& d = *target->Descriptor;
        EXPECT_EQ(RowsOf(d.DaclList.Deny), c.deny);
        EXPECT_EQ(RowsOf(d.DaclList.Allow), c.allow);
        EXPECT_EQ(RowsOf(d.SaclList.Audit), c.audit);
        EXPECT_TRUE(LinksAreSound(d.DaclList.Deny));
        EXPECT_TRUE(LinksAreSound(d.DaclList.Allow));
        EXPECT_TRUE(LinksAreSound(d.SaclList.Audit));
    }
}

TEST(ReplaceAccountTest, ScopeAndStyleDecideWhichTargetsChange) {
    const auto build = [](SecurityTemplate& tmpl) {
        tmpl.Append(MakeTarget("/vol/home/a", {{kAllowType, "bob", 0x03, 0x1}}));
        tmpl.Append(MakeTarget("/vol/home/b", {{kAllowType, "alice", 0x03, 0x1}}));
        tmpl.Append(MakeTarget("/vol/home/c", {{kAllowType, "bob", 0x03, 0x1}}, kStyleNfsV3));
        tmpl.Append(MakeTarget("/vol/proj/d",
                               {{kAllowType, "BOB", 0x03, 0x1}, {kDenyType, "bob", 0x03, 0x2}}));
    };
    struct Case {
        const char* name;
        TargetScope scope;
        std::vector<int> changed;
        int entries;
    };
    const Case cases[] = {
        {"all targets; the NFS one is neither changed nor counted", AllTargets(), {0, 3}, 3},
        {"no scope means all", TargetScope(), {0, 3}, 3},
        {"selected positions", TargetsAt({3, 2, 1, 3}), {3}, 2},
        {"a path pattern; * crosses slashes", TargetsMatching("/vol/h*"), {0}, 1},
        {"a pattern is compared with case", TargetsMatching("/VOL/*"), {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SecurityTemplate tmpl;
        build(tmpl);
        std::vector<int> told;
        const AccountReplacement result =
            ReplaceAccount(tmpl, "bob", "carol", c.scope, [&](TargetObject& target, int index) {
                // Told before the change: the target still holds the old name.
                EXPECT_TRUE(HoldsAccount(target, "bob"));
                EXPECT_EQ(&target, tmpl.At(index));
                told.push_back(index);
            });
        EXPECT_EQ(told, c.changed);
        EXPECT_EQ(result.targets, static_cast<int>(c.changed.size()));
        EXPECT_EQ(result.entries, c.entries);
        EXPECT_FALSE(HoldsAccount(*tmpl.At(2), "bob")); // not NTFS
        EXPECT_EQ(tmpl.At(2)->Descriptor->DaclList.Allow.Head->NTAccount, "bob");
    }
}

// ---------------------------------------------------------------------------------------

TEST(CompareTemplatesTest, MatchesTargetsByPathAndOccurrenceAndEntriesByAccountAndRank) {
    SecurityTemplate a;
    SecurityTemplate b;
    // 0: the same in both, account case aside.
    a.Append(MakeTarget("/vol/same", {{kAllowType, "Everyone", 0x03, 0x1200A9}}));
    b.Append(MakeTarget("/vol/same", {{kAllowType, "EVERYONE", 0x03, 0x1200A9}}));
    // Only in A; only in B.
    a.Append(MakeTarget("/vol/gone", {}));
    b.Append(MakeTarget("/vol/new", {}));
    // Level, style, mode and marks.
    auto changedA = MakeTarget("/vol/props", {});
    auto changedB = MakeTarget("/vol/props", {}, kStyleNfsV4, SE_DACL_PRESENT | SE_DACL_PROTECTED);
    changedB->SecurityLevel = kLevelStorage;
    changedB->Mode = 3;
    a.Append(std::move(changedA));
    b.Append(std::move(changedB));
    // Entries: bob's second allow entry changes, alice's deny goes, an audit entry comes.
    a.Append(MakeTarget("/vol/entries", {{kAllowType, "bob", 0x04, 0x1},
                                         {kAllowType, "bob", 0x0A, 0x2},
                                         {kDenyType, "alice", 0x03, 0x1}}));
    b.Append(MakeTarget("/vol/entries", {{kAllowType, "bob", 0x04, 0x1},
                                         {kAllowType, "bob", 0x0A, 0x6},
                                         {kAuditType, "zed", 0x43, 0x1}}));
    // A path twice in A and once in B: the second is only in A.
    a.Append(MakeTarget("/vol/twice", {}));
    a.Append(MakeTarget("/vol/twice", {}));
    b.Append(MakeTarget("/vol/twice", {}));

    const std::vector<TargetDifference> diff = CompareTemplates(a, b);
    ASSERT_EQ(diff.size(), 5u);

    EXPECT_EQ(diff[0].a->Path, "/vol/gone");
    EXPECT_EQ(diff[0].b, nullptr);
    EXPECT_EQ(diff[0].indexA, 1);

    EXPECT_EQ(diff[1].a->Path, "/vol/props");
    EXPECT_EQ(diff[1].indexB, 2);
    EXPECT_TRUE(diff[1].styleChanged && diff[1].levelChanged && diff[1].modeChanged &&
                diff[1].marksChanged);
    EXPECT_TRUE(diff[1].entries.empty());

    EXPECT_EQ(diff[2].a->Path, "/vol/entries");
    EXPECT_FALSE(diff[2].styleChanged || diff[2].levelChanged || diff[2].modeChanged ||
                 diff[2].marksChanged);
    ASSERT_EQ(diff[2].entries.size(), 3u);
    const EntryDifference& added = diff[2].entries[0];
    EXPECT_EQ(added.type, kAuditType);
    EXPECT_EQ(added.a, nullptr);
    EXPECT_EQ(added.b->NTAccount, "zed");
    const EntryDifference& removed = diff[2].entries[1];
    EXPECT_EQ(removed.type, kDenyType);
    EXPECT_EQ(removed.a->NTAccount, "alice");
    EXPECT_EQ(removed.b, nullptr);
    const EntryDifference& changed = diff[2].entries[2];
    EXPECT_EQ(changed.type, kAllowType);
    EXPECT_EQ(changed.rank, 2);
    EXPECT_EQ(changed.a->Mask, 0x2u);
    EXPECT_EQ(changed.b->Mask, 0x6u);

    EXPECT_EQ(diff[3].a->Path, "/vol/twice");
    EXPECT_EQ(diff[3].occurrence, 2);
    EXPECT_EQ(diff[3].b, nullptr);

    EXPECT_EQ(diff[4].b->Path, "/vol/new");
    EXPECT_EQ(diff[4].a, nullptr);
    EXPECT_EQ(diff[4].indexB, 1);

    EXPECT_TRUE(CompareTemplates(a, a).empty());
    EXPECT_TRUE(CompareTemplates(SecurityTemplate(), SecurityTemplate()).empty());
}

// The fewest targets are moved that explain the new order; the others keep theirs.
TEST(CompareTemplatesTest, TargetsInAnotherOrderAreMoves) {
    const struct {
        std::vector<std::string> a;
        std::vector<std::string> b;
        std::vector<std::string> moved; // in A's order
    } cases[] = {
        {{"1", "2", "3"}, {"1", "2", "3"}, {}},
        {{"1", "2", "3"}, {"2", "3", "1"}, {"1"}},
        {{"1", "2", "3"}, {"3", "1", "2"}, {"3"}},
        {{"1", "2", "3", "4"}, {"4", "3", "2", "1"}, {"1", "2", "3"}},
        {{"1", "x", "2", "3"}, {"2", "1", "y", "3"}, {"1"}}, // targets in one only do not move
        {{"1", "1", "2"}, {"1", "2", "1"}, {"1"}},           // the second 1 moved
    };
    for (const auto& c : cases) {
        SecurityTemplate a;
        SecurityTemplate b;
        for (const std::string& path : c.a) {
            a.Append(MakeTarget(path, {}));
        }
        for (const std::string& path : c.b) {
            b.Append(MakeTarget(path, {}));
        }
        std::vector<std::string> moved;
        for (const TargetDifference& d : CompareTemplates(a, b)) {
            if (d.moved) {
                moved.push_back(d.a->Path);
                EXPECT_NE(d.indexA, -1);
                EXPECT_NE(d.indexB, -1);
            }
        }
        EXPECT_EQ(moved, c.moved) << ::testing::PrintToString(c.b);
    }
}

TEST(CompareTemplatesTest, TargetsOfOtherStylesCompareByTheirLines) {
    SecurityTemplate a;
    SecurityTemplate b;
    for (const char* line : {"2,0,\"x\",0,\"D:(A;CI;0x1;;;a)\"", "3,0,\"y\",0,\"\""}) {
        auto target = MakeTarget(line[0] == '2' ? "x" : "y", {}, line[0] - '0');
        target->SourceLine = line;
        a.Append(std::move(target));
    }
    auto x = MakeTarget("x", {{kAllowType, "b", 0x02, 0x1}}, kStyleNfsV3);
    x->SourceLine = "2,0,\"x\",0,\"D:(A;CI;0x1;;;b)\"";
    b.Append(std::move(x));
    auto y = MakeTarget("y", {{kAllowType, "b", 0x02, 0x1}}, kStyleNfsV4);
    y->SourceLine = "3,0,\"y\",0,\"\"";
    b.Append(std::move(y));

    const std::vector<TargetDifference> diff = CompareTemplates(a, b);
    ASSERT_EQ(diff.size(), 1u);
    EXPECT_EQ(diff[0].a->Path, "x");
    EXPECT_TRUE(diff[0].lineChanged);
    EXPECT_TRUE(diff[0].entries.empty()); // the line says it all
}

} // namespace
} // namespace permora
