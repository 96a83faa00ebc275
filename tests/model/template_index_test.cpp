#include "model/target.h"
#include "model/template_history.h"
#include "model/template_ops.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace permora {
namespace {

// At answers from the template's own index of positions; after every operation that links
// or unlinks targets it must name the same target as a walk from Head, and the links must
// hold together both ways.
::testing::AssertionResult IndexAgreesWithAWalk(const SecurityTemplate& tmpl) {
    int position = 0;
    const TargetObject* previous = nullptr;
    for (const TargetObject* target = tmpl.Head; target != nullptr; target = target->Next) {
        if (target->Prev != previous) {
            return ::testing::AssertionFailure() << "Prev broken at " << position;
        }
        if (tmpl.At(position) != target) {
            return ::testing::AssertionFailure() << "At(" << position << ") is not the target "
                                                 << "a walk reaches";
        }
        previous = target;
        if (++position > tmpl.Count) {
            return ::testing::AssertionFailure() << "more targets linked than Count";
        }
    }
    if (previous != tmpl.Tail || position != tmpl.Count) {
        return ::testing::AssertionFailure()
               << position << " targets linked, Count " << tmpl.Count << ", Tail "
               << (previous == tmpl.Tail ? "right" : "wrong");
    }
    if (tmpl.At(-1) != nullptr || tmpl.At(tmpl.Count) != nullptr) {
        return ::testing::AssertionFailure() << "At answers outside the template";
    }
    return ::testing::AssertionSuccess();
}

// The operations of the window and the history on one template, chosen at random: appends
// (one or many), removals through the history and directly, takes and puts back, moves,
// undo and redo through a short history (so that steps fall off its bottom), and Clear.
class RandomTemplateOperations {
public:
    explicit RandomTemplateOperations(unsigned seed) : random_(seed), history_(8) {}

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::vector<int> SomePositions() {
        std::vector<int> positions(static_cast<std::size_t>(Pick(0, 6)));
        for (int& position : positions) {
            position = Pick(-1, tmpl_.Count);
        }
        if (tmpl_.Count > 0 && Pick(0, 9) == 0) { // a run of neighbours
            const int first = Pick(0, tmpl_.Count - 1);
            for (int i = first; i < std::min(tmpl_.Count, first + Pick(1, 12)); ++i) {
                positions.push_back(i);
            }
        }
        return positions;
    }

    void Step() {
        const bool growing = tmpl_.Count < 60;
        switch (Pick(0, growing ? 11 : 9)) {
        case 0: {
            const std::size_t count = static_cast<std::size_t>(Pick(1, 5));
            std::vector<std::string> paths;
            for (std::size_t i = 0; i < count; ++i) {
                paths.push_back("/vol/t" + std::to_string(nextId_++));
            }
            const auto added = AppendTargets(tmpl_, paths, kLevelFileDirectory, nullptr);
            history_.Push(AppendStep(static_cast<int>(added.size())));
            break;
        }
        case 1: {
            std::vector<int> positions = SomePositions();
            history_.Push(RemoveStep(tmpl_, std::move(positions)));
            break;
        }
        case 2: {
            const int index = Pick(-1, tmpl_.Count);
            if (index >= 0 && index < tmpl_.Count - 1) {
                tmpl_.MoveDown(index);
                history_.Push(SwapStep(index));
            }
            break;
        }
        case 3:
            tmpl_.MoveUp(Pick(-1, tmpl_.Count));
            break;
        case 4:
            history_.Undo(tmpl_);
            break;
        case 5:
            history_.Redo(tmpl_);
            break;
        case 6:
            tmpl_.RemoveMany(SomePositions());
            history_ = TemplateHistory(8); // its steps no longer fit the template
            break;
        case 7: {
            // Taken and put back where they were, as Undo of a removal does.
            std::vector<int> positions = SomePositions();
            std::vector<int> kept;
            for (const int position : positions) {
                if (position >= 0 && position < tmpl_.Count) {
                    kept.push_back(position);
                }
            }
            std::sort(kept.begin(), kept.end());
            kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
            auto taken = tmpl_.TakeMany(std::move(positions));
            tmpl_.InsertMany(kept, std::move(taken));
            break;
        }
        case 8:
            if (Pick(0, 15) == 0) {
                tmpl_.Clear();
                history_ = TemplateHistory(8);
            }
            break;
        default: {
            auto target = std::make_unique<TargetObject>("/vol/t" + std::to_string(nextId_++),
                                                         MakeDefaultDescriptor());
            tmpl_.Append(std::move(target));
            history_.Push(AppendStep(1));
            break;
        }
        }
    }

    const SecurityTemplate& Template() const { return tmpl_; }

private:
    std::mt19937 random_;
    SecurityTemplate tmpl_;
    TemplateHistory history_;
    int nextId_ = 0;
};

TEST(TemplateIndexTest, AtAgreesWithAWalkAfterEveryOperation) {
    for (const unsigned seed : {1u, 2u, 3u, 77u}) {
        RandomTemplateOperations operations(seed);
        for (int step = 0; step < 3000; ++step) {
            operations.Step();
            ASSERT_TRUE(IndexAgreesWithAWalk(operations.Template()))
                << "seed " << seed << ", step " << step;
        }
    }
}

// Putting targets back at positions past the end of a template that has shrunk since
// appends them, in order, as a walk that runs off the end does.
TEST(TemplateIndexTest, InsertManyPastTheEndAppends) {
    SecurityTemplate tmpl;
    for (int i = 0; i < 3; ++i) {
        tmpl.Append(std::make_unique<TargetObject>("/vol/t" + std::to_string(i), nullptr));
    }
    auto taken = tmpl.TakeMany({0, 2});
    tmpl.InsertMany({5, 9}, std::move(taken));
    EXPECT_TRUE(IndexAgreesWithAWalk(tmpl));
    ASSERT_EQ(tmpl.Count, 3);
    EXPECT_EQ(tmpl.At(0)->Path, "/vol/t1");
    EXPECT_EQ(tmpl.At(1)->Path, "/vol/t0");
    EXPECT_EQ(tmpl.At(2)->Path, "/vol/t2");
}

} // namespace
} // namespace permora
