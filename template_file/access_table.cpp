#include "template_file/access_table.h"

#include "model/ascii_case.h"
#include "model/standard_boxes.h"
#include "template_file/template_file.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <utility>

namespace permora {

const std::array<NamedRights, 14> kEditorRights = {{
    {"Full Control", kFullControlMask & ~kSynchronize},
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

// The masks by which the security page shows its rows, without SYNCHRONIZE, which no row
// of the tables shows.
constinit const std::array<NamedRights, 6> kStandardPermissions = [] {
    std::array<NamedRights, 6> rows{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = {boxes::kStandardRows[i].name, boxes::kStandardRows[i].shows & ~kSynchronize};
    }
    return rows;
}();

bool DecidesAShownRight(const EffectiveAccess& access, int decider) {
    for (const PlaceAccess& at : access.places) {
        for (int bit = 0; bit < 32; ++bit) {
            if (at.decidedBy[static_cast<std::size_t>(bit)] == decider &&
                ((std::uint32_t{1} << bit) & kShownRights) != 0) {
                return true;
            }
        }
    }
    return false;
}

namespace {

// The patterns of the table's phrases, English.
constexpr const char* kAllowed = "Allowed";
constexpr const char* kDenied = "Denied";
constexpr const char* kNotAllowed = "Not allowed";
constexpr const char* kSuccess = "Success";
constexpr const char* kFailure = "Failure";
constexpr const char* kSuccessAndFailure = "Success and failure";
constexpr const char* kNotAudited = "Not audited";
// The same words where they follow another level's, below it.
constexpr const char* kAllowedBelow = "allowed";
constexpr const char* kDeniedBelow = "denied";
constexpr const char* kNotAllowedBelow = "not allowed";
constexpr const char* kSuccessBelow = "success";
constexpr const char* kFailureBelow = "failure";
constexpr const char* kSuccessAndFailureBelow = "success and failure";
constexpr const char* kNotAuditedBelow = "not audited";
constexpr const char* kFirstLevelOnly = "%1 in the first level only";
constexpr const char* kFirstLevelAndBelow = "%1 in the first level, %2 below";
constexpr const char* kNotDecided = "Not decided";
constexpr const char* kNoPermissionList = "The target has no permission list: nothing is decided.";
constexpr const char* kNoEntryGrants = "No entry grants it.";
constexpr const char* kNoEntryGrantsAll = "No entry grants all of it.";
// %1 the entry's row in the permission list, %2 its SDDL.
constexpr const char* kDeniedBy = "Denied by entry %1: %2";
constexpr const char* kAllowedBy = "Allowed by entry %1: %2";
constexpr const char* kPartlyAllowedBy = "Partly allowed by entry %1: %2";
constexpr const char* kInTheFirstLevel = "In the first level:";
constexpr const char* kBelowTheFirstLevel = "Below the first level:";

constexpr std::array kPatterns = {
    kAllowed,
    kDenied,
    kNotAllowed,
    kSuccess,
    kFailure,
    kSuccessAndFailure,
    kNotAudited,
    kAllowedBelow,
    kDeniedBelow,
    kNotAllowedBelow,
    kSuccessBelow,
    kFailureBelow,
    kSuccessAndFailureBelow,
    kNotAuditedBelow,
    kFirstLevelOnly,
    kFirstLevelAndBelow,
    kNotDecided,
    kNoPermissionList,
    kNoEntryGrants,
    kNoEntryGrantsAll,
    kDeniedBy,
    kAllowedBy,
    kPartlyAllowedBy,
    kInTheFirstLevel,
    kBelowTheFirstLevel,
};

Phrase Literal(std::string text) {
    return {.pattern = nullptr, .literal = std::move(text), .args = {}};
}

Phrase Words(const char* pattern, std::vector<Phrase> args = {}) {
    return {.pattern = pattern, .literal = {}, .args = std::move(args)};
}

const char* AccessWordBelow(Access access) {
    switch (access) {
    case Access::Allowed:
        return kAllowedBelow;
    case Access::Denied:
        return kDeniedBelow;
    default:
        return kNotAllowedBelow;
    }
}

const char* AuditWordBelow(int audited) {
    switch (audited) {
    case 1:
        return kSuccessBelow;
    case 2:
        return kFailureBelow;
    case 3:
        return kSuccessAndFailureBelow;
    default:
        return kNotAuditedBelow;
    }
}

// Both levels in one phrase, as BothLevelsText says.
Phrase BothLevels(Phrase first, Phrase deeperBelow, bool same, bool nothingBelow) {
    if (same) {
        return first;
    }
    if (nothingBelow) {
        return Words(kFirstLevelOnly, {std::move(first)});
    }
    return Words(kFirstLevelAndBelow, {std::move(first), std::move(deeperBelow)});
}

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

std::vector<Phrase> ExplainPlace(const EffectiveAccess& access, unsigned place,
                                 std::uint32_t mask) {
    const PlaceAccess& at = access.At(place);
    std::vector<int> deciders;
    AddDeciders(at, mask, deciders);
    std::sort(deciders.begin(), deciders.end());
    deciders.erase(std::unique(deciders.begin(), deciders.end()), deciders.end());
    const Access state = StateOfMask(at, mask);
    std::vector<Phrase> lines;
    if (state == Access::NotAllowed) {
        lines.push_back(Words(deciders.empty() ? kNoEntryGrants : kNoEntryGrantsAll));
    }
    const char* by = state == Access::Denied    ? kDeniedBy
                     : state == Access::Allowed ? kAllowedBy
                                                : kPartlyAllowedBy;
    for (int index : deciders) {
        const DecidingEntry& entry = access.deciders[static_cast<std::size_t>(index)];
        lines.push_back(
            Words(by, {Literal(std::to_string(entry.position + 1)), Literal(EntryText(entry))}));
    }
    return lines;
}

} // namespace

std::string Render(const Phrase& phrase, const PhraseLanguage& language) {
    if (phrase.pattern == nullptr) {
        return phrase.literal;
    }
    const std::string pattern = language ? language(phrase.pattern) : phrase.pattern;
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto arg = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && arg < phrase.args.size()) {
            text += Render(phrase.args[arg], language);
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::string Render(const std::vector<Phrase>& lines, const PhraseLanguage& language) {
    std::string text;
    for (const Phrase& line : lines) {
        if (&line != &lines.front()) {
            text += '\n';
        }
        text += Render(line, language);
    }
    return text;
}

std::span<const char* const> PhrasePatterns() {
    return kPatterns;
}

std::string BothLevelsText(const std::string& first, const std::string& deeper,
                           const std::string& nothing) {
    std::string deeperBelow = deeper;
    if (!deeperBelow.empty()) {
        deeperBelow[0] = FoldAscii(deeperBelow[0]);
    }
    return Render(BothLevels(Literal(first), Literal(std::move(deeperBelow)), first == deeper,
                             deeper == nothing));
}

const char* AccessWord(Access access) {
    switch (access) {
    case Access::Allowed:
        return kAllowed;
    case Access::Denied:
        return kDenied;
    default:
        return kNotAllowed;
    }
}

const char* AuditWord(int audited) {
    switch (audited) {
    case 1:
        return kSuccess;
    case 2:
        return kFailure;
    case 3:
        return kSuccessAndFailure;
    default:
        return kNotAudited;
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

Phrase AccessCellPhrase(const EffectiveAccess& access, const AccessCell& cell) {
    if (!access.hasPermissionList) {
        return Words(kNotDecided);
    }
    return BothLevels(Words(AccessWord(cell.firstLevel)), Words(AccessWordBelow(cell.deeper)),
                      cell.firstLevel == cell.deeper, cell.deeper == Access::NotAllowed);
}

std::string AccessCellText(const EffectiveAccess& access, const AccessCell& cell) {
    return Render(AccessCellPhrase(access, cell));
}

std::vector<Phrase> AccessCellExplanationLines(const EffectiveAccess& access, int column,
                                               std::uint32_t mask) {
    if (!access.hasPermissionList) {
        return {Words(kNoPermissionList)};
    }
    const auto [first, deeper] = PlacesOfColumn(column);
    std::vector<Phrase> lines = ExplainPlace(access, first, mask);
    std::vector<Phrase> deeperLines = ExplainPlace(access, deeper, mask);
    if (Render(lines) == Render(deeperLines)) {
        return lines;
    }
    lines.insert(lines.begin(), Words(kInTheFirstLevel));
    lines.push_back(Words(kBelowTheFirstLevel));
    lines.insert(lines.end(), std::make_move_iterator(deeperLines.begin()),
                 std::make_move_iterator(deeperLines.end()));
    return lines;
}

std::string AccessCellExplanation(const EffectiveAccess& access, int column, std::uint32_t mask) {
    return Render(AccessCellExplanationLines(access, column, mask));
}

AuditCell AuditCellOf(const EffectiveAccess& access, int column, std::uint32_t mask) {
    const auto audited = [mask](const PlaceAccess& at) {
        return ((at.auditedOnSuccess & mask) == mask ? 1 : 0) |
               ((at.auditedOnFailure & mask) == mask ? 2 : 0);
    };
    const auto [first, deeper] = PlacesOfColumn(column);
    return {audited(access.At(first)), audited(access.At(deeper))};
}

Phrase AuditCellPhrase(const AuditCell& cell) {
    return BothLevels(Words(AuditWord(cell.firstLevel)), Words(AuditWordBelow(cell.deeper)),
                      cell.firstLevel == cell.deeper, cell.deeper == 0);
}

std::string AuditCellText(const AuditCell& cell) {
    return Render(AuditCellPhrase(cell));
}

std::string EntryText(const DecidingEntry& entry) {
    const Ace ace(entry.account, entry.mask, entry.type, entry.flags);
    return ToSddl(ace);
}

std::string DeciderLine(const DecidingEntry& entry) {
    return "entry " + std::to_string(entry.position + 1) + ": " + EntryText(entry);
}

} // namespace permora
