// check: reads each file as the editor's Import does and reports every error and warning.

#include "cli/command.h"
#include "cli/common.h"
#include "template_file/terminal_text.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace permora::cli {

namespace {

struct CheckOptions {
    std::vector<std::string> files;
    bool strict = false;
};

int Check(const CheckOptions& o, const Io& rawIo) {
    // What check prints is read on a terminal: a hostile template's bytes go out escaped.
    TerminalStream out(rawIo.out);
    const Io io{rawIo.in, out, rawIo.err};
    long long targets = 0;
    long long errors = 0;
    long long warnings = 0;
    bool unreadable = false;
    std::string unread;      // the files that could not be read, with the reason
    std::string importStops; // where the editor's Import would stop, file by file
    for (const std::string& file : o.files) {
        SecurityTemplate tmpl;
        PathRepeats repeats;
        const LoadResult loaded =
            LoadTemplate(file, tmpl, io.out, &io.out, &io.in, {}, true, &repeats);
        if (!loaded.opened) {
            Complain(io.err, file + ": " + CannotRead(loaded));
            if (loaded.error != 0) { // a line too long has said why already
                unread += "; " + file + ": " + CannotRead(loaded);
            }
            unreadable = true;
            continue;
        }
        targets += loaded.targets;
        errors += loaded.errors;
        warnings += loaded.warnings;
        if (loaded.firstFailingLine != 0) {
            importStops += importStops.empty() ? "" : ", ";
            importStops += (IsStandardInput(file) ? std::string("<stdin>") : file) + ':' +
                           std::to_string(loaded.firstFailingLine);
        }
    }
    io.out << Plural(static_cast<long long>(o.files.size()), "file", "files")
           << " checked: " << Plural(targets, "target", "targets") << " read, "
           << Plural(errors, "error", "errors") << ", " << Plural(warnings, "warning", "warnings");
    if (!importStops.empty()) {
        io.out << "; the editor's Import stops at the first failing line (" << importStops << ')';
    }
    io.out << unread << '\n';
    if (unreadable) {
        return kFileFailed;
    }
    return errors > 0 || (o.strict && warnings > 0) ? kFound : kSuccess;
}

Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<CheckOptions>();
    command.add_option("FILE", o->files, "Template files; - for standard input")->required();
    command.add_flag("--strict", o->strict, "Count warnings as failures");
    return [o, io] { return Check(*o, io); };
}

} // namespace

const Command kCheck = {
    "check",
    "Read each file as the editor's Import does and report every error and every place a save "
    "would change",
    "  permora-cli check security.conf other.conf\n"
    "  permora-cli check --strict - < security.conf\n",
    "  0  no error (and no warning, with --strict)\n"
    "  1  errors found (or warnings, with --strict)\n",
    false,
    Define,
};

} // namespace permora::cli
