// revoke: takes an account's entries off the targets a --path chooses.

#include "cli/command.h"
#include "cli/common.h"
#include "cli/edit.h"
#include "model/checks.h"
#include "model/entry_ops.h"
#include "model/template_ops.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace permora::cli {

namespace {

struct RevokeOptions {
    TargetEdit target;
    std::vector<std::string> accounts;
    std::string accountList; // --accounts
    bool allow = false;
    bool deny = false;
    bool audit = false;
};

// The accounts of a list, one a line: blanks around each taken away, blank lines and lines
// beginning with "#" passed over.
bool ReadAccountList(const std::string& path, std::istream& in, std::vector<std::string>& into,
                     std::ostream& err) {
    std::ifstream file;
    std::istream* from = &in;
    if (!IsStandardInput(path)) {
        file.open(path);
        if (!file) {
            Complain(err, path + ": cannot read the list of accounts");
            return false;
        }
        from = &file;
    }
    std::string line;
    while (std::getline(*from, line)) {
        std::string account = TrimBlanks(line);
        if (!account.empty() && !account.starts_with('#')) {
            into.push_back(std::move(account));
        }
    }
    return true;
}

int Revoke(const RevokeOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    EntryKinds kinds;
    if (o.allow || o.deny || o.audit) {
        kinds = {o.allow, o.deny, o.audit};
    }
    std::vector<std::string> accounts = o.accounts;
    if (!o.accountList.empty() && !ReadAccountList(o.accountList, in, accounts, err)) {
        return kFileFailed;
    }
    if (accounts.empty()) {
        Complain(err, "revoke: an ACCOUNT or --accounts with an account is required");
        return kUsage;
    }
    return EditTargets(o.target, out, err, [&](SecurityTemplate& tmpl, std::ostream& said) {
        if (!ReachesTargets(tmpl, o.target, err)) {
            return EndWith(kUsage);
        }
        const TargetScope scope = TargetsMatchingAny(o.target.paths);
        std::vector<TargetObject*> changed;
        EntryChange total;
        std::vector<std::string> missing;
        for (const std::string& account : accounts) {
            std::vector<TargetObject*> touched;
            const EntryChange change =
                RemoveAccountFromTargets(tmpl, account, kinds, scope, &touched);
            if (change.targets == 0) {
                missing.push_back(account);
            }
            total.entries += change.entries;
            total.allow += change.allow;
            total.deny += change.deny;
            total.audit += change.audit;
            for (TargetObject* t : touched) {
                if (std::find(changed.begin(), changed.end(), t) == changed.end()) {
                    changed.push_back(t);
                }
            }
        }
        if (missing.size() == accounts.size()) {
            std::string names = missing.front();
            for (std::size_t i = 1; i < missing.size(); ++i) {
                names += (i + 1 == missing.size() ? " or " : ", ") + missing[i];
            }
            Complain(err, o.target.edit.file + ": " + NothingSelected(o.target.paths, names));
            return EndWith(kUsage);
        }
        for (const std::string& account : missing) {
            Complain(err, o.target.edit.file + ": " + NothingSelected(o.target.paths, account));
        }
        if (!missing.empty() && !o.target.ignoreMissing) {
            Complain(err, o.target.edit.file +
                              ": nothing was written (--ignore-missing goes on without what "
                              "matches nothing)");
            return EndWith(kUsage);
        }
        said << Plural(total.entries, "entry", "entries") << " (" << total.allow << " allow, "
             << total.deny << " deny, " << total.audit << " audit) in "
             << Plural(static_cast<long long>(changed.size()), "target", "targets")
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
    command.add_option("ACCOUNT", o->accounts,
                       "Accounts (any letter case; a well-known account by its alias, SID or "
                       "name)");
    command.add_option("--accounts", o->accountList,
                       "Also the accounts of this list, one a line; - for standard input");
    command.add_flag("--allow", o->allow, "Its allow entries (without a choice: allow and deny)");
    command.add_flag("--deny", o->deny, "Its deny entries (without a choice: allow and deny)");
    command.add_flag("--audit", o->audit, "Its audit entries (taken only when asked for)");
    command.add_option("--path", o->target.paths,
                       "Only targets whose path matches this pattern (repeatable; all without)");
    return [o, io] { return Revoke(*o, io.in, io.out, io.err); };
}

} // namespace

const Command kRevoke = {
    "revoke",
    "Take an account's allow and deny entries (or those chosen) off targets",
    "  permora-cli revoke security.conf 'LAB\\olduser' 'LAB\\leaver'\n"
    "  permora-cli revoke security.conf --accounts leavers.txt --audit --allow --deny\n"
    "  permora-cli revoke security.conf 'LAB\\guest' --deny --path '/vol/proj/*' --dry-run\n",
    "  0  revoked\n"
    "  1  the template has errors: nothing written\n",
    true,
    Define,
};

} // namespace permora::cli
