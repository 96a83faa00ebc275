#pragma once

// A command of permora-cli: its name and help, and how it reads its part of the command line.
// The program's command table (cli.cpp) lists them; each is defined in cli/commands/.

#include <functional>
#include <iosfwd>

namespace CLI {
class App;
}

namespace permora::cli {

// Where a command reads "-" from, writes its results to and says what went wrong.
struct Io {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// Runs the command once the command line has been parsed and returns its exit status.
using Runner = std::function<int()>;

struct Command {
    const char* name;
    const char* summary;  // its line in the program's --help
    const char* examples; // the lines under "Examples:" in the command's --help
    const char* exits;    // the lines of statuses 0 and 1; 2 and 3 are the same for every command
                          // unless the command gives lines of its own for them
    bool edits;           // edits a template in place: held to the guard, takes turns
    // Adds the command's operands and options to its part of the command line; what it
    // reads from them lives in the returned runner.
    Runner (*define)(CLI::App& command, const Io& io);
};

extern const Command kCheck;
extern const Command kShow;
extern const Command kConvert;
extern const Command kDiff;
extern const Command kAdd;
extern const Command kReplaceAccount;
extern const Command kAccess;
extern const Command kGrant;
extern const Command kDeny;
extern const Command kAudit;
extern const Command kRevoke;
extern const Command kRemove;
extern const Command kCapture;
extern const Command kVerify;
extern const Command kProtect;
extern const Command kUnprotect;

} // namespace permora::cli
