// access: the effective access of an account on a target, right by right, with the entries
// that decide it; or, with --all, the standard permissions of every account of the target.

#include "cli/command.h"
#include "cli/common.h"
#include "model/checks.h"
#include "model/effective_access.h"
#include "template_file/access_table.h"
#include "template_file/terminal_text.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace permora::cli {

namespace {

using Json = nlohmann::ordered_json;

struct AccessOptions {
    std::string file;
    std::string path;
    std::string account;
    std::vector<std::string> groups;
    bool all = false;
    bool json = false;
};

constexpr const char* kColumnKeys[kAccessColumnCount] = {"this_folder", "subfolders", "files"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), FoldAscii);
    return text;
}

std::vector<std::string> Heading(const char* first) {
    std::vector<std::string> heading{first};
    for (int column = 0; column < kAccessColumnCount; ++column) {
        heading.emplace_back(AccessColumnName(column));
    }
    return heading;
}

// The cell's words and the rows of the permission list behind them: "Denied [1, 4]". A
// cell that nothing allows names no entry, even where entries allow a part of its rights.
std::string CellWithEntries(const EffectiveAccess& access, int column, std::uint32_t mask) {
    const AccessCell cell = AccessCellOf(access, column, mask);
    std::string text = AccessCellText(access, cell);
    if (cell.firstLevel == Access::NotAllowed && cell.deeper == Access::NotAllowed) {
        return text;
    }
    for (std::size_t i = 0; i < cell.deciders.size(); ++i) {
        const auto& entry = access.deciders[static_cast<std::size_t>(cell.deciders[i])];
        text += (i == 0 ? " [" : ", ") + std::to_string(entry.position + 1);
    }
    return cell.deciders.empty() ? text : text + "]";
}

template <std::size_t N>
void PrintAccessTable(const EffectiveAccess& access, const char* heading,
                      const std::array<NamedRights, N>& rights, std::ostream& out) {
    std::vector<std::vector<std::string>> rows{Heading(heading)};
    for (const NamedRights& right : rights) {
        std::vector<std::string> row{right.name};
        for (int column = 0; column < kAccessColumnCount; ++column) {
            row.push_back(CellWithEntries(access, column, right.mask));
        }
        rows.push_back(std::move(row));
    }
    PrintTable(rows, 1, out);
}

// The deciding entries that decide a right the tables show, as indexes into deciders.
std::vector<int> ShownDeciders(const EffectiveAccess& access) {
    std::vector<int> shown;
    for (int i = 0; i < static_cast<int>(access.deciders.size()); ++i) {
        if (DecidesAShownRight(access, i)) {
            shown.push_back(i);
        }
    }
    return shown;
}

bool AnythingAudited(const EffectiveAccess& access) {
    return std::any_of(access.places.begin(), access.places.end(), [](const PlaceAccess& at) {
        return (at.auditedOnSuccess | at.auditedOnFailure) != 0;
    });
}

void PrintAccessText(const TargetObject& target, const EffectiveAccess& access,
                     const AccessSubject& subject, std::ostream& out) {
    out << target.Path << ": " << subject.Account();
    for (std::size_t i = 0; i < subject.Groups().size(); ++i) {
        out << (i == 0 ? ", member of " : ", ") << subject.Groups()[i];
    }
    out << '\n';
    if (!access.hasPermissionList) {
        out << "  no permission list: nothing is decided\n";
    } else {
        PrintAccessTable(access, "Standard permissions", kStandardPermissions, out);
        out << '\n';
        PrintAccessTable(access, "Rights", kEditorRights, out);
        out << '\n';
        const std::vector<int> shown = ShownDeciders(access);
        if (shown.empty()) {
            out << "  no entry applies to this account\n";
        } else {
            out << "  Deciding entries:\n";
            for (const int index : shown) {
                const DecidingEntry& entry = access.deciders[static_cast<std::size_t>(index)];
                out << "    " << entry.position + 1 << "  " << EntryText(entry) << '\n';
            }
        }
    }
    out << '\n';
    if (!access.hasAuditList) {
        out << "  no auditing list\n";
        return;
    }
    if (!AnythingAudited(access)) {
        out << "  nothing is audited for this account\n";
        return;
    }
    std::vector<std::vector<std::string>> rows{Heading("Audited")};
    for (const NamedRights& right : kEditorRights) {
        std::vector<std::string> row{right.name};
        bool audited = false;
        for (int column = 0; column < kAccessColumnCount; ++column) {
            const AuditCell cell = AuditCellOf(access, column, right.mask);
            audited = audited || cell.firstLevel != 0;
            row.push_back(AuditCellText(cell));
        }
        if (audited) {
            rows.push_back(std::move(row));
        }
    }
    PrintTable(rows, 1, out);
}

Json AccessCellJson(const EffectiveAccess& access, int column, std::uint32_t mask) {
    const AccessCell cell = AccessCellOf(access, column, mask);
    Json entries = Json::array();
    for (int index : cell.deciders) {
        entries.push_back(access.deciders[static_cast<std::size_t>(index)].position + 1);
    }
    return {{"text", AccessCellText(access, cell)},
            {"first_level", Lower(AccessWord(cell.firstLevel))},
            {"deeper", Lower(AccessWord(cell.deeper))},
            {"entries", std::move(entries)}};
}

template <std::size_t N>
Json AccessRowsJson(const EffectiveAccess& access, const std::array<NamedRights, N>& rights) {
    Json rows = Json::array();
    for (const NamedRights& right : rights) {
        Json row = {{"name", right.name}, {"mask", right.mask}};
        for (int column = 0; column < kAccessColumnCount; ++column) {
            row[kColumnKeys[column]] = AccessCellJson(access, column, right.mask);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

Json AccessJson(const TargetObject& target, const EffectiveAccess& access,
                const AccessSubject& subject) {
    Json result = {{"path", target.Path},
                   {"account", subject.Account()},
                   {"member_of", subject.Groups()},
                   {"permission_list", access.hasPermissionList}};
    if (access.hasPermissionList) {
        result["standard"] = AccessRowsJson(access, kStandardPermissions);
        result["rights"] = AccessRowsJson(access, kEditorRights);
        Json entries = Json::array();
        for (const int index : ShownDeciders(access)) {
            const DecidingEntry& entry = access.deciders[static_cast<std::size_t>(index)];
            entries.push_back({{"entry", entry.position + 1},
                               {"type", entry.type == kDenyType ? "Deny" : "Allow"},
                               {"text", EntryText(entry)}});
        }
        result["entries"] = std::move(entries);
    }
    if (!access.hasAuditList) {
        result["auditing"] = nullptr;
        return result;
    }
    Json audited = Json::array();
    for (const NamedRights& right : kEditorRights) {
        Json row = {{"name", right.name}, {"mask", right.mask}};
        for (int column = 0; column < kAccessColumnCount; ++column) {
            const AuditCell cell = AuditCellOf(access, column, right.mask);
            row[kColumnKeys[column]] = {{"text", AuditCellText(cell)},
                                        {"first_level", Lower(AuditWord(cell.firstLevel))},
                                        {"deeper", Lower(AuditWord(cell.deeper))}};
        }
        audited.push_back(std::move(row));
    }
    result["auditing"] = std::move(audited);
    return result;
}

// ---------------------------------------------------------------------------------------
// --all

// The standard permissions granted at one place, leaving out those a stronger one implies.
std::string GrantedText(const EffectiveAccess& access, unsigned place) {
    const auto granted = [&](std::uint32_t mask) {
        const PlaceAccess& at = access.At(place);
        return (at.denied & mask) == 0 && (at.allowed & mask) == mask;
    };
    if (granted(kShownRights)) {
        return "Full Control";
    }
    if (granted(kModifyMask)) {
        return "Modify";
    }
    std::vector<std::string> parts;
    if (granted(kReadExecuteMask)) {
        parts.emplace_back("Read and Execute");
    } else if (granted(kReadMask)) {
        parts.emplace_back("Read");
    }
    if (granted(kWriteMask)) {
        parts.emplace_back("Write");
    }
    if (parts.empty()) {
        // An explicit deny that decides a right shown says more than "none".
        return (access.At(place).denied & kShownRights) != 0 ? "denied" : "none";
    }
    return parts.size() == 1 ? parts[0] : parts[0] + ", " + parts[1];
}

constexpr std::array<std::array<unsigned, 2>, kAccessColumnCount> kColumnPlaces = {{
    {kPlaceSelf, kPlaceSelf},
    {kPlaceChildFolders, kPlaceDeeperFolders},
    {kPlaceChildFiles, kPlaceDeeperFiles},
}};

std::string SummaryText(const EffectiveAccess& access, int column) {
    if (!access.hasPermissionList) {
        return "not decided";
    }
    const auto& places = kColumnPlaces[static_cast<std::size_t>(column)];
    return BothLevelsText(GrantedText(access, places[0]), GrantedText(access, places[1]), "none");
}

void PrintAllText(const TargetObject& target, std::ostream& out) {
    out << target.Path << '\n';
    const SecurityDescriptor& d = *target.Descriptor;
    if ((d.Control & SE_DACL_PRESENT) == 0) {
        out << "  no permission list: nothing is decided\n";
        return;
    }
    std::vector<std::vector<std::string>> rows{Heading("Account")};
    ForEachAccountAccess(d, [&](const std::string& account, const EffectiveAccess& access) {
        std::vector<std::string> row{account};
        for (int column = 0; column < kAccessColumnCount; ++column) {
            row.push_back(SummaryText(access, column));
        }
        rows.push_back(std::move(row));
    });
    if (rows.size() == 1) {
        out << "  no entries\n";
        return;
    }
    PrintTable(rows, 1, out);
}

Json AllJson(const TargetObject& target) {
    Json accounts = Json::array();
    ForEachAccountAccess(*target.Descriptor,
                         [&](const std::string& account, const EffectiveAccess& access) {
                             Json one = {{"account", account}};
                             if (access.hasPermissionList) {
                                 one["standard"] = AccessRowsJson(access, kStandardPermissions);
                             }
                             accounts.push_back(std::move(one));
                         });
    return {{"path", target.Path},
            {"permission_list", (target.Descriptor->Control & SE_DACL_PRESENT) != 0},
            {"accounts", std::move(accounts)}};
}

// ---------------------------------------------------------------------------------------

int RunAccess(const AccessOptions& o, std::istream& in, std::ostream& rawOut, std::ostream& err) {
    // The text form is read on a terminal: a hostile path goes out escaped; JSON is exact.
    TerminalStream text(rawOut);
    std::ostream& out = o.json ? rawOut : text;
    if (!o.all) {
        std::vector<std::string> names{o.account};
        names.insert(names.end(), o.groups.begin(), o.groups.end());
        for (const std::string& name : names) {
            if (!IsValidAccountName(name)) {
                Complain(err, "Invalid Account Name: " + name);
                return kUsage;
            }
        }
    }
    SecurityTemplate tmpl;
    std::vector<ReadWarning> warnings;
    if (const int read = LoadWhole(o.file, tmpl, err, &in, "", kFound,
                                   [&warnings](const ReadWarning& w) { warnings.push_back(w); });
        read != kSuccess) {
        return read;
    }
    std::vector<const TargetObject*> targets;
    std::vector<int> indexes; // of the targets answered for, as the warnings name them
    bool otherStyle = false;
    int index = 0;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next, ++index) {
        if (t->Path != o.path) {
            continue;
        }
        if (t->SecurityStyle != kStyleNtfs || !t->Descriptor) {
            otherStyle = true;
            continue;
        }
        targets.push_back(t);
        indexes.push_back(index);
    }
    if (targets.empty()) {
        Complain(err, o.file + ": " +
                          (otherStyle ? "the target " + o.path + " is not an NTFS target"
                                      : "no target has the path " + o.path));
        return kUsage;
    }
    if (otherStyle) {
        Complain(err, o.file + ": a target of another style than NTFS also has the path " + o.path +
                          "; the answer is for the NTFS target");
    }
    // The answer is for the descriptor as the editor saves it: where that differs from what
    // the file writes (an allow entry written before a deny entry), the warning says so.
    const std::string name = IsStandardInput(o.file) ? "<stdin>" : o.file;
    for (const ReadWarning& warning : warnings) {
        if (std::find(indexes.begin(), indexes.end(), warning.target) != indexes.end()) {
            err << name << ':' << warning.line << ": warning: " << warning.text << '\n';
        }
    }

    const AccessSubject subject(o.account, o.groups);
    Json json = Json::array();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const TargetObject& target = *targets[i];
        if (o.all) {
            if (o.json) {
                json.push_back(AllJson(target));
            } else {
                out << (i > 0 ? "\n" : "");
                PrintAllText(target, out);
            }
            continue;
        }
        const EffectiveAccess access = ComputeEffectiveAccess(*target.Descriptor, subject);
        if (o.json) {
            json.push_back(AccessJson(target, access, subject));
        } else {
            out << (i > 0 ? "\n" : "");
            PrintAccessText(target, access, subject, out);
        }
    }
    if (o.json) {
        out << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    }
    return kSuccess;
}

Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<AccessOptions>();
    command.add_option("FILE", o->file, "Template file; - for standard input")->required();
    command.add_option("--path", o->path, "The target's path")->required();
    CLI::Option* account = command.add_option("--account", o->account, "The account asked about");
    CLI::Option* groups = command.add_option("--member-of", o->groups,
                                             "A group the account is a member of (repeatable)");
    CLI::Option* all = command.add_flag(
        "--all", o->all, "The standard permissions of every account the target's entries name");
    all->excludes(account)->excludes(groups);
    command.add_flag("--json", o->json, "The result as JSON");
    command.callback([account, all] {
        if (account->count() == 0 && all->count() == 0) {
            throw CLI::RequiredError("--account or --all");
        }
    });
    return [o, io] { return RunAccess(*o, io.in, io.out, io.err); };
}

} // namespace

const Command kAccess = {
    "access",
    "What an account can do on a target's folder, subfolders and files, and which entries "
    "decide it",
    "  permora-cli access security.conf --path /vol/vol2 --account 'LAB\\bob' --member-of "
    "'LAB\\staff'\n"
    "  permora-cli access security.conf --path /vol/vol2 --all --json\n",
    "  0  answered\n"
    "  1  the file has errors\n",
    false,
    Define,
};

} // namespace permora::cli
