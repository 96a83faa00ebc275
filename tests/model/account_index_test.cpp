#include "model/acl.h"
#include "model/checks.h"

#include "model_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace permora {
namespace {

using model_support::LinksAreSound;

// What Find must answer, found the slow way: the first entry of the account from Head.
const Ace* FirstByWalk(const AceList& list, const std::string& account) {
    if (account.empty()) {
        return nullptr;
    }
    for (const Ace* entry = list.Head; entry != nullptr; entry = entry->Next) {
        if (EqualsNoCase(entry->NTAccount, account)) {
            return entry;
        }
    }
    return nullptr;
}

// Where InsertAudit must link an entry with these audit bits, found the slow way: the entry it
// goes in front of, or null for the end.
const Ace* AuditPlaceByWalk(const AceList& list, std::uint8_t audit) {
    for (const Ace* entry = list.Head; entry != nullptr; entry = entry->Next) {
        const std::uint8_t bits = entry->Flags & kAuditBits;
        if ((audit == kAuditFailure && (bits & kAuditSuccess) != 0) ||
            (audit == kAuditSuccess && bits == kAuditBits)) {
            return entry;
        }
    }
    return nullptr;
}

class RandomListOperations {
public:
    RandomListOperations(std::uint8_t type, unsigned seed) : type_(type), random_(seed) {
        for (int i = 0; i < 160; ++i) {
            accounts_.push_back("LAB\\user" + std::to_string(i));
        }
    }

    std::size_t Pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
    }

    // A pool account in a random mix of letter cases; a few accounts recur much more often
    // than the rest, so that some hold runs of several entries.
    std::string Account() {
        std::string name = accounts_[Pick(4) == 0 ? Pick(6) : Pick(accounts_.size())];
        for (char& c : name) {
            if (Pick(2) == 0) {
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
        }
        return name;
    }

    std::unique_ptr<Ace> Entry() {
        const std::uint32_t mask = 1u << Pick(12);
        std::uint8_t flags = static_cast<std::uint8_t>(std::uint8_t{1} + Pick(11));
        if (type_ == kAuditType) {
            const std::uint8_t audits[] = {0x40, 0x80, 0xC0, 0x00};
            flags = static_cast<std::uint8_t>(flags | audits[Pick(4)]);
        }
        return std::make_unique<Ace>(Account(), mask, type_, flags);
    }

    Ace* AnyEntry(const AceList& list) {
        return list.Count == 0 ? nullptr : list.At(static_cast<int>(Pick(list.Count)));
    }

    // One operation of the kinds that link, unlink or rename entries. The list grows while
    // growing_ and shrinks otherwise, so that it crosses the index's threshold both ways.
    void Step(AceList& list) {
        if (list.Count > 150) {
            growing_ = false;
        } else if (list.Count < 20) {
            growing_ = true;
        }
        const std::size_t kind = Pick(20);
        if (kind < (growing_ ? 14u : 5u)) {
            AddChecked(list, false);
        } else if (kind < 15) {
            list.Remove(AnyEntry(list));
        } else if (kind < 16) {
            list.RemoveAccount(Account());
        } else if (kind < 18) {
            if (Ace* entry = AnyEntry(list)) {
                list.Rename(entry, Account());
            }
        } else if (kind < 19) {
            AddChecked(list, type_ == kAuditType);
        } else if (Pick(2) == 0) {
            AceList copy;
            copy.CopyFrom(list);
            list = std::move(copy);
        } else {
            AceList moved(std::move(list));
            list = std::move(moved);
        }
    }

    // Adds an entry (direct: through InsertAudit) and, where the audit rules link it by its
    // audit bits, notes whether it landed where a walk from Head puts it.
    void AddChecked(AceList& list, bool direct) {
        std::unique_ptr<Ace> entry = Entry();
        const std::uint8_t audit = entry->Flags & kAuditBits;
        const bool placed = type_ == kAuditType && list.Head != nullptr && audit != 0 &&
                            list.Count < AceList::kMaxCount &&
                            (direct || list.Find(entry->NTAccount) == nullptr);
        const Ace* expectedNext = placed ? AuditPlaceByWalk(list, audit) : nullptr;
        const Ace* added = entry.get();
        if (direct) {
            list.InsertAudit(std::move(entry));
        } else {
            (void)list.Add(entry); // a refused entry stays ours, so that added stays valid
        }
        if (placed && added->Next != expectedNext) {
            misplaced_ = true;
        }
    }

    ::testing::AssertionResult Agrees(const AceList& list) {
        if (misplaced_) {
            return ::testing::AssertionFailure() << "an audit entry is not where a walk puts it";
        }
        if (list.HasAccountIndex() != (list.Count > AceList::kIndexedAbove)) {
            return ::testing::AssertionFailure()
                   << "index " << (list.HasAccountIndex() ? "kept" : "missing") << " at Count "
                   << list.Count;
        }
        for (const std::string& pooled : accounts_) {
            std::string name = pooled;
            const std::size_t at = Pick(name.size());
            name[at] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[at])));
            if (list.Find(name) != FirstByWalk(list, name)) {
                return ::testing::AssertionFailure() << "Find(" << name << ") is not the first "
                                                     << "entry of the account";
            }
        }
        return ::testing::AssertionSuccess();
    }

private:
    std::uint8_t type_;
    std::mt19937 random_;
    std::vector<std::string> accounts_;
    bool growing_ = true;
    bool misplaced_ = false;
};

// Find answers from the index on long lists; after every kind of change it must still name
// the account's first entry in list order, exactly as a walk from Head does, so that the
// merge rules see the same list with or without it. Audit lists matter most: their
// accounts' entries are scattered by the audit bits, and a long one also remembers where
// each new account's entry goes by its audit bits.
TEST(AccountIndexTest, FindAgreesWithAWalkAfterEveryOperation) {
    for (const std::uint8_t type : {kAllowType, kAuditType}) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            RandomListOperations operations(type, seed);
            AceList list;
            for (int step = 0; step < 1500; ++step) {
                operations.Step(list);
                ASSERT_TRUE(LinksAreSound(list)) << "type " << int{type} << ", step " << step;
                ASSERT_TRUE(operations.Agrees(list)) << "type " << int{type} << ", step " << step;
            }
        }
    }
}

TEST(AccountIndexTest, ManyDistinctAccountsEachFindTheirOwnEntry) {
    AceList list;
    for (int i = 0; i < AceList::kMaxCount; ++i) {
        ASSERT_TRUE(list.Add(
            std::make_unique<Ace>("DOM\\a" + std::to_string(i), 0x1u, kAllowType, kDefaultFlags)));
    }
    EXPECT_EQ(list.Count, AceList::kMaxCount);
    EXPECT_EQ(list.Find("dom\\A0"), list.Head);
    EXPECT_EQ(list.Find("DOM\\a65534"), list.Tail);
    EXPECT_EQ(list.Find("DOM\\a65535"), nullptr);

    // A second entry of an account in the middle merges with the first, as without the index.
    EXPECT_TRUE(list.Add(std::make_unique<Ace>("DOM\\A3000", 0x2u, kAllowType, kDefaultFlags)));
    EXPECT_EQ(list.Count, AceList::kMaxCount);
    EXPECT_EQ(list.Find("dom\\a3000")->Mask, 0x3u);

    list.RemoveAccount("DOM\\A3000");
    EXPECT_EQ(list.Find("DOM\\a3000"), nullptr);
    EXPECT_EQ(list.Count, AceList::kMaxCount - 1);
    EXPECT_TRUE(LinksAreSound(list));
}

// Entries for as many accounts as a list holds, auditing failure, success or both in turn:
// each lands by its bits as a walk would place it, and the list ends in three groups, each in
// the order the entries came.
TEST(AccountIndexTest, ManyDistinctAuditAccountsLandByTheirAuditBits) {
    const std::uint8_t kinds[] = {kAuditFailure, kAuditSuccess, kAuditBits};
    AceList list;
    for (int i = 0; i < AceList::kMaxCount; ++i) {
        const std::uint8_t flags = kDefaultFlags | kinds[i % 3];
        ASSERT_EQ(
            list.Add(std::make_unique<Ace>("DOM\\a" + std::to_string(i), 0x1u, kAuditType, flags)),
            1);
    }
    ASSERT_EQ(list.Count, AceList::kMaxCount);
    ASSERT_TRUE(LinksAreSound(list));
    const Ace* entry = list.Head;
    for (const std::uint8_t kind : kinds) {
        for (int i = kind == kAuditFailure   ? 0
                     : kind == kAuditSuccess ? 1
                                             : 2;
             i < AceList::kMaxCount; i += 3) {
            ASSERT_NE(entry, nullptr);
            ASSERT_EQ(entry->NTAccount, "DOM\\a" + std::to_string(i));
            ASSERT_EQ(entry->Flags & kAuditBits, kind);
            entry = entry->Next;
        }
    }
}

} // namespace
} // namespace permora
