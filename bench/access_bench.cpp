// The effective access of one person on a target whose permission list is as long as a list
// can be.
#include "bench/table.h"
#include "model/effective_access.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace permora::bench {
namespace {

constexpr std::uint32_t kRights[] = {kReadData,        kWriteData, kAppendData,  kReadEa,
                                     kWriteEa,         kExecute,   kDeleteChild, kReadAttributes,
                                     kWriteAttributes, kDelete,    kReadControl, kWriteDac,
                                     kWriteOwner};

// 65,535 permission entries, nearly all of other accounts, one in eight a deny entry. One in
// 253 names the person (in another letter case), one of its groups, everybody or the
// authenticated users; no two of those merge, as each of a name's entries of one kind has
// flags and a right of its own.
const SecurityDescriptor& WideDescriptor() {
    static const std::unique_ptr<SecurityDescriptor> descriptor = [] {
        auto d = std::make_unique<SecurityDescriptor>();
        d->Control = SE_DACL_PRESENT;
        const std::uint8_t codes[] = {0x03, 0x0B, 0x04, 0x06, 0x09, 0x02};
        const std::uint32_t masks[] = {kReadExecuteMask | kSynchronize,
                                       kWriteMask,
                                       kDelete,
                                       kFullControlMask,
                                       kGenericRead,
                                       kWriteDac};
        const char* const shared[] = {"lab\\JDOE",   "LAB\\group0", "LAB\\group1", "LAB\\group2",
                                      "LAB\\group3", "LAB\\group4", "LAB\\group5", "LAB\\group6",
                                      "Everyone",    "AU"};
        for (int i = 0; i < 0xFFFF; ++i) {
            std::unique_ptr<Ace> entry;
            if (i % 253 == 0) {
                const int s = i / 253;
                const int k = s / 10;
                entry = std::make_unique<Ace>(shared[s % 10], kRights[k / 2],
                                              k % 2 == 0 ? kAllowType : kDenyType,
                                              static_cast<std::uint8_t>(k / 2));
            } else {
                entry = std::make_unique<Ace>("LAB\\account" + std::to_string(i),
                                              masks[i % 6] | (1u << (i % 9)),
                                              i % 8 == 0 ? kDenyType : kAllowType, codes[i % 6]);
            }
            (void)d->DaclList.Add(entry);
        }
        return d;
    }();
    return *descriptor;
}

void EffectiveAccessWide(benchmark::State& state) {
    const SecurityDescriptor& d = WideDescriptor();
    if (d.DaclList.Allow.Count + d.DaclList.Deny.Count != 0xFFFF) {
        state.SkipWithError("the descriptor did not build");
        return;
    }
    const AccessSubject subject("LAB\\jdoe",
                                {"LAB\\group0", "LAB\\group1", "LAB\\group2", "LAB\\group3",
                                 "LAB\\group4", "LAB\\group5", "LAB\\group6", "LAB\\group7"});
    if (ComputeEffectiveAccess(d, subject).deciders.empty()) {
        state.SkipWithError("the person's entries decide nothing");
        return;
    }
    for (auto _ : state) {
        const EffectiveAccess access = ComputeEffectiveAccess(d, subject);
        benchmark::DoNotOptimize(access.deciders.data());
    }
}

const bool registered = [] {
    AddBenchmark("EffectiveAccessWide", false, 10, EffectiveAccessWide);
    AddFigure({"EffectiveAccessWide",
               "effective access of an account in eight groups, list of 65,535 entries", 0.016, "",
               0});
    return true;
}();

} // namespace
} // namespace permora::bench
