// Logging on to a share through the helper, and reading what it answers.

#include "smb/share.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace permora::smb {

namespace {

std::string Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

bool IsOneOf(std::string_view status, std::initializer_list<std::string_view> codes) {
    for (const std::string_view code : codes) {
        if (status == code) {
            return true;
        }
    }
    return false;
}

// What the status of a failed logon means.
Failure ConnectFailure(std::string_view status) {
    if (IsOneOf(status, {"c000006d", "c000006a", "c0000064", "c0000072", "c000006e", "c000006f",
                         "c0000070", "c0000071", "c0000193", "c0000224", "c0000234", "c000015b"})) {
        return Failure::Logon;
    }
    if (IsOneOf(status, {"c00000cc"})) {
        return Failure::NoShare;
    }
    if (status == "helper" || status.empty()) {
        return Failure::Helper;
    }
    return Failure::Unreachable;
}

Failure FolderFailure(std::string_view status) {
    if (IsOneOf(status, {"c0000034", "c000003a", "c0000033", "c0000039", "c00000c9"})) {
        return Failure::NotFound;
    }
    if (IsOneOf(status, {"c0000022", "c0000061"})) {
        return Failure::Denied;
    }
    if (status == "helper") {
        return Failure::Helper;
    }
    return Failure::Other;
}

std::string JoinedPath(const std::vector<std::string>& names) {
    std::string path;
    for (const std::string& name : names) {
        if (!path.empty()) {
            path += '\\';
        }
        path += name;
    }
    return path;
}

} // namespace

std::string ShareAddress::Text() const {
    std::string text = "//" + server + "/" + share;
    for (const std::string& name : folder) {
        text += "/" + name;
    }
    return text;
}

bool ParseShareAddress(std::string_view text, ShareAddress& address, std::string& problem) {
    std::string path(text);
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    if (!path.starts_with("//")) {
        problem = "a share is named //server/share";
        return false;
    }
    std::vector<std::string> parts;
    std::size_t start = 2;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, end - start);
        if (!part.empty()) {
            if (part == "." || part == "..") {
                problem = "a share's folder is named without . or .. parts";
                return false;
            }
            parts.push_back(part);
        }
        start = end + 1;
    }
    if (parts.size() < 2) {
        problem = "a share is named //server/share";
        return false;
    }
    address.server = parts[0];
    address.share = parts[1];
    address.folder.assign(parts.begin() + 2, parts.end());
    return true;
}

Credentials::~Credentials() {
    // Not optimised away: the memory is still read through a volatile pointer.
    volatile char* p = password.data();
    for (std::size_t i = 0; i < password.size(); ++i) {
        p[i] = 0;
    }
}

void SetAccount(std::string_view account, Credentials& credentials) {
    const std::size_t slash = account.find_first_of("\\/");
    if (slash == std::string_view::npos) {
        credentials.user = std::string(account);
        return;
    }
    credentials.domain = std::string(account.substr(0, slash));
    credentials.user = std::string(account.substr(slash + 1));
}

bool ReadAuthFile(const std::string& path, Credentials& credentials, std::string& problem) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        problem = std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        problem = "not a regular file";
        return false;
    }
    if (info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
        ::close(fd);
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        problem = std::string("it holds a password, so it must be yours and of mode 0600 (it is ") +
                  (info.st_uid != ::geteuid() ? "another user's, " : "") + "of mode " + mode + ")";
        return false;
    }
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > (1u << 16)) {
            break;
        }
    }
    ::close(fd);
    std::istringstream lines(bytes);
    std::string line;
    bool haveUser = false;
    while (std::getline(lines, line)) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string key = Trim(line.substr(0, equals));
        const std::string value = Trim(line.substr(equals + 1));
        if (key == "username") {
            SetAccount(value, credentials);
            haveUser = true;
        } else if (key == "password") {
            credentials.password = value;
        } else if (key == "domain") {
            credentials.domain = value;
        }
    }
    volatile char* p = bytes.data();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        p[i] = 0;
    }
    if (!haveUser) {
        problem = "it names no username";
        return false;
    }
    return true;
}

std::string ShareError::Reason() const {
    std::string reason = text.empty() ? "no reason given" : text;
    if (!status.empty() && status != "helper") {
        reason += " (NT_STATUS " + status + ")";
    }
    return reason;
}

bool ShareSession::Ask(const Record& request, Record& answer, ShareError& error,
                       Failure failureKind) {
    if (!helper_.Ask(request, answer) || answer.empty()) {
        error = {Failure::Helper, "helper", "the SMB helper ended unexpectedly"};
        return false;
    }
    if (answer[0] == "ok") {
        return true;
    }
    error.status = answer.size() > 1 ? answer[1] : std::string();
    error.text = answer.size() > 2 ? answer[2] : std::string();
    error.kind =
        failureKind == Failure::Logon ? ConnectFailure(error.status) : FolderFailure(error.status);
    return false;
}

bool ShareSession::Connect(const ShareAddress& address, const Credentials& credentials,
                           ShareError& error) {
    const std::string program = HelperPath();
    if (program.empty()) {
        error = {Failure::Helper, "helper", "the SMB helper permora-smb-helper is not installed"};
        return false;
    }
    std::string why;
    if (!helper_.Start(program, why)) {
        error = {Failure::Helper, "helper", "cannot start " + program + ": " + why};
        return false;
    }
    Record answer;
    return Ask({"hello", address.server, address.share, credentials.domain, credentials.user,
                credentials.password},
               answer, error, Failure::Logon);
}

bool ShareSession::ReadFolder(const std::vector<std::string>& path, bool audit, bool list,
                              FolderRead& folder, ShareError& error) {
    Record answer;
    if (!Ask({"folder", JoinedPath(path), audit ? "1" : "0", list ? "1" : "0"}, answer, error,
             Failure::NotFound)) {
        return false;
    }
    if (answer.size() < 3) {
        error = {Failure::Helper, "helper", "the SMB helper gave an incomplete answer"};
        return false;
    }
    folder.auditRead = answer[1] == "1";
    folder.descriptor = std::move(answer[2]);
    folder.subfolders.assign(std::make_move_iterator(answer.begin() + 3),
                             std::make_move_iterator(answer.end()));
    return true;
}

bool ShareSession::LookupNames(const std::vector<std::string>& names,
                               std::vector<std::string>& sids, ShareError& error) {
    Record request{"names"};
    request.insert(request.end(), names.begin(), names.end());
    Record answer;
    if (!Ask(request, answer, error, Failure::Other)) {
        return false;
    }
    sids.assign(answer.begin() + 1, answer.end());
    sids.resize(names.size());
    return true;
}

bool ShareSession::LookupSids(const std::vector<std::string>& sids, std::vector<std::string>& names,
                              ShareError& error) {
    Record request{"sids"};
    request.insert(request.end(), sids.begin(), sids.end());
    Record answer;
    if (!Ask(request, answer, error, Failure::Other)) {
        return false;
    }
    names.assign(answer.begin() + 1, answer.end());
    names.resize(sids.size());
    return true;
}

} // namespace permora::smb
