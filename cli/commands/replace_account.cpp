// replace-account: renames an account in every entry, merging as the editor does.

#include "cli/command.h"
#include "cli/common.h"
#include "cli/edit.h"
#include "model/checks.h"
#include "model/template_ops.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace permora::cli {

namespace {

struct ReplaceOptions {
    EditOptions edit;
    std::string oldName;
    std::string newName;
    std::string path;
};

int ReplaceAccountCommand(const ReplaceOptions& o, std::ostream& out, std::ostream& err) {
    if (!IsValidAccountName(o.newName)) {
        Complain(err, InvalidAccountText(o.newName));
        return kUsage;
    }
    return EditTemplate(
        o.edit, false,
        [&](SecurityTemplate& tmpl, bool, std::ostream& said) {
            Change change;
            if (o.oldName == o.newName) {
                said << "0 entries in 0 targets changed\n";
                change.write = !o.edit.output.empty();
                return change;
            }
            const TargetScope scope = o.path.empty() ? AllTargets() : TargetsMatching(o.path);
            const AccountReplacement result = ReplaceAccount(
                tmpl, o.oldName, o.newName, scope,
                [&change](TargetObject& target, int) { change.changed.push_back(&target); });
            if (result.targets == 0) {
                bool anyInScope = o.path.empty();
                int index = 0;
                for (const TargetObject* t = tmpl.Head; t != nullptr && !anyInScope; t = t->Next) {
                    anyInScope = scope(*t, index++);
                }
                const std::vector<std::string> paths =
                    o.path.empty() ? std::vector<std::string>{} : std::vector<std::string>{o.path};
                Complain(err,
                         o.edit.file + ": " + NothingSelected(paths, anyInScope ? o.oldName : ""));
                return EndWith(kUsage);
            }
            said << Plural(result.entries, "entry", "entries") << " in "
                 << Plural(result.targets, "target", "targets")
                 << Would(o.edit, " changed\n", " would change\n");
            change.write = true;
            return change;
        },
        out, err);
}

Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<ReplaceOptions>();
    command.add_option("TEMPLATE", o->edit.file, "Template file")->required();
    command.add_option("OLD", o->oldName, "Account to rename (any letter case)")->required();
    command.add_option("NEW", o->newName, "New account name")->required();
    command.add_option("--path", o->path, "Only targets whose path matches this pattern");
    command.add_flag(
        "--dry-run", o->edit.dryRun,
        "Print each target that would change, before and after, and the counts; write nothing");
    AddEditOptions(command, o->edit);
    return [o, io] { return ReplaceAccountCommand(*o, io.out, io.err); };
}

} // namespace

const Command kReplaceAccount = {
    "replace-account",
    "Rename an account in every entry, merging as the editor does",
    "  permora-cli replace-account security.conf 'LAB\\olduser' 'LAB\\newuser'\n"
    "  permora-cli replace-account security.conf bob carol --path '/vol/proj/*' --dry-run\n",
    "  0  renamed\n"
    "  1  the template has errors: nothing written\n",
    true,
    Define,
};

} // namespace permora::cli
