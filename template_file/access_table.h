#pragma once

// The effective access of one person as the window and the command line show it: rows of
// rights by three columns (this folder, subfolders, files), the words of each cell and the
// entries behind it.

#include "model/effective_access.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace permora {

struct NamedRights {
    const char* name;
    std::uint32_t mask;
};

// The rights as the entry editor lists them, Full Control first. Every mask here leaves
// SYNCHRONIZE out: no row shows it, so it decides no row (an entry of 0x1f01ff is Full
// Control, and a deny of SYNCHRONIZE alone denies nothing shown).
extern const std::array<NamedRights, 14> kEditorRights;
// The six standard permissions of the security page, judged on the rights the tables show
// (the security page itself keeps its masks).
extern const std::array<NamedRights, 6> kStandardPermissions;
// Every right the tables show.
inline constexpr std::uint32_t kShownRights = kFullControlMask & ~kSynchronize;
// Whether the deciding entry (an index into EffectiveAccess::deciders) decided a right the
// tables show somewhere; the deciding entries listed are those that do.
[[nodiscard]] bool DecidesAShownRight(const EffectiveAccess& access, int decider);

// A text of the table in a form that the window shows in the user's language and the command
// line in English: a pattern, the English text with %1, %2 where its arguments go, each
// argument a phrase again; or, without a pattern, a literal (a number, an entry's SDDL) that
// no language changes.
struct Phrase {
    const char* pattern = nullptr;
    std::string literal;
    std::vector<Phrase> args;
};

// The text for a pattern in the language shown.
using PhraseLanguage = std::function<std::string(const char* pattern)>;

// The text of a phrase, its patterns through language (as they stand without one). Each
// placeholder of a pattern is filled once: an argument's own "%1" stays as it is.
std::string Render(const Phrase& phrase, const PhraseLanguage& language = {});
// One line each.
std::string Render(const std::vector<Phrase>& lines, const PhraseLanguage& language = {});

// Every pattern a phrase of the table may hold, for the window's translations.
std::span<const char* const> PhrasePatterns();

// Columns: the folder itself; its subfolders; its files. A subfolder or file is in the first
// level when it is a child of the folder, deeper otherwise.
enum AccessColumn : int { kThisFolderColumn, kSubfoldersColumn, kFilesColumn, kAccessColumnCount };
const char* AccessColumnName(int column); // "This folder", "Subfolders", "Files"

// The words of one level: "Allowed", "Denied", "Not allowed"; "Success", "Failure",
// "Success and failure", "Not audited" (1 success, 2 failure, 3 both).
const char* AccessWord(Access access);
const char* AuditWord(int audited);
// Both levels in one phrase: the first alone when they are equal, "X in the first level
// only" when the deeper levels have nothing, "X in the first level, y below" otherwise.
// Whatever reaches the deeper levels reaches the first level too, so a first level with
// nothing never stands beside deeper levels with something.
std::string BothLevelsText(const std::string& first, const std::string& deeper,
                           const std::string& nothing);

struct AccessCell {
    Access firstLevel = Access::NotAllowed; // this folder: the folder itself
    Access deeper = Access::NotAllowed;     // this folder: the same as firstLevel
    // The entries behind the cell, as indexes into EffectiveAccess::deciders, ascending: those
    // that denied a right of a denied cell, that allowed its rights otherwise.
    std::vector<int> deciders;
};

// A set of rights is allowed at a place when every one of them is allowed there, denied when
// any one of them is denied, and not allowed otherwise.
AccessCell AccessCellOf(const EffectiveAccess& access, int column, std::uint32_t mask);
// "Allowed", "Denied", "Not allowed", or, where the first level and the deeper levels
// differ, both: "Allowed in the first level only", "Denied in the first level, allowed
// below"; "Not decided" without a permission list.
Phrase AccessCellPhrase(const EffectiveAccess& access, const AccessCell& cell);
std::string AccessCellText(const EffectiveAccess& access, const AccessCell& cell);
// Which entries decided the cell, one line each, for a tooltip.
std::vector<Phrase> AccessCellExplanationLines(const EffectiveAccess& access, int column,
                                               std::uint32_t mask);
std::string AccessCellExplanation(const EffectiveAccess& access, int column, std::uint32_t mask);

// Audited on success (1) and on failure (2) at the first and the deeper levels: a set of
// rights is audited when every one of them is.
struct AuditCell {
    int firstLevel = 0;
    int deeper = 0;
};
AuditCell AuditCellOf(const EffectiveAccess& access, int column, std::uint32_t mask);
// "Success", "Failure", "Success and failure", "Not audited", and both where the levels differ.
Phrase AuditCellPhrase(const AuditCell& cell);
std::string AuditCellText(const AuditCell& cell);

// A deciding entry's SDDL entry string, "(A;CIOI;0x1200a9;;;Everyone)".
std::string EntryText(const DecidingEntry& entry);
// With the 1-based number of its row in the permission list: "entry 3: (A;...)".
std::string DeciderLine(const DecidingEntry& entry);

} // namespace permora
