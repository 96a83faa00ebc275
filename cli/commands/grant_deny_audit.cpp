// grant, deny and audit: one command under three names, entering an entry of an account on
// the targets a --path chooses, merged as the editor merges.

#include "cli/command.h"
#include "cli/common.h"
#include "cli/edit.h"
#include "model/checks.h"
#include "model/entry_ops.h"
#include "model/names.h"
#include "model/template_ops.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace permora::cli {

namespace {

struct EntryOptions {
    TargetEdit target;
    std::string account;
    std::string rights;
    std::string applyTo;
    bool success = false;
    bool failure = false;
    bool both = false;
    bool replace = false; // grant --replace
};

// RIGHTS: a standard permission's name, right codes or a mask.
bool ReadRights(const std::string& text, std::uint8_t type, EntryRights& rights,
                std::ostream& err) {
    if (const auto standard = StandardPermission(text, type)) {
        rights = *standard;
        return true;
    }
    if (const auto named = PermissionMask(text)) {
        rights = {*named, kDefaultFlags};
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
    std::string rightNames;
    for (const std::string& name : PermissionMaskNames()) {
        if (!StandardPermission(name, type)) {
            rightNames += (rightNames.empty() ? "\"" : ", \"") + name + "\"";
        }
    }
    Complain(err, "RIGHTS: " + text + " is neither a permission name (" + names +
                      "), a name show prints (" + rightNames +
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
    return EditTargets(o.target, out, err, [&](SecurityTemplate& tmpl, std::ostream& said) {
        if (!ReachesTargets(tmpl, o.target, err)) {
            return EndWith(kUsage);
        }
        if (type != kAuditType && !o.target.edit.force &&
            RefusesNewPermissionList(tmpl, o.target, err)) {
            return EndWith(kFound);
        }
        std::vector<TargetObject*> changed;
        const TargetScope scope = TargetsMatchingAny(o.target.paths);
        EntryChange replaced;
        if (o.replace) {
            replaced =
                RemoveAccountFromTargets(tmpl, o.account, {true, false, false}, scope, &changed);
        }
        std::vector<TargetObject*> granted;
        EntryChange change = AddEntryToTargets(tmpl, entry, scope, &granted);
        for (TargetObject* t : granted) {
            if (std::find(changed.begin(), changed.end(), t) == changed.end()) {
                changed.push_back(t);
            }
        }
        if (o.replace) {
            said << Plural(replaced.allow, "allow entry", "allow entries") << " of " << o.account
                 << Would(o.target.edit, " removed\n", " would be removed\n");
            change.targets = static_cast<int>(changed.size());
        }
        said << ToSddl(entry) << ": " << Plural(change.targets, "target", "targets")
             << Would(o.target.edit, " changed\n", " would change\n");
        Change made;
        made.write = change.targets > 0;
        made.changed = AsConst(changed);
        return made;
    });
}

void AddEntryOptions(CLI::App& command, EntryOptions& o) {
    AddTargetEditOptions(command, o.target);
    command.add_option("ACCOUNT", o.account, "Account, DOMAIN\\NAME or NAME")->required();
    command
        .add_option("RIGHTS", o.rights,
                    "A permission name as the editor shows it (\"Full Control\", \"Modify\", "
                    "\"Read and Execute\", \"List Folder Contents\", \"Read\", \"Write\"), a "
                    "name show prints (\"Delete\", \"Read, Write & Execute\", ...), right codes "
                    "(FA, FRFX) or a mask (0x1200a9)")
        ->required();
    command.add_option("--apply-to", o.applyTo,
                       "Where the entry reaches: an Apply To text of the editor (\"This folder "
                       "only\", \"This folder, subfolders and files\", \"This folder and "
                       "subfolders\", \"This folder and files\", \"Subfolders and files only\", "
                       "\"Subfolders only\", \"Files only\") or flags (OICI, CIIO, -)");
    command.add_option("--path", o.target.paths,
                       "Only targets whose path matches this pattern (repeatable; all without)");
}

template <std::uint8_t Type> Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<EntryOptions>();
    AddEntryOptions(command, *o);
    if constexpr (Type == kAllowType) {
        command.add_flag("--replace", o->replace,
                         "First take away every allow entry of the account on those targets "
                         "(Modify reduced to Read), in the same save");
    }
    if constexpr (Type == kAuditType) {
        CLI::Option* success = command.add_flag("--success", o->success, "Audit success");
        CLI::Option* failure = command.add_flag("--failure", o->failure, "Audit failure");
        CLI::Option* both = command.add_flag("--both", o->both, "Audit both");
        success->excludes(failure)->excludes(both);
        failure->excludes(both);
    }
    return [o, io] { return EnterEntry(*o, Type, io.out, io.err); };
}

} // namespace

const Command kGrant = {
    "grant",
    "Allow an account rights on targets, merging as the editor does",
    "  permora-cli grant security.conf 'LAB\\bob' Modify --path /vol/home/bob\n"
    "  permora-cli grant security.conf 'LAB\\ops' FRFX --apply-to 'This folder only'\n",
    "  0  granted (or every target already allowed it)\n"
    "  1  the template has errors: nothing written\n",
    true,
    Define<kAllowType>,
};

const Command kDeny = {
    "deny",
    "Deny an account rights on targets, merging as the editor does",
    "  permora-cli deny security.conf 'LAB\\guest' 'Full Control' --path '/vol/proj/*'\n"
    "  permora-cli deny security.conf 'LAB\\guest' 0x10000 --apply-to CIIO\n",
    "  0  denied (or every target already denied it)\n"
    "  1  the template has errors: nothing written\n",
    true,
    Define<kDenyType>,
};

const Command kAudit = {
    "audit",
    "Audit an account's use of rights on targets",
    "  permora-cli audit security.conf Everyone Write --failure\n"
    "  permora-cli audit security.conf 'LAB\\admins' 'Full Control' --both --path /vol/vol2\n",
    "  0  audited (or every target already audited it)\n"
    "  1  the template has errors: nothing written\n",
    true,
    Define<kAuditType>,
};

} // namespace permora::cli
