// revoke: takes an account's entries off the targets a --path chooses.

#include "cli/command.h"
#include "cli/common.h"
#include "cli/edit.h"
#include "model/entry_ops.h"
#include "model/template_ops.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace permora::cli {

namespace {

struct RevokeOptions {
    TargetEdit target;
    std::string account;
    bool allow = false;
    bool deny = false;
    bool audit = false;
};

int Revoke(const RevokeOptions& o, std::ostream& out, std::ostream& err) {
    EntryKinds kinds;
    if (o.allow || o.deny || o.audit) {
        kinds = {o.allow, o.deny, o.audit};
    }
    return EditTargets(o.target, out, err, [&](SecurityTemplate& tmpl, std::ostream& said) {
        if (!ReachesTargets(tmpl, o.target, err)) {
            return EndWith(kUsage);
        }
        std::vector<TargetObject*> changed;
        const EntryChange change = RemoveAccountFromTargets(
            tmpl, o.account, kinds, TargetsMatchingAny(o.target.paths), &changed);
        if (change.targets == 0) {
            Complain(err, o.target.edit.file + ": " + NothingSelected(o.target.paths, o.account));
            return EndWith(kUsage);
        }
        said << Plural(change.entries, "entry", "entries") << " in "
             << Plural(change.targets, "target", "targets")
             << Would(o.target.edit, " removed\n", " would be removed\n");
        Change made;
        made.write = true;
        made.changed = AsConst(changed);
        return made;
    });
}

Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<RevokeOptions>();
    AddTargetEditOptions(command, o->target);
    command.add_option("ACCOUNT", o->account, "Account (any letter case)")->required();
    command.add_flag("--allow", o->allow, "Only its allow entries");
    command.add_flag("--deny", o->deny, "Only its deny entries");
    command.add_flag("--audit", o->audit, "Only its audit entries");
    command.add_option("--path", o->target.paths,
                       "Only targets whose path matches this pattern (repeatable; all without)");
    return [o, io] { return Revoke(*o, io.out, io.err); };
}

} // namespace

const Command kRevoke = {
    "revoke",
    "Take an account's entries off targets",
    "  permora-cli revoke security.conf 'LAB\\olduser'\n"
    "  permora-cli revoke security.conf 'LAB\\guest' --deny --path '/vol/proj/*' --dry-run\n",
    "  0  revoked\n"
    "  1  the template has errors: nothing written\n",
    true,
    Define,
};

} // namespace permora::cli
