// convert: imports files in order into one template and saves it.

#include "cli/command.h"
#include "cli/common.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace permora::cli {

namespace {

struct ConvertOptions {
    std::vector<std::string> inputs;
    std::string output;
    bool utf16 = false;
    bool eightBit = false;
    bool keepGoing = false;
    bool noWait = false;
    bool noLock = false;
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
    PathRepeats repeats; // over every input: they make one template
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
            const LoadResult loaded = LoadTargets(name, take, err, &in, &err, count, &repeats);
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
        const SaveStatus status =
            SaveTargets(o.output, source, encoding, CommandLock(o.noWait, o.noLock, err), &reason);
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

Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<ConvertOptions>();
    command.add_option("IN", o->inputs, "Template files, read in order; - for standard input")
        ->required();
    command.add_option("-o,--output", o->output, "The file to write")->required();
    CLI::Option* utf16 = command.add_flag("--utf16", o->utf16, "Write UTF-16LE (the default)");
    CLI::Option* eightBit = command.add_flag("--8bit", o->eightBit, "Write 8-bit text");
    utf16->excludes(eightBit);
    command.add_flag("--keep-going", o->keepGoing,
                     "Write what the editor's Import would hold of each input (the lines "
                     "before a failing line; a line whose mask cannot be read keeps the "
                     "default mask, as the window keeps it), go on with the next, and exit 1");
    command.add_flag("--strict", o->strict, "Write nothing when the inputs have warnings");
    command.add_flag("--no-wait", o->noWait,
                     "End with status 3 instead of waiting while another process writes the "
                     "output");
    command.add_flag("--no-lock", o->noLock,
                     "Write without locking the output (for a file system where locks fail)");
    return [o, io] { return Convert(*o, io.in, io.out, io.err); };
}

} // namespace

const Command kConvert = {
    "convert",
    "Import the files in order into one template and save it",
    "  permora-cli convert a.conf b.conf -o merged.conf\n"
    "  permora-cli convert security.conf --8bit -o - | less\n",
    "  0  written\n"
    "  1  an input has errors: nothing written (with --keep-going, what the editor's Import "
    "would hold)\n",
    false,
    Define,
};

} // namespace permora::cli
