// Following symbolic links to the file a path names.

#include "template_file/follow_links.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace permora {

namespace {

// As many links as the kernel follows in one path before it reports a loop.
constexpr int kMaxLinkHops = 40;

bool ReadLink(const std::string& path, std::string& text) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            return false;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            text.assign(buffer.data(), static_cast<std::size_t>(length));
            return !text.empty();
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

bool MayFollow(const std::string& link, const struct stat& info) {
    struct stat folder {};
    if (::stat(FolderOf(link).c_str(), &folder) != 0) {
        return false;
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || info.st_uid == ::geteuid() || info.st_uid == folder.st_uid;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

bool FollowLinks(const std::string& path, std::string& target, struct stat& info, bool& exists) {
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        if (current.empty() || current.back() == '/') {
            errno = current.empty() ? ENOENT : EISDIR;
            return false;
        }
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT) {
                return false;
            }
            exists = false;
            target = current;
            return true;
        }
        if (!S_ISLNK(info.st_mode)) {
            exists = true;
            target = current;
            return true;
        }
        if (!MayFollow(current, info)) {
            errno = EACCES;
            return false;
        }
        std::string link;
        if (!ReadLink(current, link)) {
            return false;
        }
        if (link.front() == '/') {
            current = link;
        } else {
            const std::string folder = FolderOf(current);
            current = (folder == "/" ? "" : folder) + "/" + link;
        }
    }
    errno = ELOOP;
    return false;
}

} // namespace permora
