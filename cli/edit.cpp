// Reading a template, changing it and writing it back, with the file locked throughout.

#include "cli/edit.h"

#include "template_file/file_handle.h"
#include "template_file/follow_links.h"
#include "template_file/terminal_text.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <map>
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

// The targets of the file (by position) that the command did not change, still in the
// template, that the save would give a different meaning.
std::set<int> TargetsAltered(const SecurityTemplate& tmpl,
                             const std::vector<const TargetObject*>& read,
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
    return altered;
}

} // namespace

void AddEditOptions(CLI::App& command, EditOptions& options) {
    command.add_option("--output", options.output,
                       "Write the result here instead; - for standard output");
    command.add_flag("--no-wait", options.noWait,
                     "End with status 3 instead of waiting while another process writes the file");
    command.add_flag("--no-lock", options.noLock,
                     "Write without locking the file (for a file system where locks fail)");
    command.add_flag("--force", options.force,
                     "Write although targets not asked for would change their meaning, or a "
                     "new permission list would take every other access away");
}

namespace {

// The lines of every target, by target, for a dry run to compare.
std::vector<std::pair<const TargetObject*, std::string>> LinesOf(const SecurityTemplate& tmpl) {
    std::vector<std::pair<const TargetObject*, std::string>> lines;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
        lines.emplace_back(t, ToLine(*t));
    }
    return lines;
}

// What a dry run would change, as diff prints it: "- " the line before, "+ " the line after,
// target by target in template order (targets taken out first).
std::string LinesChanged(const std::vector<std::pair<const TargetObject*, std::string>>& before,
                         const SecurityTemplate& after) {
    std::map<const TargetObject*, const std::string*> old;
    for (const auto& [target, line] : before) {
        old.emplace(target, &line);
    }
    std::set<const TargetObject*> kept;
    std::string changes;
    for (const TargetObject* t = after.Head; t != nullptr; t = t->Next) {
        kept.insert(t);
        const std::string line = ToLine(*t);
        const auto found = old.find(t);
        if (found == old.end()) {
            changes += "+ " + line + "\n";
        } else if (*found->second != line) {
            changes += "- " + *found->second + "\n+ " + line + "\n";
        }
    }
    std::string removed;
    for (const auto& [target, line] : before) {
        if (kept.count(target) == 0) {
            removed += "- " + line + "\n";
        }
    }
    return removed + changes;
}

// Says why the file to edit could not be locked, as a reading or a save would have said it.
int LockRefused(const EditOptions& options, bool createMissing, const FileLock& lock,
                std::ostream& err) {
    if (lock.Status() == FileLock::State::Busy) {
        return SaveResult(options.file, SaveStatus::Locked, err);
    }
    if (lock.Why() == FileLock::Problem::Lock) {
        return SaveResult(options.file, SaveStatus::LockFailed, err, lock.Error());
    }
    if (createMissing && !LeadsToFile(options.file)) {
        return SaveResult(options.file, SaveStatus::OpenFailed, err, lock.Error());
    }
    LoadResult unread;
    unread.error = lock.Error();
    Complain(err, options.file + ": " + CannotRead(unread));
    return kFileFailed;
}

int Edit(const EditOptions& options, bool createMissing, const ChangeFn& change,
         std::ostringstream& said, std::ostream& out, std::ostream& err) {
    const bool inPlace = options.output.empty();
    const LockOptions locking = CommandLock(options.noWait, options.noLock, err);
    // Written in place, the file is locked before it is read, and read and written through
    // the folder the lock opened.
    FileLock lock;
    if (inPlace) {
        lock = FileLock::Take(options.file, locking);
        if (!lock.Ready()) {
            return LockRefused(options, createMissing, lock, err);
        }
    }
    const bool exists = inPlace ? lock.Exists() : LeadsToFile(options.file);
    SecurityTemplate tmpl;
    std::vector<ReadWarning> warnings;
    const WarningFn keep = [&warnings](const ReadWarning& warning) { warnings.push_back(warning); };
    Encoding encoding = Encoding::Unicode;
    if (inPlace && exists) {
        const FileHandle file(lock.OpenLocked());
        if (!file.Valid()) {
            if (errno == ESTALE || errno == ENOENT) {
                return SaveResult(options.file, SaveStatus::Replaced, err);
            }
            LoadResult unread;
            unread.error = errno;
            Complain(err, options.file + ": " + CannotRead(unread));
            return kFileFailed;
        }
        encoding = EncodingOf(file.Get());
        const int status = LoadWholeOpen(file.Get(), options.file, tmpl, err,
                                         "; nothing was written", kFound, keep);
        if (status != kSuccess) {
            return status;
        }
    } else if (exists || !createMissing) {
        encoding = EncodingOf(options.file);
        const int status =
            LoadWhole(options.file, tmpl, err, nullptr, "; nothing was written", kFound, keep);
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

    std::vector<std::pair<const TargetObject*, std::string>> before;
    if (options.dryRun) {
        before = LinesOf(tmpl);
    }
    const Change changed = change(tmpl, exists, said);
    if (options.dryRun && changed.status == kSuccess) {
        const std::string counts = said.str();
        said.str(LinesChanged(before, tmpl) + counts);
        said.seekp(0, std::ios_base::end);
    }
    if (changed.status != kSuccess || !changed.write || options.dryRun) {
        return changed.status;
    }
    const std::set<int> altered = TargetsAltered(tmpl, read, warnings, changed.changed);
    for (const ReadWarning& warning : warnings) {
        // Which warnings keep the file from being written, unless forced.
        const bool blocks = !options.force && WarningChangesMeaning(warning.text) &&
                            (altered.count(warning.target) != 0 ||
                             static_cast<std::size_t>(warning.target) >= read.size());
        err << options.file << ':' << warning.line << ": warning: " << warning.text
            << (blocks ? " (this keeps the file from being written)" : "") << '\n';
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
    if (!altered.empty() && !options.force) {
        for (const int index : altered) {
            Complain(err, options.file + ": " + read[static_cast<std::size_t>(index)]->Path +
                              ": the target was not to change and would be saved with a "
                              "different meaning");
        }
        Complain(err,
                 options.file + ": " +
                     Plural(static_cast<long long>(altered.size()), "target that was not to change",
                            "targets that were not to change") +
                     " would be saved with a different meaning; nothing was written "
                     "(--force writes anyway)");
        return kFound;
    }
    if (IsStandardOutput(options.output)) {
        return WriteToOutput(tmpl, encoding, out, err);
    }
    int reason = 0;
    if (!inPlace) {
        const SaveStatus status = SaveTemplate(options.output, tmpl, encoding, locking, &reason);
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
        SummaryStream(options.output, out, err) << TerminalText(said.str());
    }
    return status;
}

void AddTargetEditOptions(CLI::App& command, TargetEdit& options) {
    command.add_option("TEMPLATE", options.edit.file, "Template file")->required();
    command.add_flag(
        "--dry-run", options.edit.dryRun,
        "Print each target that would change, before and after, and the counts; write nothing");
    command.add_flag("--ignore-missing", options.ignoreMissing,
                     "Go on when a --path pattern (or a listed path) matches no target");
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
    const auto reaches = [&tmpl](const TargetScope& scope) {
        int index = 0;
        for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next, ++index) {
            if (t->SecurityStyle == kStyleNtfs && scope(*t, index)) {
                return true;
            }
        }
        return false;
    };
    if (options.paths.empty()) {
        if (reaches(AllTargets())) {
            return true;
        }
        Complain(err, options.edit.file + ": no NTFS target");
        return false;
    }
    std::vector<std::string> missing;
    for (const std::string& pattern : options.paths) {
        if (!reaches(TargetsMatching(pattern))) {
            missing.push_back(pattern);
        }
    }
    return !RefuseMissing(options, missing, options.paths.size(), " of the NTFS style", err);
}

bool RefuseMissing(const TargetEdit& options, const std::vector<std::string>& missing,
                   std::size_t asked, const char* style, std::ostream& err) {
    if (missing.empty()) {
        return false;
    }
    if (missing.size() == asked) {
        Complain(err, options.edit.file + ": " + NothingSelected(missing, {}) + style);
        return true;
    }
    for (const std::string& path : missing) {
        Complain(err, options.edit.file + ": no target has the path " + path + style);
    }
    if (options.ignoreMissing) {
        return false;
    }
    Complain(err, options.edit.file +
                      ": nothing was written (--ignore-missing goes on without what matches "
                      "nothing)");
    return true;
}

bool RefusesNewPermissionList(const SecurityTemplate& tmpl, const TargetEdit& options,
                              std::ostream& err, const char* why) {
    const TargetScope scope = TargetsMatchingAny(options.paths);
    bool refused = false;
    int index = 0;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next, ++index) {
        if (t->SecurityStyle == kStyleNtfs && t->Descriptor != nullptr &&
            (t->Descriptor->Control & SE_DACL_PRESENT) == 0 && scope(*t, index)) {
            Complain(err, options.edit.file + ": " + t->Path +
                              ": the target has no permission list: " + why);
            refused = true;
        }
    }
    if (refused) {
        Complain(err, options.edit.file + ": nothing was written (--force writes anyway)");
    }
    return refused;
}

const char* Would(const EditOptions& options, const char* done, const char* would) {
    return options.dryRun ? would : done;
}

std::vector<const TargetObject*> AsConst(const std::vector<TargetObject*>& targets) {
    return {targets.begin(), targets.end()};
}

} // namespace permora::cli
