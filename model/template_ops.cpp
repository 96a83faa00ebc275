#include "model/template_ops.h"

#include "model/checks.h"
#include "model/well_known.h"

#include <algorithm>
#include <cstdint>
#include <fnmatch.h>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace permora {

namespace {

// The lists of a target, by the type of their entries, in the order its line writes them.
constexpr std::uint8_t kWrittenTypes[] = {kAuditType, kDenyType, kAllowType};

bool HoldsAccountIn(const AceList& list, std::string_view account) {
    for (const Ace* entry = list.Head; entry != nullptr; entry = entry->Next) {
        if (EqualsNoCase(entry->NTAccount, account)) {
            return true;
        }
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Adding many paths

PathListReader::PathListReader(const SecurityTemplate* tmpl) {
    if (tmpl != nullptr) {
        known_.reserve(static_cast<std::size_t>(tmpl->Count));
        for (const TargetObject* target = tmpl->Head; target != nullptr; target = target->Next) {
            known_.insert(target->Path);
        }
    }
}

void PathListReader::Take(std::string_view line, std::int64_t number) {
    // A list saved by an editor that marks UTF-8 files would otherwise fail on line 1.
    if (first_ && line.starts_with("\xEF\xBB\xBF")) {
        line.remove_prefix(3);
    }
    first_ = false;
    std::string path = TrimBlanks(line);
    if (path.empty() || path.front() == '#') {
        return;
    }
    std::string account;
    if (const std::size_t tab = path.find('\t'); tab != std::string::npos) {
        account = TrimBlanks(std::string_view(path).substr(tab + 1));
        path = TrimBlanks(std::string_view(path).substr(0, tab));
    }
    if (!IsPathValid(path)) {
        list_.invalid.push_back({number, std::move(path), false});
        return;
    }
    if (!account.empty() && !IsValidAccountName(account)) {
        list_.invalid.push_back({number, std::move(account), true});
        return;
    }
    if (known_.count(path) != 0) {
        ++list_.skipped;
        return;
    }
    owned_.push_back(std::make_unique<std::string>(std::move(path)));
    known_.insert(*owned_.back());
    list_.accounts.push_back(std::move(account));
    list_.lines.push_back(number);
}

PathList PathListReader::Finish() {
    known_.clear();
    list_.paths.reserve(owned_.size());
    for (auto& path : owned_) {
        list_.paths.push_back(std::move(*path));
    }
    owned_.clear();
    return std::move(list_);
}

PathList ReadPathList(std::string_view text, const SecurityTemplate* tmpl) {
    PathListReader reader(tmpl);
    std::int64_t number = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view raw = text.substr(at, end - at);
        at = end;
        if (at < text.size()) {
            at += (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
        }
        reader.Take(raw, ++number);
    }
    return reader.Finish();
}

std::string AccountForPath(std::string_view pattern, std::string_view path) {
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::string account;
    for (std::size_t at = 0; at < pattern.size();) {
        if (pattern.substr(at).starts_with("{name}")) {
            account += name;
            at += 6;
        } else {
            account += pattern[at++];
        }
    }
    return account;
}

void FillAccounts(PathList& list, std::string_view pattern) {
    if (pattern.empty()) {
        return;
    }
    for (std::size_t i = 0; i < list.paths.size(); ++i) {
        if (!list.accounts[i].empty()) {
            continue;
        }
        list.accounts[i] = AccountForPath(pattern, list.paths[i]);
        if (!IsValidAccountName(list.accounts[i])) {
            list.invalid.push_back({list.lines[i], list.accounts[i], true});
        }
    }
    std::stable_sort(
        list.invalid.begin(), list.invalid.end(),
        [](const InvalidPathLine& a, const InvalidPathLine& b) { return a.line < b.line; });
}

void RequireAccounts(PathList& list, std::string_view pattern) {
    FillAccounts(list, pattern);
    for (std::size_t i = 0; i < list.paths.size(); ++i) {
        if (list.accounts[i].empty()) {
            InvalidPathLine line{list.lines[i], list.paths[i]};
            line.noAccount = true;
            list.invalid.push_back(std::move(line));
        }
    }
    std::stable_sort(
        list.invalid.begin(), list.invalid.end(),
        [](const InvalidPathLine& a, const InvalidPathLine& b) { return a.line < b.line; });
}

void RefuseWellKnownAccounts(PathList& list) {
    for (std::size_t i = 0; i < list.paths.size(); ++i) {
        const std::string& account = list.accounts[i];
        if (!account.empty() && IsValidAccountName(account) &&
            (FindWellKnown(account) != nullptr || LooksLikeSid(account))) {
            InvalidPathLine line{list.lines[i], account};
            line.wellKnown = true;
            list.invalid.push_back(std::move(line));
        }
    }
    std::stable_sort(
        list.invalid.begin(), list.invalid.end(),
        [](const InvalidPathLine& a, const InvalidPathLine& b) { return a.line < b.line; });
}

bool HasAccounts(const PathList& list) {
    return std::any_of(list.accounts.begin(), list.accounts.end(),
                       [](const std::string& account) { return !account.empty(); });
}

bool HoldsStandIn(const SecurityDescriptor* like, std::string_view standIn) {
    const TargetObject model("", like != nullptr ? like->Clone() : MakeDefaultDescriptor());
    return HoldsAccount(model, standIn);
}

std::vector<TargetObject*> AppendTargets(SecurityTemplate& tmpl,
                                         const std::vector<std::string>& paths, std::int32_t level,
                                         const SecurityDescriptor* like, std::string_view standIn,
                                         const std::vector<std::string>* accounts) {
    std::vector<TargetObject*> appended;
    appended.reserve(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        auto target = std::make_unique<TargetObject>(
            path, like != nullptr ? like->Clone() : MakeDefaultDescriptor());
        target->SecurityLevel = level;
        if (!standIn.empty() && accounts != nullptr && i < accounts->size() &&
            !(*accounts)[i].empty()) {
            ReplaceAccountIn(*target, standIn, (*accounts)[i]);
        }
        TargetObject* raw = target.get();
        if (tmpl.Append(std::move(target))) {
            appended.push_back(raw);
        }
    }
    return appended;
}

// ---------------------------------------------------------------------------------------
// Renaming an account

TargetScope AllTargets() {
    return [](const TargetObject&, int) { return true; };
}

TargetScope TargetsAt(std::vector<int> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return [indexes = std::move(indexes)](const TargetObject&, int index) {
        return std::binary_search(indexes.begin(), indexes.end(), index);
    };
}

TargetScope TargetsMatching(std::string pattern) {
    return [pattern = std::move(pattern)](const TargetObject& target, int) {
        return ::fnmatch(pattern.c_str(), target.Path.c_str(), 0) == 0;
    };
}

TargetScope TargetsMatchingAny(std::vector<std::string> patterns) {
    if (patterns.empty()) {
        return AllTargets();
    }
    return [patterns = std::move(patterns)](const TargetObject& target, int) {
        return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
            return ::fnmatch(pattern.c_str(), target.Path.c_str(), 0) == 0;
        });
    };
}

bool HoldsAccount(const TargetObject& target, std::string_view oldName) {
    if (target.SecurityStyle != kStyleNtfs || !target.Descriptor) {
        return false;
    }
    for (const std::uint8_t type : kWrittenTypes) {
        if (HoldsAccountIn(ListOfType(*target.Descriptor, type), oldName)) {
            return true;
        }
    }
    return false;
}

int ReplaceAccountIn(TargetObject& target, std::string_view oldName, const std::string& newName) {
    if (oldName == newName || !HoldsAccount(target, oldName)) {
        return 0;
    }
    int renamed = 0;
    for (const std::uint8_t type : kWrittenTypes) {
        AceList& list = ListOfType(*target.Descriptor, type);
        // All of the account's entries leave the list before the first comes back, so that
        // none merges into an entry that is about to be renamed itself.
        std::vector<std::unique_ptr<Ace>> moving;
        for (const Ace* entry = list.Head; entry != nullptr; entry = entry->Next) {
            if (EqualsNoCase(entry->NTAccount, oldName)) {
                moving.push_back(
                    std::make_unique<Ace>(newName, entry->Mask, entry->AceType, entry->Flags));
            }
        }
        if (moving.empty()) {
            continue;
        }
        list.RemoveAccount(oldName);
        for (std::unique_ptr<Ace>& entry : moving) {
            list.Add(std::move(entry));
        }
        renamed += static_cast<int>(moving.size());
    }
    return renamed;
}

AccountReplacement ReplaceAccount(SecurityTemplate& tmpl, std::string_view oldName,
                                  const std::string& newName, const TargetScope& scope,
                                  const std::function<void(TargetObject&, int)>& beforeChange) {
    AccountReplacement result;
    if (oldName == newName) {
        return result;
    }
    int index = 0;
    for (TargetObject* target = tmpl.Head; target != nullptr; target = target->Next, ++index) {
        if (!HoldsAccount(*target, oldName) || (scope && !scope(*target, index))) {
            continue;
        }
        if (beforeChange) {
            beforeChange(*target, index);
        }
        result.entries += ReplaceAccountIn(*target, oldName, newName);
        ++result.targets;
    }
    return result;
}

// ---------------------------------------------------------------------------------------
// Comparing two templates

namespace {

bool SameEntries(const AceList& a, const AceList& b) {
    if (a.Count != b.Count) {
        return false;
    }
    for (const Ace *x = a.Head, *y = b.Head; x != nullptr && y != nullptr;
         x = x->Next, y = y->Next) {
        if (x->Flags != y->Flags || x->Mask != y->Mask ||
            !EqualsNoCase(x->NTAccount, y->NTAccount)) {
            return false;
        }
    }
    return true;
}

// Each entry of a list with its key: the folded account and its rank among that account's
// entries.
struct KeyedEntry {
    std::string key;
    int rank;
    const Ace* entry;
};

std::vector<KeyedEntry> Keyed(const AceList& list) {
    std::vector<KeyedEntry> keyed;
    keyed.reserve(list.Count);
    std::unordered_map<std::string, int> ranks;
    for (const Ace* entry = list.Head; entry != nullptr; entry = entry->Next) {
        std::string key = FoldCase(entry->NTAccount);
        const int rank = ++ranks[key];
        // Account names never hold a zero byte, so the rank cannot run into the name.
        key.push_back('\0');
        key += std::to_string(rank);
        keyed.push_back({std::move(key), rank, entry});
    }
    return keyed;
}

void CompareLists(const AceList& a, const AceList& b, std::uint8_t type,
                  std::vector<EntryDifference>& out) {
    if (SameEntries(a, b)) {
        return;
    }
    const std::vector<KeyedEntry> inA = Keyed(a);
    const std::vector<KeyedEntry> inB = Keyed(b);
    std::unordered_map<std::string_view, std::size_t> whereInB;
    whereInB.reserve(inB.size());
    for (std::size_t i = 0; i < inB.size(); ++i) {
        whereInB.emplace(inB[i].key, i);
    }
    std::vector<bool> matched(inB.size(), false);
    for (const KeyedEntry& x : inA) {
        const auto found = whereInB.find(x.key);
        if (found == whereInB.end()) {
            out.push_back({type, x.rank, x.entry, nullptr});
            continue;
        }
        matched[found->second] = true;
        const Ace* y = inB[found->second].entry;
        if (x.entry->Flags != y->Flags || x.entry->Mask != y->Mask) {
            out.push_back({type, x.rank, x.entry, y});
        }
    }
    for (std::size_t i = 0; i < inB.size(); ++i) {
        if (!matched[i]) {
            out.push_back({type, inB[i].rank, nullptr, inB[i].entry});
        }
    }
}

void CompareTargets(TargetDifference& difference) {
    const TargetObject& a = *difference.a;
    const TargetObject& b = *difference.b;
    difference.styleChanged = a.SecurityStyle != b.SecurityStyle;
    difference.levelChanged = a.SecurityLevel != b.SecurityLevel;
    difference.modeChanged = a.Mode != b.Mode;
    static const SecurityDescriptor kNone;
    const SecurityDescriptor& da = a.Descriptor ? *a.Descriptor : kNone;
    const SecurityDescriptor& db = b.Descriptor ? *b.Descriptor : kNone;
    // Targets of other styles are written from their lines, which say all there is.
    if (a.SecurityStyle != kStyleNtfs && b.SecurityStyle != kStyleNtfs) {
        difference.lineChanged = a.SourceLine.Text() != b.SourceLine.Text();
        return;
    }
    difference.marksChanged = da.Control != db.Control;
    for (const std::uint8_t type : kWrittenTypes) {
        CompareLists(ListOfType(da, type), ListOfType(db, type), type, difference.entries);
    }
}

bool Differs(const TargetDifference& d) {
    return d.a == nullptr || d.b == nullptr || d.styleChanged || d.levelChanged || d.modeChanged ||
           d.marksChanged || d.lineChanged || d.moved || !d.entries.empty();
}

// Marks moved the pairs outside one longest run whose positions in B increase in A's order.
void MarkMoves(const std::vector<TargetDifference*>& pairs) {
    // tails[k]: the pair ending the best run of length k + 1 found so far; before[i]: the
    // pair before pair i in its run.
    std::vector<std::size_t> tails;
    std::vector<std::size_t> before(pairs.size(), SIZE_MAX);
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const auto at = std::lower_bound(
            tails.begin(), tails.end(), pairs[i]->indexB,
            [&](std::size_t pair, int indexB) { return pairs[pair]->indexB < indexB; });
        if (at != tails.begin()) {
            before[i] = *(at - 1);
        }
        if (at == tails.end()) {
            tails.push_back(i);
        } else {
            *at = i;
        }
    }
    for (TargetDifference* pair : pairs) {
        pair->moved = true;
    }
    for (std::size_t i = tails.empty() ? SIZE_MAX : tails.back(); i != SIZE_MAX; i = before[i]) {
        pairs[i]->moved = false;
    }
}

} // namespace

std::vector<TargetDifference> CompareTemplates(const SecurityTemplate& a,
                                               const SecurityTemplate& b) {
    std::vector<const TargetObject*> targetsB;
    targetsB.reserve(static_cast<std::size_t>(b.Count));
    std::unordered_map<std::string_view, std::vector<int>> positionsB;
    positionsB.reserve(static_cast<std::size_t>(b.Count));
    for (const TargetObject* target = b.Head; target != nullptr; target = target->Next) {
        positionsB[target->Path].push_back(static_cast<int>(targetsB.size()));
        targetsB.push_back(target);
    }
    std::vector<bool> matchedB(targetsB.size(), false);

    // Every target of A, in A's order; whether the pairs among them moved is known once
    // all are paired.
    std::vector<TargetDifference> inA;
    inA.reserve(static_cast<std::size_t>(a.Count));
    std::unordered_map<std::string_view, int> seenA;
    int index = 0;
    for (const TargetObject* target = a.Head; target != nullptr; target = target->Next, ++index) {
        TargetDifference difference;
        difference.a = target;
        difference.indexA = index;
        difference.occurrence = ++seenA[target->Path];
        const auto found = positionsB.find(target->Path);
        if (found != positionsB.end() &&
            difference.occurrence <= static_cast<int>(found->second.size())) {
            const int position = found->second[static_cast<std::size_t>(difference.occurrence - 1)];
            matchedB[static_cast<std::size_t>(position)] = true;
            difference.b = targetsB[static_cast<std::size_t>(position)];
            difference.indexB = position;
            CompareTargets(difference);
        }
        inA.push_back(std::move(difference));
    }
    std::vector<TargetDifference*> pairs;
    for (TargetDifference& difference : inA) {
        if (difference.b != nullptr) {
            pairs.push_back(&difference);
        }
    }
    MarkMoves(pairs);

    std::vector<TargetDifference> differences;
    for (TargetDifference& difference : inA) {
        if (Differs(difference)) {
            differences.push_back(std::move(difference));
        }
    }

    std::unordered_map<std::string_view, int> seenB;
    for (std::size_t i = 0; i < targetsB.size(); ++i) {
        const int occurrence = ++seenB[targetsB[i]->Path];
        if (!matchedB[i]) {
            TargetDifference difference;
            difference.b = targetsB[i];
            difference.indexB = static_cast<int>(i);
            difference.occurrence = occurrence;
            differences.push_back(std::move(difference));
        }
    }
    return differences;
}

} // namespace permora
