#pragma once

// The examples and exit statuses that every command's --help ends with.

namespace CLI {
class App;
}

namespace permora::cli {

// Gives each command of the command line its examples and exit statuses.
void DescribeCommands(CLI::App& app);

} // namespace permora::cli
