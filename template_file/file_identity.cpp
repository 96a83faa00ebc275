#include "template_file/file_identity.h"

#include <sys/stat.h>

namespace permora {

namespace {

FileIdentity FromStat(const struct stat& info) {
    FileIdentity identity;
    identity.device = static_cast<std::uint64_t>(info.st_dev);
    identity.inode = static_cast<std::uint64_t>(info.st_ino);
    identity.size = static_cast<std::int64_t>(info.st_size);
    identity.modifiedSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
    identity.modifiedNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    return identity;
}

} // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FromStat(info);
}

std::optional<FileIdentity> IdentityOf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return std::nullopt;
    }
    return FromStat(info);
}

bool ChangedSince(const std::string& path, const FileIdentity& recorded) {
    const std::optional<FileIdentity> now = IdentityOf(path);
    return now.has_value() && *now != recorded;
}

} // namespace permora
