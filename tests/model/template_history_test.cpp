// Undo and redo of template changes: every kind of step puts back the very targets and
// descriptors it took, in their places, and the saved state is followed across both.

#include "model/template_history.h"

#include "model/target.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace permora {
namespace {

// What a template is, object by object: which target sits where, with which descriptor.
struct Slot {
    const TargetObject* target;
    const SecurityDescriptor* descriptor;
    std::string path;
    friend bool operator==(const Slot&, const Slot&) = default;
};

std::vector<Slot> Snapshot(const SecurityTemplate& tmpl) {
    std::vector<Slot> slots;
    const TargetObject* previous = nullptr;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
        EXPECT_EQ(t->Prev, previous) << "links broken at " << t->Path;
        previous = t;
        slots.push_back({t, t->Descriptor.get(), t->Path});
    }
    EXPECT_EQ(tmpl.Tail, previous);
    EXPECT_EQ(tmpl.Count, static_cast<int>(slots.size()));
    return slots;
}

void Fill(SecurityTemplate& tmpl, int count, const std::string& prefix = "/vol/vol1/t") {
    for (int i = 0; i < count; ++i)
        tmpl.Append(
            std::make_unique<TargetObject>(prefix + std::to_string(i), MakeDefaultDescriptor()));
}

// A change made on a template, returning its step.
using Change = std::function<TemplateStep(SecurityTemplate&)>;

TemplateStep AppendTwo(SecurityTemplate& tmpl) {
    Fill(tmpl, 2, "/vol/new/");
    return AppendStep(2);
}

TemplateStep SwapAt(SecurityTemplate& tmpl, int upper) {
    tmpl.MoveDown(upper);
    return SwapStep(upper);
}

TemplateStep NewDescriptors(SecurityTemplate& tmpl, std::vector<int> indexes) {
    std::vector<std::unique_ptr<SecurityDescriptor>> previous;
    for (const int index : indexes)
        previous.push_back(std::exchange(tmpl.At(index)->Descriptor, MakeDefaultDescriptor()));
    return DescriptorsStep(std::move(indexes), std::move(previous));
}

struct ChangeCase {
    const char* name;
    Change change;
};

const ChangeCase kChanges[] = {
    {"remove scattered, given unsorted",
     [](SecurityTemplate& t) {
         return RemoveStep(t, {4, 1, 3});
     }},
    {"remove the first and the last",
     [](SecurityTemplate& t) {
         return RemoveStep(t, {0, 5});
     }},
    {"remove all",
     [](SecurityTemplate& t) {
         return RemoveStep(t, {0, 1, 2, 3, 4, 5});
     }},
    {"remove with repeats and strays",
     [](SecurityTemplate& t) {
         return RemoveStep(t, {2, 2, -1, 9});
     }},
    {"append", AppendTwo},
    {"swap at the top", [](SecurityTemplate& t) { return SwapAt(t, 0); }},
    {"swap at the bottom", [](SecurityTemplate& t) { return SwapAt(t, 4); }},
    {"descriptors, given unsorted",
     [](SecurityTemplate& t) {
         return NewDescriptors(t, {5, 0, 2});
     }},
};

TEST(TemplateHistoryTest, EachKindOfStepUndoesAndRedoesExactly) {
    for (const ChangeCase& c : kChanges) {
        SCOPED_TRACE(c.name);
        SecurityTemplate tmpl;
        Fill(tmpl, 6);
        TemplateHistory history;
        const std::vector<Slot> before = Snapshot(tmpl);
        history.Push(c.change(tmpl));
        const std::vector<Slot> after = Snapshot(tmpl);
        ASSERT_NE(before, after);
        for (int round = 0; round < 2; ++round) {
            ASSERT_NE(history.Undo(tmpl), nullptr);
            EXPECT_EQ(Snapshot(tmpl), before);
            EXPECT_EQ(history.Undo(tmpl), nullptr);
            ASSERT_NE(history.Redo(tmpl), nullptr);
            EXPECT_EQ(Snapshot(tmpl), after);
            EXPECT_EQ(history.Redo(tmpl), nullptr);
        }
    }
}

TEST(TemplateHistoryTest, AllChangesInARowUndoBackToTheStart) {
    SecurityTemplate tmpl;
    Fill(tmpl, 6);
    TemplateHistory history;
    std::vector<std::vector<Slot>> states{Snapshot(tmpl)};
    for (const ChangeCase& c : kChanges) {
        if (tmpl.Count < 6)
            history.Push(AppendTwo(tmpl)); // enough targets for the next change
        else
            history.Push(c.change(tmpl));
        states.push_back(Snapshot(tmpl));
    }
    for (auto state = states.rbegin() + 1; state != states.rend(); ++state) {
        ASSERT_NE(history.Undo(tmpl), nullptr);
        EXPECT_EQ(Snapshot(tmpl), *state);
    }
    for (auto state = states.begin() + 1; state != states.end(); ++state) {
        ASSERT_NE(history.Redo(tmpl), nullptr);
        EXPECT_EQ(Snapshot(tmpl), *state);
    }
}

TEST(TemplateHistoryTest, ANewChangeDropsWhatWasUndone) {
    SecurityTemplate tmpl;
    Fill(tmpl, 3);
    TemplateHistory history;
    history.Push(RemoveStep(tmpl, {0}));
    history.Undo(tmpl);
    history.Push(SwapAt(tmpl, 1));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(tmpl.Count, 3);
    EXPECT_EQ(history.UndoCount(), 1u);
}

TEST(TemplateHistoryTest, KeepsTheLastStepsUpToItsLimit) {
    SecurityTemplate tmpl;
    Fill(tmpl, 2);
    TemplateHistory history(3);
    for (int i = 0; i < 5; ++i)
        history.Push(SwapAt(tmpl, 0));
    EXPECT_EQ(history.UndoCount(), 3u);
    int undone = 0;
    while (history.Undo(tmpl) != nullptr)
        ++undone;
    EXPECT_EQ(undone, 3);
}

TEST(TemplateHistoryTest, FollowsTheSavedState) {
    struct Case {
        const char* name;
        std::function<void(SecurityTemplate&, TemplateHistory&)> play;
        bool saved;
    };
    const Case cases[] = {
        {"nothing done", [](SecurityTemplate&, TemplateHistory&) {}, true},
        {"a change", [](SecurityTemplate& t, TemplateHistory& h) { h.Push(SwapAt(t, 0)); }, false},
        {"a change undone",
         [](SecurityTemplate& t, TemplateHistory& h) {
             h.Push(SwapAt(t, 0));
             h.Undo(t);
         },
         true},
        {"saved after a change",
         [](SecurityTemplate& t, TemplateHistory& h) {
             h.Push(SwapAt(t, 0));
             h.MarkSaved();
         },
         true},
        {"saved, undone, redone",
         [](SecurityTemplate& t, TemplateHistory& h) {
             h.Push(SwapAt(t, 0));
             h.MarkSaved();
             h.Undo(t);
             EXPECT_FALSE(h.IsAtSavedState());
             h.Redo(t);
         },
         true},
        {"saved state undone and replaced by another change",
         [](SecurityTemplate& t, TemplateHistory& h) {
             h.Push(SwapAt(t, 0));
             h.MarkSaved();
             h.Undo(t);
             h.Push(RemoveStep(t, {0}));
             h.Undo(t);
         },
         false},
        {"saved state dropped off the bottom, then reached by undoing",
         [](SecurityTemplate& t, TemplateHistory& h) {
             h.Push(SwapAt(t, 0));
             h.MarkSaved();
             for (int i = 0; i < 3; ++i)
                 h.Push(SwapAt(t, 0));
             while (h.Undo(t) != nullptr) {
             }
         },
         true},
        {"the start dropped off the bottom",
         [](SecurityTemplate& t, TemplateHistory& h) {
             for (int i = 0; i < 4; ++i)
                 h.Push(SwapAt(t, 0));
             while (h.Undo(t) != nullptr) {
             }
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SecurityTemplate tmpl;
        Fill(tmpl, 2);
        TemplateHistory history(3);
        c.play(tmpl, history);
        EXPECT_EQ(history.IsAtSavedState(), c.saved);
    }
}

TEST(TemplateHistoryTest, RemovedTargetsLiveInTheStepUntilItGoes) {
    // The template and the history share no object: whatever either holds is released
    // once (the sanitizer build checks for leaks and double frees).
    SecurityTemplate tmpl;
    Fill(tmpl, 1000);
    {
        TemplateHistory history(2);
        history.Push(RemoveStep(tmpl, {0, 10, 999}));
        history.Push(RemoveStep(tmpl, {0}));
        history.Undo(tmpl);
        history.Push(AppendTwo(tmpl));
        history.Undo(tmpl); // the two appended targets now live in the step
        history.Push(NewDescriptors(tmpl, {1, 2}));
        EXPECT_EQ(tmpl.Count, 997);
    }
    EXPECT_EQ(Snapshot(tmpl).size(), 997u);
}

} // namespace
} // namespace permora
