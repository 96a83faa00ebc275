// The file code at the large sizes, with the system's own tools as anchors: iconv reading the
// same file, dd writing the same bytes and syncing them as a save does.
#include "bench/fixtures.h"
#include "bench/generator.h"
#include "bench/table.h"
#include "template_file/parallel_detail.h"
#include "template_file/template_file.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <utility>

extern char** environ;

namespace permora::bench {

namespace {

struct Files {
    std::string unicode, eightBit;
};

const Files& FilesOf(int targets) {
    static std::map<int, Files> files;
    auto it = files.find(targets);
    if (it == files.end()) {
        auto tmpl = MakeLargeTemplate(targets, 20261209);
        const std::string stem = "large-" + std::to_string(targets);
        Files written;
        written.unicode = WriteTempFile(stem + "-unicode.conf", EncodeUnicode(*tmpl));
        written.eightBit = WriteTempFile(stem + "-8bit.conf", Encode8Bit(*tmpl));
        it = files.emplace(targets, std::move(written)).first;
    }
    return it->second;
}

} // namespace

const std::string& UnicodeFile(int targets) {
    return FilesOf(targets).unicode;
}
const std::string& EightBitFile(int targets) {
    return FilesOf(targets).eightBit;
}

int RunCommand(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int status = -1;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0)
        waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return status;
}

namespace {

// Decoding, reading and appending: the import without the window.
void ImportDecodeRead(benchmark::State& state, int targets) {
    const std::string& path = UnicodeFile(targets);
    for (auto _ : state) {
        auto into = std::make_unique<SecurityTemplate>();
        ImportOutcome outcome = ImportTemplate(path, *into, [](const std::string&) {});
        if (!outcome.complete || outcome.appended != targets) {
            state.SkipWithError("import failed");
            break;
        }
        state.PauseTiming();
        into.reset();
        state.ResumeTiming();
    }
}

// The same import read by the calling thread alone.
void ImportOneThread(benchmark::State& state, int targets) {
    const int threads = parallel_detail::threads;
    parallel_detail::threads = 1;
    ImportDecodeRead(state, targets);
    parallel_detail::threads = threads;
}

void Iconv(benchmark::State& state, int targets) {
    const std::string& path = UnicodeFile(targets);
    for (auto _ : state)
        if (RunCommand({"iconv", "-f", "UTF-16LE", "-t", "UTF-8", path}) != 0)
            state.SkipWithError("iconv failed");
}

// The bytes of a save written by dd and synced to the disk, as the save syncs them.
void DdSync(benchmark::State& state, const std::string& path) {
    const std::string copy = RunFile("dd-copy.conf");
    for (auto _ : state) {
        if (RunCommand({"dd", "if=" + path, "of=" + copy, "bs=1M", "conv=fsync", "status=none"}) !=
            0) {
            state.SkipWithError("dd failed");
            break;
        }
        state.PauseTiming();
        std::filesystem::remove(copy);
        state.ResumeTiming();
    }
}

void RegisterFileRows(int targets) {
    const bool huge = targets > kLargeTargets;
    const std::string import = SizedName("ImportDecodeRead", targets);
    const std::string iconv = SizedName("Iconv", targets);
    AddBenchmark(import, huge, 1, ImportDecodeRead, targets);
    AddBenchmark(iconv, false, 1, Iconv, targets);
    AddBenchmark(SizedName("DdUnicode", targets), false, 1,
                 [targets](benchmark::State& state) { DdSync(state, UnicodeFile(targets)); });
    AddBenchmark(SizedName("Dd8Bit", targets), false, 1,
                 [targets](benchmark::State& state) { DdSync(state, EightBitFile(targets)); });
    AddFigure({import,
               SizedOperation("import decoding + reading + appending, UTF-16LE file", targets), 0,
               iconv, 3});
    if (huge) {
        const std::string oneThread = SizedName("ImportOneThread", targets);
        AddBenchmark(oneThread, huge, 1, ImportOneThread, targets);
        AddFigure(
            {import,
             SizedOperation("import decoding + reading + appending, against one thread", targets),
             0, oneThread, 0.6});
    }
}

// Imports a file of one target line again and again; the list the line fills must come out
// holding 65,535 entries.
void ImportWideLine(benchmark::State& state, const std::string& path,
                    const AceList& (*filled)(const SecurityDescriptor&)) {
    for (auto _ : state) {
        SecurityTemplate into;
        const ImportOutcome outcome = ImportTemplate(path, into, [](const std::string&) {});
        if (!outcome.complete || into.Head == nullptr ||
            filled(*into.Head->Descriptor).Count != 0xFFFF) {
            state.SkipWithError("import failed");
            break;
        }
        state.PauseTiming();
        into.Clear();
        state.ResumeTiming();
    }
}

// One target whose permission list holds 65,535 allow entries of as many accounts: each
// entry looks up its account among all the entries before it.
void ImportDistinctAccounts(benchmark::State& state) {
    static const std::string path = [] {
        std::string line = "1,0,\"/vol/vol1/wide\",0,\"D:P";
        for (int i = 0; i < 0xFFFF; ++i)
            line += "(A;CIOI;0x1200a9;;;LAB\\account" + std::to_string(i) + ")";
        line += '"';
        return WriteTempFile("distinct-accounts.conf", "cb56f6f4\r\n" + line + "\r\n");
    }();
    ImportWideLine(state, path,
                   [](const SecurityDescriptor& d) -> const AceList& { return d.DaclList.Allow; });
}

// One target whose audit list holds 65,535 entries of as many accounts, auditing failure,
// success or both in turn: each entry goes in front of the first entry of a later group.
void ImportDistinctAuditAccounts(benchmark::State& state) {
    static const std::string path = [] {
        const char* const audits[] = {"FA", "SA", "SAFA"};
        std::string line = "1,0,\"/vol/vol1/wide\",0,\"S:";
        for (int i = 0; i < 0xFFFF; ++i)
            line += std::string("(AU;CIOI") + audits[i % 3] + ";0x1200a9;;;LAB\\account" +
                    std::to_string(i) + ")";
        line += "D:(A;CIOI;0x1200a9;;;Everyone)\"";
        return WriteTempFile("distinct-audit-accounts.conf", "cb56f6f4\r\n" + line + "\r\n");
    }();
    ImportWideLine(state, path,
                   [](const SecurityDescriptor& d) -> const AceList& { return d.SaclList.Audit; });
}

const bool registered = [] {
    AddSizedBenchmarks(RegisterFileRows);
    AddBenchmark("ImportDistinctAccounts", false, 1, ImportDistinctAccounts);
    AddFigure({"ImportDistinctAccounts", "import of one list of 65,535 entries for 65,535 accounts",
               0.2, "", 0});
    AddBenchmark("ImportDistinctAuditAccounts", false, 1, ImportDistinctAuditAccounts);
    AddFigure({"ImportDistinctAuditAccounts",
               "import of one audit list of 65,535 entries for 65,535 accounts", 0.2, "", 0});
    return true;
}();

} // namespace
} // namespace permora::bench
