// Runs the benchmarks one run at a time and prints one table: operation, median time, the
// ratio to its anchor where one is named, the figure, and whether it is met. A row with an
// anchor runs in pairs, the row's benchmark and then its anchor, and its ratio is the median
// of the pairs' ratios: load that comes and goes on a shared machine falls on both halves of
// a pair and leaves the ratio alone.
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
std::map<std::string, int>& RunCounts() {
    static std::map<std::string, int> runs;
    return runs;
}

// Prints the machine's description once, and each run's line.
class RunReporter : public benchmark::ConsoleReporter {
public:
    bool ReportContext(const Context& context) override {
        if (contextShown_)
            return true;
        contextShown_ = true;
        return ConsoleReporter::ReportContext(context);
    }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            seconds = run.error_occurred ? -1
                                         : run.GetAdjustedRealTime() /
                                               benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double seconds = -1;

private:
    bool contextShown_ = false;
};

// One run of one benchmark: its real time per iteration in seconds, negative on an error. The
// full name of a run goes on after a slash ("/iterations:1/real_time").
double RunOnce(RunReporter& reporter, const std::string& name) {
    reporter.seconds = -1;
    if (benchmark::RunSpecifiedBenchmarks(&reporter, "^" + name + "/") != 1)
        return -1;
    return reporter.seconds;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    if (values.empty())
        return -1;
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// What the runs of a row came to.
struct RowResult {
    double median = -1, anchorMedian = -1, ratio = -1;
    bool failed = false;
};

RowResult RunRow(RunReporter& reporter, const Figure& figure) {
    const bool paired = !figure.anchor.empty() && RunCounts().count(figure.anchor) != 0;
    const int runs = RunCounts()[figure.benchmark];
    std::vector<double> times, anchorTimes, ratios;
    RowResult result;
    for (int run = 0; run < runs; ++run) {
        const double time = RunOnce(reporter, figure.benchmark);
        const double anchor = paired ? RunOnce(reporter, figure.anchor) : 0;
        if (time < 0 || anchor < 0) {
            result.failed = true;
            return result;
        }
        times.push_back(time);
        if (paired && anchor > 0) {
            anchorTimes.push_back(anchor);
            ratios.push_back(time / anchor);
        }
    }
    result.median = Median(times);
    if (paired) {
        result.anchorMedian = Median(anchorTimes);
        result.ratio = Median(ratios);
    }
    return result;
}

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

int PrintTable(const std::vector<std::pair<Figure, RowResult>>& rows) {
    int failures = 0;
    std::printf("\n| operation | median | ratio to anchor | figure | met |\n");
    std::printf("|---|---|---|---|---|\n");
    for (const auto& [f, result] : rows) {
        bool met = !result.failed && (f.limitSeconds <= 0 || result.median <= f.limitSeconds);
        std::string ratio = "-";
        std::string figure = f.limitSeconds > 0 ? "<= " + Time(f.limitSeconds) : "";
        if (!f.anchor.empty()) {
            if (result.ratio > 0) {
                ratio = Format("%.2f x ", result.ratio) + f.anchor + " (" +
                        Time(result.anchorMedian) + ")";
                met = met && result.ratio <= f.maxRatio;
            } else {
                met = false; // a ratio without its anchor proves nothing
            }
            figure +=
                std::string(figure.empty() ? "" : ", ") +
                Format(f.maxRatio == static_cast<int>(f.maxRatio) ? "<= %.0f x " : "<= %.1f x ",
                       f.maxRatio) +
                f.anchor;
        }
        failures += met ? 0 : 1;
        std::printf("| %s | %s | %s | %s | %s |\n", f.operation.c_str(),
                    result.failed ? "failed" : Time(result.median).c_str(), ratio.c_str(),
                    figure.c_str(), met ? "yes" : "NO");
    }
    for (const Measure& m : Measures()) {
        const bool met = m.value <= m.limit;
        failures += met ? 0 : 1;
        std::string figure = "<= " + Format("%.1f ", m.limit) + m.unit;
        if (!m.figure.empty())
            figure += " (" + m.figure + ")";
        std::printf("| %s | %s | - | %s | %s |\n", m.operation.c_str(),
                    Format(m.unit == "x" ? "%.2f " : "%.1f ", m.value).append(m.unit).c_str(),
                    figure.c_str(), met ? "yes" : "NO");
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

// The main window against two minimal Qt Widgets programs, started in turn, each measured from
// the start time the kernel records for the process: a dialog with one label and one button,
// which like the editor pays for the font configuration, and the bare empty dialog, which does
// not. Each ratio is the median of the ratios of the 11 rounds.
void MeasureStartup() {
    std::vector<double> program, labelled, empty, toLabelled, toEmpty;
    for (int run = 0; run < 11; ++run) {
        const double a = StartupOf(PERMORA_EXE);
        const double b = StartupOf(PERMORA_LABEL_DIALOG_EXE);
        const double c = StartupOf(PERMORA_DIALOG_EXE);
        if (a <= 0 || b <= 0 || c <= 0)
            return;
        program.push_back(a);
        labelled.push_back(b);
        empty.push_back(c);
        toLabelled.push_back(a / b);
        toEmpty.push_back(a / c);
    }
    AddMeasure(Format("start-up to the first paint: %.0f ms, a dialog with a label and a button "
                      "%.0f ms",
                      Median(program) * 1e3, Median(labelled) * 1e3),
               Median(toLabelled), 1.2, "x", "median of the ratios of 11 rounds");
    AddMeasure(Format("start-up to the first paint: %.0f ms, an empty dialog %.0f ms",
                      Median(program) * 1e3, Median(empty) * 1e3),
               Median(toEmpty), 1.5, "x", "median of the ratios of 11 rounds");
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

void NoteBenchmark(const std::string& name, int runs) {
    RunCounts()[name] = runs;
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
    RunReporter reporter;
    std::vector<std::pair<Figure, RowResult>> rows;
    for (const Figure& figure : Figures()) {
        if (RunCounts().count(figure.benchmark) != 0 && measures.Selected(figure.benchmark))
            rows.emplace_back(figure, RunRow(reporter, figure));
    }
    benchmark::Shutdown();
    RunProcessMeasures(measures, large);
    const int failures = PrintTable(rows);
    RemoveRunFolder();
    return failures == 0 ? 0 : 1;
}
