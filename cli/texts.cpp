// Texts for people that several commands print.

#include "cli/common.h"

#include "model/names.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace permora::cli {

const ListPart kListParts[2] = {
    {"auditing", "auditing", SE_SACL_PRESENT, SE_SACL_PROTECTED, SE_SACL_AUTO_INHERIT_REQ,
     SE_SACL_AUTO_INHERITED, ListKind::Auditing},
    {"permissions", "permissions", SE_DACL_PRESENT, SE_DACL_PROTECTED, SE_DACL_AUTO_INHERIT_REQ,
     SE_DACL_AUTO_INHERITED, ListKind::Permissions},
};

std::string PartMarks(const ListPart& part, std::uint16_t control) {
    std::string text = part.list == ListKind::Permissions ? "D:" : "S:";
    if ((control & part.protectedBit) != 0) {
        text += "P";
    }
    if ((control & part.inheritRequestBit) != 0) {
        text += "AR";
    }
    if ((control & part.inheritedBit) != 0) {
        text += "AI";
    }
    return text;
}

std::string MarksText(std::uint16_t control) {
    std::string text;
    for (const ListPart& part : kListParts) {
        if ((control & part.presentBit) != 0) {
            if (!text.empty()) {
                text += ' ';
            }
            text += PartMarks(part, control);
        }
    }
    return text;
}

std::string StyleText(std::int32_t style) {
    const char* name = StyleName(style);
    return name != nullptr ? name : std::to_string(style);
}

std::string LevelText(std::int32_t level) {
    const char* name = LevelName(level);
    return name != nullptr ? name : std::to_string(level);
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
    return text;
}

std::string Plural(long long count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

void Columns::Widen(const std::vector<std::string>& row) {
    widths_.resize(std::max(widths_.size(), row.size()));
    for (std::size_t i = 0; i < row.size(); ++i) {
        widths_[i] = std::max(widths_[i], row[i].size());
    }
}

std::string Columns::Line(const std::vector<std::string>& row, std::size_t indent) const {
    std::string line(indent, ' ');
    for (std::size_t i = 0; i < row.size(); ++i) {
        line += ' ';
        line += row[i];
        if (i + 1 < row.size()) {
            line.append(widths_[i] - row[i].size() + 1, ' ');
        }
    }
    return line;
}

void PrintTable(const std::vector<std::vector<std::string>>& rows, std::size_t indent,
                std::ostream& out) {
    Columns columns;
    for (const auto& row : rows) {
        columns.Widen(row);
    }
    for (const auto& row : rows) {
        out << columns.Line(row, indent) << '\n';
    }
}

} // namespace permora::cli
