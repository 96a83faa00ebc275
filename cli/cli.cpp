// permora-cli: the command line, its table of commands and the choice among them.

#include "cli/cli.h"

#include "cli/command.h"
#include "cli/common.h"
#include "cli/help.h"
#include "permora_version.h"
#include "template_file/terminal_text.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace permora::cli {

namespace {

// The commands in the order the program's --help lists them.
constexpr const Command* kCommands[] = {
    &kCheck, &kShow,  &kConvert, &kDiff,   &kAdd,     &kReplaceAccount, &kAccess,  &kGrant,
    &kDeny,  &kAudit, &kRevoke,  &kRemove, &kCapture, &kVerify,         &kProtect, &kUnprotect,
};

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

// The nearest of the names to word, when one is near enough; empty otherwise.
std::string Nearest(const std::string& word, const std::vector<std::string>& names) {
    std::string nearest;
    std::size_t best = std::max<std::size_t>(2, word.size() / 3) + 1;
    for (const std::string& name : names) {
        const std::size_t distance = name.starts_with(word) ? 1 : EditDistance(word, name);
        if (distance < best) {
            best = distance;
            nearest = name;
        }
    }
    return nearest;
}

// Arguments that a command does not take, in the order typed, with the option each was
// most likely meant to be.
void RefuseExtras(const CLI::App& app, const CLI::App& part, std::ostream& err) {
    const std::vector<std::string> extras = part.remaining(false);
    std::vector<std::string> names;
    for (const CLI::App* from : {&part, &app}) {
        for (const CLI::Option* option : from->get_options()) {
            for (const std::string& name : option->get_lnames()) {
                names.push_back("--" + name);
            }
        }
    }
    err << (extras.size() > 1 ? "The following arguments were not expected:"
                              : "The following argument was not expected:");
    for (const std::string& extra : extras) {
        err << ' ' << extra;
    }
    for (const std::string& extra : extras) {
        if (!extra.starts_with("--")) {
            continue;
        }
        const std::string word = extra.substr(0, extra.find('='));
        if (const std::string nearest = Nearest(word, names); !nearest.empty()) {
            err << "; " << word << ": did you mean " << nearest << '?';
        }
    }
    err << "\nRun with --help for more information.\n";
}

} // namespace

int Run(int argc, const char* const* argv, std::istream& in, std::ostream& out,
        std::ostream& rawErr) {
    // Every message goes to a terminal, and may quote a hostile template's paths.
    TerminalStream err(rawErr);
    CLI::App app("Checks, shows, converts, compares and builds permora templates.", "permora-cli");
    app.set_version_flag("--version", std::string("permora-cli ") + PERMORA_VERSION);
    app.require_subcommand(1);
    app.fallthrough(false);

    const Io io{in, out, err};
    std::vector<std::pair<const CLI::App*, Runner>> runners;
    for (const Command* command : kCommands) {
        CLI::App* part = app.add_subcommand(command->name, command->summary);
        part->footer(HelpFooter(*command));
        runners.emplace_back(part, command->define(*part, io));
    }

    if (RefuseUnknownCommand(app, argc, argv, err)) {
        return kUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ExtrasError&) {
        const CLI::App* part = &app;
        for (const auto& [command, run] : runners) {
            if (command->parsed()) {
                part = command;
            }
        }
        RefuseExtras(app, *part, err);
        return kUsage;
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err) == 0 ? kSuccess : kUsage;
    }
    for (const auto& [part, run] : runners) {
        if (part->parsed()) {
            return run();
        }
    }
    return kUsage; // a command is required, so parsing has already refused this
}

} // namespace permora::cli
