#pragma once

// The examples and exit statuses that every command's --help ends with.

#include "cli/command.h"

#include <string>

namespace permora::cli {

std::string HelpFooter(const Command& command);

} // namespace permora::cli
