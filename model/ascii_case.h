#pragma once

// The program's one ASCII case folding. Account names, paths in the list and list-box
// texts compare without regard to letter case (ASCII letters only) through these helpers
// and nothing else. Header-only and plain C++, so the dialog toolkit can use it without
// depending on the model.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace permora {

inline char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The text with its letters folded as EqualsNoCase folds them: equal results for names
// that EqualsNoCase finds equal, for use as keys.
inline std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        c = FoldAscii(c);
    }
    return folded;
}

// Orders texts as EqualsNoCase compares them: letters folded, then byte by byte; a text
// sorts before a longer one it begins. Negative, zero or positive.
inline int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(FoldAscii(a[i]));
        const auto cb = static_cast<unsigned char>(FoldAscii(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

} // namespace permora
