// diff: the differences of two templates, target by target, as text or JSON.

#include "cli/command.h"
#include "cli/common.h"
#include "model/template_ops.h"
#include "template_file/terminal_text.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

namespace permora::cli {

namespace {

// The list that holds entries of the type.
const char* ListName(std::uint8_t type) {
    switch (type) {
    case kAuditType:
        return "Audit";
    case kDenyType:
        return "Deny";
    default:
        return "Allow";
    }
}

std::string Named(const TargetObject& t, int occurrence) {
    return occurrence > 1 ? t.Path + " #" + std::to_string(occurrence) : t.Path;
}

std::uint16_t ControlOf(const TargetObject& t) {
    return t.Descriptor ? t.Descriptor->Control : 0;
}

std::string MarksOrNone(std::uint16_t control) {
    const std::string marks = MarksText(control);
    return marks.empty() ? "none" : marks;
}

nlohmann::ordered_json EntryJson(const Ace* entry) {
    if (entry == nullptr) {
        return nullptr;
    }
    return {{"account", entry->NTAccount}, {"flags", entry->Flags}, {"mask", entry->Mask}};
}

template <class T> void Change(nlohmann::ordered_json& target, const char* name, T a, T b) {
    target[name] = {{"a", a}, {"b", b}};
}

int DiffText(const SecurityTemplate& a, const SecurityTemplate& b, const std::string& nameA,
             const std::string& nameB, std::ostream& out) {
    const std::vector<TargetDifference> differences = CompareTemplates(a, b);
    if (differences.empty()) {
        return 0;
    }
    int onlyA = 0;
    int onlyB = 0;
    int changed = 0;
    int moved = 0;
    out << "--- " << nameA << '\n' << "+++ " << nameB << '\n';
    for (const TargetDifference& d : differences) {
        if (d.b == nullptr) {
            out << "- " << Named(*d.a, d.occurrence) << '\n';
            ++onlyA;
            continue;
        }
        if (d.a == nullptr) {
            out << "+ " << Named(*d.b, d.occurrence) << '\n';
            ++onlyB;
            continue;
        }
        out << "~ " << Named(*d.a, d.occurrence) << '\n';
        if (d.moved) {
            ++moved;
            out << "    moved: position " << d.indexA + 1 << " -> " << d.indexB + 1 << '\n';
        }
        const bool content = d.styleChanged || d.levelChanged || d.modeChanged || d.marksChanged ||
                             d.lineChanged || !d.entries.empty();
        changed += content ? 1 : 0;
        if (d.styleChanged) {
            out << "    style: " << StyleText(d.a->SecurityStyle) << " -> "
                << StyleText(d.b->SecurityStyle) << '\n';
        }
        if (d.levelChanged) {
            out << "    level: " << LevelText(d.a->SecurityLevel) << " -> "
                << LevelText(d.b->SecurityLevel) << '\n';
        }
        if (d.modeChanged) {
            out << "    mode: " << d.a->Mode << " -> " << d.b->Mode << '\n';
        }
        if (d.marksChanged) {
            std::string before = MarksOrNone(ControlOf(*d.a));
            std::string after = MarksOrNone(ControlOf(*d.b));
            if (before == after) { // bits that no mark shows
                before += " (" + Hex(ControlOf(*d.a)) + ")";
                after += " (" + Hex(ControlOf(*d.b)) + ")";
            }
            out << "    marks: " << before << " -> " << after << '\n';
        }
        if (d.lineChanged) {
            out << "    line: " << d.a->SourceLine << " -> " << d.b->SourceLine << '\n';
        }
        for (const EntryDifference& e : d.entries) {
            if (e.b == nullptr) {
                out << "    - " << ToSddl(*e.a) << '\n';
            } else if (e.a == nullptr) {
                out << "    + " << ToSddl(*e.b) << '\n';
            } else {
                out << "    ~ " << ToSddl(*e.a) << " -> " << ToSddl(*e.b) << '\n';
            }
        }
    }
    out << Plural(onlyA, "target", "targets") << " only in " << nameA << ", " << onlyB
        << " only in " << nameB << ", " << changed << " changed";
    if (moved > 0) {
        out << ", " << moved << " moved";
    }
    out << '\n';
    return 1;
}

int DiffJson(const SecurityTemplate& a, const SecurityTemplate& b, std::ostream& out) {
    const std::vector<TargetDifference> differences = CompareTemplates(a, b);
    nlohmann::ordered_json onlyA = nlohmann::ordered_json::array();
    nlohmann::ordered_json onlyB = nlohmann::ordered_json::array();
    nlohmann::ordered_json changed = nlohmann::ordered_json::array();
    for (const TargetDifference& d : differences) {
        if (d.b == nullptr || d.a == nullptr) {
            const TargetObject& t = d.a != nullptr ? *d.a : *d.b;
            (d.a != nullptr ? onlyA : onlyB)
                .push_back({{"path", t.Path},
                            {"occurrence", d.occurrence},
                            {"index", d.a != nullptr ? d.indexA : d.indexB}});
            continue;
        }
        nlohmann::ordered_json target = {{"path", d.a->Path},
                                         {"occurrence", d.occurrence},
                                         {"index_a", d.indexA},
                                         {"index_b", d.indexB}};
        if (d.moved) {
            target["moved"] = true;
        }
        if (d.styleChanged) {
            Change(target, "style", d.a->SecurityStyle, d.b->SecurityStyle);
        }
        if (d.levelChanged) {
            Change(target, "level", d.a->SecurityLevel, d.b->SecurityLevel);
        }
        if (d.modeChanged) {
            Change(target, "mode", d.a->Mode, d.b->Mode);
        }
        if (d.marksChanged) {
            Change(target, "control", ControlOf(*d.a), ControlOf(*d.b));
        }
        if (d.lineChanged) {
            Change(target, "line", d.a->SourceLine.Text(), d.b->SourceLine.Text());
        }
        nlohmann::ordered_json entries = nlohmann::ordered_json::array();
        for (const EntryDifference& e : d.entries) {
            const char* change = e.b == nullptr ? "removed" : e.a == nullptr ? "added" : "changed";
            entries.push_back({{"change", change},
                               {"list", ListName(e.type)},
                               {"rank", e.rank},
                               {"a", EntryJson(e.a)},
                               {"b", EntryJson(e.b)}});
        }
        target["entries"] = std::move(entries);
        changed.push_back(std::move(target));
    }
    const nlohmann::ordered_json result = {{"equal", differences.empty()},
                                           {"only_in_a", std::move(onlyA)},
                                           {"only_in_b", std::move(onlyB)},
                                           {"changed", std::move(changed)}};
    out << result.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
    return differences.empty() ? 0 : 1;
}

struct DiffOptions {
    std::string a;
    std::string b;
    bool json = false;
};

int Diff(const DiffOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    if (IsStandardInput(o.a) && IsStandardInput(o.b)) {
        Complain(err, "standard input can be only one of the two templates");
        return kUsage;
    }
    SecurityTemplate a;
    SecurityTemplate b;
    for (const auto& [name, tmpl] : {std::pair{&o.a, &a}, std::pair{&o.b, &b}}) {
        if (const int read =
                LoadWhole(*name, *tmpl, err, &in, "; nothing was compared", kFileFailed);
            read != kSuccess) {
            return read;
        }
    }
    if (o.json) {
        return DiffJson(a, b, out);
    }
    TerminalStream text(out); // read on a terminal: a hostile path goes out escaped
    return DiffText(a, b, o.a, o.b, text);
}

Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<DiffOptions>();
    command.add_option("A", o->a, "First template")->required();
    command.add_option("B", o->b, "Second template")->required();
    command.add_flag("--json", o->json, "The differences as one JSON object");
    return [o, io] { return Diff(*o, io.in, io.out, io.err); };
}

} // namespace

const Command kDiff = {
    "diff",
    "Compare two templates target by target",
    "  permora-cli diff old.conf new.conf\n"
    "  permora-cli diff --json old.conf - < new.conf\n",
    "  0  the templates are equal\n"
    "  1  the templates differ (targets, entries, order or lines of other styles)\n",
    false,
    Define,
};

} // namespace permora::cli
