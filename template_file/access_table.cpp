#include "template_file/access_table.h"

#include "model/ascii_case.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace permora {

const std::array<NamedRights, 14> kEditorRights = {{
    {"Full Control", kFullControlMask},
    {"Traverse Folder / Execute File", kExecute},
    {"List Folder / Read Data", kReadData},
    {"Read Attributes", kReadAttributes},
    {"Read Extended Attributes", kReadEa},
    {"Create Files / Write Data", kWriteData},
    {"Create Folders / Append Data", kAppendData},
    {"Write Attributes", kWriteAttributes},
    {"Write Extended Attributes", kWriteEa},
    {"Delete Subfolders and Files", kDeleteChild},
    {"Delete", kDelete},
    {"Read Permissions", kReadControl},
    {"Change Permissions", kWriteDac},
    {"Take Ownership", kWriteOwner},
}};

// The masks by which the security page shows its rows.
const std::array<NamedRights, 6> kStandardPermissions = {{
    {"Full Control", kFullControlMask},
    {"Modify", kModifyMask},
    {"Read and Execute", kReadExecuteMask},
    {"List Folder Contents", kReadExecuteMask},
    {"Read", kReadMask},
    {"Write", kWriteMask},
}};

namespace {

// The places of a column: the first level, and the deeper levels.
std::pair<unsigned, unsigned> PlacesOfColumn(int column) {
    switch (column) {
    case kSubfoldersColumn:
        return {kPlaceChildFolders, kPlaceDeeperFolders};
    case kFilesColumn:
        return {kPlaceChildFiles, kPlaceDeeperFiles};
    default:
        return {kPlaceSelf, kPlaceSelf};
    }
}

Access StateOfMask(const PlaceAccess& at, std::uint32_t mask) {
    if ((at.denied & mask) != 0) {
        return Access::Denied;
    }
    return (at.allowed & mask) == mask ? Access::Allowed : Access::NotAllowed;
}

// The entries behind the state of a set of rights at a place.
void AddDeciders(const PlaceAccess& at, std::uint32_t mask, std::vector<int>& into) {
    const std::uint32_t decided =
        StateOfMask(at, mask) == Access::Denied ? (at.denied & mask) : (at.allowed & mask);
    for (std::uint32_t bits = decided; bits != 0; bits &= bits - 1) {
        const int index = at.decidedBy[std::countr_zero(bits)];
        if (index >= 0) {
            into.push_back(index);
        }
    }
}

std::string ExplainPlace(const EffectiveAccess& access, unsigned place, std::uint32_t mask) {
    const PlaceAccess& at = access.At(place);
    std::vector<int> deciders;
    AddDeciders(at, mask, deciders);
    std::sort(deciders.begin(), deciders.end());
    deciders.erase(std::unique(deciders.begin(), deciders.end()), deciders.end());
    const Access state = StateOfMask(at, mask);
    std::string text;
    if (state == Access::NotAllowed) {
        text = deciders.empty() ? "No entry grants it." : "No entry grants all of it.";
    }
    for (int index : deciders) {
        if (!text.empty()) {
            text += '\n';
        }
        text += state == Access::Denied    ? "Denied by "
                : state == Access::Allowed ? "Allowed by "
                                           : "Partly allowed by ";
        text += DeciderLine(access.deciders[static_cast<std::size_t>(index)]);
    }
    return text;
}

} // namespace

std::string BothLevelsText(const std::string& first, const std::string& deeper,
                           const std::string& nothing) {
    const auto lower = [](std::string text) {
        if (!text.empty()) {
            text[0] = FoldAscii(text[0]);
        }
        return text;
    };
    if (first == deeper) {
        return first;
    }
    if (deeper == nothing) {
        return first + " in the first level only";
    }
    return first + " in the first level, " + lower(deeper) + " below";
}

const char* AccessWord(Access access) {
    switch (access) {
    case Access::Allowed:
        return "Allowed";
    case Access::Denied:
        return "Denied";
    default:
        return "Not allowed";
    }
}

const char* AuditWord(int audited) {
    switch (audited) {
    case 1:
        return "Success";
    case 2:
        return "Failure";
    case 3:
        return "Success and failure";
    default:
        return "Not audited";
    }
}

const char* AccessColumnName(int column) {
    switch (column) {
    case kSubfoldersColumn:
        return "Subfolders";
    case kFilesColumn:
        return "Files";
    default:
        return "This folder";
    }
}

AccessCell AccessCellOf(const EffectiveAccess& access, int column, std::uint32_t mask) {
    const auto [first, deeper] = PlacesOfColumn(column);
    AccessCell cell;
    cell.firstLevel = StateOfMask(access.At(first), mask);
    cell.deeper = StateOfMask(access.At(deeper), mask);
    AddDeciders(access.At(first), mask, cell.deciders);
    if (deeper != first) {
        AddDeciders(access.At(deeper), mask, cell.deciders);
    }
    std::sort(cell.deciders.begin(), cell.deciders.end());
    cell.deciders.erase(std::unique(cell.deciders.begin(), cell.deciders.end()),
                        cell.deciders.end());
    return cell;
}

std::string AccessCellText(const EffectiveAccess& access, const AccessCell& cell) {
    if (!access.hasPermissionList) {
        return "Not decided";
    }
    return BothLevelsText(AccessWord(cell.firstLevel), AccessWord(cell.deeper),
                          AccessWord(Access::NotAllowed));
}

std::string AccessCellExplanation(const EffectiveAccess& access, int column, std::uint32_t mask) {
    if (!access.hasPermissionList) {
        return "The target has no permission list: nothing is decided.";
    }
    const auto [first, deeper] = PlacesOfColumn(column);
    std::string firstText = ExplainPlace(access, first, mask);
    const std::string deeperText = ExplainPlace(access, deeper, mask);
    if (firstText == deeperText) {
        return firstText;
    }
    return "In the first level:\n" + firstText + "\nBelow the first level:\n" + deeperText;
}

AuditCell AuditCellOf(const EffectiveAccess& access, int column, std::uint32_t mask) {
    const auto audited = [mask](const PlaceAccess& at) {
        return ((at.auditedOnSuccess & mask) == mask ? 1 : 0) |
               ((at.auditedOnFailure & mask) == mask ? 2 : 0);
    };
    const auto [first, deeper] = PlacesOfColumn(column);
    return {audited(access.At(first)), audited(access.At(deeper))};
}

std::string AuditCellText(const AuditCell& cell) {
    return BothLevelsText(AuditWord(cell.firstLevel), AuditWord(cell.deeper), AuditWord(0));
}

std::string EntryText(const DecidingEntry& entry) {
    const Ace ace(entry.account, entry.mask, entry.type, entry.flags);
    return ace.ToSddl();
}

std::string DeciderLine(const DecidingEntry& entry) {
    return "entry " + std::to_string(entry.position + 1) + ": " + EntryText(entry);
}

} // namespace permora
