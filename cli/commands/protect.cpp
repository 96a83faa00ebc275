// protect and unprotect: set or clear the protected mark of the targets' permission lists
// (or, with --audit, of their auditing lists), so that they inherit nothing.

#include "cli/command.h"
#include "cli/common.h"
#include "cli/edit.h"
#include "model/template_ops.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace permora::cli {

namespace {

struct ProtectOptions {
    TargetEdit target;
    bool audit = false;
};

int Mark(const ProtectOptions& o, bool protect, std::ostream& out, std::ostream& err) {
    const std::uint16_t present = o.audit ? SE_SACL_PRESENT : SE_DACL_PRESENT;
    const std::uint16_t mark = o.audit ? SE_SACL_PROTECTED : SE_DACL_PROTECTED;
    return EditTargets(o.target, out, err, [&](SecurityTemplate& tmpl, std::ostream& said) {
        if (!ReachesTargets(tmpl, o.target, err)) {
            return EndWith(kUsage);
        }
        // A protected permission list made where there was none would hold nothing.
        if (protect && !o.audit && !o.target.edit.force &&
            RefusesNewPermissionList(tmpl, o.target, err,
                                     "a new protected permission list would hold no entry and "
                                     "take every access away")) {
            return EndWith(kFound);
        }
        const TargetScope scope = TargetsMatchingAny(o.target.paths);
        std::vector<const TargetObject*> changed;
        int index = 0;
        for (TargetObject* t = tmpl.Head; t != nullptr; t = t->Next, ++index) {
            if (t->SecurityStyle != kStyleNtfs || !t->Descriptor || !scope(*t, index)) {
                continue;
            }
            std::uint16_t& control = t->Descriptor->Control;
            const std::uint16_t before = control;
            if (protect) {
                control |= present | mark;
            } else {
                control &= static_cast<std::uint16_t>(~mark);
            }
            if (control != before) {
                changed.push_back(t);
            }
        }
        said << Plural(static_cast<long long>(changed.size()), "target", "targets")
             << Would(o.target.edit, " changed\n", " would change\n");
        Change made;
        made.write = !changed.empty();
        made.changed = std::move(changed);
        return made;
    });
}

template <bool Protect> Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<ProtectOptions>();
    AddTargetEditOptions(command, o->target);
    command.add_flag("--audit", o->audit, "The auditing list instead of the permission list");
    command.add_option("--path", o->target.paths,
                       "Only targets whose path matches this pattern (repeatable; all without)");
    return [o, io] { return Mark(*o, Protect, io.out, io.err); };
}

} // namespace

const Command kProtect = {
    "protect",
    "Mark the targets' permission lists (or auditing lists) protected: they inherit nothing",
    "  permora-cli protect security.conf --path /vol/proj/secret\n"
    "  permora-cli protect security.conf --audit --path '/vol/hr/*'\n",
    "  0  protected (or every target already was)\n"
    "  1  a target has no permission list, or the template has errors: nothing written\n",
    true,
    Define<true>,
};

const Command kUnprotect = {
    "unprotect",
    "Clear the protected mark of the targets' permission lists (or auditing lists)",
    "  permora-cli unprotect security.conf --path /vol/proj/secret\n",
    "  0  unprotected (or no target was protected)\n"
    "  1  the template has errors: nothing written\n",
    true,
    Define<false>,
};

} // namespace permora::cli
