// show: a template as a person reads it, or as JSON.

#include "cli/commands.h"

#include "model/names.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ostream>
#include <vector>

namespace permora::cli {

namespace {

struct ListPart {
    const char* name;     // heading in the text
    const char* jsonName; // member in the JSON
    std::uint16_t presentBit;
    std::uint16_t protectedBit;
    std::uint16_t inheritRequestBit;
    std::uint16_t inheritedBit;
    ListKind list;
};

// In the order the file writes them.
constexpr ListPart kParts[] = {
    {"auditing", "auditing", SE_SACL_PRESENT, SE_SACL_PROTECTED, SE_SACL_AUTO_INHERIT_REQ,
     SE_SACL_AUTO_INHERITED, ListKind::Auditing},
    {"permissions", "permissions", SE_DACL_PRESENT, SE_DACL_PROTECTED, SE_DACL_AUTO_INHERIT_REQ,
     SE_DACL_AUTO_INHERITED, ListKind::Permissions},
};

const char* PartLetter(const ListPart& part) {
    return part.list == ListKind::Permissions ? "D:" : "S:";
}

std::string PartMarks(const ListPart& part, std::uint16_t control) {
    std::string text = PartLetter(part);
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

// The entries of a part in the order the entry lists show them.
std::vector<const Ace*> EntriesOf(const SecurityDescriptor& d, const ListPart& part) {
    std::vector<const Ace*> entries;
    const auto add = [&](const AceList& list) {
        for (const Ace* e = list.Head; e != nullptr; e = e->Next) {
            entries.push_back(e);
        }
    };
    if (part.list == ListKind::Permissions) {
        add(d.DaclList.Deny);
        add(d.DaclList.Allow);
    } else {
        add(d.SaclList.Audit);
    }
    return entries;
}

std::string FlagsHex(std::uint8_t flags) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02x", static_cast<unsigned>(flags));
    return text;
}

const SecurityDescriptor& DescriptorOf(const TargetObject& t) {
    static const SecurityDescriptor kNone;
    return t.Descriptor ? *t.Descriptor : kNone;
}

nlohmann::ordered_json NameOrNull(const char* name) {
    return name != nullptr ? nlohmann::ordered_json(name) : nlohmann::ordered_json(nullptr);
}

} // namespace

std::string MarksText(std::uint16_t control) {
    std::string text;
    for (const ListPart& part : kParts) {
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

void ShowText(const std::vector<const TargetObject*>& targets, std::ostream& out) {
    bool first = true;
    for (const TargetObject* t : targets) {
        if (!first) {
            out << '\n';
        }
        first = false;
        const SecurityDescriptor& d = DescriptorOf(*t);
        out << t->Path << '\n'
            << "  style " << StyleText(t->SecurityStyle) << ", level "
            << LevelText(t->SecurityLevel) << ", mode " << t->Mode << '\n';

        // One set of column widths for all rows of the target.
        using Row = std::array<std::string, 6>;
        std::vector<std::pair<const ListPart*, std::vector<Row>>> parts;
        std::array<std::size_t, 6> widths{};
        for (const ListPart& part : kParts) {
            if ((d.Control & part.presentBit) == 0) {
                continue;
            }
            std::vector<Row> rows;
            for (const Ace* e : EntriesOf(d, part)) {
                Row row{EntryTypeName(*e, part.list), e->NTAccount, PermissionName(e->Mask),
                        PlacesText(e->Flags),         Hex(e->Mask), FlagsHex(e->Flags)};
                for (std::size_t i = 0; i < row.size(); ++i) {
                    widths[i] = std::max(widths[i], row[i].size());
                }
                rows.push_back(std::move(row));
            }
            parts.emplace_back(&part, std::move(rows));
        }
        if (parts.empty()) {
            out << "  no lists\n";
        }
        for (const auto& [part, rows] : parts) {
            out << "  " << part->name << " (" << PartMarks(*part, d.Control) << ")"
                << (rows.empty() ? ": no entries\n" : ":\n");
            for (const Row& row : rows) {
                std::string line = "   ";
                for (std::size_t i = 0; i < row.size(); ++i) {
                    line += ' ';
                    line += row[i];
                    if (i + 1 < row.size()) {
                        line.append(widths[i] - row[i].size() + 1, ' ');
                    }
                }
                out << line << '\n';
            }
        }
    }
}

void ShowLines(const std::vector<const TargetObject*>& targets, std::ostream& out) {
    std::string line;
    for (const TargetObject* t : targets) {
        line = ToLine(*t);
        line.push_back('\n');
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
}

void ShowJson(const std::vector<const TargetObject*>& selected, std::ostream& out) {
    nlohmann::ordered_json targets = nlohmann::ordered_json::array();
    for (const TargetObject* t : selected) {
        const SecurityDescriptor& d = DescriptorOf(*t);
        nlohmann::ordered_json target = {
            {"path", t->Path},
            {"style", t->SecurityStyle},
            {"style_name", NameOrNull(StyleName(t->SecurityStyle))},
            {"level", t->SecurityLevel},
            {"level_name", NameOrNull(LevelName(t->SecurityLevel))},
            {"mode", t->Mode},
            {"control", d.Control},
            {"line", ToLine(*t)},
            {"sddl", ToSddl(d)},
        };
        for (const ListPart& part : kParts) {
            if ((d.Control & part.presentBit) == 0) {
                target[part.jsonName] = nullptr;
                continue;
            }
            nlohmann::ordered_json entries = nlohmann::ordered_json::array();
            for (const Ace* e : EntriesOf(d, part)) {
                entries.push_back({
                    {"type", EntryTypeName(*e, part.list)},
                    {"account", e->NTAccount},
                    {"permission", PermissionName(e->Mask)},
                    {"apply_to", PlacesText(e->Flags)},
                    {"mask", e->Mask},
                    {"flags", e->Flags},
                });
            }
            target[part.jsonName] = {
                {"protected", (d.Control & part.protectedBit) != 0},
                {"inherit_request", (d.Control & part.inheritRequestBit) != 0},
                {"auto_inherited", (d.Control & part.inheritedBit) != 0},
                {"entries", std::move(entries)},
            };
        }
        targets.push_back(std::move(target));
    }
    out << targets.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

} // namespace permora::cli
