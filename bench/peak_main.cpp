// Imports a template file into the shown main window and prints the process's peak resident
// memory (VmHWM) in bytes, just before the Import and after it with the list shown.
#include "bench/bench_host.h"
#include "ui/permoradlg.h"

#include <QApplication>
#include <QDialog>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

long long PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atoll(line.c_str() + 6) * 1024LL;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: permora_peak <template file>\n");
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    permora::bench::BenchHost host;
    host.path = argv[1];
    PermoraDlg dlg;
    dlg.Start();
    dlg.ModalWidget()->show();
    QApplication::processEvents();
    const long long before = PeakResidentBytes();
    dlg.Import();
    QApplication::processEvents();
    const long long after = PeakResidentBytes();
    std::printf("%lld %lld\n", before, after);
    return dlg.Document().Template().Count > 0 && before > 0 ? 0 : 1;
}
