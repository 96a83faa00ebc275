#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace permora {

// Entry types.
inline constexpr std::uint8_t kAllowType = 0;
inline constexpr std::uint8_t kDenyType = 1;
inline constexpr std::uint8_t kAuditType = 2;

// Bits of Ace::Flags.
inline constexpr std::uint8_t kObjectInherit = 0x01;    // OI
inline constexpr std::uint8_t kContainerInherit = 0x02; // CI
inline constexpr std::uint8_t kNoPropagate = 0x04;      // NP
inline constexpr std::uint8_t kInheritOnly = 0x08;      // IO
inline constexpr std::uint8_t kAuditSuccess = 0x40;     // SA
inline constexpr std::uint8_t kAuditFailure = 0x80;     // FA
inline constexpr std::uint8_t kAuditBits = kAuditSuccess | kAuditFailure;
inline constexpr std::uint8_t kInheritanceBits = 0x0F;

// The inheritance codes (the inheritance bits of a flags byte) that an entry's "Apply to"
// names.
inline constexpr std::uint8_t kThisFolderAndFiles = kObjectInherit;         // 1
inline constexpr std::uint8_t kThisFolderAndSubfolders = kContainerInherit; // 2
inline constexpr std::uint8_t kThisFolderSubfoldersAndFiles =
    kObjectInherit | kContainerInherit;                                           // 3
inline constexpr std::uint8_t kThisFolderOnly = kNoPropagate;                     // 4
inline constexpr std::uint8_t kFilesOnly = kObjectInherit | kInheritOnly;         // 9
inline constexpr std::uint8_t kSubfoldersOnly = kContainerInherit | kInheritOnly; // 10
inline constexpr std::uint8_t kSubfoldersAndFilesOnly =
    kThisFolderSubfoldersAndFiles | kInheritOnly; // 11

// The places an entry reaches, as bits of a set, decided by its inheritance bits.
inline constexpr unsigned kPlaceSelf = 0x01;          // the object itself: IO clear
inline constexpr unsigned kPlaceChildFolders = 0x02;  // CI set
inline constexpr unsigned kPlaceChildFiles = 0x04;    // OI set
inline constexpr unsigned kPlaceDeeperFolders = 0x08; // CI set, NP clear
inline constexpr unsigned kPlaceDeeperFiles = 0x10;   // OI set, NP clear
inline constexpr unsigned kAllPlaces = 0x1F;

[[nodiscard]] constexpr unsigned PlacesOf(std::uint8_t flags) {
    unsigned places = 0;
    if ((flags & kInheritOnly) == 0)
        places |= kPlaceSelf;
    if ((flags & kContainerInherit) != 0)
        places |= kPlaceChildFolders | ((flags & kNoPropagate) == 0 ? kPlaceDeeperFolders : 0u);
    if ((flags & kObjectInherit) != 0)
        places |= kPlaceChildFiles | ((flags & kNoPropagate) == 0 ? kPlaceDeeperFiles : 0u);
    return places;
}

// Access rights of Ace::Mask.
inline constexpr std::uint32_t kReadData = 0x00000001;
inline constexpr std::uint32_t kWriteData = 0x00000002;
inline constexpr std::uint32_t kAppendData = 0x00000004;
inline constexpr std::uint32_t kReadEa = 0x00000008;
inline constexpr std::uint32_t kWriteEa = 0x00000010;
inline constexpr std::uint32_t kExecute = 0x00000020;
inline constexpr std::uint32_t kDeleteChild = 0x00000040;
inline constexpr std::uint32_t kReadAttributes = 0x00000080;
inline constexpr std::uint32_t kWriteAttributes = 0x00000100;
inline constexpr std::uint32_t kDelete = 0x00010000;
inline constexpr std::uint32_t kReadControl = 0x00020000;
inline constexpr std::uint32_t kWriteDac = 0x00040000;
inline constexpr std::uint32_t kWriteOwner = 0x00080000;
inline constexpr std::uint32_t kSynchronize = 0x00100000;

inline constexpr std::uint32_t kWriteMask = 0x00000116;
inline constexpr std::uint32_t kReadMask = 0x00020089;
inline constexpr std::uint32_t kReadExecuteMask = 0x000200A9;
inline constexpr std::uint32_t kReadWriteExecuteMask = 0x000201BF;
inline constexpr std::uint32_t kModifyMask = 0x000301BF;
inline constexpr std::uint32_t kAllRightsMask = 0x000F01FF;
inline constexpr std::uint32_t kFullControlMask = kAllRightsMask | kSynchronize; // 0x001F01FF

// The same rights with SYNCHRONIZE, as deny entries and most entered entries carry them.
inline constexpr std::uint32_t kWriteSyncMask = kWriteMask | kSynchronize;             // 0x00100116
inline constexpr std::uint32_t kReadSyncMask = kReadMask | kSynchronize;               // 0x00120089
inline constexpr std::uint32_t kReadExecuteSyncMask = kReadExecuteMask | kSynchronize; // 0x001200A9
inline constexpr std::uint32_t kReadWriteExecuteSyncMask =
    kReadWriteExecuteMask | kSynchronize;                                    // 0x001201BF
inline constexpr std::uint32_t kModifySyncMask = kModifyMask | kSynchronize; // 0x001301BF

// Default masks of a new entry.
inline constexpr std::uint32_t kDefaultAuditMask = kReadExecuteMask;
inline constexpr std::uint32_t kDefaultMask = kReadExecuteSyncMask;
inline constexpr std::uint8_t kDefaultAuditFlags = kAuditBits | kThisFolderSubfoldersAndFiles;
inline constexpr std::uint8_t kDefaultFlags = kThisFolderSubfoldersAndFiles;

// The account name of an entry: text that copies share, so that the many entries of a large
// template that name "Everyone" or "BUILTIN\\Administrators" hold the text once, and an entry
// holds one pointer. The text never changes once made; giving an entry another name replaces
// its pointer. Reads as text (std::string_view, or a std::string copy) and compares as text,
// with letter case.
//
// Shared only by the entries of one thread: the count of holders is not atomic.
class AccountName {
public:
    static constexpr std::size_t kMaxSize = 0xFFFFFFFFu;

    AccountName() = default;
    AccountName(std::string_view text);
    AccountName(const std::string& text) : AccountName(std::string_view(text)) {}
    AccountName(const char* text) : AccountName(std::string_view(text)) {}
    AccountName(const AccountName& other) noexcept;
    AccountName(AccountName&& other) noexcept : text_(other.text_) { other.text_ = nullptr; }
    AccountName& operator=(const AccountName& other) noexcept;
    AccountName& operator=(AccountName&& other) noexcept;
    ~AccountName();

    std::size_t size() const { return text_ != nullptr ? text_->size : 0; }
    bool empty() const { return size() == 0; }
    const char* data() const { return text_ != nullptr ? Chars(text_) : ""; }
    std::string_view view() const { return {data(), size()}; }
    operator std::string_view() const { return view(); }
    operator std::string() const { return std::string(view()); }
    // Whether both hold the very same text, not only equal text.
    bool SharesTextWith(const AccountName& other) const { return text_ == other.text_; }

    friend bool operator==(const AccountName& a, const AccountName& b) {
        return a.text_ == b.text_ || a.view() == b.view();
    }
    friend bool operator==(const AccountName& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const AccountName& a, const std::string& b) { return a.view() == b; }
    friend bool operator==(const AccountName& a, const char* b) { return a.view() == b; }
    friend std::string operator+(std::string text, const AccountName& name) {
        return text.append(name.view());
    }
    friend std::string operator+(const AccountName& name, std::string_view text) {
        return std::string(name.view()).append(text);
    }
    friend std::ostream& operator<<(std::ostream& out, const AccountName& name) {
        return out << name.view();
    }

private:
    // The text follows its header in one allocation.
    struct Text {
        std::uint32_t holders;
        std::uint32_t size;
    };
    static const char* Chars(const Text* text) { return reinterpret_cast<const char*>(text + 1); }
    void Release() noexcept;

    Text* text_ = nullptr;
};

// One access entry. Next and Prev are links owned by the AceList that holds the entry;
// both are empty while the entry belongs to no list.
struct Ace {
    Ace(AccountName account, std::uint8_t type);
    Ace(AccountName account, std::uint32_t mask, std::uint8_t type);
    Ace(AccountName account, std::uint32_t mask, std::uint8_t type, std::uint8_t flags);

    Ace(const Ace&) = delete;
    Ace& operator=(const Ace&) = delete;

    // Entries come from a pool of equal blocks (model/pool.h).
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    std::uint8_t AceType;
    // The audit bits of an entry in a list change only through the list, which remembers on a
    // long list where each kind begins.
    std::uint8_t Flags;
    std::uint16_t Size = 0;
    std::uint32_t Mask;
    // Written directly only while the entry is in no list; AceList::Rename otherwise.
    AccountName NTAccount;
    Ace* Next = nullptr;
    Ace* Prev = nullptr;
};

} // namespace permora
