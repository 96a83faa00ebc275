#pragma once

#include "model/ascii_case.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

// The path as the storage system resolves it: "." segments, empty segments and a trailing
// "/" dropped, ".." segments resolved ("/vol/home/./bob/" and "/vol/x/../home/bob" are
// /vol/home/bob). A path that does not begin with "/" is returned as it is.
std::string ResolvedPath(std::string_view path);
// Whether the path has a "." or ".." segment.
[[nodiscard]] bool HasDotSegments(std::string_view path);

// Finds targets that repeat an earlier target's resolved path and level, and paths with "."
// or ".." segments, target by target in template order. Nothing is refused: the order of
// targets is the user's, and a later target may well be meant to apply last.
class PathRepeats {
public:
    // The warnings of a target, at the place where (a "FILE:LINE" that later warnings name).
    std::vector<std::string> Take(std::string_view where, std::string_view path,
                                  std::int32_t level);

private:
    std::unordered_map<std::string, std::string> first_; // resolved path and level -> where
};

} // namespace permora
