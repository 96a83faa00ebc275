#pragma once

#include "model/ace.h"
#include "model/list_kind.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace permora {

bool IsMaskEmpty(std::uint32_t mask);
bool MaskCovers(std::uint32_t a, std::uint32_t b);
bool ScopeCovers(std::uint8_t a, std::uint8_t b);
// The inheritance code (the low four bits of a flags byte) that reaches exactly the places
// that either kept or absorbed reaches: kept's own when it does, else absorbed's, else the
// first that does of 3, 1, 2, 4, 9, 10, 11 and then 0 to 15; none when no code reaches just
// those places (NP with OI beside CI with IO, for one).
std::optional<std::uint8_t> JoinedInheritance(std::uint8_t kept, std::uint8_t absorbed);
// Same flags, one entry covering the other, or the same mask over places that one
// inheritance code reaches together.
bool AreMergeable(const Ace& a, const Ace& b);
// Folds the rights of a mergeable entry into another and returns true: the kept entry
// reaches every place that either reached (its inheritance code as JoinedInheritance gives
// it) and holds both masks there; the audit bits are joined. Entries that are not mergeable
// are left as they are (false).
[[nodiscard]] bool MergeInto(Ace& kept, const Ace& absorbed);

class AccountIndex;

// An ordered, doubly linked list of entries. The list owns every entry linked into it.
//
// A list longer than kIndexedAbove entries also keeps an index from each account (letter
// case folded) to its first entry, so that finding an account costs no walk; the index is
// kept in step on every link, unlink and rename, and dropped again when the list shrinks.
// That is why a linked entry's account changes only through Rename.
//
// Add takes the entry by reference to an owning pointer: when it returns true the list has
// taken the entry (linked it, or merged it into another entry and destroyed it) and the
// pointer is empty; when it returns false the caller still owns the entry. Handed over
// outright (&&), the entry goes either way and the result may be dropped. A caller that needs
// the account name afterwards keeps a copy of it.
class AceList {
public:
    static constexpr std::uint16_t kMaxCount = 0xFFFF;
    static constexpr std::uint16_t kIndexedAbove = 64;

    AceList();
    ~AceList();
    AceList(const AceList&) = delete;
    AceList& operator=(const AceList&) = delete;
    AceList(AceList&& other) noexcept;
    AceList& operator=(AceList&& other) noexcept;

    void InitWith(std::unique_ptr<Ace> entry);
    Ace* Find(std::string_view account) const;
    Ace* At(int index) const;
    [[nodiscard]] bool Add(std::unique_ptr<Ace>& entry);
    bool Add(std::unique_ptr<Ace>&& entry);
    [[nodiscard]] bool AddAudit(std::unique_ptr<Ace>& entry);
    void InsertAudit(std::unique_ptr<Ace> entry);
    void Remove(Ace* entry);
    void RemoveAccount(std::string_view account);
    void Clear();
    // Gives the entry another account name; the entry stays where it is and merges with
    // nothing. Entries of other lists (or of none) are renamed all the same.
    void Rename(Ace* entry, AccountName account);
    bool HasAccountIndex() const { return indexSlot_ != 0; }
    // Makes this list an exact copy of another: same entries, same order, nothing merged.
    void CopyFrom(const AceList& from);

    std::uint16_t Count = 0;

private:
    // The list's account index, kept apart (see AccountIndex in acl.cpp); 0: none. Four bytes
    // beside Count rather than a pointer of their own, as nearly every list is short.
    std::uint32_t indexSlot_ = 0;

public:
    Ace* Head = nullptr;
    Ace* Tail = nullptr;

private:
    Ace* LinkAtEnd(std::unique_ptr<Ace> entry);
    Ace* LinkBefore(std::unique_ptr<Ace> entry, Ace* before);
    std::unique_ptr<Ace> Unlink(Ace* entry);
    void IndexLinked(Ace* entry);
    bool PrecedesFirstOfAccount(const Ace* entry) const;
    void AuditBitsChanged();
    bool Holds(const Ace* entry) const;
    AccountIndex* Index() const;
    void DropIndex();
};

// One access control list: three member lists by entry type.
class Acl {
public:
    Acl() = default;
    Acl(const Acl&) = delete;
    Acl& operator=(const Acl&) = delete;
    Acl(Acl&&) noexcept = default;
    Acl& operator=(Acl&&) noexcept = default;

    [[nodiscard]] bool Add(std::unique_ptr<Ace>& entry);
    bool Add(std::unique_ptr<Ace>&& entry);
    void Remove(Ace* entry);
    void RemoveAccount(std::string_view account);
    Ace* Find(std::string_view account, std::uint8_t type) const;
    // The member list of the type: Deny for kDenyType, Audit for kAuditType, Allow for any
    // other (Add, Remove and Find take no entry of another type).
    AceList& MemberOf(std::uint8_t type);
    const AceList& MemberOf(std::uint8_t type) const;
    // The entry at a row of the list's page: for the permissions, deny entries first, then
    // allow entries.
    Ace* EntryAt(int index, ListKind list) const;
    Acl Clone() const;
    void Clear();

    AceList Allow;
    AceList Deny;
    AceList Audit;
};

// The (flags, mask) of every entry of one account in a list, in order: taken before and
// after an Add, they tell whether the Add changed the account's entries.
[[nodiscard]] std::vector<std::pair<std::uint8_t, std::uint32_t>>
EntriesOf(const AceList& list, std::string_view account);

} // namespace permora
