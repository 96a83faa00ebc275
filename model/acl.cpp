#include "model/acl.h"

#include "model/links.h"

#include "model/checks.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace permora {

namespace {

bool HasBothAuditBits(std::uint8_t flags) {
    return (flags & kAuditBits) == kAuditBits;
}

bool HasAuditSuccess(std::uint8_t flags) {
    return (flags & kAuditSuccess) != 0;
}

bool HasAuditFailure(std::uint8_t flags) {
    return (flags & kAuditFailure) != 0;
}

std::uint8_t InheritancePart(std::uint8_t flags) {
    return static_cast<std::uint8_t>(flags & ~kAuditBits);
}

bool Covers(const Ace& p, const Ace& q) {
    return MaskCovers(p.Mask, q.Mask) && ScopeCovers(p.Flags, q.Flags);
}

bool SameAccount(const Ace& entry, std::string_view account) {
    return EqualsNoCase(entry.NTAccount, account);
}

// How an audit entry of an account meets the entries the account already has. The choice
// depends on the audit bits of the account's first entry and of the incoming entry.
enum class AuditRule {
    SameFlags, // both audit success and failure: equal flags add the mask
    MarkBoth,  // one side audits both: equal inheritance and mask mark both
    Merge,     // both audit success, or both failure: the permission merge
};

AuditRule ChooseAuditRule(std::uint8_t first, std::uint8_t incoming) {
    if (HasBothAuditBits(first) && HasBothAuditBits(incoming)) {
        return AuditRule::SameFlags;
    }
    if (HasBothAuditBits(first) || HasBothAuditBits(incoming)) {
        return AuditRule::MarkBoth;
    }
    if ((HasAuditSuccess(first) && HasAuditSuccess(incoming)) ||
        (HasAuditFailure(first) && HasAuditFailure(incoming))) {
        return AuditRule::Merge;
    }
    return AuditRule::MarkBoth;
}

// Under MarkBoth the examined entry takes the other's audit bits only where both reach the
// same places with the same rights.
bool AuditAbsorbs(AuditRule rule, const Ace& cur, const Ace& incoming) {
    switch (rule) {
    case AuditRule::SameFlags:
        return cur.Flags == incoming.Flags;
    case AuditRule::MarkBoth:
        return InheritancePart(cur.Flags) == InheritancePart(incoming.Flags) &&
               cur.Mask == incoming.Mask;
    case AuditRule::Merge:
        return AreMergeable(cur, incoming);
    }
    return false;
}

void AuditAbsorb(AuditRule rule, Ace& cur, const Ace& incoming) {
    switch (rule) {
    case AuditRule::SameFlags:
        cur.Mask |= incoming.Mask;
        break;
    case AuditRule::MarkBoth:
        cur.Flags |= kAuditBits;
        break;
    case AuditRule::Merge:
        (void)MergeInto(cur, incoming);
        break;
    }
}

// The codes tried for a joined inheritance when neither entry's own reaches every place:
// the editors' choices first, the most common first among them.
constexpr std::uint8_t kJoinOrder[] = {kThisFolderSubfoldersAndFiles, kThisFolderAndFiles,
                                       kThisFolderAndSubfolders, kThisFolderOnly, kFilesOnly,
                                       kSubfoldersOnly, kSubfoldersAndFilesOnly,
                                       // and then the codes no "Apply to" names
                                       0, 5, 6, 7, 8, 12, 13, 14, 15};
constexpr int kNoCode = -1;

constexpr std::array<std::int8_t, 256> MakeJoinTable() {
    std::array<std::int8_t, 256> table{};
    for (unsigned kept = 0; kept < 16; ++kept) {
        for (unsigned absorbed = 0; absorbed < 16; ++absorbed) {
            const unsigned places = PlacesOf(static_cast<std::uint8_t>(kept)) |
                                    PlacesOf(static_cast<std::uint8_t>(absorbed));
            int code = kNoCode;
            if (PlacesOf(static_cast<std::uint8_t>(kept)) == places) {
                code = static_cast<int>(kept);
            } else if (PlacesOf(static_cast<std::uint8_t>(absorbed)) == places) {
                code = static_cast<int>(absorbed);
            } else {
                for (const std::uint8_t candidate : kJoinOrder) {
                    if (PlacesOf(candidate) == places) {
                        code = candidate;
                        break;
                    }
                }
            }
            table[kept * 16 + absorbed] = static_cast<std::int8_t>(code);
        }
    }
    return table;
}

constexpr std::array<std::int8_t, 256> kJoinTable = MakeJoinTable();

int JoinedCode(std::uint8_t kept, std::uint8_t absorbed) {
    return kJoinTable[(kept & kInheritanceBits) * 16u + (absorbed & kInheritanceBits)];
}

std::unique_ptr<Ace> CopyOf(const Ace& entry) {
    return std::make_unique<Ace>(entry.NTAccount, entry.Mask, entry.AceType, entry.Flags);
}

} // namespace

bool IsMaskEmpty(std::uint32_t mask) {
    return mask == 0 || mask == kSynchronize;
}

bool MaskCovers(std::uint32_t a, std::uint32_t b) {
    return (a & b) == b;
}

bool ScopeCovers(std::uint8_t a, std::uint8_t b) {
    switch (a) {
    case kThisFolderAndFiles:
        return b == kThisFolderAndFiles || b == kThisFolderOnly || b == kFilesOnly;
    case kThisFolderAndSubfolders:
        return b == kThisFolderAndSubfolders || b == kThisFolderOnly || b == kSubfoldersOnly;
    case kThisFolderSubfoldersAndFiles:
        return true;
    case kThisFolderOnly:
    case kFilesOnly:
    case kSubfoldersOnly:
        return b == a;
    case kSubfoldersAndFilesOnly:
        return (b & kInheritOnly) != 0;
    default:
        return false;
    }
}

std::optional<std::uint8_t> JoinedInheritance(std::uint8_t kept, std::uint8_t absorbed) {
    const int code = JoinedCode(kept, absorbed);
    if (code == kNoCode) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(code);
}

bool AreMergeable(const Ace& a, const Ace& b) {
    return a.Flags == b.Flags || Covers(a, b) || Covers(b, a) ||
           (a.Mask == b.Mask && JoinedCode(a.Flags, b.Flags) != kNoCode);
}

bool MergeInto(Ace& kept, const Ace& absorbed) {
    if (!AreMergeable(kept, absorbed)) {
        return false;
    }
    // Mergeable entries always have a joined code: equal flags and covering entries bring
    // their own.
    const auto code = static_cast<std::uint8_t>(JoinedCode(kept.Flags, absorbed.Flags));
    kept.Flags =
        static_cast<std::uint8_t>(((kept.Flags | absorbed.Flags) & ~kInheritanceBits) | code);
    kept.Mask |= absorbed.Mask;
    return true;
}

// ---------------------------------------------------------------------------------------
// AccountIndex

// Each account of the list with its first entry in list order and the number of its
// entries. The count says when the account is gone without a walk; the first entry moves
// on to the account's next entry when it is unlinked.
class AccountIndex {
public:
    struct Run {
        Ace* First;
        std::uint32_t Count;
    };

    explicit AccountIndex(const AceList& list) {
        runs_.reserve(list.Count);
        for (Ace* entry = list.Head; entry != nullptr; entry = entry->Next) {
            Add(entry, false);
        }
    }

    // Where InsertAudit places entries on a long audit list: the first entry that audits
    // success and the first that audits both. Known only while nothing changed them behind
    // InsertAudit's back; otherwise found again by one walk.
    struct AuditPlaces {
        Ace* firstSuccess = nullptr;
        Ace* firstBoth = nullptr;
        bool known = false;
    };
    AuditPlaces audit;

    Run* Find(std::string_view account) {
        const auto it = runs_.find(Folded(account));
        return it != runs_.end() ? &it->second : nullptr;
    }

    // The entry is linked; first: it is now the account's first entry.
    void Add(Ace* entry, bool first) {
        const auto [it, added] = runs_.try_emplace(Folded(entry->NTAccount), Run{entry, 1});
        if (!added) {
            ++it->second.Count;
            if (first) {
                it->second.First = entry;
            }
        }
    }

    // Called while the entry is still linked under its present name.
    void Forget(const Ace* entry) {
        if (entry == audit.firstSuccess || entry == audit.firstBoth) {
            audit.known = false;
        }
        const auto it = runs_.find(Folded(entry->NTAccount));
        if (it == runs_.end()) {
            return;
        }
        Run& run = it->second;
        if (--run.Count == 0) {
            runs_.erase(it);
            return;
        }
        if (run.First == entry) {
            Ace* next = entry->Next;
            while (next != nullptr && !SameAccount(*next, entry->NTAccount)) {
                next = next->Next;
            }
            run.First = next;
        }
    }

private:
    // The key of an account: its name folded for case, in a buffer kept for the purpose, so
    // that a lookup allocates nothing.
    const std::string& Folded(std::string_view account) {
        folded_.resize(account.size());
        std::transform(account.begin(), account.end(), folded_.begin(), FoldAscii);
        return folded_;
    }

    std::unordered_map<std::string, Run> runs_;
    std::string folded_;
};

// The indexes of the long lists, each owned here under the slot number that its list keeps.
// Never destroyed: lists may still be destroyed while the program ends.
class IndexSlots {
public:
    AccountIndex* At(std::uint32_t slot) {
        const std::lock_guard<std::mutex> lock(mutex_);
        return slots_[slot - 1].get();
    }

    std::uint32_t Put(std::unique_ptr<AccountIndex> index) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!unused_.empty()) {
            const std::uint32_t slot = unused_.back();
            unused_.pop_back();
            slots_[slot - 1] = std::move(index);
            return slot;
        }
        slots_.push_back(std::move(index));
        return static_cast<std::uint32_t>(slots_.size());
    }

    void Drop(std::uint32_t slot) {
        std::unique_ptr<AccountIndex> dropped;
        const std::lock_guard<std::mutex> lock(mutex_);
        dropped = std::move(slots_[slot - 1]);
        unused_.push_back(slot);
    }

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<AccountIndex>> slots_;
    std::vector<std::uint32_t> unused_;
};

IndexSlots& Slots() {
    static IndexSlots* const slots = new IndexSlots;
    return *slots;
}

// ---------------------------------------------------------------------------------------
// AceList

AceList::AceList() = default;

AccountIndex* AceList::Index() const {
    return indexSlot_ != 0 ? Slots().At(indexSlot_) : nullptr;
}

void AceList::DropIndex() {
    if (indexSlot_ != 0) {
        Slots().Drop(std::exchange(indexSlot_, 0));
    }
}

AceList::~AceList() {
    Clear();
}

AceList::AceList(AceList&& other) noexcept
    : Count(other.Count), indexSlot_(std::exchange(other.indexSlot_, 0)), Head(other.Head),
      Tail(other.Tail) {
    other.Count = 0;
    other.Head = nullptr;
    other.Tail = nullptr;
}

AceList& AceList::operator=(AceList&& other) noexcept {
    if (this != &other) {
        Clear();
        Count = std::exchange(other.Count, std::uint16_t{0});
        Head = std::exchange(other.Head, nullptr);
        Tail = std::exchange(other.Tail, nullptr);
        indexSlot_ = std::exchange(other.indexSlot_, 0);
    }
    return *this;
}

Ace* AceList::LinkAtEnd(std::unique_ptr<Ace> entry) {
    Ace* raw = entry.release();
    links::Append(raw, Head, Tail);
    ++Count;
    IndexLinked(raw);
    return raw;
}

// Whether a linked entry comes before every other entry of its account. Entries linked in
// the middle of the list are placed by a walk from Head or after their account's run, so
// the walk back to the account's first entry is never longer than the one that placed it.
bool AceList::PrecedesFirstOfAccount(const Ace* entry) const {
    const AccountIndex::Run* run = Index()->Find(entry->NTAccount);
    if (run == nullptr) {
        return true;
    }
    for (const Ace* before = entry->Prev; before != nullptr; before = before->Prev) {
        if (before == run->First) {
            return false;
        }
    }
    return true;
}

void AceList::IndexLinked(Ace* entry) {
    if (AccountIndex* index = Index()) {
        index->audit.known = false;
        index->Add(entry, entry->Next != nullptr && PrecedesFirstOfAccount(entry));
    } else if (Count > kIndexedAbove) {
        indexSlot_ = Slots().Put(std::make_unique<AccountIndex>(*this));
    }
}

Ace* AceList::LinkBefore(std::unique_ptr<Ace> entry, Ace* before) {
    if (before == nullptr) {
        return LinkAtEnd(std::move(entry));
    }
    Ace* raw = entry.release();
    raw->Next = before;
    raw->Prev = before->Prev;
    if (before->Prev != nullptr) {
        before->Prev->Next = raw;
    } else {
        Head = raw;
    }
    before->Prev = raw;
    ++Count;
    IndexLinked(raw);
    return raw;
}

std::unique_ptr<Ace> AceList::Unlink(Ace* entry) {
    if (AccountIndex* index = Index()) {
        index->Forget(entry);
    }
    links::Unlink(entry, Head, Tail);
    --Count;
    if (Count <= kIndexedAbove) {
        DropIndex();
    }
    return std::unique_ptr<Ace>(entry);
}

void AceList::Rename(Ace* entry, AccountName account) {
    if (entry == nullptr) {
        return;
    }
    AccountIndex* index = indexSlot_ != 0 && Holds(entry) ? Index() : nullptr;
    if (index != nullptr) {
        index->Forget(entry);
    }
    entry->NTAccount = std::move(account);
    if (index != nullptr) {
        index->Add(entry, PrecedesFirstOfAccount(entry));
    }
}

void AceList::InitWith(std::unique_ptr<Ace> entry) {
    // Whatever the list held before is destroyed, never abandoned.
    Clear();
    if (entry) {
        LinkAtEnd(std::move(entry));
    }
}

Ace* AceList::Find(std::string_view account) const {
    if (account.empty()) {
        return nullptr;
    }
    if (AccountIndex* index = Index()) {
        const AccountIndex::Run* run = index->Find(account);
        return run != nullptr ? run->First : nullptr;
    }
    for (Ace* entry = Head; entry != nullptr; entry = entry->Next) {
        if (SameAccount(*entry, account)) {
            return entry;
        }
    }
    return nullptr;
}

Ace* AceList::At(int index) const {
    if (index < 0 || index >= Count) {
        return nullptr;
    }
    Ace* entry = Head;
    for (int i = 0; i < index && entry != nullptr; ++i) {
        entry = entry->Next;
    }
    return entry;
}

bool AceList::Add(std::unique_ptr<Ace>&& entry) {
    std::unique_ptr<Ace> owned = std::move(entry);
    return Add(owned);
}

bool AceList::Add(std::unique_ptr<Ace>& entry) {
    if (!entry || IsMaskEmpty(entry->Mask)) {
        return false;
    }
    if (entry->AceType == kAuditType) {
        return AddAudit(entry);
    }
    if (Head == nullptr) {
        InitWith(std::move(entry));
        return true;
    }
    Ace* found = Find(entry->NTAccount);
    if (found == nullptr) {
        if (Count == kMaxCount) {
            return false;
        }
        LinkAtEnd(std::move(entry));
        return true;
    }

    // The account's entries are consecutive: look for one that can take the new rights.
    Ace* cur = found;
    Ace* absorber = nullptr;
    while (cur != nullptr && SameAccount(*cur, entry->NTAccount)) {
        if (MergeInto(*cur, *entry)) {
            absorber = cur;
            break;
        }
        cur = cur->Next;
    }
    if (absorber == nullptr) {
        if (Count == kMaxCount) {
            return false;
        }
        // Directly after the account's last entry: in front of where the scan stopped.
        LinkBefore(std::move(entry), cur);
        return true;
    }

    AuditBitsChanged();
    const std::unique_ptr<Ace> absorbed = std::move(entry);
    const std::string& account = absorbed->NTAccount;

    // The grown entry may now overlap other entries of the account: fold them together
    // until no two of them can be merged.
    Ace* merged = absorber;
    bool changed = true;
    while (changed) {
        changed = false;
        for (Ace* other = Find(account); other != nullptr && SameAccount(*other, account);
             other = other->Next) {
            if (other == merged || !MergeInto(*other, *merged)) {
                continue;
            }
            Unlink(merged);
            merged = other;
            changed = true;
        }
    }
    return true;
}

bool AceList::AddAudit(std::unique_ptr<Ace>& entry) {
    if (!entry || IsMaskEmpty(entry->Mask)) {
        return false;
    }
    if (Head == nullptr) {
        InitWith(std::move(entry));
        return true;
    }

    auto insert = [this, &entry]() {
        if ((entry->Flags & kAuditBits) != 0 && Count == kMaxCount) {
            return false;
        }
        InsertAudit(std::move(entry));
        return true;
    };

    Ace* found = Find(entry->NTAccount);
    if (found == nullptr) {
        return insert();
    }

    const AuditRule rule = ChooseAuditRule(found->Flags, entry->Flags);
    Ace* absorber = nullptr;
    for (Ace* cur = found; cur != nullptr && SameAccount(*cur, entry->NTAccount); cur = cur->Next) {
        if (AuditAbsorbs(rule, *cur, *entry)) {
            absorber = cur;
            break;
        }
    }
    if (absorber == nullptr) {
        return insert();
    }

    AuditAbsorb(rule, *absorber, *entry);
    AuditBitsChanged();
    const std::unique_ptr<Ace> absorbed = std::move(entry);
    const std::string& account = absorbed->NTAccount;

    // Each pass lets one entry of the account's first run absorb the grown entry, and the
    // passes go on until none can.
    Ace* merged = absorber;
    for (;;) {
        Ace* first = Find(account);
        if (first == nullptr) {
            break;
        }
        const AuditRule followRule = ChooseAuditRule(first->Flags, merged->Flags);
        Ace* taker = nullptr;
        for (Ace* other = first; other != nullptr && SameAccount(*other, account);
             other = other->Next) {
            if (other != merged && AuditAbsorbs(followRule, *other, *merged)) {
                taker = other;
                break;
            }
        }
        if (taker == nullptr) {
            break;
        }
        AuditAbsorb(followRule, *taker, *merged);
        AuditBitsChanged();
        Unlink(merged);
        merged = taker;
    }
    return true;
}

void AceList::AuditBitsChanged() {
    if (AccountIndex* index = Index()) {
        index->audit.known = false;
    }
}

void AceList::InsertAudit(std::unique_ptr<Ace> entry) {
    if (!entry) {
        return;
    }
    const std::uint8_t audit = entry->Flags & kAuditBits;
    // An entry that audits nothing has no place in the list and is dropped; so is one that
    // would overflow a full list.
    if (audit == 0 || Count == kMaxCount) {
        return;
    }
    // A long list remembers where the success and the both-bits entries begin, so that
    // entries for many accounts do not each walk the list.
    AccountIndex* index = Index();
    AccountIndex::AuditPlaces* places = index != nullptr ? &index->audit : nullptr;
    // Entries are plain records: should the bits of a remembered entry have changed, the
    // places are found again.
    if (places != nullptr && places->known &&
        ((places->firstSuccess != nullptr && !HasAuditSuccess(places->firstSuccess->Flags)) ||
         (places->firstBoth != nullptr && !HasBothAuditBits(places->firstBoth->Flags)))) {
        places->known = false;
    }
    if (places != nullptr && !places->known) {
        places->firstSuccess = nullptr;
        places->firstBoth = nullptr;
        for (Ace* cur = Head; cur != nullptr && places->firstBoth == nullptr; cur = cur->Next) {
            if (places->firstSuccess == nullptr && HasAuditSuccess(cur->Flags)) {
                places->firstSuccess = cur;
            }
            if (HasBothAuditBits(cur->Flags)) {
                places->firstBoth = cur;
            }
        }
    }
    Ace* before = nullptr;
    if (places != nullptr) {
        before = audit == kAuditFailure   ? places->firstSuccess
                 : audit == kAuditSuccess ? places->firstBoth
                                          : nullptr;
    } else if (audit == kAuditFailure) {
        before = Head;
        while (before != nullptr && !HasAuditSuccess(before->Flags)) {
            before = before->Next;
        }
    } else if (audit == kAuditSuccess) {
        before = Head;
        while (before != nullptr && !HasBothAuditBits(before->Flags)) {
            before = before->Next;
        }
    }
    const bool wasKnown = places != nullptr;
    AccountIndex::AuditPlaces kept = wasKnown ? *places : AccountIndex::AuditPlaces{};
    Ace* linked = LinkBefore(std::move(entry), before);
    if (!wasKnown) {
        return;
    }
    // An entry that audits failure only goes in front of the first success entry and changes
    // neither place. One that audits success only goes in front of the first both-bits entry,
    // which is the first success entry too when none comes before it.
    if (audit == kAuditBits) {
        kept.firstBoth = kept.firstBoth != nullptr ? kept.firstBoth : linked;
        kept.firstSuccess = kept.firstSuccess != nullptr ? kept.firstSuccess : linked;
    } else if (audit == kAuditSuccess) {
        if (kept.firstSuccess == nullptr || kept.firstSuccess == kept.firstBoth) {
            kept.firstSuccess = linked;
        }
    }
    kept.known = true;
    index->audit = kept;
}

void AceList::Remove(Ace* entry) {
    if (entry == nullptr) {
        return;
    }
    // Only an entry of this list may be unlinked from it; anything else would corrupt both.
    if (Holds(entry)) {
        Unlink(entry);
    }
}

// An entry of this list is its account's first entry here, as Find finds it, or follows it.
// Entries keep no pointer to their list: there are millions of them.
bool AceList::Holds(const Ace* entry) const {
    if (entry == nullptr || Head == nullptr) {
        return false;
    }
    if (entry == Head || entry == Tail) {
        return true;
    }
    const Ace* from = entry->NTAccount.empty() ? Head : Find(entry->NTAccount);
    for (; from != nullptr; from = from->Next) {
        if (from == entry) {
            return true;
        }
    }
    return false;
}

void AceList::RemoveAccount(std::string_view account) {
    Ace* cur = Find(account);
    while (cur != nullptr) {
        Ace* next = cur->Next;
        if (SameAccount(*cur, account)) {
            Unlink(cur);
            if (indexSlot_ != 0) {
                next = Find(account);
            }
        }
        cur = next;
    }
}

void AceList::Clear() {
    DropIndex();
    Ace* cur = Head;
    Head = nullptr;
    Tail = nullptr;
    Count = 0;
    while (cur != nullptr) {
        std::unique_ptr<Ace> owned(cur);
        cur = cur->Next;
        owned->Next = nullptr;
        owned->Prev = nullptr;
    }
}

// ---------------------------------------------------------------------------------------
// Acl

namespace {

bool IsEntryType(std::uint8_t type) {
    return type == kAllowType || type == kDenyType || type == kAuditType;
}

} // namespace

AceList& Acl::MemberOf(std::uint8_t type) {
    return const_cast<AceList&>(static_cast<const Acl&>(*this).MemberOf(type));
}

const AceList& Acl::MemberOf(std::uint8_t type) const {
    switch (type) {
    case kDenyType:
        return Deny;
    case kAuditType:
        return Audit;
    default:
        return Allow;
    }
}

bool Acl::Add(std::unique_ptr<Ace>& entry) {
    if (!entry) {
        return false;
    }
    return IsEntryType(entry->AceType) && MemberOf(entry->AceType).Add(entry);
}

bool Acl::Add(std::unique_ptr<Ace>&& entry) {
    std::unique_ptr<Ace> owned = std::move(entry);
    return Add(owned);
}

void Acl::Remove(Ace* entry) {
    if (entry == nullptr) {
        return;
    }
    if (IsEntryType(entry->AceType)) {
        MemberOf(entry->AceType).Remove(entry);
    }
}

void Acl::RemoveAccount(std::string_view account) {
    Allow.RemoveAccount(account);
    Deny.RemoveAccount(account);
    Audit.RemoveAccount(account);
}

Ace* Acl::Find(std::string_view account, std::uint8_t type) const {
    return IsEntryType(type) ? MemberOf(type).Find(account) : nullptr;
}

Ace* Acl::EntryAt(int index, ListKind list) const {
    if (list == ListKind::Auditing) {
        return Audit.At(index);
    }
    if (index < 0) {
        return nullptr;
    }
    if (index < Deny.Count) {
        return Deny.At(index);
    }
    return Allow.At(index - Deny.Count);
}

// Copies are linked one for one, in the same order: a clone is what a cancelled edit puts
// back, so it must be the list exactly as it was, even where the list holds entries that Add
// would have merged or placed elsewhere.
void AceList::CopyFrom(const AceList& from) {
    Clear();
    for (const Ace* entry = from.Head; entry != nullptr; entry = entry->Next) {
        LinkAtEnd(CopyOf(*entry));
    }
}

Acl Acl::Clone() const {
    Acl copy;
    copy.Allow.CopyFrom(Allow);
    copy.Deny.CopyFrom(Deny);
    copy.Audit.CopyFrom(Audit);
    return copy;
}

void Acl::Clear() {
    Allow.Clear();
    Deny.Clear();
    Audit.Clear();
}

std::vector<std::pair<std::uint8_t, std::uint32_t>> EntriesOf(const AceList& list,
                                                              std::string_view account) {
    std::vector<std::pair<std::uint8_t, std::uint32_t>> entries;
    for (const Ace* e = list.Head; e != nullptr; e = e->Next) {
        if (EqualsNoCase(e->NTAccount, account)) {
            entries.emplace_back(e->Flags, e->Mask);
        }
    }
    return entries;
}

} // namespace permora
