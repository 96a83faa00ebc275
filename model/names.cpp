#include "model/names.h"

#include "model/ace.h"
#include "model/ascii_case.h"

#include <vector>

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

std::optional<std::uint32_t> PermissionMask(std::string_view name) {
    for (const NamedMask& row : kPermissionNames) {
        if (row.mask != 0 && EqualsNoCase(row.name, name)) {
            return row.mask;
        }
    }
    return std::nullopt;
}

std::vector<std::string> PermissionMaskNames() {
    std::vector<std::string> names;
    for (const NamedMask& row : kPermissionNames) {
        if (row.mask != 0) {
            names.emplace_back(row.name);
        }
    }
    return names;
}

const char* ApplyToName(int code) {
    switch (code & 0xFF) {
    case kThisFolderAndFiles:
        return "This folder and files";
    case kThisFolderAndSubfolders:
        return "This folder and subfolders";
    case kThisFolderSubfoldersAndFiles:
        return "This folder, subfolders and files";
    case kThisFolderOnly:
        return "This folder only";
    case kFilesOnly:
        return "Files only";
    case kSubfoldersOnly:
        return "Subfolders only";
    case kSubfoldersAndFilesOnly:
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

std::string PlacesText(std::uint8_t flags) {
    const int code = flags & kInheritanceBits;
    if (code == 0) {
        return "This folder only";
    }
    if (const char* name = ApplyToName(code)) {
        return name;
    }
    const unsigned places = PlacesOf(static_cast<std::uint8_t>(code));
    std::vector<const char*> words;
    if ((places & kPlaceSelf) != 0) {
        words.push_back("this folder");
    }
    if ((places & kPlaceChildFolders) != 0) {
        words.push_back("subfolders");
    }
    if ((places & kPlaceChildFiles) != 0) {
        words.push_back("files");
    }
    if (words.empty()) {
        return "No folder or file";
    }
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) {
            text += i + 1 == words.size() ? " and " : ", ";
        }
        text += words[i];
    }
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
    if ((places & kPlaceSelf) == 0) {
        text += " only";
    }
    const bool deeper = (places & (kPlaceDeeperFolders | kPlaceDeeperFiles)) != 0;
    if (!deeper && (places & (kPlaceChildFolders | kPlaceChildFiles)) != 0) {
        text += ", one level";
    }
    return text;
}

int ApplyToCode(std::string_view name) {
    for (int code = 0; code < 16; ++code) {
        const char* text = ApplyToName(code);
        if (text != nullptr && EqualsNoCase(text, name)) {
            return code;
        }
    }
    return -1;
}

} // namespace permora
