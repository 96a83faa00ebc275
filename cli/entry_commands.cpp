// grant, deny, audit, revoke and remove.

#include "cli/entry_commands.h"

#include "cli/commands.h"
#include "cli/edit.h"
#include "model/checks.h"
#include "model/entry_ops.h"
#include "model/names.h"
#include "model/template_ops.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <ostream>
#include <string>
#include <unordered_set>
#include <vector>

namespace permora::cli {

namespace {

struct Common {
    EditOptions edit;
    std::vector<std::string> paths; // --path patterns
};

struct EntryOptions {
    Common common;
    std::string account;
    std::string rights;
    std::string applyTo;
    bool success = false;
    bool failure = false;
    bool both = false;
};

struct RevokeOptions {
    Common common;
    std::string account;
    bool allow = false;
    bool deny = false;
    bool audit = false;
};

struct RemoveOptions {
    Common common;
    std::string pathList; // --paths
};

void AddCommon(CLI::App& command, Common& o) {
    command.add_option("TEMPLATE", o.edit.file, "Template file")->required();
    command.add_flag("--dry-run", o.edit.dryRun, "Say what would change; write nothing");
    AddEditOptions(command, o.edit);
}

void AddPathOption(CLI::App& command, Common& o, const char* what) {
    command.add_option("--path", o.paths, what);
}

// Reads the template, lets change work on it and writes it back (or to --output).
int Edit(const Common& o, std::ostream& out, std::ostream& err,
         const std::function<Change(SecurityTemplate&, std::ostream& said)>& change) {
    return EditTemplate(
        o.edit, false,
        [&](SecurityTemplate& tmpl, bool, std::ostream& said) {
            Change made = change(tmpl, said);
            made.write = made.write || !o.edit.output.empty();
            return made;
        },
        out, err);
}

std::vector<const TargetObject*> AsConst(const std::vector<TargetObject*>& targets) {
    return {targets.begin(), targets.end()};
}

// Whether a scope of --path patterns reaches an NTFS target; says which patterns reach none.
bool ReachesTargets(const SecurityTemplate& tmpl, const Common& o, std::ostream& err) {
    const TargetScope scope = TargetsMatchingAny(o.paths);
    int index = 0;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next, ++index) {
        if (t->SecurityStyle == kStyleNtfs && scope(*t, index)) {
            return true;
        }
    }
    Complain(err, o.edit.file + ": " +
                      (o.paths.empty() ? std::string("no NTFS target")
                                       : NothingSelected(o.paths, {}) + " of the NTFS style"));
    return false;
}

const char* Would(const Common& o, const char* done, const char* would) {
    return o.edit.dryRun ? would : done;
}

// RIGHTS: a standard permission's name, right codes or a mask.
bool ReadRights(const std::string& text, std::uint8_t type, EntryRights& rights,
                std::ostream& err) {
    if (const auto standard = StandardPermission(text, type)) {
        rights = *standard;
        return true;
    }
    std::uint32_t mask = 0;
    if (ReadMaskText(text, mask)) {
        rights = {mask, kDefaultFlags};
        return true;
    }
    std::string names;
    for (const std::string& name : StandardPermissionNames()) {
        names += (names.empty() ? "" : ", ") + name;
    }
    Complain(err, "RIGHTS: " + text + " is neither a permission name (" + names +
                      "), right codes (FA, FRFX) nor a mask (0x1200a9)");
    return false;
}

// --apply-to: an Apply To text of the window or an inheritance flags text.
bool ReadScope(const std::string& text, std::uint8_t& flags, std::ostream& err) {
    const int code = ApplyToCode(text);
    if (code >= 0) {
        flags = static_cast<std::uint8_t>(code);
        return true;
    }
    std::uint8_t read = 0;
    if (text == "-" || (ReadFlagsText(text, read) && (read & kAuditBits) == 0)) {
        flags = text == "-" ? 0 : read;
        return true;
    }
    Complain(err, "--apply-to: " + text +
                      " is neither an Apply To text (\"This folder, subfolders and files\") "
                      "nor inheritance flags (OICI, CIIO, NP; - for none)");
    return false;
}

int EnterEntry(const EntryOptions& o, std::uint8_t type, std::ostream& out, std::ostream& err) {
    if (type == kAuditType && !o.success && !o.failure && !o.both) {
        Complain(err, "audit: one of --success, --failure and --both is required");
        return kUsage;
    }
    if (!IsValidAccountName(o.account)) {
        Complain(err, InvalidAccountText(o.account));
        return kUsage;
    }
    EntryRights rights;
    if (!ReadRights(o.rights, type, rights, err)) {
        return kUsage;
    }
    if (!o.applyTo.empty() && !ReadScope(o.applyTo, rights.flags, err)) {
        return kUsage;
    }
    if (type == kAuditType) {
        rights.flags |=
            (o.success || o.both ? kAuditSuccess : 0) | (o.failure || o.both ? kAuditFailure : 0);
    }
    if (IsMaskEmpty(rights.mask)) {
        Complain(err, "RIGHTS: " + o.rights + " names no right");
        return kUsage;
    }
    const Ace entry(o.account, rights.mask, type, rights.flags);
    return Edit(o.common, out, err, [&](SecurityTemplate& tmpl, std::ostream& said) {
        if (!ReachesTargets(tmpl, o.common, err)) {
            return EndWith(kUsage);
        }
        std::vector<TargetObject*> changed;
        const EntryChange change =
            AddEntryToTargets(tmpl, entry, TargetsMatchingAny(o.common.paths), &changed);
        said << ToSddl(entry) << ": " << Plural(change.targets, "target", "targets")
             << Would(o.common, " changed\n", " would change\n");
        Change made;
        made.write = change.targets > 0;
        made.changed = AsConst(changed);
        return made;
    });
}

int Revoke(const RevokeOptions& o, std::ostream& out, std::ostream& err) {
    EntryKinds kinds;
    if (o.allow || o.deny || o.audit) {
        kinds = {o.allow, o.deny, o.audit};
    }
    return Edit(o.common, out, err, [&](SecurityTemplate& tmpl, std::ostream& said) {
        if (!ReachesTargets(tmpl, o.common, err)) {
            return EndWith(kUsage);
        }
        std::vector<TargetObject*> changed;
        const EntryChange change = RemoveAccountFromTargets(
            tmpl, o.account, kinds, TargetsMatchingAny(o.common.paths), &changed);
        if (change.targets == 0) {
            Complain(err, o.common.edit.file + ": " + NothingSelected(o.common.paths, o.account));
            return EndWith(kUsage);
        }
        said << Plural(change.entries, "entry", "entries") << " in "
             << Plural(change.targets, "target", "targets")
             << Would(o.common, " removed\n", " would be removed\n");
        Change made;
        made.write = true;
        made.changed = AsConst(changed);
        return made;
    });
}

int Remove(const RemoveOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    if (o.common.paths.empty() && o.pathList.empty()) {
        Complain(err, "remove: --path or --paths is required");
        return kUsage;
    }
    std::unordered_set<std::string> listed;
    if (!o.pathList.empty()) {
        PathList list;
        if (const int read = ReadPaths(o.pathList, in, nullptr, list, err); read != kSuccess) {
            return read;
        }
        if (list.invalid.size() >= kMostInvalidPaths) {
            Complain(err, o.pathList + ": " +
                              Plural(static_cast<long long>(list.invalid.size()), "invalid path",
                                     "invalid paths") +
                              " (the list was read no further); nothing was written");
            return kFound;
        }
        for (std::string& path : list.paths) {
            listed.insert(std::move(path));
        }
    }
    return Edit(o.common, out, err, [&](SecurityTemplate& tmpl, std::ostream& said) {
        const TargetScope byPattern = TargetsMatchingAny(o.common.paths);
        std::vector<int> indexes;
        int index = 0;
        for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next, ++index) {
            const bool wanted =
                o.pathList.empty() ? byPattern(*t, index) : listed.count(t->Path) != 0;
            if (wanted) {
                indexes.push_back(index);
            }
        }
        if (indexes.empty()) {
            Complain(err, o.common.edit.file + ": " +
                              (o.pathList.empty() ? NothingSelected(o.common.paths, {})
                                                  : "no target has a path of " + o.pathList));
            return EndWith(kUsage);
        }
        const int removed = tmpl.RemoveMany(std::move(indexes));
        said << Plural(removed, "target", "targets")
             << Would(o.common, " removed\n", " would be removed\n");
        Change made;
        made.write = true;
        return made;
    });
}

} // namespace

struct EntryCommands::State {
    EntryOptions grant;
    EntryOptions deny;
    EntryOptions audit;
    RevokeOptions revoke;
    RemoveOptions remove;
    CLI::App* grantCmd = nullptr;
    CLI::App* denyCmd = nullptr;
    CLI::App* auditCmd = nullptr;
    CLI::App* revokeCmd = nullptr;
    CLI::App* removeCmd = nullptr;
};

namespace {

CLI::App* AddEntryCommand(CLI::App& app, const char* name, const char* description,
                          EntryOptions& o) {
    CLI::App* command = app.add_subcommand(name, description);
    AddCommon(*command, o.common);
    command->add_option("ACCOUNT", o.account, "Account, DOMAIN\\NAME or NAME")->required();
    command
        ->add_option("RIGHTS", o.rights,
                     "A permission name as the editor shows it (\"Full Control\", \"Modify\", "
                     "\"Read and Execute\", \"List Folder Contents\", \"Read\", \"Write\"), "
                     "right codes (FA, FRFX) or a mask (0x1200a9)")
        ->required();
    command->add_option("--apply-to", o.applyTo,
                        "Where the entry reaches: an Apply To text of the editor (\"This folder "
                        "only\", \"Subfolders and files only\", ...) or flags (OICI, CIIO, -)");
    AddPathOption(*command, o.common,
                  "Only targets whose path matches this pattern (repeatable; all without)");
    return command;
}

} // namespace

EntryCommands::EntryCommands(CLI::App& app) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.grantCmd = AddEntryCommand(
        app, "grant", "Allow an account rights on targets, merging as the editor does", s.grant);
    s.denyCmd = AddEntryCommand(
        app, "deny", "Deny an account rights on targets, merging as the editor does", s.deny);
    s.auditCmd =
        AddEntryCommand(app, "audit", "Audit an account's use of rights on targets", s.audit);
    CLI::Option* success = s.auditCmd->add_flag("--success", s.audit.success, "Audit success");
    CLI::Option* failure = s.auditCmd->add_flag("--failure", s.audit.failure, "Audit failure");
    CLI::Option* both = s.auditCmd->add_flag("--both", s.audit.both, "Audit both");
    success->excludes(failure)->excludes(both);
    failure->excludes(both);

    s.revokeCmd = app.add_subcommand("revoke", "Take an account's entries off targets");
    AddCommon(*s.revokeCmd, s.revoke.common);
    s.revokeCmd->add_option("ACCOUNT", s.revoke.account, "Account (any letter case)")->required();
    s.revokeCmd->add_flag("--allow", s.revoke.allow, "Only its allow entries");
    s.revokeCmd->add_flag("--deny", s.revoke.deny, "Only its deny entries");
    s.revokeCmd->add_flag("--audit", s.revoke.audit, "Only its audit entries");
    AddPathOption(*s.revokeCmd, s.revoke.common,
                  "Only targets whose path matches this pattern (repeatable; all without)");

    s.removeCmd = app.add_subcommand("remove", "Take targets out of a template");
    AddCommon(*s.removeCmd, s.remove.common);
    CLI::Option* paths = s.removeCmd->add_option(
        "--path", s.remove.common.paths, "Targets whose path matches this pattern (repeatable)");
    CLI::Option* list = s.removeCmd->add_option(
        "--paths", s.remove.pathList,
        "Targets with a path of this list, one a line; - for standard input");
    paths->excludes(list);
}

EntryCommands::~EntryCommands() = default;

bool EntryCommands::Run(std::istream& in, std::ostream& out, std::ostream& err, int& status) const {
    const State& s = *state_;
    if (s.grantCmd->parsed()) {
        status = EnterEntry(s.grant, kAllowType, out, err);
    } else if (s.denyCmd->parsed()) {
        status = EnterEntry(s.deny, kDenyType, out, err);
    } else if (s.auditCmd->parsed()) {
        status = EnterEntry(s.audit, kAuditType, out, err);
    } else if (s.revokeCmd->parsed()) {
        status = Revoke(s.revoke, out, err);
    } else if (s.removeCmd->parsed()) {
        status = Remove(s.remove, in, out, err);
    } else {
        return false;
    }
    return true;
}

} // namespace permora::cli
