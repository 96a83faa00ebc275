#include "cli/help.h"

#include <CLI/CLI.hpp>

#include <string>

namespace permora::cli {

namespace {

struct CommandHelp {
    const char* name;
    const char* examples;
    const char* exits;  // the lines of statuses 0 and 1; 2 and 3 are the same for all
    bool edits = false; // edits a template in place: held to the guard, takes turns
};

constexpr CommandHelp kHelp[] = {
    {"check",
     "  permora-cli check security.conf other.conf\n"
     "  permora-cli check --strict - < security.conf\n",
     "  0  no error (and no warning, with --strict)\n"
     "  1  errors found (or warnings, with --strict)\n"},
    {"show",
     "  permora-cli show security.conf --path '/vol/home/*' --account 'LAB\\bob'\n"
     "  permora-cli show security.conf --format line | grep -c 'LAB\\\\bob'\n",
     "  0  shown\n"
     "  1  the file has errors; nothing is shown\n"},
    {"convert",
     "  permora-cli convert a.conf b.conf -o merged.conf\n"
     "  permora-cli convert security.conf --8bit -o - | less\n",
     "  0  written\n"
     "  1  an input has errors: nothing written (with --keep-going, what was read)\n"},
    {"diff",
     "  permora-cli diff old.conf new.conf\n"
     "  permora-cli diff --json old.conf - < new.conf\n",
     "  0  the templates are equal\n"
     "  1  the templates differ (targets, entries, order or lines of other styles)\n"},
    {"add",
     "  ls /vol/home | sed 's|^|/vol/home/|' | permora-cli add security.conf --paths - --like "
     "/vol/home/model\n"
     "  permora-cli add security.conf --paths homes.txt --like /vol/home/model --for OWNER "
     "--account 'LAB\\{name}'\n",
     "  0  added (or nothing to add)\n"
     "  1  a line of the list is invalid, or the template has errors: nothing written\n",
     true},
    {"replace-account",
     "  permora-cli replace-account security.conf 'LAB\\olduser' 'LAB\\newuser'\n"
     "  permora-cli replace-account security.conf bob carol --path '/vol/proj/*' --dry-run\n",
     "  0  renamed\n"
     "  1  the template has errors: nothing written\n",
     true},
    {"grant",
     "  permora-cli grant security.conf 'LAB\\bob' Modify --path /vol/home/bob\n"
     "  permora-cli grant security.conf 'LAB\\ops' FRFX --apply-to 'This folder only'\n",
     "  0  granted (or every target already allowed it)\n"
     "  1  the template has errors: nothing written\n",
     true},
    {"deny",
     "  permora-cli deny security.conf 'LAB\\guest' 'Full Control' --path '/vol/proj/*'\n"
     "  permora-cli deny security.conf 'LAB\\guest' 0x10000 --apply-to CIIO\n",
     "  0  denied (or every target already denied it)\n"
     "  1  the template has errors: nothing written\n",
     true},
    {"audit",
     "  permora-cli audit security.conf Everyone Write --failure\n"
     "  permora-cli audit security.conf 'LAB\\admins' 'Full Control' --both --path /vol/vol2\n",
     "  0  audited (or every target already audited it)\n"
     "  1  the template has errors: nothing written\n",
     true},
    {"revoke",
     "  permora-cli revoke security.conf 'LAB\\olduser'\n"
     "  permora-cli revoke security.conf 'LAB\\guest' --deny --path '/vol/proj/*' --dry-run\n",
     "  0  revoked\n"
     "  1  the template has errors: nothing written\n",
     true},
    {"remove",
     "  permora-cli remove security.conf --path '/vol/home/olduser'\n"
     "  permora-cli remove security.conf --paths departed.txt\n",
     "  0  removed\n"
     "  1  the template has errors: nothing written\n",
     true},
    {"access",
     "  permora-cli access security.conf --path /vol/vol2 --account 'LAB\\bob' --member-of "
     "'LAB\\staff'\n"
     "  permora-cli access security.conf --path /vol/vol2 --all --json\n",
     "  0  answered\n"
     "  1  the file has errors\n"},
};

} // namespace

void DescribeCommands(CLI::App& app) {
    for (const CommandHelp& help : kHelp) {
        CLI::App* command = nullptr;
        try {
            command = app.get_subcommand(help.name);
        } catch (const CLI::OptionNotFound&) {
            continue;
        }
        std::string exits = help.exits;
        if (help.edits) {
            exits += "     or a target not asked for would change its meaning (--force writes "
                     "anyway)\n";
        }
        exits += "  2  wrong usage (an unknown option, a missing operand, a name, pattern or "
                 "text that fits nothing)\n"
                 "  3  a file could not be read or written\n";
        if (help.edits) {
            exits += "     or, with --no-wait, another process was writing it\n";
        }
        command->footer(std::string("\nExamples:\n") + help.examples + "\nExit status:\n" + exits);
    }
}

} // namespace permora::cli
