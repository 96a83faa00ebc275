// permora-cli: the command line and its commands.

#include "cli/cli.h"

#include "cli/access.h"
#include "cli/commands.h"
#include "cli/edit.h"
#include "cli/entry_commands.h"
#include "cli/help.h"
#include "model/checks.h"
#include "model/template_ops.h"
#include "permora_version.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace permora::cli {

namespace {

// ---------------------------------------------------------------------------------------
// check

struct CheckOptions {
    std::vector<std::string> files;
    bool strict = false;
};

int Check(const CheckOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    long long targets = 0;
    long long errors = 0;
    long long warnings = 0;
    bool unreadable = false;
    std::string importStops; // where the editor's Import would stop, file by file
    for (const std::string& file : o.files) {
        SecurityTemplate tmpl;
        const LoadResult loaded = LoadTemplate(file, tmpl, out, &out, &in, {}, true);
        if (!loaded.opened) {
            Complain(err, file + ": " + CannotRead(loaded));
            unreadable = true;
            continue;
        }
        targets += loaded.targets;
        errors += loaded.errors;
        warnings += loaded.warnings;
        if (!loaded.failingLines.empty()) {
            importStops += importStops.empty() ? "" : ", ";
            importStops += (IsStandardInput(file) ? std::string("<stdin>") : file) + ':' +
                           std::to_string(loaded.failingLines.front());
        }
    }
    out << Plural(static_cast<long long>(o.files.size()), "file", "files")
        << " checked: " << Plural(targets, "target", "targets") << " read, "
        << Plural(errors, "error", "errors") << ", " << Plural(warnings, "warning", "warnings");
    if (!importStops.empty()) {
        out << "; the editor's Import stops at the first failing line (" << importStops << ')';
    }
    out << '\n';
    if (unreadable) {
        return kFileFailed;
    }
    return errors > 0 || (o.strict && warnings > 0) ? kFound : kSuccess;
}

// ---------------------------------------------------------------------------------------
// show

struct ShowOptions {
    std::string file;
    std::vector<std::string> paths;
    std::string account;
    std::string format = "text";
    bool json = false;
};

int Show(const ShowOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    SecurityTemplate tmpl;
    const LoadResult loaded = LoadTemplate(o.file, tmpl, err, nullptr, &in);
    if (!loaded.opened) {
        Complain(err, o.file + ": " + CannotRead(loaded));
        return kFileFailed;
    }
    if (!loaded.complete || loaded.errors > 0) {
        return kFound;
    }
    const TargetScope scope = TargetsMatchingAny(o.paths);
    std::vector<const TargetObject*> selected;
    int index = 0;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next, ++index) {
        if (scope(*t, index) && (o.account.empty() || HoldsAccount(*t, o.account))) {
            selected.push_back(t);
        }
    }
    if (selected.empty() && (!o.paths.empty() || !o.account.empty())) {
        Complain(err, o.file + ": " + NothingSelected(o.paths, o.account));
        return kUsage;
    }
    if (o.json || o.format == "json") {
        ShowJson(selected, out);
    } else if (o.format == "line") {
        ShowLines(selected, out);
    } else {
        ShowText(selected, out);
    }
    return kSuccess;
}

// ---------------------------------------------------------------------------------------
// convert

struct ConvertOptions {
    std::vector<std::string> inputs;
    std::string output;
    bool utf16 = false;
    bool eightBit = false;
    bool keepGoing = false;
    bool noWait = false;
    bool strict = false;
};

// The targets are written out as they are read, so that a conversion never holds a whole
// template and the disk works while the next are read. What the inputs refuse leaves the
// output as it was. Standard output cannot be put back as a file can: for it the inputs
// are read whole before the first byte goes out.
int Convert(const ConvertOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    bool failed = false;
    int refused = kSuccess; // the inputs ended the save, and said why
    long long warnings = 0;
    const WarningFn count = [&warnings](const ReadWarning&) { ++warnings; };
    const TargetSource source = [&](const TargetSink& write) {
        bool writing = true;
        std::string input;
        const TargetSink take = [&](std::unique_ptr<TargetObject> target) {
            // Each warning comes before the target of its line.
            if (o.strict && warnings > 0) {
                Complain(err, input + ": warnings under --strict; nothing was written");
                refused = kFound;
                writing = false;
                return false;
            }
            writing = write(std::move(target));
            return writing;
        };
        for (const std::string& name : o.inputs) {
            input = IsStandardInput(name) ? "<stdin>" : name;
            const LoadResult loaded = LoadTargets(name, take, err, &in, &err, count);
            if (!writing) {
                return false;
            }
            if (!loaded.opened) {
                Complain(err, name + ": " + CannotRead(loaded) + "; nothing was written");
                refused = kFileFailed;
                return false;
            }
            if (!loaded.complete || loaded.errors > 0) {
                failed = true;
                if (!o.keepGoing) {
                    Complain(err, name + ": the file has errors; nothing was written");
                    refused = kFound;
                    return false;
                }
            }
        }
        return true;
    };
    const Encoding encoding = o.eightBit ? Encoding::EightBit : Encoding::Unicode;
    int saved = kSuccess;
    if (IsStandardOutput(o.output)) {
        SecurityTemplate tmpl;
        const bool read = source([&tmpl](std::unique_ptr<TargetObject> target) {
            tmpl.Append(std::move(target));
            return true;
        });
        if (!read) {
            return refused;
        }
        saved = WriteToOutput(tmpl, encoding, out, err);
    } else {
        int reason = 0;
        const SaveStatus status = SaveTargets(o.output, source, encoding,
                                              o.noWait ? LockWait::No : LockWait::Yes, &reason);
        if (refused != kSuccess) {
            return refused;
        }
        saved = SaveResult(o.output, status, err, reason);
    }
    if (saved != kSuccess) {
        return saved;
    }
    return failed ? kFound : kSuccess;
}

// ---------------------------------------------------------------------------------------
// diff

struct DiffOptions {
    std::string a;
    std::string b;
    bool json = false;
};

int Diff(const DiffOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    if (IsStandardInput(o.a) && IsStandardInput(o.b)) {
        Complain(err, "standard input can be only one of the two templates");
        return kUsage;
    }
    SecurityTemplate a;
    SecurityTemplate b;
    for (const auto& [name, tmpl] : {std::pair{&o.a, &a}, std::pair{&o.b, &b}}) {
        const LoadResult loaded = LoadTemplate(*name, *tmpl, err, nullptr, &in);
        if (!loaded.opened) {
            Complain(err, *name + ": " + CannotRead(loaded));
            return kFileFailed;
        }
        if (!loaded.complete || loaded.errors > 0) {
            Complain(err, *name + ": the file has errors; nothing was compared");
            return kFileFailed;
        }
    }
    return o.json ? DiffJson(a, b, out) : DiffText(a, b, o.a, o.b, out);
}

// ---------------------------------------------------------------------------------------
// add

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
};

constexpr char kNeitherPart[] = "This descriptor holds neither S: nor D:.";

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
    if (o.standIn.empty() && HasAccounts(list)) {
        Complain(err, name + ": accounts beside the paths need --for, the stand-in account to "
                             "replace");
        return EndWith(kUsage);
    }
    if (!o.standIn.empty()) {
        RequireAccounts(list, o.accountPattern);
    }
    // Every line that keeps the list from being added, in line order.
    if (!list.invalid.empty()) {
        bool pathsOnly = true;
        for (const InvalidPathLine& line : list.invalid) {
            err << name << ':' << line.line << ": ";
            if (line.noAccount) {
                err << "no account for " << line.text << " (give one after a tab, or --account)\n";
            } else if (line.account) {
                err << InvalidAccountText(line.text) << '\n';
            } else {
                err << "Invalid File Path: \"" << line.text << "\" (" << PathProblem(line.text)
                    << ")\n";
            }
            pathsOnly = pathsOnly && !line.noAccount && !line.account;
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

    AppendTargets(tmpl, list.paths, o.level, like.get(), o.standIn, &list.accounts);
    out << "added " << Plural(static_cast<long long>(list.paths.size()), "target", "targets")
        << ", skipped " << list.skipped << " already present\n";
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

// ---------------------------------------------------------------------------------------
// replace-account

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
                 << (o.edit.dryRun ? " would change\n" : " changed\n");
            change.write = true;
            return change;
        },
        out, err);
}

// ---------------------------------------------------------------------------------------
// usage

std::size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// A first word that names no command: the usage error, with the command it was most
// likely meant to be when one is near enough.
bool RefuseUnknownCommand(CLI::App& app, int argc, const char* const* argv, std::ostream& err) {
    if (argc < 2 || argv[1][0] == '-') {
        return false;
    }
    const std::string word = argv[1];
    std::string nearest;
    std::size_t best = std::max<std::size_t>(2, word.size() / 3) + 1;
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        if (command->get_name() == word) {
            return false;
        }
        const std::size_t distance =
            command->get_name().starts_with(word) ? 1 : EditDistance(word, command->get_name());
        if (distance < best) {
            best = distance;
            nearest = command->get_name();
        }
    }
    err << "permora-cli: " << word << " is not a command";
    if (!nearest.empty()) {
        err << "; did you mean " << nearest << '?';
    }
    err << "\nRun with --help for more information.\n";
    return true;
}

} // namespace

int Run(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err) {
    CLI::App app("Checks, shows, converts, compares and builds permora templates.", "permora-cli");
    app.set_version_flag("--version", std::string("permora-cli ") + PERMORA_VERSION);
    app.require_subcommand(1);
    app.fallthrough(false);

    CheckOptions check;
    CLI::App* checkCmd =
        app.add_subcommand("check", "Read each file as the editor's Import does and report "
                                    "every error and every place a save would change");
    checkCmd->add_option("FILE", check.files, "Template files; - for standard input")->required();
    checkCmd->add_flag("--strict", check.strict, "Count warnings as failures");

    ShowOptions show;
    CLI::App* showCmd = app.add_subcommand("show", "Print a template's targets and entries");
    showCmd->add_option("FILE", show.file, "Template file")->required();
    showCmd->add_option("--path", show.paths,
                        "Only the targets whose path matches this pattern (repeatable)");
    showCmd->add_option("--account", show.account,
                        "Only the targets with an entry of this account (any letter case)");
    CLI::Option* format =
        showCmd
            ->add_option("--format", show.format,
                         "text (the default), line (each target's template line) or json")
            ->check(CLI::IsMember({"text", "line", "json"}));
    showCmd->add_flag("--json", show.json, "The same as --format json")->excludes(format);

    ConvertOptions convert;
    CLI::App* convertCmd =
        app.add_subcommand("convert", "Import the files in order into one template and save it");
    convertCmd
        ->add_option("IN", convert.inputs, "Template files, read in order; - for standard input")
        ->required();
    convertCmd->add_option("-o,--output", convert.output, "The file to write")->required();
    CLI::Option* utf16 =
        convertCmd->add_flag("--utf16", convert.utf16, "Write UTF-16LE (the default)");
    CLI::Option* eightBit = convertCmd->add_flag("--8bit", convert.eightBit, "Write 8-bit text");
    utf16->excludes(eightBit);
    convertCmd->add_flag("--keep-going", convert.keepGoing,
                         "Write what was read before a failing line, and exit 1");
    convertCmd->add_flag("--strict", convert.strict, "Write nothing when the inputs have warnings");
    convertCmd->add_flag("--no-wait", convert.noWait,
                         "End with status 3 instead of waiting while another process writes "
                         "the output");

    DiffOptions diff;
    CLI::App* diffCmd = app.add_subcommand("diff", "Compare two templates target by target");
    diffCmd->add_option("A", diff.a, "First template")->required();
    diffCmd->add_option("B", diff.b, "Second template")->required();
    diffCmd->add_flag("--json", diff.json, "The differences as one JSON object");

    AddOptions add;
    CLI::App* addCmd = app.add_subcommand("add", "Append one target per path of a list");
    addCmd->add_option("TEMPLATE", add.edit.file, "Template file, created when missing")
        ->required();
    addCmd->add_option("--paths", add.paths, "List of paths, one a line; - for standard input")
        ->required();
    CLI::Option* like =
        addCmd->add_option("--like", add.like, "Copy the descriptor of the target with this path");
    CLI::Option* sddl =
        addCmd->add_option("--sddl", add.sddl, "The descriptor as a template line writes it");
    like->excludes(sddl);
    addCmd->add_option("--level", add.level, "0 File/Directory (the default), 1 Storage")
        ->check(CLI::Range(0, 1));
    AddEditOptions(*addCmd, add.edit);
    addCmd->add_option("--for", add.standIn,
                       "The stand-in account of the descriptor: each new target gets it "
                       "replaced by the path's account, merging as replace-account does");
    addCmd->add_option("--account", add.accountPattern,
                       "The account of paths without one after a tab; {name} is the path's "
                       "last component (LAB\\{name})");

    ReplaceOptions replace;
    CLI::App* replaceCmd = app.add_subcommand(
        "replace-account", "Rename an account in every entry, merging as the editor does");
    replaceCmd->add_option("TEMPLATE", replace.edit.file, "Template file")->required();
    replaceCmd->add_option("OLD", replace.oldName, "Account to rename (any letter case)")
        ->required();
    replaceCmd->add_option("NEW", replace.newName, "New account name")->required();
    replaceCmd->add_option("--path", replace.path, "Only targets whose path matches this pattern");
    replaceCmd->add_flag("--dry-run", replace.edit.dryRun, "Count the changes; write nothing");
    AddEditOptions(*replaceCmd, replace.edit);

    const AccessCommand access = AddAccessCommand(app, in, out, err);
    const EntryCommands entries(app);
    DescribeCommands(app);

    if (RefuseUnknownCommand(app, argc, argv, err)) {
        return kUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err) == 0 ? kSuccess : kUsage;
    }

    if (checkCmd->parsed()) {
        return Check(check, in, out, err);
    }
    if (showCmd->parsed()) {
        return Show(show, in, out, err);
    }
    if (convertCmd->parsed()) {
        return Convert(convert, in, out, err);
    }
    if (diffCmd->parsed()) {
        return Diff(diff, in, out, err);
    }
    if (access.command->parsed()) {
        return access.run();
    }
    if (addCmd->parsed()) {
        add.hasLike = like->count() > 0;
        add.hasSddl = sddl->count() > 0;
        return Add(add, in, out, err);
    }
    int status = kSuccess;
    if (entries.Run(in, out, err, status)) {
        return status;
    }
    return ReplaceAccountCommand(replace, out, err);
}

} // namespace permora::cli
