#include "model/names.h"

#include "model/ace.h"

namespace permora {

namespace {

struct NamedMask {
    std::uint32_t mask;
    const char* name;
};

constexpr NamedMask kPermissionNames[] = {
    {0x00000000, "??No Permission??"},
    {kReadData, "List folder/Read data"},
    {kWriteData, "Create files/Write data"},
    {kAppendData, "Create folders/Append data"},
    {kReadEa, "Read extended attributes"},
    {kWriteEa, "Write extended attributes"},
    {kExecute, "Traverse Folder/Execute File"},
    {kDeleteChild, "Delete subfolders and files"},
    {kReadAttributes, "Read attributes"},
    {kWriteAttributes, "Write attributes"},
    {kDelete, "Delete"},
    {kReadControl, "Read permissions"},
    {kWriteDac, "Change permissions"},
    {kWriteOwner, "Take Ownership"},
    {kWriteMask, "Write"},
    {kReadMask, "Read"},
    {kReadExecuteMask, "Read and Execute"},
    {kReadWriteExecuteMask, "Read, Write & Execute"},
    {kModifyMask, "Modify"},
    {kAllRightsMask, "Full Control"},
};

} // namespace

const char* PermissionName(std::uint32_t mask) {
    for (const NamedMask& row : kPermissionNames) {
        if (mask == row.mask || mask == (row.mask | kSynchronize)) {
            return row.name;
        }
    }
    return "Special";
}

const char* ApplyToName(int code) {
    switch (code & 0xFF) {
    case 1:
        return "This folder and files";
    case 2:
        return "This folder and subfolders";
    case 3:
        return "This folder, subfolders and files";
    case 4:
        return "This folder only";
    case 9:
        return "Files only";
    case 10:
        return "Subfolders only";
    case 11:
        return "Subfolders and files only";
    default:
        return nullptr;
    }
}

const char* StyleName(int style) {
    switch (style) {
    case 1:
        return "NTFS";
    case 2:
        return "NFSV3 ACL";
    case 3:
        return "NFSV4 ACL";
    default:
        return nullptr;
    }
}

const char* LevelName(int level) {
    switch (level) {
    case 0:
        return "File/Directory";
    case 1:
        return "Storage";
    default:
        return nullptr;
    }
}

const char* EntryTypeName(const Ace& entry, ListKind list) {
    if (list == ListKind::Permissions) {
        return entry.AceType == kAllowType ? "Allow" : "Deny";
    }
    const bool success = (entry.Flags & kAuditSuccess) != 0;
    const bool failure = (entry.Flags & kAuditFailure) != 0;
    if (success && failure) {
        return "All";
    }
    if (failure) {
        return "Fail";
    }
    if (success) {
        return "Success";
    }
    return "None";
}

const char* EntryApplyToName(const Ace& entry, ListKind list) {
    // Permission entries name their whole flags byte; auditing entries their code alone.
    const int code = list == ListKind::Permissions ? entry.Flags : (entry.Flags & ~kAuditBits);
    return ApplyToName(code);
}

} // namespace permora
