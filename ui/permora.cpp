// Start-up: the application object runs the main window modally; the program ends when
// the window closes. Without any display it starts a private one (platform/private_display).

#include "permora_version.h"
#include "platform/private_display.h"
#include "ui/command_line.h"
#include "ui/permoradlg.h"
#include "ui/readable_style.h"
#include "ui/recovery.h"
#include "ui/translations.h"

#include <QApplication>

#include <iostream>
#include <string>
#include <vector>

// The application object: one for the life of the process. It keeps no settings.
class PermoraApp {
public:
    int InitInstance(int& argc, char** argv, const CommandLine& commandLine);
};

int PermoraApp::InitInstance(int& argc, char** argv, const CommandLine& commandLine) {
    if (permora::NeedsPrivateDisplay() &&
        !permora::StartPrivateDisplay({.loopbackPort = commandLine.vncTcp}))
        return 1;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Permora"));
    QApplication::setApplicationVersion(QStringLiteral(PERMORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.permora.Permora"));
    QApplication::setWindowIcon(AppIcon());
    translations::InstallForLocale();
    InstallReadableStyle();

    {
        PermoraDlg window;
        window.ImportAtStart(commandLine.files);
        window.OfferRecoveryAtStart();
        const recovery::SignalGuard keepOnSignals(window);
        window.DoModal();
    } // closing the window destroys the template and its targets
    return 0;
}

namespace {
PermoraApp theApp;
}

int main(int argc, char** argv) {
    // Help and the version are printed before any display is looked for or started.
    CommandLine commandLine = ParseCommandLine(argc, argv, std::cout, std::cerr);
    if (commandLine.exit)
        return commandLine.exitCode;
    // The arguments are all the program's own: Qt sees only its name, so that a file
    // named like one of Qt's options is still a file.
    int qtArgc = 1;
    return theApp.InitInstance(qtArgc, argv, commandLine);
}
