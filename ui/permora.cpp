// Start-up: the application object runs the main window modally; the program ends when
// the window closes. Without any display the window is served over VNC on loopback.

#include "permora_version.h"
#include "ui/command_line.h"
#include "ui/permoradlg.h"
#include "ui/recovery.h"

#include <QApplication>
#include <QByteArray>
#include <QEvent>
#include <QObject>
#include <QTcpServer>
#include <QtGlobal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kFirstVncPort = 5900;
constexpr int kLastVncPort = 5999;

bool EnvironmentHas(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Neither an X nor a Wayland display, and no platform asked for explicitly.
bool NeedsVnc() {
    return !EnvironmentHas("DISPLAY") && !EnvironmentHas("WAYLAND_DISPLAY") &&
           !EnvironmentHas("QT_QPA_PLATFORM");
}

// A listening socket on 127.0.0.1 at the first free port from 5900; -1 when none.
int ListenOnLoopback(int& port) {
    for (int candidate = kFirstVncPort; candidate <= kLastVncPort; ++candidate) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return -1;
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(candidate));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
            ::listen(fd, 16) == 0) {
            port = candidate;
            return fd;
        }
        ::close(fd);
    }
    return -1;
}

QtMessageHandler g_previousHandler = nullptr;

// Drops the VNC server's own notes about the socket it could not open on all interfaces.
void QuietVncSetup(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("QVncServer")))
        return;
    if (g_previousHandler != nullptr)
        g_previousHandler(type, context, message);
}

// Qt's VNC server listens on every interface and has no option to choose one. The program
// holds 127.0.0.1:port itself before the server starts, so the server's own listen on that
// port fails; right after it, the guard gives the server the loopback socket instead. At no
// moment does the port listen beyond this machine.
class VncLoopbackGuard : public QObject {
public:
    explicit VncLoopbackGuard(int fd) : fd_(fd) {}
    ~VncLoopbackGuard() override {
        if (fd_ >= 0)
            ::close(fd_);
    }
    VncLoopbackGuard(const VncLoopbackGuard&) = delete;
    VncLoopbackGuard& operator=(const VncLoopbackGuard&) = delete;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (fd_ < 0 || event->type() != QEvent::MetaCall ||
            std::strcmp(receiver->metaObject()->className(), "QVncServer") != 0)
            return QObject::eventFilter(receiver, event);
        // Let the server set itself up now, then hand it the loopback socket.
        g_previousHandler = qInstallMessageHandler(QuietVncSetup);
        receiver->event(event);
        qInstallMessageHandler(g_previousHandler);
        if (auto* server = receiver->findChild<QTcpServer*>()) {
            server->close();
            if (server->setSocketDescriptor(fd_))
                fd_ = -1; // the server owns it now
            else
                std::fprintf(stderr, "Permora could not start its VNC server.\n");
        }
        return true;
    }

private:
    int fd_;
};

} // namespace

// The application object: one for the life of the process. It keeps no settings.
class PermoraApp {
public:
    int InitInstance(int& argc, char** argv, std::vector<std::string> startFiles);
};

int PermoraApp::InitInstance(int& argc, char** argv, std::vector<std::string> startFiles) {
    int vncFd = -1;
    int vncPort = 0;
    if (NeedsVnc()) {
        vncFd = ListenOnLoopback(vncPort);
        if (vncFd < 0) {
            std::fprintf(stderr, "No display found, and no free port for a VNC server on "
                                 "127.0.0.1 (5900-5999).\n");
            return 1;
        }
        qputenv("QT_QPA_PLATFORM",
                QByteArray("vnc:size=1280x800:port=") + QByteArray::number(vncPort));
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Permora"));
    QApplication::setApplicationVersion(QStringLiteral(PERMORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.permora.Permora"));
    QApplication::setWindowIcon(AppIcon());

    VncLoopbackGuard guard(vncFd);
    if (vncFd >= 0) {
        app.installEventFilter(&guard);
        std::printf("No display found; Permora is serving its window over VNC at "
                    "127.0.0.1:%d \xe2\x80\x94 connect with a VNC viewer (for example "
                    "\"vncviewer 127.0.0.1:%d\").\n",
                    vncPort, vncPort);
        std::fflush(stdout);
    }

    {
        PermoraDlg window;
        window.ImportAtStart(std::move(startFiles));
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
    return theApp.InitInstance(qtArgc, argv, std::move(commandLine.files));
}
