#pragma once

#include <string>
#include <sys/stat.h>

namespace permora {

// The folder of a path: "." for a bare name, "/" for a name in the root.
std::string FolderOf(const std::string& path);

// Whether a link (info its lstat) may be followed, as the system's protected-links rule has
// it: in a sticky folder that others may write, only a link of the follower's own or of the
// folder's owner, so that no one can plant a link there that leads another account's write
// to a file of theirs.
[[nodiscard]] bool MayFollow(const std::string& link, const struct stat& info);

// Follows symbolic links to the file the path finally names, which need not exist yet
// (exists says which; info is its lstat when it does). Fails for a loop, for a link that
// MayFollow refuses (EACCES), and for anything that cannot name a file (a name ending in "/", a
// missing or unreadable folder on the way).
[[nodiscard]] bool FollowLinks(const std::string& path, std::string& target, struct stat& info,
                               bool& exists);

} // namespace permora
