// permora-cli: the command line and its commands.

#include "cli/cli.h"

#include "cli/access.h"
#include "cli/commands.h"
#include "model/checks.h"
#include "model/template_ops.h"
#include "permora_version.h"

#include <CLI/CLI.hpp>

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
    for (const std::string& file : o.files) {
        SecurityTemplate tmpl;
        const LoadResult loaded = LoadTemplate(file, tmpl, out, &out, &in);
        if (!loaded.opened) {
            Complain(err, file + ": cannot read the file");
            unreadable = true;
            continue;
        }
        targets += loaded.targets;
        errors += loaded.errors;
        warnings += loaded.warnings;
    }
    out << Plural(static_cast<long long>(o.files.size()), "file", "files")
        << " checked: " << Plural(targets, "target", "targets") << " read, "
        << Plural(errors, "error", "errors") << ", " << Plural(warnings, "warning", "warnings")
        << '\n';
    if (unreadable) {
        return kFileFailed;
    }
    return errors > 0 || (o.strict && warnings > 0) ? kFound : kSuccess;
}

// ---------------------------------------------------------------------------------------
// show

struct ShowOptions {
    std::string file;
    std::string path;
    bool json = false;
};

int Show(const ShowOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    SecurityTemplate tmpl;
    const LoadResult loaded = LoadTemplate(o.file, tmpl, err, nullptr, &in);
    if (!loaded.opened) {
        Complain(err, o.file + ": cannot read the file");
        return kFileFailed;
    }
    if (!loaded.complete || loaded.errors > 0) {
        return kFound;
    }
    const std::string* only = o.path.empty() ? nullptr : &o.path;
    if (only != nullptr) {
        bool found = false;
        for (const TargetObject* t = tmpl.Head; t != nullptr && !found; t = t->Next) {
            found = t->Path == *only;
        }
        if (!found) {
            Complain(err, o.file + ": no target has the path " + o.path);
            return kUsage;
        }
    }
    if (o.json) {
        ShowJson(tmpl, only, out);
    } else {
        ShowText(tmpl, only, out);
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
};

// The targets are written out as they are read, so that a conversion never holds a whole
// template and the disk works while the next are read. What the inputs refuse leaves the
// output as it was.
int Convert(const ConvertOptions& o, std::istream& in, std::ostream& err) {
    bool failed = false;
    int refused = kSuccess; // the inputs ended the save, and said why
    const TargetSource source = [&](const TargetSink& write) {
        bool writing = true;
        const TargetSink take = [&](std::unique_ptr<TargetObject> target) {
            writing = write(std::move(target));
            return writing;
        };
        for (const std::string& input : o.inputs) {
            const LoadResult loaded = LoadTargets(input, take, err, &in);
            if (!writing) {
                return false;
            }
            if (!loaded.opened) {
                Complain(err, input + ": cannot read the file; nothing was written");
                refused = kFileFailed;
                return false;
            }
            if (!loaded.complete || loaded.errors > 0) {
                failed = true;
                if (!o.keepGoing) {
                    Complain(err, input + ": the file has errors; nothing was written");
                    refused = kFound;
                    return false;
                }
            }
        }
        return true;
    };
    const SaveStatus status =
        SaveTargets(o.output, source, o.eightBit ? Encoding::EightBit : Encoding::Unicode);
    if (refused != kSuccess) {
        return refused;
    }
    const int saved = SaveResult(o.output, status, err);
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
    SecurityTemplate a;
    SecurityTemplate b;
    for (const auto& [name, tmpl] : {std::pair{&o.a, &a}, std::pair{&o.b, &b}}) {
        const LoadResult loaded = LoadTemplate(*name, *tmpl, err, nullptr, &in);
        if (!loaded.opened) {
            Complain(err, *name + ": cannot read the file");
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
    std::string file;
    std::string paths;
    std::string like;
    std::string sddl;
    bool hasLike = false;
    bool hasSddl = false;
    int level = kLevelFileDirectory;
    std::string output;
};

// The descriptor of the new targets from --sddl: read as a target's descriptor field is
// read, and only when the line it makes would read back without a message.
std::unique_ptr<SecurityDescriptor> DescriptorFromText(const std::string& text, std::ostream& err) {
    auto descriptor = std::make_unique<SecurityDescriptor>();
    std::vector<std::string> messages;
    const MessageSink sink = [&](const std::string& m) { messages.push_back(m); };
    if (ReadDescriptor(text, *descriptor, sink) != 0 || !messages.empty()) {
        for (const std::string& m : messages) {
            err << "--sddl: " << m << '\n';
        }
        Complain(err, "--sddl: the descriptor cannot be read");
        return nullptr;
    }
    TargetObject probe("probe", descriptor->Clone());
    TargetObject back("", std::make_unique<SecurityDescriptor>());
    if (ReadTargetLine(probe.ToLine(), back, sink) != 0 || !messages.empty()) {
        Complain(err, "--sddl: the descriptor would not read back from a template file");
        return nullptr;
    }
    return descriptor;
}

int Add(const AddOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    SecurityTemplate tmpl;
    const bool exists = FileExists(o.file);
    if (exists) {
        const int status = LoadForChange(o.file, tmpl, err);
        if (status != kSuccess) {
            return status;
        }
    }

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
            return kUsage;
        }
        if (found->SecurityStyle != kStyleNtfs || !found->Descriptor) {
            Complain(err, "--like: the target " + o.like + " is not an NTFS target");
            return kUsage;
        }
        like = found->Descriptor->Clone();
    } else if (o.hasSddl) {
        like = DescriptorFromText(o.sddl, err);
        if (!like) {
            return kUsage;
        }
    }

    std::string text;
    if (!ReadText(o.paths, in, text)) {
        Complain(err, o.paths + ": cannot read the list of paths");
        return kFileFailed;
    }
    const PathList list = ReadPathList(text, &tmpl);
    if (!list.invalid.empty()) {
        const std::string name = o.paths == "-" ? "<stdin>" : o.paths;
        for (const InvalidPathLine& line : list.invalid) {
            err << name << ':' << line.line << ": Invalid File Path: " << line.text << '\n';
        }
        Complain(err, Plural(static_cast<long long>(list.invalid.size()), "invalid path",
                             "invalid paths") +
                          "; nothing was written");
        return kFound;
    }

    AppendTargets(tmpl, list.paths, o.level, like.get());
    const std::string target = o.output.empty() ? o.file : o.output;
    // A template that gains nothing is left as it is, unless it is to be written elsewhere
    // or does not exist yet.
    if (!list.paths.empty() || !o.output.empty() || !exists) {
        const int saved = Save(target, tmpl, EncodingOf(o.file), err);
        if (saved != kSuccess) {
            return saved;
        }
    }
    out << "added " << Plural(static_cast<long long>(list.paths.size()), "target", "targets")
        << ", skipped " << list.skipped << " already present\n";
    return kSuccess;
}

// ---------------------------------------------------------------------------------------
// replace-account

struct ReplaceOptions {
    std::string file;
    std::string oldName;
    std::string newName;
    std::string path;
    bool dryRun = false;
    std::string output;
};

int ReplaceAccountCommand(const ReplaceOptions& o, std::ostream& out, std::ostream& err) {
    if (!IsValidAccountName(o.newName)) {
        Complain(err, "Invalid Account Name: " + o.newName);
        return kUsage;
    }
    SecurityTemplate tmpl;
    const int status = LoadForChange(o.file, tmpl, err);
    if (status != kSuccess) {
        return status;
    }
    const AccountReplacement result = ReplaceAccount(
        tmpl, o.oldName, o.newName, o.path.empty() ? AllTargets() : TargetsMatching(o.path));
    out << Plural(result.entries, "entry", "entries") << " in "
        << Plural(result.targets, "target", "targets")
        << (o.dryRun ? " would change\n" : " changed\n");
    if (o.dryRun || (result.entries == 0 && o.output.empty())) {
        return kSuccess;
    }
    return Save(o.output.empty() ? o.file : o.output, tmpl, EncodingOf(o.file), err);
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
    showCmd->add_option("--path", show.path, "Only the targets with this path");
    showCmd->add_flag("--json", show.json, "One JSON array with one object per target");

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

    DiffOptions diff;
    CLI::App* diffCmd = app.add_subcommand("diff", "Compare two templates target by target");
    diffCmd->add_option("A", diff.a, "First template")->required();
    diffCmd->add_option("B", diff.b, "Second template")->required();
    diffCmd->add_flag("--json", diff.json, "The differences as one JSON object");

    AddOptions add;
    CLI::App* addCmd = app.add_subcommand("add", "Append one target per path of a list");
    addCmd->add_option("TEMPLATE", add.file, "Template file, created when missing")->required();
    addCmd->add_option("--paths", add.paths, "List of paths, one a line; - for standard input")
        ->required();
    CLI::Option* like =
        addCmd->add_option("--like", add.like, "Copy the descriptor of the target with this path");
    CLI::Option* sddl =
        addCmd->add_option("--sddl", add.sddl, "The descriptor as a template line writes it");
    like->excludes(sddl);
    addCmd->add_option("--level", add.level, "0 File/Directory (the default), 1 Storage")
        ->check(CLI::Range(0, 1));
    addCmd->add_option("--output", add.output, "Write the result here instead");

    ReplaceOptions replace;
    CLI::App* replaceCmd = app.add_subcommand(
        "replace-account", "Rename an account in every entry, merging as the editor does");
    replaceCmd->add_option("TEMPLATE", replace.file, "Template file")->required();
    replaceCmd->add_option("OLD", replace.oldName, "Account to rename (any letter case)")
        ->required();
    replaceCmd->add_option("NEW", replace.newName, "New account name")->required();
    replaceCmd->add_option("--path", replace.path, "Only targets whose path matches this pattern");
    replaceCmd->add_flag("--dry-run", replace.dryRun, "Count the changes; write nothing");
    replaceCmd->add_option("--output", replace.output, "Write the result here instead");

    const AccessCommand access = AddAccessCommand(app, in, out, err);

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
        return Convert(convert, in, err);
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
    return ReplaceAccountCommand(replace, out, err);
}

} // namespace permora::cli
