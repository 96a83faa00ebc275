#include "ui/toolkit/qt_host.h"

#include "ui/toolkit/window.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QSpacerItem>

#include <algorithm>
#include <filesystem>

namespace tk {

namespace {

// The window a new modal window is shown over: its owner, else the modal window that runs.
QWidget* ParentFor(const Window* owner) {
    if (owner != nullptr && owner->Widget() != nullptr)
        return owner->Widget()->window();
    return QApplication::activeModalWidget();
}

// When a modal window closes, the keyboard goes back to the window it was opened from,
// so that its access keys work at once. Window managers do not all do that by themselves.
class ReturnActivation {
public:
    explicit ReturnActivation(QWidget* to) : to_(to != nullptr ? to->window() : nullptr) {}
    ~ReturnActivation() {
        if (to_ != nullptr && to_->isVisible())
            to_->activateWindow();
    }
    ReturnActivation(const ReturnActivation&) = delete;
    ReturnActivation& operator=(const ReturnActivation&) = delete;

private:
    QPointer<QWidget> to_;
};

class QtModalHost : public ModalHost {
public:
    int RunModal(Modal& modal) override {
        QDialog* dialog = modal.ModalWidget();
        QWidget* owner = modal.OwnerWidget();
        if (owner == nullptr)
            owner = QApplication::activeModalWidget();
        // Shown over its owner while it runs; the window is the dialog's own again afterwards.
        // Adopted before the dialog sets itself up, so that nothing it does there is undone.
        const bool adopt =
            owner != nullptr && owner->window() != dialog && dialog->parentWidget() == nullptr;
        if (adopt)
            dialog->setParent(owner->window(), dialog->windowFlags() | Qt::Dialog);
        const ReturnActivation returnTo(owner);
        int code = QDialog::Rejected;
        modal.Start();
        if (!modal.IsEnded()) // a dialog may end while it is being set up
            code = dialog->exec();
        if (adopt)
            dialog->setParent(nullptr, dialog->windowFlags());
        if (modal.IsEnded())
            return modal.Result();
        return code == QDialog::Accepted ? IDOK : IDCANCEL;
    }

    int MessageBox(const Window* owner, std::string_view text, std::string_view title,
                   unsigned type, std::string_view informative) override {
        const ReturnActivation returnTo(ParentFor(owner));
        QMessageBox box(ParentFor(owner));
        ConfigureMessageBox(box, text, title, type);
        if (!informative.empty()) {
            box.setInformativeText(QString::fromUtf8(informative));
            // A file name is shown as it is, whatever it looks like.
            if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
                label->setTextFormat(Qt::PlainText);
        }
        return MessageBoxResult(box.exec());
    }

    FileDialogResult FileDialog(const FileDialogRequest& request) override {
        const ReturnActivation returnTo(ParentFor(request.owner));
        QFileDialog dialog(ParentFor(request.owner));
        ConfigureFileDialog(dialog, request);
        for (;;) {
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
                return {IDCANCEL, {}};
            const std::string path = dialog.selectedFiles().first().toStdString();
            switch (CheckChosenFile(request, path)) {
            case ChosenFile::Accept:
                return {IDOK, path};
            case ChosenFile::AskCreate:
                if (QMessageBox::question(&dialog, dialog.windowTitle(),
                                          QString::fromUtf8(CreatePromptText(path))) ==
                    QMessageBox::Yes)
                    return {IDOK, path};
                break;
            case ChosenFile::MissingFolder:
                QMessageBox::warning(&dialog, dialog.windowTitle(),
                                     QString::fromUtf8(MissingFolderText(path)));
                break;
            case ChosenFile::MissingFile:
                QMessageBox::warning(&dialog, dialog.windowTitle(),
                                     QString::fromUtf8(MissingFileText(path)));
                break;
            }
        }
    }
};

} // namespace

ModalHost& QtHost() {
    static QtModalHost host;
    return host;
}

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!request.title.empty())
        dialog.setWindowTitle(QString::fromUtf8(request.title));
    else
        dialog.setWindowTitle(request.open ? QCoreApplication::translate("FileDialog", "Open")
                                           : QCoreApplication::translate("FileDialog", "Save As"));
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // Offering to create a missing file wins over insisting on an existing one.
    const bool mustExist =
        (request.flags & OFN_FILEMUSTEXIST) != 0 && (request.flags & OFN_CREATEPROMPT) == 0;
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.flags & OFN_OVERWRITEPROMPT) == 0);
    if (!request.filter.empty())
        dialog.setNameFilters(
            QString::fromUtf8(QtFilter(request.filter)).split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(QString::fromUtf8(request.defaultExtension));
    if (!request.initialName.empty())
        dialog.selectFile(QString::fromUtf8(request.initialName));
}

ChosenFile CheckChosenFile(const FileDialogRequest& request, const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path file(path);
    const bool exists = fs::is_regular_file(file, error);
    // Asking to create a file, or insisting that it exists, needs its folder too.
    const unsigned needsFolder = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT;
    if ((request.flags & needsFolder) != 0) {
        fs::path folder = file.parent_path();
        if (folder.empty())
            folder = ".";
        if (!fs::is_directory(folder, error))
            return ChosenFile::MissingFolder;
    }
    if (!exists) {
        if (request.flags & OFN_CREATEPROMPT)
            return ChosenFile::AskCreate;
        if (request.flags & OFN_FILEMUSTEXIST)
            return ChosenFile::MissingFile;
    }
    return ChosenFile::Accept;
}

std::string CreatePromptText(const std::string& path) {
    return QCoreApplication::translate("FileDialog", "%1 does not exist.\nCreate it?")
        .arg(QString::fromStdString(path))
        .toStdString();
}

std::string MissingFolderText(const std::string& path) {
    return QCoreApplication::translate(
               "FileDialog", "%1\nThe folder does not exist. Check the path and try again.")
        .arg(QString::fromStdString(path))
        .toStdString();
}

std::string MissingFileText(const std::string& path) {
    return QCoreApplication::translate("FileDialog",
                                       "%1\nFile not found. Check the file name and try again.")
        .arg(QString::fromStdString(path))
        .toStdString();
}

void ConfigureMessageBox(QMessageBox& box, std::string_view text, std::string_view title,
                         unsigned type) {
    box.setWindowTitle(QString::fromUtf8(title));
    box.setText(QString::fromUtf8(text));
    box.setTextFormat(Qt::PlainText);
    const unsigned buttons = type & MB_TYPEMASK;
    if (buttons == MB_YESNOCANCEL) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else if (buttons == MB_YESNO) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    box.setIcon((type & MB_ICONQUESTION) ? QMessageBox::Question : QMessageBox::NoIcon);
    // A short text would make a box too narrow for its title bar to show the title whole
    // beside the frame's buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const QMargins margins = grid->contentsMargins();
        const int width = MessageBoxMinimumWidth(box, title) - margins.left() - margins.right();
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
    }
}

int MessageBoxMinimumWidth(const QWidget& box, std::string_view title) {
    const QString text = QString::fromUtf8(title);
    // Title bars draw in a font of their own, often bold: the wider of the two counts.
    const int inBoxFont = QFontMetrics(box.font()).horizontalAdvance(text);
    const int inTitleFont =
        QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(text);
    QFont bold = box.font();
    bold.setBold(true);
    const int inBold = QFontMetrics(bold).horizontalAdvance(text);
    return std::max({inBoxFont, inTitleFont, inBold}) + 120;
}

int MessageBoxResult(int standardButton) {
    switch (standardButton) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

} // namespace tk
