#pragma once

#include "model/acl.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace permora::model_support {

// One entry of a list as the tests spell it: (account, flags, mask).
struct Row {
    std::string account;
    std::uint8_t flags;
    std::uint32_t mask;

    friend bool operator==(const Row&, const Row&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Row& row) {
        return out << "(" << row.account << ", 0x" << std::hex << int{row.flags} << ", 0x"
                   << row.mask << std::dec << ")";
    }
};

inline std::unique_ptr<Ace> MakeEntry(const Row& row, std::uint8_t type) {
    return std::make_unique<Ace>(row.account, row.mask, type, row.flags);
}

// Checks the links of a list both ways against its Count, Head and Tail.
inline ::testing::AssertionResult LinksAreSound(const AceList& list) {
    int forward = 0;
    const Ace* previous = nullptr;
    for (const Ace* entry = list.Head; entry != nullptr; entry = entry->Next) {
        if (entry->Prev != previous) {
            return ::testing::AssertionFailure() << "Prev of entry " << forward << " is wrong";
        }
        previous = entry;
        if (++forward > list.Count) {
            return ::testing::AssertionFailure() << "more entries than Count " << list.Count;
        }
    }
    if (previous != list.Tail) {
        return ::testing::AssertionFailure() << "Tail is not the last entry";
    }
    if (forward != list.Count) {
        return ::testing::AssertionFailure() << forward << " entries linked, Count " << list.Count;
    }
    return ::testing::AssertionSuccess();
}

inline std::vector<Row> RowsOf(const AceList& list) {
    std::vector<Row> rows;
    for (const Ace* entry = list.Head; entry != nullptr; entry = entry->Next) {
        rows.push_back({entry->NTAccount, entry->Flags, entry->Mask});
    }
    return rows;
}

} // namespace permora::model_support
