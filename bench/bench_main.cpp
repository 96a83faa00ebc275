// Runs the benchmarks with repetitions and prints one table: operation, median time, the
// ratio to its anchor where one is named, the figure, and whether it is met.
//
//   permora_bench [--large] [benchmark options]
//
// --large adds the rows at 1,000,000 targets. The measures that run whole processes (peak
// memory, start-up) run after the benchmarks; a --benchmark_filter selects among them too.
#include "bench/fixtures.h"
#include "bench/generator.h"
#include "bench/table.h"

#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace permora::bench {
namespace {

struct Measure {
    std::string operation;
    double value, limit;
    std::string unit, figure;
};

std::vector<Figure>& Figures() {
    static std::vector<Figure> figures;
    return figures;
}
std::vector<Measure>& Measures() {
    static std::vector<Measure> measures;
    return measures;
}
std::vector<SizedRegistrar>& Registrars() {
    static std::vector<SizedRegistrar> registrars;
    return registrars;
}

class MedianCollector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians; // seconds
};

std::string Time(double seconds) {
    char buffer[32];
    if (seconds >= 1)
        std::snprintf(buffer, sizeof buffer, "%.3f s", seconds);
    else if (seconds >= 1e-3)
        std::snprintf(buffer, sizeof buffer, "%.2f ms", seconds * 1e3);
    else
        std::snprintf(buffer, sizeof buffer, "%.1f us", seconds * 1e6);
    return buffer;
}

std::string Format(const char* format, double a, double b = 0) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}

int PrintTable(const std::map<std::string, double>& medians) {
    int failures = 0;
    std::printf("\n| operation | median | ratio to anchor | figure | met |\n");
    std::printf("|---|---|---|---|---|\n");
    for (const Figure& f : Figures()) {
        auto it = medians.find(f.benchmark);
        if (it == medians.end())
            continue;
        const double median = it->second;
        bool met = f.limitSeconds <= 0 || median <= f.limitSeconds;
        std::string ratio = "-";
        std::string figure = f.limitSeconds > 0 ? "<= " + Time(f.limitSeconds) : "";
        if (!f.anchor.empty()) {
            auto anchor = medians.find(f.anchor);
            if (anchor != medians.end() && anchor->second > 0) {
                const double r = median / anchor->second;
                ratio = Format("%.2f x ", r) + f.anchor + " (" + Time(anchor->second) + ")";
                met = met && r <= f.maxRatio;
            } else {
                met = false; // a ratio without its anchor proves nothing
            }
            figure += std::string(figure.empty() ? "" : ", ") + Format("<= %.0f x ", f.maxRatio) +
                      f.anchor;
        }
        failures += met ? 0 : 1;
        std::printf("| %s | %s | %s | %s | %s |\n", f.operation.c_str(), Time(median).c_str(),
                    ratio.c_str(), figure.c_str(), met ? "yes" : "NO");
    }
    for (const Measure& m : Measures()) {
        const bool met = m.value <= m.limit;
        failures += met ? 0 : 1;
        std::string figure = "<= " + Format("%.1f ", m.limit) + m.unit;
        if (!m.figure.empty())
            figure += " (" + m.figure + ")";
        std::printf("| %s | %s | - | %s | %s |\n", m.operation.c_str(),
                    Format("%.1f ", m.value).append(m.unit).c_str(), figure.c_str(),
                    met ? "yes" : "NO");
    }
    return failures;
}

// The measures that run processes of their own, selected by the benchmark filter as the
// benchmarks are.
struct ProcessMeasures {
    std::string filter;
    bool Selected(const std::string& name) const {
        return filter.empty() || filter == "all" || filter == "." ||
               std::regex_search(name, std::regex(filter));
    }
};

#ifdef PERMORA_PEAK_EXE
constexpr double kMiB = 1024.0 * 1024.0;

// Imports a file into a shown main window in a process of its own; returns the peak resident
// memory before and after the Import, in bytes.
bool PeakOfImport(const std::string& file, long long& before, long long& after) {
    const std::string command = std::string(PERMORA_PEAK_EXE) + " '" + file + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return false;
    const bool read = std::fscanf(pipe, "%lld %lld", &before, &after) == 2;
    return pclose(pipe) == 0 && read;
}

// The whole process after the Import, list shown, against the UTF-16LE file's size.
void MeasurePeakAfterImport(int targets, double maxRatio) {
    const std::string& file = UnicodeFile(targets);
    long long before = 0, after = 0;
    if (!PeakOfImport(file, before, after))
        return;
    const double size = static_cast<double>(std::filesystem::file_size(file));
    AddMeasure(
        SizedOperation("peak memory after the Import (process included, list shown)", targets),
        static_cast<double>(after) / kMiB, maxRatio * size / kMiB, "MiB",
        Format("%.1f x the file", maxRatio));
}

// How much the Import raises the peak over what the process held before it.
void MeasurePeakRise(const std::string& what, const std::string& file) {
    long long before = 0, after = 0;
    if (!PeakOfImport(file, before, after))
        return;
    const double size = static_cast<double>(std::filesystem::file_size(file));
    AddMeasure("rise of peak memory over the Import, " + what,
               static_cast<double>(after - before) / kMiB, (2 * size + 16 * kMiB) / kMiB, "MiB",
               "2 x the file + 16 MiB");
}

// One target line of 200 MB, nearly all of it one account name.
std::string LongLineFile() {
    const std::string path = RunFile("long-line.conf");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "cb56f6f4\r\n1,0,\"/vol/vol1/long\",0,\"D:(A;CIOI;0x1200a9;;;LAB\\";
    const std::string block(1 << 20, 'a');
    for (int i = 0; i < 200; ++i)
        out << block;
    out << ")\"\r\n";
    return path;
}
#endif

#ifdef PERMORA_STARTUP_PROBE
// Runs a program with the start-up probe preloaded; returns the seconds from the process's
// start to the first paint of its window, or a negative value.
double StartupOf(const char* program) {
    const std::string report = RunFile("startup.txt");
    std::filesystem::remove(report);
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("LD_PRELOAD", PERMORA_STARTUP_PROBE, 1);
        setenv("PERMORA_STARTUP_REPORT", report.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    std::ifstream in(report);
    double seconds = -1;
    if (!(in >> seconds))
        return -1;
    return seconds;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

// The main window against a minimal Qt Widgets program that shows one empty dialog, started
// in turn, each measured from the start time the kernel records for the process.
void MeasureStartup() {
    std::vector<double> program, minimal;
    for (int run = 0; run < 11; ++run) {
        program.push_back(StartupOf(PERMORA_EXE));
        minimal.push_back(StartupOf(PERMORA_DIALOG_EXE));
    }
    const double a = Median(program);
    const double b = Median(minimal);
    if (a <= 0 || b <= 0)
        return;
    AddMeasure(Format("start-up to the first paint: %.0f ms, a minimal dialog program %.0f ms",
                      a * 1e3, b * 1e3),
               a / b, 1.5, "x", "ratio of the two, medians of 11 runs each");
}
#endif

void RunProcessMeasures(const ProcessMeasures& measures, bool large) {
#ifdef PERMORA_PEAK_EXE
    if (measures.Selected("PeakMemory")) {
        MeasurePeakAfterImport(kLargeTargets, 4);
        if (large)
            MeasurePeakAfterImport(kHugeTargets, 1.5);
    }
    if (measures.Selected("PeakRise")) {
        MeasurePeakRise("100,000 targets, UTF-16LE", UnicodeFile(kLargeTargets));
        MeasurePeakRise("100,000 targets, 8-bit", EightBitFile(kLargeTargets));
        if (large)
            MeasurePeakRise("1,000,000 targets, UTF-16LE", UnicodeFile(kHugeTargets));
        const std::string longLine = LongLineFile();
        MeasurePeakRise("one line of 200 MB (one account name)", longLine);
        std::filesystem::remove(longLine);
    }
#endif
#ifdef PERMORA_STARTUP_PROBE
    if (measures.Selected("Startup"))
        MeasureStartup();
#endif
    (void)measures;
    (void)large;
}

} // namespace

void AddFigure(Figure figure) {
    Figures().push_back(std::move(figure));
}
void AddMeasure(std::string operation, double value, double limit, std::string unit,
                std::string figure) {
    Measures().push_back({std::move(operation), value, limit, std::move(unit), std::move(figure)});
}

bool AddSizedBenchmarks(SizedRegistrar registrar) {
    Registrars().push_back(registrar);
    return true;
}

std::string SizedName(const std::string& name, int targets) {
    return targets > kLargeTargets ? name + "_1M" : name;
}
std::string SizedOperation(const std::string& operation, int targets) {
    return targets > kLargeTargets ? "1,000,000 targets: " + operation : operation;
}

benchmark::internal::Benchmark* Repeated(benchmark::internal::Benchmark* bench, bool overASecond,
                                         int iterations) {
    return bench->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(iterations)
        ->Repetitions(overASecond ? 3 : 5);
}

} // namespace permora::bench

int main(int argc, char** argv) {
    using namespace permora::bench;
    bool large = false;
    ProcessMeasures measures;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--large") == 0) {
            large = true;
            continue;
        }
        if (std::strncmp(argv[i], "--benchmark_filter=", 19) == 0)
            measures.filter = argv[i] + 19;
        args.push_back(argv[i]);
    }
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    for (SizedRegistrar registrar : Registrars()) {
        registrar(kLargeTargets);
        if (large)
            registrar(kHugeTargets);
    }
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    MedianCollector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    RunProcessMeasures(measures, large);
    const int failures = PrintTable(reporter.medians);
    RemoveRunFolder();
    return failures == 0 ? 0 : 1;
}
