// show: a template as a person reads it, each target's line, or JSON.

#include "cli/command.h"
#include "cli/common.h"
#include "model/checks.h"
#include "model/names.h"
#include "model/template_ops.h"
#include "model/well_known.h"
#include "template_file/terminal_text.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace permora::cli {

namespace {

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

// The descriptor field of a template line: what stands between the quotes after the path.
std::string_view AclTextOf(std::string_view line) {
    std::size_t at = std::string_view::npos;
    for (int quote = 0; quote < 3; ++quote) {
        at = line.find('"', at == std::string_view::npos ? 0 : at + 1);
        if (at == std::string_view::npos) {
            return {};
        }
    }
    const std::size_t end = line.find('"', at + 1);
    return line.substr(at + 1,
                       end == std::string_view::npos ? std::string_view::npos : end - at - 1);
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
        // A target of another style is written back from its line: its ACL text as it
        // stands there says more than what the editor reads of it.
        if (t->SecurityStyle != kStyleNtfs) {
            out << "  ACL text: " << AclTextOf(t->SourceLine.Text()) << '\n';
        }

        // One set of column widths for all rows of the target.
        using Row = std::vector<std::string>;
        std::vector<std::pair<const ListPart*, std::vector<Row>>> parts;
        Columns columns;
        for (const ListPart& part : kListParts) {
            if ((d.Control & part.presentBit) == 0) {
                continue;
            }
            std::vector<Row> rows;
            for (const Ace* e : EntriesOf(d, part)) {
                Row row{EntryTypeName(*e, part.list), e->NTAccount, PermissionName(e->Mask),
                        PlacesText(e->Flags),         Hex(e->Mask), FlagsHex(e->Flags)};
                columns.Widen(row);
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
                out << columns.Line(row, 3) << '\n';
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

// The array is written a target at a time, so that no more than one target's document is
// held; the bytes are those of the whole array dumped at once (each element's lines two
// blanks further in).
void ShowJson(const std::vector<const TargetObject*>& selected, std::ostream& out) {
    if (selected.empty()) {
        out << "[]\n";
        return;
    }
    out << "[\n";
    std::string text;
    std::string indented;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        const TargetObject* t = selected[i];
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
        for (const ListPart& part : kListParts) {
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
        text = target.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        indented.assign("  ");
        for (const char c : text) {
            indented += c;
            if (c == '\n') {
                indented += "  ";
            }
        }
        indented += i + 1 == selected.size() ? "\n" : ",\n";
        out.write(indented.data(), static_cast<std::streamsize>(indented.size()));
    }
    out << "]\n";
}

// Whether the target is NTFS and a list it writes has an entry of the account (its
// CanonicalAccount identity).
bool NamesAccount(const TargetObject& t, const std::string& account) {
    if (t.SecurityStyle != kStyleNtfs || !t.Descriptor) {
        return false;
    }
    const SecurityDescriptor& d = *t.Descriptor;
    for (const ListPart& part : kListParts) {
        if ((d.Control & part.presentBit) == 0) {
            continue;
        }
        for (const Ace* e : EntriesOf(d, part)) {
            if (CanonicalAccount(e->NTAccount) == account) {
                return true;
            }
        }
    }
    return false;
}

struct ShowOptions {
    std::string file;
    std::vector<std::string> paths;
    std::string account;
    std::string format = "text";
    bool json = false;
};

int Show(const ShowOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    SecurityTemplate tmpl;
    if (const int read = LoadWhole(o.file, tmpl, err, &in, nullptr); read != kSuccess) {
        return read;
    }
    const TargetScope scope = TargetsMatchingAny(o.paths);
    const std::string account = CanonicalAccount(o.account);
    std::vector<const TargetObject*> selected;
    int index = 0;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next, ++index) {
        if (scope(*t, index) && (o.account.empty() || NamesAccount(*t, account))) {
            selected.push_back(t);
        }
    }
    if (selected.empty() && (!o.paths.empty() || !o.account.empty())) {
        Complain(err, o.file + ": " + NothingSelected(o.paths, o.account));
        return kUsage;
    }
    if (o.json || o.format == "json") {
        ShowJson(selected, out);
    } else if (o.format == "line") {
        ShowLines(selected, out);
    } else {
        TerminalStream text(out); // read on a terminal: a hostile path goes out escaped
        ShowText(selected, text);
    }
    return kSuccess;
}

Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<ShowOptions>();
    command.add_option("FILE", o->file, "Template file")->required();
    command.add_option("--path", o->paths,
                       "Only the targets whose path matches this pattern (repeatable)");
    command.add_option("--account", o->account,
                       "Only the targets with an entry of this account (any letter case; a "
                       "well-known account by its alias, SID or name)");
    CLI::Option* format =
        command
            .add_option("--format", o->format,
                        "text (the default), line (each target's template line) or json")
            ->check(CLI::IsMember({"text", "line", "json"}));
    command.add_flag("--json", o->json, "The same as --format json")->excludes(format);
    return [o, io] { return Show(*o, io.in, io.out, io.err); };
}

} // namespace

const Command kShow = {
    "show",
    "Print a template's targets and entries",
    "  permora-cli show security.conf --path '/vol/home/*' --account 'LAB\\bob'\n"
    "  permora-cli show security.conf --format line | grep -c 'LAB\\\\bob'\n",
    "  0  shown\n"
    "  1  the file has errors; nothing is shown\n",
    false,
    Define,
};

} // namespace permora::cli
