// The command states from the remembered facts and the moment: which buttons and menu
// items are on, without a window.

#include "ui/windowcommands.h"

#include "model/target.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The states as a string of the fourteen flags in declaration order, "1" on and "." off:
// edit up down remove saveUnicode saveUtf8 | undo redo copy paste lines addPaths replace
// recover.
std::string Flags(const CommandStates& s) {
    std::string text;
    for (const bool on : {s.edit, s.up, s.down, s.remove, s.saveUnicode, s.saveUtf8}) {
        text += on ? '1' : '.';
    }
    text += '|';
    for (const bool on : {s.undo, s.redo, s.copySecurity, s.pasteSecurity, s.copyLines, s.addPaths,
                          s.replaceAccount, s.recover}) {
        text += on ? '1' : '.';
    }
    return text;
}

TEST(DeriveCommandsTest, EachStateFollowsItsFactOrTheMoment) {
    permora::TargetObject ntfs("/vol/a", permora::MakeDefaultDescriptor());
    permora::TargetObject ntfsWithout("/vol/b", nullptr);
    permora::TargetObject other("/vol/c", permora::MakeDefaultDescriptor());
    other.SecurityStyle = permora::kStyleNfsV3;

    struct Case {
        const char* name;
        CommandFacts facts;
        CommandContext now;
        const char* states;
    };
    const Case cases[] = {
        {"nothing at all", {}, {}, "......|.....1.1"},
        {"one row followed", {true, true, false, false}, {}, "1111..|.....1.1"},
        {"several rows followed", {false, true, false, false}, {}, "...1..|.....1.1"},
        {"unsaved in Unicode only", {false, false, true, false}, {}, "....1.|.....1.1"},
        {"unsaved in UTF8 only", {false, false, false, true}, {}, ".....1|.....1.1"},
        {"undo and redo", {}, {0, nullptr, 0, true, true, false}, "......|11...1.1"},
        {"targets to replace in", {}, {0, nullptr, 3, false, false, false}, "......|.....111"},
        {"one NTFS target selected", {}, {1, &ntfs, 1, false, false, false}, "......|..1.1111"},
        {"an NTFS target without security",
         {},
         {1, &ntfsWithout, 1, false, false, false},
         "......|....1111"},
        {"a target of another style", {}, {1, &other, 1, false, false, false}, "......|....1111"},
        {"two selected, nothing copied", {}, {2, &ntfs, 2, false, false, false}, "......|....1111"},
        {"two selected, security copied", {}, {2, &ntfs, 2, false, false, true}, "......|...11111"},
        {"copied, nothing selected", {}, {0, nullptr, 2, false, false, true}, "......|.....111"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Flags(DeriveCommands(c.facts, c.now)), c.states);
    }
}

// The facts move only at their moments: a click with several rows leaves Remove, a change
// with several rows enables it, an empty list turns everything off, and a save turns off
// only its own encoding.
TEST(DeriveCommandsTest, TheFactsMoveOnlyAtTheirMoments) {
    CommandFacts facts;
    facts.FollowSelection(3, 1, false);
    EXPECT_TRUE(facts.oneRowFollowed);
    EXPECT_TRUE(facts.someRowFollowed);
    facts.FollowSelection(3, 0, false);
    EXPECT_FALSE(facts.oneRowFollowed);
    EXPECT_FALSE(facts.someRowFollowed);
    facts.FollowSelection(3, 2, false); // a click: several leave Remove as it was
    EXPECT_FALSE(facts.someRowFollowed);
    facts.FollowSelection(3, 2, true); // a change: several enable Remove
    EXPECT_TRUE(facts.someRowFollowed);
    EXPECT_FALSE(facts.oneRowFollowed);

    facts.Changed();
    facts.Saved(permora::Encoding::Unicode);
    EXPECT_FALSE(facts.unicodeUnsaved);
    EXPECT_TRUE(facts.utf8Unsaved);

    facts.FollowSelection(0, 0, true);
    EXPECT_EQ(Flags(DeriveCommands(facts, {})), "......|.....1.1");

    facts.ImportedWhole();
    EXPECT_EQ(Flags(DeriveCommands(facts, {})), "111111|.....1.1");
}

} // namespace
