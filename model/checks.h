#pragma once

#include <string>
#include <string_view>

namespace permora {

// Account names compare without regard to letter case (ASCII letters), everywhere; this is
// the one folding that every comparison and every hash of an account name goes through.
inline char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b);
// The text with its letters folded as EqualsNoCase folds them: equal results for names
// that EqualsNoCase finds equal, for use as keys.
std::string FoldCase(std::string_view text);
// Orders texts as EqualsNoCase compares them: letters folded, then byte by byte; a text
// sorts before a longer one it begins. Negative, zero or positive.
int CompareNoCase(std::string_view a, std::string_view b);

// The text without blanks (space, tab, line ends, vertical tab, form feed) at either end,
// as a typed path is taken before its check.
std::string TrimBlanks(std::string_view text);

// 1 when the path may become a target's path, 0 otherwise.
int IsPathValid(const std::string& path);

// The one account-name rule: Domain\NTAccount or a bare account name.
bool IsValidAccountName(std::string_view name);

} // namespace permora
