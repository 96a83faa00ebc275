#include "ui/toolkit/modal_host.h"

#include <string>
#include <vector>

namespace tk {

namespace {

ModalHost* g_host = nullptr; // nullptr: the Qt host

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            break;
        }
        parts.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// "*.conf;*.txt" -> "*.conf *.txt"; "*.*", every file there, is "*" to Qt, where "*.*"
// would leave out the names without a dot.
std::string QtPatterns(std::string_view patterns) {
    std::string joined;
    for (const std::string& part : Split(patterns, ';')) {
        std::string pattern = Trim(part);
        if (pattern.empty())
            continue;
        if (pattern == "*.*")
            pattern = "*";
        if (!joined.empty())
            joined += ' ';
        joined += pattern;
    }
    return joined.empty() ? std::string("*") : joined;
}

} // namespace

ModalHost& Host() {
    return g_host != nullptr ? *g_host : QtHost();
}

ModalHost* SetHost(ModalHost* host) {
    ModalHost* previous = g_host;
    g_host = host;
    return previous;
}

int MessageBox(const Window* owner, std::string_view text, std::string_view title, unsigned type) {
    return Host().MessageBox(owner, text, title, type);
}

FileDialogResult FileDialog(const FileDialogRequest& request) {
    return Host().FileDialog(request);
}

std::string QtFilter(std::string_view windowsFilter) {
    const std::vector<std::string> parts = Split(windowsFilter, '|');
    std::string filter;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        const std::string& description = parts[i];
        if (description.empty())
            break; // "||" ends the list
        const std::string& windowsPatterns = parts[i + 1];
        const std::string patterns = QtPatterns(windowsPatterns);
        // Qt reads the patterns from the parentheses at the end of the text.
        std::string entry = description;
        const std::string shown = "(" + windowsPatterns + ")";
        if (entry.size() >= shown.size() &&
            entry.compare(entry.size() - shown.size(), shown.size(), shown) == 0) {
            entry.replace(entry.size() - shown.size(), shown.size(), "(" + patterns + ")");
        } else {
            entry += " (" + patterns + ")";
        }
        if (!filter.empty())
            filter += ";;";
        filter += entry;
    }
    return filter;
}

} // namespace tk
