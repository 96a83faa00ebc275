// Preloaded into a Qt Widgets program: at the first paint event of a window it writes the
// seconds since the process started, as the kernel records the start, to the file named by
// PERMORA_STARTUP_REPORT, and ends the process.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

double SecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text;
    std::getline(stat, text);
    // The program's name in field 2 may hold blanks; the fields after it are plain.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int number = 3; number <= 22; ++number)
        fields >> field; // field 22: start time in clock ticks after boot
    const double started =
        static_cast<double>(std::stoull(field)) / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9 - started;
}

class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() == QEvent::Paint && receiver->isWidgetType()) {
            const double seconds = SecondsSinceProcessStart();
            if (const char* report = std::getenv("PERMORA_STARTUP_REPORT")) {
                if (FILE* out = std::fopen(report, "w")) {
                    std::fprintf(out, "%.6f\n", seconds);
                    std::fclose(out);
                }
            }
            _exit(0);
        }
        return QObject::eventFilter(receiver, event);
    }
};

void WatchFirstPaint() {
    QCoreApplication::instance()->installEventFilter(new FirstPaint);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(WatchFirstPaint)
