// Imports a template file into the main window (list shown) and prints the process's peak
// resident memory in bytes, for the benchmark table.
#include "bench/bench_host.h"
#include "ui/permoradlg.h"

#include <QApplication>
#include <QDialog>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

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
    dlg.Import();
    QApplication::processEvents();
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            std::printf("%lld\n", std::atoll(line.c_str() + 6) * 1024LL);
            return dlg.Template().Count > 0 ? 0 : 1;
        }
    }
    return 1;
}
