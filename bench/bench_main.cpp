// Runs the benchmarks with repetitions and prints one table: operation, median time, the
// ratio to its anchor where one is named, the figure, and whether it is met.
#include "bench/fixtures.h"
#include "bench/table.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace permora::bench {
namespace {

struct Measure {
    std::string operation;
    double value, limit;
    std::string unit;
};

std::vector<Figure>& Figures() {
    static std::vector<Figure> figures;
    return figures;
}
std::vector<Measure>& Measures() {
    static std::vector<Measure> measures;
    return measures;
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
    char buffer[64];
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
        std::printf("| %s | %s | - | <= %s | %s |\n", m.operation.c_str(),
                    Format("%.1f ", m.value).append(m.unit).c_str(),
                    Format("%.1f ", m.limit).append(m.unit).c_str(), met ? "yes" : "NO");
    }
    return failures;
}

#ifdef PERMORA_PEAK_EXE
// Peak memory is measured in a process of its own that only imports the large file.
void MeasurePeakMemory() {
    const std::string& file = LargeUnicodeFile();
    const std::string command = std::string(PERMORA_PEAK_EXE) + " '" + file + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return;
    long long peak = 0;
    if (std::fscanf(pipe, "%lld", &peak) != 1)
        peak = 0;
    pclose(pipe);
    const double mb = 1024.0 * 1024.0;
    const double size = static_cast<double>(std::filesystem::file_size(file));
    AddMeasure("peak memory after the Import (process included)", static_cast<double>(peak) / mb,
               4 * size / mb, "MiB");
}
#endif

} // namespace

void AddFigure(Figure figure) {
    Figures().push_back(std::move(figure));
}
void AddMeasure(std::string operation, double value, double limit, std::string unit) {
    Measures().push_back({std::move(operation), value, limit, std::move(unit)});
}

} // namespace permora::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    permora::bench::MedianCollector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
#ifdef PERMORA_PEAK_EXE
    permora::bench::MeasurePeakMemory();
#endif
    return permora::bench::PrintTable(reporter.medians) == 0 ? 0 : 1;
}
