// permora-cli at 100,000 targets, run in this process, against the import of the same run.
#include "bench/fixtures.h"
#include "bench/generator.h"
#include "bench/table.h"
#include "cli/cli.h"
#include "template_file/template_file.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace permora::bench {
namespace {

int Cli(const std::vector<std::string>& args, const std::string& input = {}) {
    std::vector<const char*> argv{"permora-cli"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    return cli::Run(static_cast<int>(argv.size()), argv.data(), in, out, err);
}

// The large template again, with one target in a hundred changed: a mask, a level, an entry
// more.
const std::string& ChangedUnicodeFile() {
    static const std::string path = [] {
        auto tmpl = MakeLargeTemplate(kLargeTargets, 20261209);
        int i = 0;
        for (TargetObject* t = tmpl->Head; t != nullptr; t = t->Next, ++i) {
            if (i % 100 != 7)
                continue;
            switch (i / 100 % 3) {
            case 0:
                t->Descriptor->DaclList.Allow.Head->Mask ^= kDelete;
                break;
            case 1:
                t->SecurityLevel = 1 - t->SecurityLevel;
                break;
            default:
                t->Descriptor->DaclList.Add(
                    std::make_unique<Ace>("LAB\\extra", kReadMask, kAllowType, kDefaultFlags));
            }
        }
        return WriteTempFile("permora-bench-changed.conf", EncodeUnicode(*tmpl));
    }();
    return path;
}

const std::string& PathList() {
    static const std::string path = [] {
        std::string text;
        for (int i = 0; i < kLargeTargets; ++i)
            text += "/vol/vol" + std::to_string(1 + i % 8) + "/home/new" + std::to_string(i) + "\n";
        return WriteTempFile("permora-bench-paths.txt", text);
    }();
    return path;
}

// The same paths, each with its own account after a tab.
const std::string& PathAccountList() {
    static const std::string path = [] {
        std::string text;
        for (int i = 0; i < kLargeTargets; ++i)
            text += "/vol/vol" + std::to_string(1 + i % 8) + "/home/new" + std::to_string(i) +
                    "\tLAB\\user" + std::to_string(i) + "\n";
        return WriteTempFile("permora-bench-path-accounts.txt", text);
    }();
    return path;
}

void ImportBoth(benchmark::State& state) {
    const std::string& a = LargeUnicodeFile();
    const std::string& b = ChangedUnicodeFile();
    for (auto _ : state) {
        auto first = std::make_unique<SecurityTemplate>();
        auto second = std::make_unique<SecurityTemplate>();
        if (!ImportTemplate(a, *first, [](const std::string&) {}).complete ||
            !ImportTemplate(b, *second, [](const std::string&) {}).complete)
            state.SkipWithError("import failed");
        state.PauseTiming();
        first.reset();
        second.reset();
        state.ResumeTiming();
    }
}

void CliCheck(benchmark::State& state) {
    const std::string& file = LargeUnicodeFile();
    for (auto _ : state)
        if (Cli({"check", file}) != 0)
            state.SkipWithError("check failed");
}

void CliConvert(benchmark::State& state) {
    const std::string& file = LargeUnicodeFile();
    const std::string out = file + ".converted";
    for (auto _ : state)
        if (Cli({"convert", file, "-o", out}) != 0)
            state.SkipWithError("convert failed");
    std::filesystem::remove(out);
}

void CliAdd(benchmark::State& state) {
    const std::string& list = PathList();
    const std::string out = list + ".conf";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(out);
        state.ResumeTiming();
        if (Cli({"add", out, "--paths", list}) != 0)
            state.SkipWithError("add failed");
    }
    std::filesystem::remove(out);
}

// The model a home directory gets: the administrators and the owner, whose stand-in each
// path's account replaces.
constexpr char kHomeModel[] = "D:(A;CIOI;0x1f01ff;;;LAB\\admins)(A;CIOI;0x1301bf;;;OWNER)";

void CliAddAccounts(benchmark::State& state) {
    const std::string& list = PathAccountList();
    const std::string out = list + ".conf";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(out);
        state.ResumeTiming();
        if (Cli({"add", out, "--paths", list, "--sddl", kHomeModel, "--for", "OWNER"}) != 0)
            state.SkipWithError("add failed");
    }
    std::filesystem::remove(out);
}

void CliGrant(benchmark::State& state) {
    const std::string& file = LargeUnicodeFile();
    const std::string out = file + ".granted";
    for (auto _ : state)
        if (Cli({"grant", file, "LAB\\ops", "Modify", "--output", out}) != 0)
            state.SkipWithError("grant failed");
    std::filesystem::remove(out);
}

void CliShowLines(benchmark::State& state) {
    const std::string& file = LargeUnicodeFile();
    for (auto _ : state)
        if (Cli({"show", file, "--format", "line"}) != 0)
            state.SkipWithError("show failed");
}

void CliDiff(benchmark::State& state) {
    const std::string& a = LargeUnicodeFile();
    const std::string& b = ChangedUnicodeFile();
    for (auto _ : state)
        if (Cli({"diff", a, b}) != 1)
            state.SkipWithError("diff found no differences");
}

const bool registered = [] {
    using Fn = void (*)(benchmark::State&);
    const std::pair<const char*, Fn> benchmarks[] = {
        {"ImportBoth", ImportBoth}, {"CliCheck", CliCheck},
        {"CliConvert", CliConvert}, {"CliAdd", CliAdd},
        {"CliDiff", CliDiff},       {"CliAddAccounts", CliAddAccounts},
        {"CliGrant", CliGrant},     {"CliShowLines", CliShowLines}};
    for (const auto& [name, fn] : benchmarks)
        AddBenchmark(name, false, 1, fn);
    AddFigure({"CliCheck", "permora-cli check, UTF-16LE file", 0, "ImportDecodeRead", 2});
    AddFigure({"CliConvert", "permora-cli convert to UTF-16LE", 0, "ImportDecodeRead", 2});
    AddFigure({"CliAdd", "permora-cli add of 100,000 paths to a new template", 1.0, "", 0});
    AddFigure({"CliDiff", "permora-cli diff, 1% of the targets changed", 0, "ImportBoth", 2});
    AddFigure({"CliAddAccounts", "permora-cli add of 100,000 paths, each with its account", 0,
               "CliAdd", 2});
    AddFigure({"CliGrant", "permora-cli grant onto 100,000 targets", 1.0, "", 0});
    AddFigure({"CliShowLines", "permora-cli show --format line, UTF-16LE file", 0, "CliCheck", 2});
    return true;
}();

} // namespace
} // namespace permora::bench
