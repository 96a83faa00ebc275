#pragma once

#include <cstdint>
#include <string>

namespace permora {

class AceList;

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
inline constexpr std::uint32_t kFullControlMask = 0x001F01FF;

// Default masks of a new entry.
inline constexpr std::uint32_t kDefaultAuditMask = 0x000200A9;
inline constexpr std::uint32_t kDefaultMask = 0x001200A9;
inline constexpr std::uint8_t kDefaultAuditFlags = 0xC3;
inline constexpr std::uint8_t kDefaultFlags = 0x03;

// One access entry. Next and Prev are links owned by the AceList that holds the entry;
// both are empty while the entry belongs to no list.
struct Ace {
    Ace(std::string account, std::uint8_t type);
    Ace(std::string account, std::uint32_t mask, std::uint8_t type);
    Ace(std::string account, std::uint32_t mask, std::uint8_t type, std::uint8_t flags);

    Ace(const Ace&) = delete;
    Ace& operator=(const Ace&) = delete;

    // The SDDL entry string, for example (A;CIOI;0x1200a9;;;Everyone).
    std::string ToSddl() const;

    std::uint8_t AceType;
    // The audit bits of an entry in a list change only through the list, which remembers on a
    // long list where each kind begins.
    std::uint8_t Flags;
    std::uint16_t Size = 0;
    std::uint32_t Mask;
    // Written directly only while the entry is in no list; AceList::Rename otherwise.
    std::string NTAccount;
    Ace* Next = nullptr;
    Ace* Prev = nullptr;
    // The list that holds the entry, kept by the list itself; empty while in no list.
    const AceList* List = nullptr;
};

} // namespace permora
