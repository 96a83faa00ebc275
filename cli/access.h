#pragma once

// permora-cli access: what an account can do on a target, and which entries decide it.

#include <CLI/CLI.hpp>

#include <functional>
#include <iosfwd>

namespace permora::cli {

struct AccessCommand {
    CLI::App* command = nullptr;
    std::function<int()> run; // once the command line has been parsed
};

AccessCommand AddAccessCommand(CLI::App& app, std::istream& in, std::ostream& out,
                               std::ostream& err);

} // namespace permora::cli
