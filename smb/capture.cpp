// Walking a share and turning each folder's descriptor into a target.

#include "smb/capture.h"

#include "model/ascii_case.h"
#include "model/checks.h"
#include "model/well_known.h"
#include "smb/convert.h"
#include "template_file/template_file.h"

#include <algorithm>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace permora::smb {

namespace {

// A name the server sends that cannot be one folder's name in a path.
bool IsOddName(const std::string& name) {
    return name.empty() || name == "." || name == ".." ||
           name.find_first_of(std::string("/\\\0", 3)) != std::string::npos;
}

std::string StoragePath(const std::string& as, const std::vector<std::string>& names) {
    std::string path = as;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    for (const std::string& name : names) {
        path += '/';
        path += name;
    }
    return path;
}

// The account text of each SID: its alias where it has one; with names, the name the server
// gives it where that name passes the account rule; the SID otherwise.
class AccountNamer {
public:
    AccountNamer(ShareSession& session, bool names, const CaptureNotes& notes,
                 CaptureOutcome& outcome)
        : session_(session), names_(names), notes_(notes), outcome_(outcome) {}

    std::string operator()(const std::string& sid, const std::string& path) {
        if (const WellKnownAccount* known = FindBySid(sid); known != nullptr) {
            return std::string(known->alias);
        }
        if (!names_) {
            return sid;
        }
        auto found = known_.find(sid);
        if (found == known_.end()) {
            std::vector<std::string> names;
            ShareError error;
            std::string name;
            if (session_.LookupSids({sid}, names, error) && !names.empty()) {
                name = names.front();
            }
            found = known_.emplace(sid, std::move(name)).first;
        }
        if (found->second.empty() || !IsValidAccountName(found->second)) {
            ++outcome_.unnamed;
            if (notes_.warning) {
                notes_.warning(path, found->second.empty()
                                         ? "account " + sid + " has no name on the server; " +
                                               "its SID is written"
                                         : "account " + sid + " is named \"" + found->second +
                                               "\" on the server, which is not a valid " +
                                               "account name; its SID is written");
            }
            return sid;
        }
        return found->second;
    }

private:
    ShareSession& session_;
    bool names_;
    const CaptureNotes& notes_;
    CaptureOutcome& outcome_;
    std::map<std::string, std::string> known_;
};

} // namespace

bool FolderNameBefore(const std::string& a, const std::string& b) {
    const int folded = CompareNoCase(a, b);
    return folded != 0 ? folded < 0 : a < b;
}

CaptureOutcome CaptureShare(ShareSession& session, const ShareAddress& address,
                            const CaptureOptions& options, SecurityTemplate& into,
                            const CaptureNotes& notes) {
    CaptureOutcome outcome;
    AccountNamer namer(session, options.names, notes, outcome);
    const auto problem = [&notes](const std::string& text) {
        if (notes.problem) {
            notes.problem(text);
        }
    };
    const auto warn = [&notes](const std::string& path, const std::string& text) {
        if (notes.warning) {
            notes.warning(path, text);
        }
    };

    struct Pending {
        std::vector<std::string> names; // from the share's root
        int depth;
    };
    std::vector<Pending> stack{{address.folder, 0}};
    bool first = true;
    while (!stack.empty()) {
        Pending folder = std::move(stack.back());
        stack.pop_back();
        const bool isStart = std::exchange(first, false);
        const std::string path = StoragePath(options.as, folder.names);
        if (!IsPathValid(path)) {
            ++outcome.invalid;
            problem(path + ": not a valid template path (" + PathProblem(path) +
                    "); the folder and its subfolders are skipped");
            continue;
        }
        FolderRead read;
        ShareError error;
        if (!session.ReadFolder(folder.names, options.audit, folder.depth < options.depth, read,
                                error)) {
            if (isStart) {
                outcome.rootError = error;
                return outcome;
            }
            ++outcome.unreadable;
            problem(path + ": cannot read the folder: " + error.Reason());
            continue;
        }
        outcome.reached = true;
        ++outcome.folders;

        // Subfolders go on the stack last first, so that they come off it in name order.
        std::sort(read.subfolders.begin(), read.subfolders.end(), FolderNameBefore);
        for (auto name = read.subfolders.rbegin(); name != read.subfolders.rend(); ++name) {
            std::vector<std::string> names = folder.names;
            names.push_back(*name);
            if (IsOddName(*name)) {
                ++outcome.invalid;
                problem(StoragePath(options.as, folder.names) + ": the server names a subfolder " +
                        "that cannot be a path's part; it is skipped with its subfolders");
                continue;
            }
            stack.push_back({std::move(names), folder.depth + 1});
        }

        const std::optional<RawDescriptor> raw = ParseDescriptor(read.descriptor);
        if (!raw) {
            ++outcome.unreadable;
            problem(path + ": the server sent a descriptor that cannot be read");
            continue;
        }
        const bool withAudit = options.audit && read.auditRead;
        const DescriptorText text = ToDescriptorText(
            *raw, withAudit, [&](const std::string& sid) { return namer(sid, path); });
        outcome.inherited += text.inherited;
        if (options.audit && !read.auditRead) {
            ++outcome.auditUnread;
            warn(path, "the audit part cannot be read with this account; none is written");
        }
        if (text.unsupported > 0) {
            outcome.unsupported += text.unsupported;
            warn(path, std::to_string(text.unsupported) +
                           (text.unsupported == 1 ? " entry is" : " entries are") +
                           " of a type a template cannot hold and not written");
        }
        if (options.explicitOnly && !text.explicitEntries && !text.protectedList) {
            continue;
        }
        // Through the template reader, as any template line: what it does not admit does not
        // become a target.
        const std::string line = "1,0,\"" + path + "\",0,\"" + text.sddl + "\"";
        auto target = std::make_unique<TargetObject>(path, std::make_unique<SecurityDescriptor>());
        std::string failure;
        const ReadStatus status = ReadTargetLineDetailed(
            line, *target,
            [&failure](const std::string& message, const std::string& detail) {
                if (failure.empty()) {
                    failure = TrimBlanks(message) + (detail.empty() ? "" : ": " + detail);
                }
            },
            [&](const std::string& warning) { warn(path, warning); });
        if (status != ReadStatus::Read) {
            ++outcome.unreadable;
            std::string said = path;
            said += ": the folder's descriptor cannot be written in a template: ";
            said += failure;
            problem(said);
            continue;
        }
        into.Append(std::move(target));
        ++outcome.targets;
    }
    return outcome;
}

} // namespace permora::smb
