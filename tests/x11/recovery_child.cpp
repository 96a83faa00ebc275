// A main window with unsaved work, for the tests that end the program from outside (a
// signal, the display going away). Usage: recovery_child window|dialog|saved EXPECTED
// It writes the bytes a recovery file must hold to EXPECTED, prints "ready" once the
// window runs (with the About box over it for "dialog"), and waits to be ended.

#include "model/target.h"
#include "template_file/template_file.h"
#include "ui/aboutdlg.h"
#include "ui/permoradlg.h"
#include "ui/recovery.h"

#include <QApplication>
#include <QMetaObject>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const std::string mode = argv[1];
    const std::string expected = argv[2];
    QApplication app(argc, argv);
    PermoraDlg window;
    const recovery::SignalGuard keepOnSignals(window);
    QMetaObject::invokeMethod(
        &app,
        [&] {
            for (const char* path : {"/vol/vol1/home", "/vol/vol2/projects"})
                window.Document().Append(std::make_unique<permora::TargetObject>(
                    path, permora::MakeDefaultDescriptor()));
            if (mode != "saved")
                window.Document().MarkChanged();
            std::ofstream(expected, std::ios::binary)
                << permora::EncodeUnicode(window.Document().Template());
            std::printf("ready\n");
            std::fflush(stdout);
            if (mode == "dialog") {
                AboutDlg about;
                about.DoModal();
            }
        },
        Qt::QueuedConnection);
    window.DoModal();
    return 0;
}
