#pragma once

#include "model/acl.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rules behind the fourteen check boxes of the security page, without widgets: which
// boxes an account's permission entries show, and what a click on one of the twelve
// standard boxes does to the permission list.
namespace permora::boxes {

// The seven rows, top to bottom. Special has no handler; only the page sets its boxes.
enum Row : int {
    kFullControl = 0,
    kModify,
    kReadExecute,
    kListFolder,
    kRead,
    kWrite,
    kSpecial,
    kRowCount,
};
inline constexpr int kStandardRowCount = 6;

// One standard row: its name, the rights by which it shows an entry, and the entry a check
// of its box enters in either column.
struct StandardRow {
    const char* name;
    std::uint32_t shows; // the row shows an entry whose mask holds every one of these bits
    std::uint32_t allowMask;
    std::uint32_t denyMask;
    std::uint8_t flags;

    // The mask a check enters in the column of the type: the Deny column's for kDenyType,
    // the Allow column's for any other.
    constexpr std::uint32_t MaskFor(std::uint8_t type) const {
        return type == kDenyType ? denyMask : allowMask;
    }
};

// The six standard rows, top to bottom. A check enters Allow entries of Modify and Read and
// Execute without SYNCHRONIZE, where the Deny entries and the other rows carry it. List
// Folder Contents shows as Read and Execute does and enters for folders only.
inline constexpr std::array<StandardRow, kStandardRowCount> kStandardRows = {{
    {"Full Control", kFullControlMask, kFullControlMask, kFullControlMask,
     kThisFolderSubfoldersAndFiles},
    {"Modify", kModifyMask, kModifyMask, kModifySyncMask, kThisFolderSubfoldersAndFiles},
    {"Read and Execute", kReadExecuteMask, kReadExecuteMask, kReadExecuteSyncMask,
     kThisFolderSubfoldersAndFiles},
    {"List Folder Contents", kReadExecuteMask, kReadExecuteSyncMask, kReadExecuteSyncMask,
     kThisFolderAndSubfolders},
    {"Read", kReadMask, kReadSyncMask, kReadSyncMask, kThisFolderSubfoldersAndFiles},
    {"Write", kWriteMask, kWriteSyncMask, kWriteSyncMask, kThisFolderSubfoldersAndFiles},
}};

// What the rules have to say to the user, in the order they meet it.
enum class BoxMessage {
    NoMask,               // an entry of the account grants nothing
    UnexpectedFlags,      // an entry's inheritance is none the boxes show
    NotOnlyFullControl,   // Full Control cannot be given up from this entry
    CannotFind,           // no entry of the account to take a right from
    CannotFindModifyDeny, // the same for a Modify deny entry
};

// The state of the fourteen boxes: one column of seven rows for Allow, one for Deny.
struct BoxStates {
    std::array<bool, kRowCount> allow{};
    std::array<bool, kRowCount> deny{};

    // The column of an entry type: Allow for kAllowType, Deny for every other type.
    std::array<bool, kRowCount>& Column(std::uint8_t type) {
        return type == kAllowType ? allow : deny;
    }
    bool operator==(const BoxStates&) const = default;
};

// Messages met while deriving the boxes, in order; each one is shown in its own box.
using Messages = std::vector<BoxMessage>;

// One entry's effect on the boxes: folders-only and inherit-only entries show Special (and
// List Folder Contents), entries for this folder, subfolders and files show their standard
// rows; other entries only add their message.
void ShowAce(BoxStates& boxes, const Ace& entry, Messages& messages);
// The standard rows a mask covers, in the column of the type; Special when it covers none.
void ShowStandardAce(BoxStates& boxes, std::uint32_t mask, std::uint8_t type);
// All fourteen boxes for an account: every allow entry of the account, then every deny
// entry, in list order, each overwriting what the earlier ones set.
BoxStates DeriveBoxStates(const Acl& dacl, std::string_view account, Messages& messages);

// The first entry of the account's run that starts at start whose flags byte is exactly
// flags; nullptr when start is nullptr or no entry of the run has those flags.
Ace* FindAceWithFlags(Ace* start, std::uint8_t flags);

// A click on the standard box of row (kFullControl to kWrite) in the column of type
// (kAllowType or kDenyType) that is now checked or not. Changes the account's entries and
// returns nothing, or changes nothing and returns the error message to show.
std::optional<BoxMessage> ApplyStandardClick(Acl& dacl, const std::string& account, Row row,
                                             std::uint8_t type, bool checked);

} // namespace permora::boxes
