#pragma once

#include "model/ascii_case.h"

#include <string>
#include <string_view>

namespace permora {

// The text without blanks (space, tab, line ends, vertical tab, form feed) at either end,
// as a typed path is taken before its check.
std::string TrimBlanks(std::string_view text);

// Whether the path may become a target's path.
[[nodiscard]] bool IsPathValid(const std::string& path);

// The one account-name rule: Domain\NTAccount or a bare account name.
[[nodiscard]] bool IsValidAccountName(std::string_view name);

// What the path check finds wrong first, for a window to put in its own words.
struct PathFault {
    enum class Kind {
        None,       // the path passes
        Empty,      // nothing but blanks
        TwoSlashes, // "//" somewhere
        OutsideVol, // from the root, but not under /vol/
        Character,  // character is not allowed in a path
    };
    Kind kind = Kind::None;
    char character = 0;
};
PathFault FindPathFault(std::string_view path);

// What the path check or the account-name rule finds wrong, in words for a message
// ("an absolute path must begin with /vol/"); empty when the path or name passes.
std::string PathProblem(std::string_view path);
std::string AccountNameProblem(std::string_view name);

} // namespace permora
