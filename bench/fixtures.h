#pragma once

#include <string>
#include <vector>

namespace permora::bench {

inline constexpr int kLargeTargets = 100000;

// The large template written once per run in both encodings.
const std::string& LargeUnicodeFile();
const std::string& Large8BitFile();

// Runs a command (argv[0] looked up in PATH) with its output thrown away; returns its exit
// status.
int RunCommand(const std::vector<std::string>& argv);

} // namespace permora::bench
