// Reading a template, changing it and writing it back, with the file locked throughout.

#include "cli/edit.h"

#include "template_file/follow_links.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace permora::cli {

namespace edit_detail {
std::function<void()> afterRead;
} // namespace edit_detail

namespace {

// Whether the path leads, through any links, to a file that is there; a link to a missing
// file leads to a file that a save creates.
bool LeadsToFile(const std::string& path) {
    std::string target;
    struct stat info {};
    bool exists = false;
    return !FollowLinks(path, target, info, exists) || exists;
}

// How many targets of the file that the command did not change, still in the template, the
// save would give a different meaning.
long long TargetsAltered(const SecurityTemplate& tmpl, const std::vector<const TargetObject*>& read,
                         const std::vector<ReadWarning>& warnings,
                         const std::vector<const TargetObject*>& changed) {
    std::set<const TargetObject*> kept;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
        kept.insert(t);
    }
    for (const TargetObject* t : changed) {
        kept.erase(t);
    }
    std::set<int> altered;
    for (const ReadWarning& warning : warnings) {
        const auto index = static_cast<std::size_t>(warning.target);
        if (index < read.size() && kept.count(read[index]) != 0 &&
            WarningChangesMeaning(warning.text)) {
            altered.insert(warning.target);
        }
    }
    return static_cast<long long>(altered.size());
}

} // namespace

void AddEditOptions(CLI::App& command, EditOptions& options) {
    command.add_option("--output", options.output,
                       "Write the result here instead; - for standard output");
    command.add_flag("--no-wait", options.noWait,
                     "End with status 3 instead of waiting while another process writes the file");
    command.add_flag("--force", options.force,
                     "Write although targets not asked for would change their meaning");
}

namespace {

int Edit(const EditOptions& options, bool createMissing, const ChangeFn& change, std::ostream& said,
         std::ostream& out, std::ostream& err) {
    const bool inPlace = options.output.empty();
    const LockWait wait = options.noWait ? LockWait::No : LockWait::Yes;
    FileLock lock;
    if (inPlace) {
        lock = FileLock::Take(options.file, wait);
        if (lock.Status() == FileLock::State::Busy) {
            Complain(err, options.file + ": the file is being written by another process");
            return kFileFailed;
        }
    }
    const bool exists =
        lock.Status() == FileLock::State::Held ? lock.Exists() : LeadsToFile(options.file);
    SecurityTemplate tmpl;
    std::vector<ReadWarning> warnings;
    if (exists || !createMissing) {
        const int status =
            LoadWhole(options.file, tmpl, err, nullptr, "; nothing was written", kFound,
                      [&warnings](const ReadWarning& warning) { warnings.push_back(warning); });
        if (status != kSuccess) {
            return status;
        }
    }
    std::vector<const TargetObject*> read; // by position, as the warnings name them
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
        read.push_back(t);
    }
    if (edit_detail::afterRead) {
        edit_detail::afterRead();
    }

    const Change changed = change(tmpl, exists, said);
    if (changed.status != kSuccess || !changed.write || options.dryRun) {
        return changed.status;
    }
    for (const ReadWarning& warning : warnings) {
        err << options.file << ':' << warning.line << ": warning: " << warning.text << '\n';
    }
    // A warning after the last target is about the file itself: what stands after U+001A,
    // which the save would lose.
    const bool tailLost = std::any_of(warnings.begin(), warnings.end(), [&](const ReadWarning& w) {
        return static_cast<std::size_t>(w.target) >= read.size() && WarningChangesMeaning(w.text);
    });
    if (tailLost && !options.force) {
        Complain(err, options.file + ": what the file holds after U+001A would be lost; nothing "
                                     "was written (--force writes anyway)");
        return kFound;
    }
    const long long altered = TargetsAltered(tmpl, read, warnings, changed.changed);
    if (altered > 0 && !options.force) {
        Complain(err, options.file + ": " +
                          Plural(altered, "target that was not to change",
                                 "targets that were not to change") +
                          " would be saved with a different meaning; nothing was written "
                          "(--force writes anyway)");
        return kFound;
    }
    const Encoding encoding = EncodingOf(options.file);
    if (IsStandardOutput(options.output)) {
        return WriteToOutput(tmpl, encoding, out, err);
    }
    int reason = 0;
    if (!inPlace) {
        const SaveStatus status = SaveTemplate(options.output, tmpl, encoding, wait, &reason);
        return SaveResult(options.output, status, err, reason);
    }
    const SaveStatus status = SaveTemplate(options.file, tmpl, encoding, lock, &reason);
    return SaveResult(options.file, status, err, reason);
}

} // namespace

int EditTemplate(const EditOptions& options, bool createMissing, const ChangeFn& change,
                 std::ostream& out, std::ostream& err) {
    std::ostringstream said;
    const int status = Edit(options, createMissing, change, said, out, err);
    if (status == kSuccess) {
        SummaryStream(options.output, out, err) << said.str();
    }
    return status;
}

void AddTargetEditOptions(CLI::App& command, TargetEdit& options) {
    command.add_option("TEMPLATE", options.edit.file, "Template file")->required();
    command.add_flag("--dry-run", options.edit.dryRun, "Say what would change; write nothing");
    AddEditOptions(command, options.edit);
}

int EditTargets(const TargetEdit& options, std::ostream& out, std::ostream& err,
                const std::function<Change(SecurityTemplate& tmpl, std::ostream& said)>& change) {
    return EditTemplate(
        options.edit, false,
        [&](SecurityTemplate& tmpl, bool, std::ostream& said) {
            Change made = change(tmpl, said);
            made.write = made.write || !options.edit.output.empty();
            return made;
        },
        out, err);
}

bool ReachesTargets(const SecurityTemplate& tmpl, const TargetEdit& options, std::ostream& err) {
    const TargetScope scope = TargetsMatchingAny(options.paths);
    int index = 0;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next, ++index) {
        if (t->SecurityStyle == kStyleNtfs && scope(*t, index)) {
            return true;
        }
    }
    Complain(err, options.edit.file + ": " +
                      (options.paths.empty()
                           ? std::string("no NTFS target")
                           : NothingSelected(options.paths, {}) + " of the NTFS style"));
    return false;
}

const char* Would(const EditOptions& options, const char* done, const char* would) {
    return options.dryRun ? would : done;
}

std::vector<const TargetObject*> AsConst(const std::vector<TargetObject*>& targets) {
    return {targets.begin(), targets.end()};
}

} // namespace permora::cli
