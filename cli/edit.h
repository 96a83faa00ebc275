#pragma once

// The one road of every command that reads a template, changes it and writes it back.

#include "cli/common.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace permora::cli {

// What every editing command takes besides its own options.
struct EditOptions {
    std::string file;
    std::string output; // write the result here instead of in place; - for standard output
    bool noWait = false;
    bool noLock = false; // write without the lock, where the file system cannot lock
    bool force = false;  // write although targets not asked for would change their meaning
    bool dryRun = false; // say what the command would change; save nothing
};

// Adds --output, --no-wait, --no-lock and --force to an editing command.
void AddEditOptions(CLI::App& command, EditOptions& options);

// What a command made of the template it was given.
struct Change {
    int status = kSuccess; // anything else: end with this status and write nothing
    bool write = false;    // false: the file is left as it is
    // The targets of the file that the command was asked to change; what the save does to
    // them is the command's doing. (New targets need not be named.)
    std::vector<const TargetObject*> changed;
};

// A change that ends the command with the status and writes nothing.
inline Change EndWith(int status) {
    Change change;
    change.status = status;
    return change;
}

// exists: whether the file was there (a missing one is an empty template). What the
// command writes to said is printed only when it ends with kSuccess, after the save: on
// standard output, or on standard error when the template itself goes to standard output.
using ChangeFn = std::function<Change(SecurityTemplate& tmpl, bool exists, std::ostream& said)>;

// Reads the template whole, hands it to change and writes the result back in the file's
// own encoding (UTF-16LE for a new file), or to the output file (its bytes on out for
// standard output). Writing in place, the file
// is locked from before the read until after the save, so that another writer waits for it
// (or, with --no-wait, the command ends with status 3) and no change of either is lost. A
// missing file is an error unless createMissing. Before writing, the warnings of the file
// are printed on err, and the file is not written (status 1) when a target that the command
// was not asked to change would be saved with a different meaning (WarningChangesMeaning),
// unless options.force. Nothing is written without the lock (status 3 and the reason when it
// cannot be taken), unless options.noLock, nor over a file that is no longer the one read. A dry
// run stops before all that. Returns the exit status.
int EditTemplate(const EditOptions& options, bool createMissing, const ChangeFn& change,
                 std::ostream& out, std::ostream& err);

// What the commands that edit the entries or targets a --path chooses take (grant, deny,
// audit, revoke, remove).
struct TargetEdit {
    EditOptions edit;
    std::vector<std::string> paths; // --path patterns
    bool ignoreMissing = false;     // go on when some patterns or listed paths match nothing
};

// Adds TEMPLATE, --dry-run, --ignore-missing and the editing options.
void AddTargetEditOptions(CLI::App& command, TargetEdit& options);

// Changes the template in place (or writes it to --output, whether it changed or not).
int EditTargets(const TargetEdit& options, std::ostream& out, std::ostream& err,
                const std::function<Change(SecurityTemplate& tmpl, std::ostream& said)>& change);

// Whether the --path patterns reach an NTFS target, each of them (or, with --ignore-missing,
// any); says on err which patterns reach none.
bool ReachesTargets(const SecurityTemplate& tmpl, const TargetEdit& options, std::ostream& err);

// Names on err each pattern or path that matches no target (of the NTFS style when
// ntfsOnly), with what=the words before it ("the path"). Returns whether the command is to
// end: something matched nothing and --ignore-missing was not given, or nothing matched
// at all.
[[nodiscard]] bool RefuseMissing(const TargetEdit& options, const std::vector<std::string>& missing,
                                 std::size_t asked, const char* style, std::ostream& err);

// Whether an NTFS target the --path patterns reach has no permission list, where an entry
// would make a list of that entry alone and take every other access away: says so on err
// for each such target, and that nothing was written (--force writes anyway).
[[nodiscard]] bool RefusesNewPermissionList(
    const SecurityTemplate& tmpl, const TargetEdit& options, std::ostream& err,
    const char* why = "a new permission list would hold only this entry and take every other "
                      "access away");

// The words of what a command did, or of what it would do in a dry run.
const char* Would(const EditOptions& options, const char* done, const char* would);

std::vector<const TargetObject*> AsConst(const std::vector<TargetObject*>& targets);

namespace edit_detail {
// Runs after the template was read, with the lock held; tests start another writer here.
extern std::function<void()> afterRead;
} // namespace edit_detail

} // namespace permora::cli
