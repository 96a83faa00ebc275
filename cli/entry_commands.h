#pragma once

// grant, deny, audit, revoke and remove: the commands that edit entries and targets.

#include <iosfwd>
#include <memory>

namespace CLI {
class App;
}

namespace permora::cli {

class EntryCommands {
public:
    // Adds the five commands to the command line.
    explicit EntryCommands(CLI::App& app);
    ~EntryCommands();
    EntryCommands(const EntryCommands&) = delete;
    EntryCommands& operator=(const EntryCommands&) = delete;

    // Runs the one that was parsed; false when none of them was.
    bool Run(std::istream& in, std::ostream& out, std::ostream& err, int& status) const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace permora::cli
