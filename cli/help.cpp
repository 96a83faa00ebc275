#include "cli/help.h"

#include <string_view>

namespace permora::cli {

std::string HelpFooter(const Command& command) {
    std::string exits = command.exits;
    if (command.edits) {
        exits += "     or a target not asked for would change its meaning (--force writes "
                 "anyway)\n";
    }
    // A command that gives its own lines for 2 and 3 has statuses of its own there.
    if (std::string_view(command.exits).find("\n  3  ") != std::string_view::npos) {
        return std::string("\nExamples:\n") + command.examples + "\nExit status:\n" + exits;
    }
    exits += "  2  wrong usage (an unknown option, a missing operand, a name, pattern or "
             "text that fits nothing)\n"
             "  3  a file could not be read or written\n";
    if (command.edits) {
        exits += "     or, with --no-wait, another process was writing it\n"
                 "     or it could not be locked, or was replaced while it was being edited\n";
    }
    return std::string("\nExamples:\n") + command.examples + "\nExit status:\n" + exits;
}

} // namespace permora::cli
