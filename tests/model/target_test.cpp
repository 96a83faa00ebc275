#include "model/target.h"

#include "model_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace permora {
namespace {

using model_support::Row;
using model_support::RowsOf;

TEST(SecurityDescriptorTest, ANewTargetHoldsTheDefaultEntry) {
    TargetObject target("/vol/vol1/qt1", MakeDefaultDescriptor());
    EXPECT_EQ(target.SecurityStyle, kStyleNtfs);
    EXPECT_EQ(target.SecurityLevel, kLevelFileDirectory);
    EXPECT_EQ(target.Mode, 0);
    EXPECT_EQ(target.Path, "/vol/vol1/qt1");
    ASSERT_NE(target.Descriptor, nullptr);
    const SecurityDescriptor& descriptor = *target.Descriptor;
    EXPECT_EQ(descriptor.Control, SE_DACL_PRESENT);
    EXPECT_EQ(RowsOf(descriptor.DaclList.Allow), (std::vector<Row>{{"Everyone", 0x03, 0x1200A9}}));
    EXPECT_EQ(descriptor.DaclList.Allow.Head->AceType, kAllowType);
    EXPECT_EQ(descriptor.DaclList.Deny.Count, 0);
    EXPECT_EQ(descriptor.SaclList.Audit.Count, 0);
    EXPECT_EQ(target.Next, nullptr);
    EXPECT_EQ(target.Prev, nullptr);
}

TEST(SecurityDescriptorTest, TheFirstEntryDecidesWhichListIsPresent) {
    const SecurityDescriptor audit(std::make_unique<Ace>("Everyone", kAuditType));
    EXPECT_EQ(audit.Control, SE_SACL_PRESENT);
    EXPECT_EQ(RowsOf(audit.SaclList.Audit), (std::vector<Row>{{"Everyone", 0xC3, 0x200A9}}));
    EXPECT_EQ(audit.DaclList.Allow.Count + audit.DaclList.Deny.Count, 0);

    const SecurityDescriptor deny(std::make_unique<Ace>("Guest", 0x10000u, kDenyType));
    EXPECT_EQ(deny.Control, SE_DACL_PRESENT);
    EXPECT_EQ(RowsOf(deny.DaclList.Deny), (std::vector<Row>{{"Guest", 0x03, 0x10000}}));

    const SecurityDescriptor empty(nullptr);
    EXPECT_EQ(empty.Control, 0);
}

TEST(SecurityDescriptorTest, CloneSharesNoEntryWithItsSource) {
    auto source = MakeDefaultDescriptor();
    source->Control |= SE_SACL_PRESENT | SE_DACL_PROTECTED;
    source->DaclList.Add(std::make_unique<Ace>("Guest", 0x10000u, kDenyType, 0x03));
    source->SaclList.Add(std::make_unique<Ace>("Everyone", kAuditType));

    const auto copy = source->Clone();
    EXPECT_EQ(copy->Control, source->Control);
    EXPECT_EQ(RowsOf(copy->DaclList.Allow), RowsOf(source->DaclList.Allow));
    EXPECT_EQ(RowsOf(copy->DaclList.Deny), RowsOf(source->DaclList.Deny));
    EXPECT_EQ(RowsOf(copy->SaclList.Audit), RowsOf(source->SaclList.Audit));
    EXPECT_NE(copy->DaclList.Allow.Head, source->DaclList.Allow.Head);

    copy->DaclList.Allow.Head->Mask = 0x1F01FF;
    copy->SaclList.Clear();
    EXPECT_EQ(source->DaclList.Allow.Head->Mask, 0x1200A9u);
    EXPECT_EQ(source->SaclList.Audit.Count, 1);

    // The source may go first; the clone stays whole.
    source.reset();
    EXPECT_EQ(copy->DaclList.Deny.Head->NTAccount, "Guest");
}

// The template against a plain vector of the same targets, after every step.
class TemplateMirror {
public:
    void Append(int id) {
        auto target =
            std::make_unique<TargetObject>("/vol/t" + std::to_string(id), MakeDefaultDescriptor());
        mirror_.push_back(target.get());
        ASSERT_TRUE(tmpl_.Append(std::move(target)));
    }
    void RemoveMany(const std::vector<int>& indexes) {
        std::vector<int> unique;
        for (int index : indexes) {
            if (index >= 0 && index < Size()) {
                unique.push_back(index);
            }
        }
        std::sort(unique.begin(), unique.end());
        unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
        for (auto it = unique.rbegin(); it != unique.rend(); ++it) {
            mirror_.erase(mirror_.begin() + *it);
        }
        EXPECT_EQ(tmpl_.RemoveMany(indexes), static_cast<int>(unique.size()));
    }
    void MoveUp(int index) {
        if (index >= 1 && index < Size()) {
            std::swap(mirror_[index], mirror_[index - 1]);
        }
        tmpl_.MoveUp(index);
    }
    void MoveDown(int index) {
        if (index >= 0 && index < Size() - 1) {
            std::swap(mirror_[index], mirror_[index + 1]);
        }
        tmpl_.MoveDown(index);
    }
    void Clear() {
        mirror_.clear();
        tmpl_.Clear();
    }
    int Size() const { return static_cast<int>(mirror_.size()); }

    ::testing::AssertionResult Matches() const {
        if (tmpl_.Count != Size()) {
            return ::testing::AssertionFailure()
                   << "Count " << tmpl_.Count << ", expected " << Size();
        }
        std::vector<const TargetObject*> forward;
        const TargetObject* previous = nullptr;
        for (const TargetObject* t = tmpl_.Head; t != nullptr && forward.size() <= mirror_.size();
             t = t->Next) {
            if (t->Prev != previous) {
                return ::testing::AssertionFailure() << "Prev broken at " << forward.size();
            }
            forward.push_back(t);
            previous = t;
        }
        if (previous != tmpl_.Tail) {
            return ::testing::AssertionFailure() << "Tail is not the last target";
        }
        std::vector<const TargetObject*> backward;
        for (const TargetObject* t = tmpl_.Tail; t != nullptr && backward.size() <= mirror_.size();
             t = t->Prev) {
            backward.insert(backward.begin(), t);
        }
        const std::vector<const TargetObject*> expected(mirror_.begin(), mirror_.end());
        if (forward != expected || backward != expected) {
            return ::testing::AssertionFailure() << "order differs from the mirror";
        }
        for (int i = -1; i <= Size(); ++i) {
            const TargetObject* wanted = (i >= 0 && i < Size()) ? mirror_[i] : nullptr;
            if (tmpl_.At(i) != wanted) {
                return ::testing::AssertionFailure() << "At(" << i << ") is wrong";
            }
        }
        return ::testing::AssertionSuccess();
    }

private:
    SecurityTemplate tmpl_;
    std::vector<TargetObject*> mirror_;
};

TEST(SecurityTemplateTest, EdgeCasesOfEachOperation) {
    TemplateMirror t;
    EXPECT_TRUE(t.Matches());
    t.RemoveMany({0});
    t.MoveUp(0);
    t.MoveDown(0);
    t.RemoveMany({0, -1, 3});
    EXPECT_TRUE(t.Matches());

    t.Append(1);
    t.RemoveMany({0}); // the only target
    EXPECT_TRUE(t.Matches());

    t.Append(1);
    t.Append(2);
    t.MoveUp(1); // two targets: Head and Tail exchange
    EXPECT_TRUE(t.Matches());
    t.MoveUp(0);
    t.MoveDown(1);
    t.MoveUp(2);
    t.MoveDown(-1);
    t.RemoveMany({2});
    t.RemoveMany({-1});
    EXPECT_TRUE(t.Matches());

    t.Append(3);
    t.Append(4);
    t.MoveDown(0); // at the head
    t.MoveUp(3);   // at the tail
    t.MoveDown(1); // in the middle
    EXPECT_TRUE(t.Matches());
    t.RemoveMany({3, 0, 3, -2, 9}); // both ends, repeated and out of range
    EXPECT_TRUE(t.Matches());

    SecurityTemplate tmpl;
    EXPECT_FALSE(tmpl.Append(nullptr));
    EXPECT_EQ(tmpl.Count, 0);
}

TEST(SecurityTemplateTest, RandomSequencesKeepTheLinks) {
    std::mt19937 random(1234);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    TemplateMirror t;
    int nextId = 0;
    for (int step = 0; step < 3000; ++step) {
        const int size = t.Size();
        switch (pick(0, 9)) {
        case 0:
        case 1:
        case 2:
            t.Append(nextId++);
            break;
        case 3:
            t.RemoveMany({pick(-1, size)});
            break;
        case 4: {
            std::vector<int> indexes(static_cast<std::size_t>(pick(0, 4)));
            for (int& index : indexes) {
                index = pick(-1, size);
            }
            t.RemoveMany(indexes);
            break;
        }
        case 5:
        case 6:
            t.MoveUp(pick(-1, size));
            break;
        case 7:
        case 8:
            t.MoveDown(pick(-1, size));
            break;
        default:
            if (pick(0, 20) == 0) {
                t.Clear();
            }
            break;
        }
        ASSERT_TRUE(t.Matches()) << "step " << step;
    }
}

// A template of the largest size in use and lists of the longest length are taken apart
// without recursion.
TEST(SecurityTemplateTest, LargeTemplatesAreReleasedAndRemovedInOnePass) {
    SecurityTemplate tmpl;
    for (int i = 0; i < 100000; ++i) {
        tmpl.Append(std::make_unique<TargetObject>("/vol/v" + std::to_string(i), nullptr));
    }
    std::vector<int> every;
    for (int i = 0; i < 100000; i += 2) {
        every.push_back(i);
    }
    EXPECT_EQ(tmpl.RemoveMany(every), 50000);
    EXPECT_EQ(tmpl.Count, 50000);
    EXPECT_EQ(tmpl.Head->Path, "/vol/v1");
    EXPECT_EQ(tmpl.Tail->Path, "/vol/v99999");
    EXPECT_EQ(tmpl.At(49999), tmpl.Tail);
    tmpl.Clear();
    EXPECT_EQ(tmpl.Head, nullptr);
}

} // namespace
} // namespace permora
