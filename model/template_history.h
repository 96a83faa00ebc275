#pragma once

// Undo and redo of the changes of a template. A step owns what its change took out of the
// template (the targets a Remove took, the descriptors an edit replaced), so undoing puts
// back the very objects, and nothing that a change left alone is ever copied.

#include "model/target.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace permora {

enum class StepKind {
    Append,      // targets appended at the end
    Remove,      // targets taken out at given positions
    Swap,        // two neighbouring targets exchanged
    Descriptors, // descriptors of targets replaced
};

struct TemplateStep {
    StepKind Kind = StepKind::Append;
    std::string Name; // as a menu shows it after "Undo " or "Redo "
    // The selected rows before and after the change.
    std::vector<int> SelectionBefore;
    std::vector<int> SelectionAfter;
    // Where saves go before and after the change, for a change that moves it (New).
    bool ChangesPath = false;
    std::string PathBefore;
    std::string PathAfter;

    // Append: the number of targets at the end. Swap: the position of the upper target.
    int Count = 0;
    // Remove and Descriptors: positions, ascending.
    std::vector<int> Indexes;
    // Remove while done, Append while undone: the targets outside the template, in order.
    std::vector<std::unique_ptr<TargetObject>> Targets;
    // Descriptors: for each position of Indexes, the descriptor the target does not hold now.
    std::vector<std::unique_ptr<SecurityDescriptor>> Descriptors;
};

// Steps of the changes as they happen. Each is made after (Append, Swap, Descriptors) or by
// (Remove) its change.
TemplateStep AppendStep(int count);
TemplateStep RemoveStep(SecurityTemplate& tmpl, std::vector<int> indexes); // removes them
TemplateStep SwapStep(int upper);
// The targets at indexes (any order, no repeats) have new descriptors; previous[i] is the
// one the target at indexes[i] held before.
TemplateStep DescriptorsStep(std::vector<int> indexes,
                             std::vector<std::unique_ptr<SecurityDescriptor>> previous);

class TemplateHistory {
public:
    static constexpr std::size_t kDefaultLimit = 100;
    explicit TemplateHistory(std::size_t limit = kDefaultLimit) : limit_(limit) {}

    // Records a change that has happened; whatever was undone is dropped. The oldest step
    // goes when more than the limit are kept.
    void Push(TemplateStep step);

    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }
    const TemplateStep* NextUndo() const { return done_.empty() ? nullptr : &done_.back().step; }
    const TemplateStep* NextRedo() const {
        return undone_.empty() ? nullptr : &undone_.back().step;
    }
    std::size_t UndoCount() const { return done_.size(); }

    // Takes back the last change (or makes the last undone change again) on tmpl, which must
    // be the template the steps were recorded on. Returns the step, or nullptr when there is
    // none.
    const TemplateStep* Undo(SecurityTemplate& tmpl);
    const TemplateStep* Redo(SecurityTemplate& tmpl);

    // The template as it is now is the saved one (after a save, or a New).
    void MarkSaved() { savedState_ = CurrentState(); }
    bool IsAtSavedState() const { return savedState_ == CurrentState(); }

private:
    // Each step has a number; the template's state is that of the last step done, or of
    // the last step dropped off the bottom when none is left to undo.
    long CurrentState() const { return done_.empty() ? baseState_ : done_.back().state; }

    struct Entry {
        TemplateStep step;
        long state;
    };
    std::size_t limit_;
    std::deque<Entry> done_;   // back: the next to undo
    std::deque<Entry> undone_; // back: the next to redo
    long lastState_ = 0;
    long baseState_ = 0;
    long savedState_ = 0; // -1 when that state can no longer be reached
};

} // namespace permora
