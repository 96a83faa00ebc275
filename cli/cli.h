#pragma once

#include <iosfwd>

namespace permora::cli {

// Runs permora-cli with the given arguments (argv[0] is the program's name) and returns its
// exit status: 0 success, 1 errors found (or differences for diff), 2 wrong usage, 3 a file
// could not be read or written. Results go to out, messages to err; in stands for standard
// input where a command reads "-".
int Run(int argc, const char* const* argv, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace permora::cli
