#pragma once

#include <string>
#include <sys/stat.h>

namespace permora {

// The folder of a path: "." for a bare name, "/" for a name in the root.
std::string FolderOf(const std::string& path);

// Follows symbolic links to the file the path finally names, which need not exist yet
// (exists says which; info is its lstat when it does). Fails for a loop and for anything
// that cannot name a file (a name ending in "/", a missing or unreadable folder on the way).
[[nodiscard]] bool FollowLinks(const std::string& path, std::string& target, struct stat& info,
                               bool& exists);

} // namespace permora
