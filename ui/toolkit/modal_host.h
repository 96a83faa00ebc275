#pragma once

#include <string>
#include <string_view>

namespace tk {

class Modal;
class Window;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_YESNOCANCEL = 0x03;
inline constexpr unsigned MB_YESNO = 0x04; // No is the default button and Escape
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_TYPEMASK = 0x0F; // the bits that choose the buttons

inline constexpr unsigned OFN_OVERWRITEPROMPT = 0x0002;
inline constexpr unsigned OFN_HIDEREADONLY = 0x0004;
inline constexpr unsigned OFN_PATHMUSTEXIST = 0x0800;
inline constexpr unsigned OFN_FILEMUSTEXIST = 0x1000;
inline constexpr unsigned OFN_CREATEPROMPT = 0x2000;

struct FileDialogRequest {
    bool open = true; // open dialog, or save dialog
    const Window* owner = nullptr;
    std::string title;            // "" for "Open" or "Save As"
    std::string defaultExtension; // "conf"
    std::string initialName;      // "security.conf"
    unsigned flags = 0;           // OFN_ bits
    std::string filter;           // "Conf files (*.conf)|*.conf|All files (*.*)|*.*||"
};

struct FileDialogResult {
    int result = IDCANCEL; // IDOK with the chosen full path, or IDCANCEL
    std::string path;
};

// Everything modal goes through the host: the application installs the Qt host, tests a
// scripted one.
class ModalHost {
public:
    virtual ~ModalHost() = default;
    // Runs a dialog or sheet to its end; returns the result it ended with.
    virtual int RunModal(Modal& modal) = 0;
    // informative: a second, smaller text under the first (what and where exactly); may be
    // empty.
    virtual int MessageBox(const Window* owner, std::string_view text, std::string_view title,
                           unsigned type, std::string_view informative) = 0;
    virtual FileDialogResult FileDialog(const FileDialogRequest& request) = 0;
};

ModalHost& Host();
// Installs a host; returns the previous one. nullptr restores the Qt host.
ModalHost* SetHost(ModalHost* host);

// The Qt host: QDialog::exec, QMessageBox, QFileDialog.
ModalHost& QtHost();

int MessageBox(const Window* owner, std::string_view text, std::string_view title,
               unsigned type = MB_OK, std::string_view informative = {});
FileDialogResult FileDialog(const FileDialogRequest& request);

// "Conf files (*.conf)|*.conf|All files (*.*)|*.*||" -> "Conf files (*.conf);;All files (*)"
// ("*.*" means every file; to Qt it would mean only the names with a dot). The mappings of
// the Qt host are in qt_host.h.
std::string QtFilter(std::string_view windowsFilter);

} // namespace tk
