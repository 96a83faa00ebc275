#pragma once

// How the Qt host turns the modal requests into Qt's own dialogs. Split out of the host so
// that the mappings can be checked without showing anything.

#include "ui/toolkit/modal_host.h"

#include <string>
#include <string_view>

class QFileDialog;
class QMessageBox;
class QWidget;

namespace tk {

// Filter, default extension, initial name, open or save, and the OFN_ options.
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

// What the chosen path of a file dialog still needs before it is accepted.
enum class ChosenFile {
    Accept,
    AskCreate,     // OFN_CREATEPROMPT and the file is missing: ask to create it
    MissingFolder, // the folder must exist and does not
    MissingFile,   // OFN_FILEMUSTEXIST and the file is missing
};
ChosenFile CheckChosenFile(const FileDialogRequest& request, const std::string& path);

// The texts of the follow-up questions and warnings of a file dialog.
std::string CreatePromptText(const std::string& path);
std::string MissingFolderText(const std::string& path);
std::string MissingFileText(const std::string& path);

// Text, title, buttons (MB_OK, or MB_YESNOCANCEL) and icon (MB_ICONQUESTION).
void ConfigureMessageBox(QMessageBox& box, std::string_view text, std::string_view title,
                         unsigned type);
// The least width of a message box: its title's text and 120 pixels for the frame's
// buttons and the icon, so that a title bar shows "Error" and "Confirm" whole.
int MessageBoxMinimumWidth(const QWidget& box, std::string_view title);
// The result a message box returns for the button that closed it (QMessageBox's
// StandardButton): IDOK, IDCANCEL, IDYES or IDNO.
int MessageBoxResult(int standardButton);

} // namespace tk
