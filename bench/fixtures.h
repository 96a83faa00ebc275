#pragma once

#include <string>
#include <vector>

namespace permora::bench {

inline constexpr int kLargeTargets = 100000;
inline constexpr int kHugeTargets = 1000000;

// The generated template of `targets` targets (the generator's mix, seeded), written once
// per run in each encoding into the run's temporary folder, which the run removes at its end.
const std::string& UnicodeFile(int targets);
const std::string& EightBitFile(int targets);
inline const std::string& LargeUnicodeFile() {
    return UnicodeFile(kLargeTargets);
}
inline const std::string& Large8BitFile() {
    return EightBitFile(kLargeTargets);
}

// A path for a file of this run, in its temporary folder.
std::string RunFile(const std::string& name);
void RemoveRunFolder();

// Runs a command (argv[0] looked up in PATH) with its output thrown away; returns its exit
// status.
int RunCommand(const std::vector<std::string>& argv);

} // namespace permora::bench
