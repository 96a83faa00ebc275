// remove: takes targets out of a template, chosen by --path patterns or a list of paths.

#include "cli/command.h"
#include "cli/common.h"
#include "cli/edit.h"
#include "model/template_ops.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

namespace permora::cli {

namespace {

struct RemoveOptions {
    TargetEdit target;
    std::string pathList; // --paths
};

int Remove(const RemoveOptions& o, std::istream& in, std::ostream& out, std::ostream& err) {
    if (o.target.paths.empty() && o.pathList.empty()) {
        Complain(err, "remove: --path or --paths is required");
        return kUsage;
    }
    std::vector<std::string> listed; // in list order
    if (!o.pathList.empty()) {
        PathList list;
        if (const int read = ReadPaths(o.pathList, in, nullptr, list, err); read != kSuccess) {
            return read;
        }
        if (list.invalid.size() >= kMostInvalidPaths) {
            Complain(err, o.pathList + ": " +
                              Plural(static_cast<long long>(list.invalid.size()), "invalid path",
                                     "invalid paths") +
                              " (the list was read no further); nothing was written");
            return kFound;
        }
        if (list.paths.empty()) {
            Complain(err, (IsStandardInput(o.pathList) ? std::string("<stdin>") : o.pathList) +
                              ": the list holds no path; nothing was written");
            return kUsage;
        }
        listed = std::move(list.paths);
    }
    return EditTargets(o.target, out, err, [&](SecurityTemplate& tmpl, std::ostream& said) {
        // Each pattern or listed path, and whether it matched a target.
        const std::vector<std::string>& asked = o.pathList.empty() ? o.target.paths : listed;
        std::vector<TargetScope> scopes;
        std::unordered_map<std::string, std::size_t> byPath; // listed path -> its place in asked
        for (std::size_t i = 0; i < asked.size(); ++i) {
            if (o.pathList.empty()) {
                scopes.push_back(TargetsMatching(asked[i]));
            } else {
                byPath.emplace(asked[i], i);
            }
        }
        std::vector<bool> matched(asked.size(), false);
        std::vector<int> indexes;
        int index = 0;
        for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next, ++index) {
            bool wanted = false;
            if (o.pathList.empty()) {
                for (std::size_t i = 0; i < scopes.size(); ++i) {
                    if (scopes[i](*t, index)) {
                        matched[i] = true;
                        wanted = true;
                    }
                }
            } else if (const auto found = byPath.find(t->Path); found != byPath.end()) {
                matched[found->second] = true;
                wanted = true;
            }
            if (wanted) {
                indexes.push_back(index);
            }
        }
        std::vector<std::string> missing;
        for (std::size_t i = 0; i < asked.size(); ++i) {
            if (!matched[i]) {
                missing.push_back(asked[i]);
            }
        }
        if (o.pathList.empty() || !indexes.empty()) {
            if (RefuseMissing(o.target, missing, asked.size(), "", err)) {
                return EndWith(kUsage);
            }
        } else {
            Complain(err, o.target.edit.file + ": no target has a path of " + o.pathList);
            return EndWith(kUsage);
        }
        const int removed = tmpl.RemoveMany(std::move(indexes));
        said << Plural(removed, "target", "targets")
             << Would(o.target.edit, " removed\n", " would be removed\n");
        Change made;
        made.write = true;
        return made;
    });
}

Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<RemoveOptions>();
    AddTargetEditOptions(command, o->target);
    CLI::Option* paths = command.add_option("--path", o->target.paths,
                                            "Targets whose path matches this pattern (repeatable)");
    CLI::Option* list =
        command.add_option("--paths", o->pathList,
                           "Targets with a path of this list, one a line; - for standard input");
    paths->excludes(list);
    return [o, io] { return Remove(*o, io.in, io.out, io.err); };
}

} // namespace

const Command kRemove = {
    "remove",
    "Take targets out of a template",
    "  permora-cli remove security.conf --path '/vol/home/olduser'\n"
    "  permora-cli remove security.conf --paths departed.txt\n",
    "  0  removed\n"
    "  1  the template has errors: nothing written\n",
    true,
    Define,
};

} // namespace permora::cli
