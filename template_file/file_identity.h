#pragma once

// Telling whether a file is still the one that was read or written: another program may
// have replaced or rewritten it since.

#include <cstdint>
#include <optional>
#include <string>

namespace permora {

// Which file a name led to (device and inode), with its size and last modification time.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file the path leads to (through links); none when nothing is there
// or it cannot be looked at.
std::optional<FileIdentity> IdentityOf(const std::string& path);
// The identity of an open file.
std::optional<FileIdentity> IdentityOf(int fd);

// Whether the file the path leads to is another file, or the same one with another size or
// modification time, than the one recorded. A path that leads to nothing has not changed:
// there is nothing there that a save could overwrite.
[[nodiscard]] bool ChangedSince(const std::string& path, const FileIdentity& recorded);

} // namespace permora
