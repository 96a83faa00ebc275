#pragma once

// Operations on a whole template that the window and the command line share: adding many
// paths at once, renaming an account, and comparing two templates.

#include "model/target.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace permora {

// ---------------------------------------------------------------------------------------
// Adding many paths

struct InvalidPathLine {
    std::int64_t line = 0;  // 1-based number of the line in the list
    std::string text;       // the line as trimmed (its path, or its account for a bad account)
    bool account = false;   // the account fails the account-name rule, not the path its check
    bool noAccount = false; // the path has no account where one is required (text: the path)
    bool wellKnown = false; // the account is a well-known account or a bare SID (text: it)
};

struct PathList {
    std::vector<std::string> paths;       // the paths to add, in list order
    std::vector<std::string> accounts;    // beside each path: its account, "" for none
    std::vector<std::int64_t> lines;      // beside each path: its line's number
    std::vector<InvalidPathLine> invalid; // lines whose path or account fails its check
    int skipped = 0;                      // paths already in the template or earlier in the list
};

// Reads a list of paths, one a line (LF, CR LF or CR ends a line). Each line is trimmed as
// the add-target dialog trims its path; blank lines and lines beginning with "#" are
// passed over. A tab ends the path: what follows it (trimmed) is the path's account. A
// path equal (with case) to the path of a target of the template, or to a path earlier in
// the list, is skipped and counted. tmpl may be nullptr.
PathList ReadPathList(std::string_view text, const SecurityTemplate* tmpl);

// The same reading a line at a time, for a list that comes as a stream: each line without
// its line end, with its number, in order; then the list.
class PathListReader {
public:
    explicit PathListReader(const SecurityTemplate* tmpl);
    void Take(std::string_view line, std::int64_t number);
    [[nodiscard]] std::size_t InvalidCount() const { return list_.invalid.size(); }
    [[nodiscard]] PathList Finish();

private:
    PathList list_;
    // The paths taken are kept by the result; known_ points into them, so they must not
    // move while the list is read.
    std::vector<std::unique_ptr<std::string>> owned_;
    std::unordered_set<std::string_view> known_;
    bool first_ = true;
};

// The account a pattern makes for a path: "{name}" stands for the path's last component
// ("LAB\{name}" makes LAB\bob of /vol/home/bob/).
std::string AccountForPath(std::string_view pattern, std::string_view path);

// Gives every path of the list that has no account of its own the one the pattern makes
// (nothing when the pattern is empty); lines whose account then fails the account-name
// rule join the invalid lines, in line order.
void FillAccounts(PathList& list, std::string_view pattern);

// Where the accounts replace a stand-in, every path needs one: FillAccounts, and then each
// path still without an account joins the invalid lines (noAccount), in line order.
void RequireAccounts(PathList& list, std::string_view pattern);

// Each path whose account is a well-known account (an alias such as WD, its SID or its
// name, Everyone included) or a bare SID joins the invalid lines (wellKnown), in line order:
// a list of homes names users, and such an entry would grant far more than one user.
void RefuseWellKnownAccounts(PathList& list);

// Whether any line of the list gave its path an account.
[[nodiscard]] bool HasAccounts(const PathList& list);

// Whether the descriptor that new targets get (like, or a new target's default descriptor
// when like is nullptr) holds an entry of the stand-in account, which each path's account
// is to replace.
[[nodiscard]] bool HoldsStandIn(const SecurityDescriptor* like, std::string_view standIn);

// Appends one NTFS target per path, at the given level, each with an exact copy of like
// (entries, order and marks as they are) or, when like is nullptr, the default descriptor
// of a new target. With standIn and accounts given, each copy has the stand-in account
// replaced by the path's account (as ReplaceAccountIn does, merging), where it has one.
// Returns the targets appended, in order.
std::vector<TargetObject*> AppendTargets(SecurityTemplate& tmpl,
                                         const std::vector<std::string>& paths, std::int32_t level,
                                         const SecurityDescriptor* like,
                                         std::string_view standIn = {},
                                         const std::vector<std::string>* accounts = nullptr);

// ---------------------------------------------------------------------------------------
// Renaming an account

// Which targets an operation looks at: the target and its position in the template.
using TargetScope = std::function<bool(const TargetObject& target, int index)>;

TargetScope AllTargets();
// The targets at the given positions (in any order, repeats allowed).
TargetScope TargetsAt(std::vector<int> indexes);
// The targets whose path matches a shell pattern ("*", "?", "[...]"; "*" also matches
// across "/"), compared with case.
TargetScope TargetsMatching(std::string pattern);
// The targets whose path matches any of the patterns; every target when there is none.
TargetScope TargetsMatchingAny(std::vector<std::string> patterns);

struct AccountReplacement {
    int entries = 0; // entries renamed
    int targets = 0; // targets that held at least one of them
};

// Whether the target is NTFS and holds, in a list that is written, an entry whose account
// equals oldName without regard to case.
[[nodiscard]] bool HoldsAccount(const TargetObject& target, std::string_view oldName);

// Renames oldName (whole name, without regard to case) to newName in one target: for each
// list (Deny, Allow, Audit) the account's entries are taken out in list order and handed,
// renamed, to that list's Add, so that they merge with entries of newName as any other
// added entry would. Targets that are not NTFS are left alone. Returns the number of
// entries renamed. The caller checks newName with IsValidAccountName; an exactly equal
// name changes nothing.
int ReplaceAccountIn(TargetObject& target, std::string_view oldName, const std::string& newName);

// The same over every target in scope. beforeChange (optional) runs for each target just
// before it changes, while it still holds its old descriptor.
AccountReplacement
ReplaceAccount(SecurityTemplate& tmpl, std::string_view oldName, const std::string& newName,
               const TargetScope& scope,
               const std::function<void(TargetObject& target, int index)>& beforeChange = {});

// ---------------------------------------------------------------------------------------
// Comparing two templates

struct EntryDifference {
    // The type of the entries compared (kAllowType, kDenyType or kAuditType): the list they
    // are in.
    std::uint8_t type = kAllowType;
    int rank = 1;           // 1-based rank among the account's entries in that list
    const Ace* a = nullptr; // nullptr: added in B
    const Ace* b = nullptr; // nullptr: removed from A
};

struct TargetDifference {
    const TargetObject* a = nullptr; // nullptr: only in B
    const TargetObject* b = nullptr; // nullptr: only in A
    int indexA = -1;                 // 0-based positions in their templates
    int indexB = -1;
    int occurrence = 1; // 1 for the first target with this path, 2 for the second, ...
    bool styleChanged = false;
    bool levelChanged = false;
    bool modeChanged = false;
    bool marksChanged = false; // any bit of Control
    bool lineChanged = false;  // targets of another style whose lines differ
    // The target stands in another order among the targets of both: the storage system
    // applies the targets in order, so a move changes what the template means.
    bool moved = false;
    std::vector<EntryDifference> entries;
};

// Targets match by exact path, the n-th target with a path in A with the n-th in B. Of the
// targets in both, the fewest that explain the change of order are marked moved (all others
// keep their order: a longest increasing run of B's positions in A's order). An
// entry is the same entry when its list, its account (without regard to case) and its rank
// among that account's entries in the list agree; it has changed when its flags or mask
// differ. Differences come in A's order (targets only in A among them), then the targets
// only in B in B's order. The pointers point into a and b.
std::vector<TargetDifference> CompareTemplates(const SecurityTemplate& a,
                                               const SecurityTemplate& b);

} // namespace permora
