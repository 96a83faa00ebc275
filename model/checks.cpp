#include "model/checks.h"

#include <algorithm>

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
    return FindPathFault(path).kind == PathFault::Kind::None;
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

namespace {

std::string CharacterText(char c) {
    if (c == ' ') {
        return "a blank";
    }
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F) {
        static constexpr char kDigits[] = "0123456789abcdef";
        return std::string("the byte 0x") + kDigits[byte >> 4] + kDigits[byte & 0xF];
    }
    return std::string("'") + c + "'";
}

} // namespace

PathFault FindPathFault(std::string_view path) {
    using Kind = PathFault::Kind;
    if (path.empty()) {
        return {Kind::Empty};
    }
    if (path.find("//") != std::string_view::npos) {
        return {Kind::TwoSlashes};
    }
    if (path.front() == '/' && !path.starts_with("/vol/")) {
        return {Kind::OutsideVol};
    }
    for (char c : path) {
        if (!IsPathChar(c)) {
            return {Kind::Character, c};
        }
    }
    return {};
}

std::string PathProblem(std::string_view path) {
    const PathFault fault = FindPathFault(path);
    switch (fault.kind) {
    case PathFault::Kind::None:
        break;
    case PathFault::Kind::Empty:
        return "the path is empty";
    case PathFault::Kind::TwoSlashes:
        return "two slashes in a row";
    case PathFault::Kind::OutsideVol:
        return "a path from the root must begin with /vol/";
    case PathFault::Kind::Character:
        return CharacterText(fault.character) +
               " is not allowed; a path takes letters, digits and . _ - { } /";
    }
    return {};
}

std::string AccountNameProblem(std::string_view name) {
    if (name.empty()) {
        return "the name is empty";
    }
    if (name.front() == '\\') {
        return "the domain before the backslash is missing";
    }
    if (name.back() == '\\') {
        return "the name after the backslash is missing";
    }
    const std::size_t slash = name.find('\\');
    if (slash != std::string_view::npos && name.find('\\', slash + 1) != std::string_view::npos) {
        return "only one backslash may stand between domain and name";
    }
    const std::string_view domain =
        slash == std::string_view::npos ? std::string_view() : name.substr(0, slash);
    const std::string_view account =
        slash == std::string_view::npos ? name : name.substr(slash + 1);
    for (char c : domain) {
        if (!IsDomainChar(c)) {
            return CharacterText(c) +
                   " is not allowed in the domain; it takes letters, digits and . - _";
        }
    }
    for (char c : account) {
        if (c == '.') {
            return "a full stop is allowed in the domain part only";
        }
        if (!IsAccountChar(c)) {
            return CharacterText(c) +
                   " is not allowed in the name; it takes letters, digits, - and _";
        }
    }
    return {};
}

} // namespace permora

namespace permora {

std::string ResolvedPath(std::string_view path) {
    if (!path.starts_with('/')) {
        return std::string(path);
    }
    std::vector<std::string_view> segments;
    while (!path.empty()) {
        path.remove_prefix(1); // the "/"
        const std::size_t end = path.find('/');
        const std::string_view segment = path.substr(0, end);
        path = end == std::string_view::npos ? std::string_view() : path.substr(end);
        if (segment.empty() || segment == ".") {
            continue;
        }
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
            continue;
        }
        segments.push_back(segment);
    }
    if (segments.empty()) {
        return "/";
    }
    std::string resolved;
    for (const std::string_view segment : segments) {
        resolved += '/';
        resolved += segment;
    }
    return resolved;
}

bool HasDotSegments(std::string_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view segment = path.substr(start, end - start);
        if (segment == "." || segment == "..") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::vector<std::string> PathRepeats::Take(std::string_view where, std::string_view path,
                                           std::int32_t level) {
    std::vector<std::string> warnings;
    std::string resolved = ResolvedPath(path);
    if (HasDotSegments(path)) {
        warnings.push_back("the path " + std::string(path) +
                           " has \".\" or \"..\" segments; it stands for " + resolved);
    }
    std::string key = std::move(resolved);
    const std::size_t pathSize = key.size();
    key += '\0';
    key += std::to_string(level);
    const auto [first, fresh] = first_.try_emplace(std::move(key), where);
    if (!fresh) {
        warnings.push_back("the target " + std::string(path) + " repeats the path and level of " +
                           first->second + " (" + first->first.substr(0, pathSize) + ")");
    }
    return warnings;
}

} // namespace permora
