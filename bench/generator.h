#pragma once

#include "model/target.h"

#include <cstdint>
#include <memory>
#include <string>

namespace permora::bench {

// A large template as administrators keep them: one target per home directory, each with
// an audit entry, a deny entry and four allow entries of different accounts under "D:P".
std::unique_ptr<SecurityTemplate> MakeLargeTemplate(int targets, std::uint32_t seed);

// One target whose permission list holds `entries` entries of different accounts.
std::unique_ptr<TargetObject> MakeWideTarget(int entries, std::uint32_t seed);

// Writes bytes to a file of this run's temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const std::string& bytes);

} // namespace permora::bench
