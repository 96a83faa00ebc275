#include "model/checks.h"

namespace permora {

namespace {

bool IsAsciiLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool IsPathChar(char c) {
    switch (c) {
    case '.':
    case '_':
    case '-':
    case '{':
    case '}':
    case '/':
        return true;
    default:
        return IsAsciiLetterOrDigit(c);
    }
}

bool IsDomainChar(char c) {
    return IsAsciiLetterOrDigit(c) || c == '.' || c == '-' || c == '_';
}

bool IsAccountChar(char c) {
    return IsAsciiLetterOrDigit(c) || c == '-' || c == '_';
}

} // namespace

std::string TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\n\v\f\r";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

bool IsPathValid(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    if (path.find("//") != std::string::npos) {
        return false;
    }
    if (path.front() == '/' && path.compare(0, 5, "/vol/") != 0) {
        return false;
    }
    for (char c : path) {
        if (!IsPathChar(c)) {
            return false;
        }
    }
    return true;
}

bool IsValidAccountName(std::string_view name) {
    if (name.empty() || name.front() == '\\' || name.back() == '\\') {
        return false;
    }
    const std::size_t slash = name.find('\\');
    std::string_view domain;
    std::string_view account = name;
    if (slash != std::string::npos) {
        if (name.find('\\', slash + 1) != std::string::npos) {
            return false;
        }
        domain = account.substr(0, slash);
        account = account.substr(slash + 1);
    }
    for (char c : domain) {
        if (!IsDomainChar(c)) {
            return false;
        }
    }
    for (char c : account) {
        if (!IsAccountChar(c)) {
            return false;
        }
    }
    return true;
}

} // namespace permora
