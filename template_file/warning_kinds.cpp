// Which of the reader's warnings change what a target grants or audits.

#include "template_file/template_file.h"

namespace permora {

bool WarningChangesMeaning(std::string_view warning) {
    // Entries merged by the merge rules keep every place either reached; an owner, a group
    // and the auto-inherited mark are nothing the template grants or audits; a closing quote
    // that a save adds changes nothing that was read.
    constexpr std::string_view kKept[] = {"owner ", "group ", "mark AI of ",
                                          "the line ends before the closing quote"};
    for (const std::string_view start : kKept) {
        if (warning.starts_with(start)) {
            return false;
        }
    }
    return !(warning.starts_with("entry (") &&
             warning.find(") is merged into an earlier entry of ") != std::string_view::npos);
}

} // namespace permora
