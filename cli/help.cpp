#include "cli/help.h"

namespace permora::cli {

std::string HelpFooter(const Command& command) {
    std::string exits = command.exits;
    if (command.edits) {
        exits += "     or a target not asked for would change its meaning (--force writes "
                 "anyway)\n";
    }
    exits += "  2  wrong usage (an unknown option, a missing operand, a name, pattern or "
             "text that fits nothing)\n"
             "  3  a file could not be read or written\n";
    if (command.edits) {
        exits += "     or, with --no-wait, another process was writing it\n";
    }
    return std::string("\nExamples:\n") + command.examples + "\nExit status:\n" + exits;
}

} // namespace permora::cli
