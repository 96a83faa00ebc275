#include "model/template_history.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace permora {

namespace {

// Exchanges the descriptors of the targets at the step's positions with the step's own.
void SwapDescriptors(SecurityTemplate& tmpl, TemplateStep& step) {
    for (std::size_t i = 0; i < step.Indexes.size(); ++i) {
        if (TargetObject* target = tmpl.At(step.Indexes[i]))
            std::swap(target->Descriptor, step.Descriptors[i]);
    }
}

void TakeBackAppended(SecurityTemplate& tmpl, TemplateStep& step) {
    const int count = std::min(step.Count, tmpl.Count);
    std::vector<int> last(static_cast<std::size_t>(count));
    std::iota(last.begin(), last.end(), tmpl.Count - count);
    step.Targets = tmpl.TakeMany(std::move(last));
}

void AppendAgain(SecurityTemplate& tmpl, TemplateStep& step) {
    for (std::unique_ptr<TargetObject>& target : step.Targets)
        tmpl.Append(std::move(target));
    step.Targets.clear();
}

void Apply(SecurityTemplate& tmpl, TemplateStep& step, bool undo) {
    switch (step.Kind) {
    case StepKind::Append:
        if (undo)
            TakeBackAppended(tmpl, step);
        else
            AppendAgain(tmpl, step);
        break;
    case StepKind::Remove:
        if (undo) {
            tmpl.InsertMany(step.Indexes, std::move(step.Targets));
            step.Targets.clear();
        } else {
            step.Targets = tmpl.TakeMany(step.Indexes);
        }
        break;
    case StepKind::Swap:
        tmpl.MoveDown(step.Count); // the same exchange either way
        break;
    case StepKind::Descriptors:
        SwapDescriptors(tmpl, step);
        break;
    }
}

} // namespace

TemplateStep AppendStep(int count) {
    TemplateStep step;
    step.Kind = StepKind::Append;
    step.Count = count;
    return step;
}

TemplateStep RemoveStep(SecurityTemplate& tmpl, std::vector<int> indexes) {
    TemplateStep step;
    step.Kind = StepKind::Remove;
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    indexes.erase(std::remove_if(indexes.begin(), indexes.end(),
                                 [&](int index) { return index < 0 || index >= tmpl.Count; }),
                  indexes.end());
    step.Indexes = std::move(indexes);
    step.Targets = tmpl.TakeMany(step.Indexes);
    return step;
}

TemplateStep SwapStep(int upper) {
    TemplateStep step;
    step.Kind = StepKind::Swap;
    step.Count = upper;
    return step;
}

TemplateStep DescriptorsStep(std::vector<int> indexes,
                             std::vector<std::unique_ptr<SecurityDescriptor>> previous) {
    TemplateStep step;
    step.Kind = StepKind::Descriptors;
    const std::size_t count = std::min(indexes.size(), previous.size());
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return indexes[a] < indexes[b]; });
    step.Indexes.reserve(count);
    step.Descriptors.reserve(count);
    for (const std::size_t i : order) {
        step.Indexes.push_back(indexes[i]);
        step.Descriptors.push_back(std::move(previous[i]));
    }
    return step;
}

void TemplateHistory::Push(TemplateStep step) {
    for (const Entry& dropped : undone_) {
        if (dropped.state == savedState_)
            savedState_ = -1;
    }
    undone_.clear();
    done_.push_back({std::move(step), ++lastState_});
    while (done_.size() > limit_) {
        baseState_ = done_.front().state;
        done_.pop_front();
    }
}

const TemplateStep* TemplateHistory::Undo(SecurityTemplate& tmpl) {
    if (done_.empty())
        return nullptr;
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    Apply(tmpl, undone_.back().step, true);
    return &undone_.back().step;
}

const TemplateStep* TemplateHistory::Redo(SecurityTemplate& tmpl) {
    if (undone_.empty())
        return nullptr;
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    Apply(tmpl, done_.back().step, false);
    return &done_.back().step;
}

} // namespace permora
