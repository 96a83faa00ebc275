// add: appends one target per path of a list, with the descriptor of a target or of a text,
// and with each path's own account in place of a stand-in.

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

struct AddOptions {
    EditOptions edit;
    std::string paths;
    std::string like;
    std::string sddl;
    bool hasLike = false;
    bool hasSddl = false;
    int level = kLevelFileDirectory;
    std::string standIn;        // --for
    std::string accountPattern; // --account
    bool allowAliases = false;
};

constexpr const char* kNeitherPart = reader_message::kNoParts;

bool HoldsAPart(const SecurityDescriptor& descriptor) {
    return (descriptor.Control & (SE_SACL_PRESENT | SE_DACL_PRESENT)) != 0;
}

// The descriptor of the new targets from --sddl: read as the descriptor field of an NTFS
// target's line, and only when it reads without a message, holds a part, and would read
// back from the line it makes. Its warnings are printed; one that changes what the text
// says refuses it unless forced. Sets status when it gives nothing.
std::unique_ptr<SecurityDescriptor> DescriptorFromText(const std::string& text, bool force,
                                                       std::ostream& err, int& status) {
    status = kUsage;
    std::vector<std::string> messages;
    std::vector<std::string> warnings;
    const MessageSink sink = [&](const std::string& m) { messages.push_back(m); };
    const DetailSink detailed = [&](const std::string& m, const std::string& detail) {
        messages.push_back(detail.empty() ? m : m + ": " + detail);
    };
    const WarningSink warn = [&](const std::string& w) { warnings.push_back(w); };
    TargetObject probe("/vol/probe", std::make_unique<SecurityDescriptor>());
    const bool fits = text.find_first_of("\"\r\n") == std::string::npos;
    if (!fits ||
        ReadTargetLineDetailed("1,0,\"/vol/probe\",0,\"" + text + "\"", probe, detailed, warn) ==
            ReadStatus::Failed ||
        !messages.empty() || !HoldsAPart(*probe.Descriptor)) {
        if (fits && messages.empty()) {
            messages.emplace_back(kNeitherPart);
        }
        for (const std::string& m : messages) {
            err << "--sddl: " << m << '\n';
        }
        Complain(err, "--sddl: the descriptor cannot be read");
        return nullptr;
    }
    TargetObject back("", std::make_unique<SecurityDescriptor>());
    if (ReadTargetLine(ToLine(probe), back, sink) == ReadStatus::Failed || !messages.empty()) {
        Complain(err, "--sddl: the descriptor would not read back from a template file");
        return nullptr;
    }
    bool altered = false;
    for (const std::string& w : warnings) {
        err << "--sddl: warning: " << w << '\n';
        altered = altered || WarningChangesMeaning(w);
    }
    if (altered && !force) {
        Complain(err, "--sddl: the descriptor would be saved with a different meaning; nothing "
                      "was written (--force writes anyway)");
        status = kFound;
        return nullptr;
    }
    return std::move(probe.Descriptor);
}

// What add makes of the template: the new targets, or the status that ends it.
Change AddTo(const AddOptions& o, SecurityTemplate& tmpl, bool exists, std::istream& in,
             std::ostream& out, std::ostream& err) {
    std::unique_ptr<SecurityDescriptor> like;
    if (o.hasLike) {
        const TargetObject* found = nullptr;
        for (const TargetObject* t = tmpl.Head; t != nullptr && found == nullptr; t = t->Next) {
            if (t->Path == o.like) {
                found = t;
            }
        }
        if (found == nullptr) {
            Complain(err, "--like: no target has the path " + o.like);
            return EndWith(kUsage);
        }
        if (found->SecurityStyle != kStyleNtfs || !found->Descriptor) {
            Complain(err, "--like: the target " + o.like + " is not an NTFS target");
            return EndWith(kUsage);
        }
        if (!HoldsAPart(*found->Descriptor)) {
            err << "--like: " << kNeitherPart << '\n';
            Complain(err, "--like: the target " + o.like + " has no descriptor to copy");
            return EndWith(kUsage);
        }
        like = found->Descriptor->Clone();
    } else if (o.hasSddl) {
        int status = kSuccess;
        like = DescriptorFromText(o.sddl, o.edit.force, err, status);
        if (!like) {
            return EndWith(status);
        }
    }

    if (!o.standIn.empty()) {
        if (!HoldsStandIn(like.get(), o.standIn)) {
            Complain(err, "--for: the descriptor has no entry of " + o.standIn);
            return EndWith(kUsage);
        }
    } else if (!o.accountPattern.empty()) {
        Complain(err, "--account: needs --for, the stand-in account to replace");
        return EndWith(kUsage);
    }

    PathList list;
    if (const int read = ReadPaths(o.paths, in, &tmpl, list, err); read != kSuccess) {
        return EndWith(read);
    }
    const std::string name = IsStandardInput(o.paths) ? "<stdin>" : o.paths;
    // An empty list is most often a command before the pipe that failed.
    if (list.paths.empty() && list.skipped == 0 && list.invalid.empty()) {
        Complain(err, name + ": the list holds no path; nothing was written");
        return EndWith(kUsage);
    }
    if (o.standIn.empty() && HasAccounts(list)) {
        Complain(err, name + ": accounts beside the paths need --for, the stand-in account to "
                             "replace");
        return EndWith(kUsage);
    }
    if (!o.standIn.empty()) {
        RequireAccounts(list, o.accountPattern);
        if (!o.allowAliases) {
            RefuseWellKnownAccounts(list);
        }
    }
    // Every line that keeps the list from being added, in line order.
    if (!list.invalid.empty()) {
        bool pathsOnly = true;
        for (const InvalidPathLine& line : list.invalid) {
            err << name << ':' << line.line << ": ";
            if (line.noAccount) {
                err << "no account for " << line.text << " (give one after a tab, or --account)\n";
            } else if (line.wellKnown) {
                err << "the account " << line.text
                    << " is a well-known account or a bare SID, not one user "
                       "(--allow-aliases takes it)\n";
            } else if (line.account) {
                err << InvalidAccountText(line.text) << '\n';
            } else {
                err << "Invalid File Path: \"" << line.text << "\" (" << PathProblem(line.text)
                    << ")\n";
            }
            pathsOnly = pathsOnly && !line.noAccount && !line.account && !line.wellKnown;
        }
        const std::string count = Plural(static_cast<long long>(list.invalid.size()),
                                         pathsOnly ? "invalid path" : "invalid line",
                                         pathsOnly ? "invalid paths" : "invalid lines");
        Complain(
            err,
            count +
                (list.invalid.size() < kMostInvalidPaths ? "" : " (the list was read no further)") +
                "; nothing was written");
        return EndWith(kFound);
    }

    // The new paths that repeat a target's (or an earlier line's) resolved path, or have
    // "." or ".." segments, are added all the same, with a word.
    PathRepeats repeats;
    int position = 0;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
        (void)repeats.Take(o.edit.file + " (target " + std::to_string(++position) + ")", t->Path,
                           t->SecurityLevel);
    }
    for (std::size_t i = 0; i < list.paths.size(); ++i) {
        const std::string where = name + ':' + std::to_string(list.lines[i]);
        for (const std::string& warning : repeats.Take(where, list.paths[i], o.level)) {
            err << where << ": warning: " << warning << '\n';
        }
    }
    AppendTargets(tmpl, list.paths, o.level, like.get(), o.standIn, &list.accounts);
    out << Would(o.edit, "added ", "would add ")
        << Plural(static_cast<long long>(list.paths.size()), "target", "targets") << ", skipped "
        << list.skipped << " already present\n";
    // A template that gains nothing is left as it is, unless it is to be written elsewhere
    // or does not exist yet.
    Change change;
    change.write = !list.paths.empty() || !o.edit.output.empty() || !exists;
    return change;
}

int Add(const AddOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    return EditTemplate(
        o.edit, true,
        [&](SecurityTemplate& tmpl, bool exists, std::ostream& said) {
            return AddTo(o, tmpl, exists, in, said, err);
        },
        out, err);
}

Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<AddOptions>();
    command.add_option("TEMPLATE", o->edit.file, "Template file, created when missing")->required();
    command.add_option("--paths", o->paths, "List of paths, one a line; - for standard input")
        ->required();
    CLI::Option* like =
        command.add_option("--like", o->like, "Copy the descriptor of the target with this path");
    CLI::Option* sddl =
        command.add_option("--sddl", o->sddl, "The descriptor as a template line writes it");
    like->excludes(sddl);
    command.add_option("--level", o->level, "0 File/Directory (the default), 1 Storage")
        ->check(CLI::Range(0, 1));
    command.add_flag("--dry-run", o->edit.dryRun,
                     "Print each target that would be added, and the counts; write nothing");
    AddEditOptions(command, o->edit);
    command.add_option("--for", o->standIn,
                       "The stand-in account of the descriptor: each new target gets it "
                       "replaced by the path's account, merging as replace-account does");
    command.add_option("--account", o->accountPattern,
                       "The account of paths without one after a tab; {name} is the path's "
                       "last component (LAB\\{name})");
    command.add_flag("--allow-aliases", o->allowAliases,
                     "Take a well-known account (WD, Everyone, BA, ...) or a bare SID as a "
                     "path's account");
    return [o, io, like, sddl] {
        o->hasLike = like->count() > 0;
        o->hasSddl = sddl->count() > 0;
        return Add(*o, io.in, io.out, io.err);
    };
}

} // namespace

const Command kAdd = {
    "add",
    "Append one target per path of a list",
    "  ls /vol/home | sed 's|^|/vol/home/|' | permora-cli add security.conf --paths - --like "
    "/vol/home/model\n"
    "  permora-cli add security.conf --paths homes.txt --like /vol/home/model --for OWNER "
    "--account 'LAB\\{name}'\n",
    "  0  added (or nothing to add)\n"
    "  1  a line of the list is invalid, or the template has errors: nothing written\n",
    true,
    Define,
};

} // namespace permora::cli
