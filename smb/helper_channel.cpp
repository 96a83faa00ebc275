// Starting the helper and exchanging records with it.

#include "smb/helper_channel.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace permora::smb {

namespace {

// No request or answer comes near these; a larger one is not from the helper.
constexpr std::uint32_t kMostFields = 1u << 20;
constexpr std::uint32_t kLongestField = 1u << 26;

void PutU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

std::uint32_t GetU32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

} // namespace

std::string HelperPath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    const std::filesystem::path prefix = self.parent_path().parent_path();
    for (const char* relative : {"libexec/permora/permora-smb-helper", "smb/permora-smb-helper"}) {
        const std::filesystem::path candidate = prefix / relative;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return {};
}

HelperChannel::~HelperChannel() {
    Stop();
}

bool HelperChannel::Start(const std::string& program, std::string& error) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        error = std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The helper's standard input and output are its end of the socket; what it would print
    // elsewhere goes nowhere.
    posix_spawn_file_actions_adddup2(&actions, pair[1], 0);
    posix_spawn_file_actions_adddup2(&actions, pair[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    const int spawned = ::posix_spawn(&child_, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pair[1]);
    if (spawned != 0) {
        ::close(pair[0]);
        child_ = -1;
        error = std::strerror(spawned);
        return false;
    }
    socket_ = pair[0];
    return true;
}

bool HelperChannel::Ask(const Record& request, Record& answer) {
    return Send(request) && Receive(answer);
}

bool HelperChannel::Send(const Record& record) {
    if (socket_ < 0) {
        return false;
    }
    std::string bytes;
    PutU32(bytes, static_cast<std::uint32_t>(record.size()));
    for (const std::string& field : record) {
        PutU32(bytes, static_cast<std::uint32_t>(field.size()));
        bytes += field;
    }
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    // The password went in a request: that copy is not kept.
    std::memset(bytes.data(), 0, bytes.size());
    return true;
}

bool HelperChannel::ReadExact(char* data, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::recv(socket_, data + got, size - got, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool HelperChannel::Receive(Record& record) {
    record.clear();
    if (socket_ < 0) {
        return false;
    }
    std::array<char, 4> head{};
    if (!ReadExact(head.data(), head.size())) {
        return false;
    }
    const std::uint32_t count = GetU32(head.data());
    if (count > kMostFields) {
        return false;
    }
    record.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!ReadExact(head.data(), head.size())) {
            return false;
        }
        const std::uint32_t length = GetU32(head.data());
        if (length > kLongestField) {
            return false;
        }
        std::string field(length, '\0');
        if (!ReadExact(field.data(), length)) {
            return false;
        }
        record.push_back(std::move(field));
    }
    return true;
}

void HelperChannel::Stop() {
    if (socket_ >= 0) {
        // The end of its input ends the helper.
        ::close(socket_);
        socket_ = -1;
    }
    if (child_ > 0) {
        int status = 0;
        while (::waitpid(child_, &status, 0) < 0 && errno == EINTR) {
        }
        child_ = -1;
    }
}

} // namespace permora::smb
