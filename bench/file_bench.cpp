// The file code at 100,000 targets, with the system's own tools as anchors.
#include "bench/fixtures.h"
#include "bench/generator.h"
#include "bench/table.h"
#include "template_file/template_file.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

extern char** environ;

namespace permora::bench {

namespace {
struct LargeFiles {
    LargeFiles() {
        auto tmpl = MakeLargeTemplate(kLargeTargets, 20261209);
        unicode = WriteTempFile("permora-bench-unicode.conf", EncodeUnicode(*tmpl));
        eightBit = WriteTempFile("permora-bench-8bit.conf", Encode8Bit(*tmpl));
    }
    std::string unicode, eightBit;
};
const LargeFiles& Files() {
    static const LargeFiles files;
    return files;
}
} // namespace

const std::string& LargeUnicodeFile() {
    return Files().unicode;
}
const std::string& Large8BitFile() {
    return Files().eightBit;
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

void ImportDecodeRead(benchmark::State& state) {
    const std::string& path = LargeUnicodeFile();
    for (auto _ : state) {
        auto into = std::make_unique<SecurityTemplate>();
        ImportOutcome outcome = ImportTemplate(path, *into, [](const std::string&) {});
        if (!outcome.complete || outcome.appended != kLargeTargets)
            state.SkipWithError("import failed");
        state.PauseTiming();
        into.reset();
        state.ResumeTiming();
    }
}

void Iconv(benchmark::State& state) {
    const std::string& path = LargeUnicodeFile();
    for (auto _ : state)
        if (RunCommand({"iconv", "-f", "UTF-16LE", "-t", "UTF-8", path}) != 0)
            state.SkipWithError("iconv failed");
}

void Copy(benchmark::State& state, const std::string& (*file)()) {
    const std::string& path = file();
    const std::string copy = path + ".copy";
    for (auto _ : state) {
        if (RunCommand({"cp", path, copy}) != 0)
            state.SkipWithError("cp failed");
        state.PauseTiming();
        std::filesystem::remove(copy);
        state.ResumeTiming();
    }
}
void CopyUnicode(benchmark::State& state) {
    Copy(state, LargeUnicodeFile);
}
void Copy8Bit(benchmark::State& state) {
    Copy(state, Large8BitFile);
}

#define PERMORA_HEAVY(fn)                                                                          \
    BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(7)

PERMORA_HEAVY(ImportDecodeRead);
PERMORA_HEAVY(Iconv);
PERMORA_HEAVY(CopyUnicode);
PERMORA_HEAVY(Copy8Bit);

const bool registered = [] {
    AddFigure({"ImportDecodeRead", "import decoding + reading + appending, UTF-16LE file", 0,
               "Iconv", 5});
    return true;
}();

} // namespace
} // namespace permora::bench
