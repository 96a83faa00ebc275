// The modal host: the Qt host's mappings of file dialogs and message boxes, one real modal
// run through it, and the strictness of the scripted host the other tests rely on.

#include "ui/support/scripted_host.h"
#include "ui/toolkit/modal_host.h"
#include "ui/toolkit/qt_host.h"
#include "ui/toolkit/window.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>

#include <functional>
#include <string>

namespace {

using tk::Kind;

TEST(ModalHostTest, WindowsFilterBecomesQtFilter) {
    struct Case {
        const char* windows;
        const char* qt;
    };
    const Case cases[] = {
        {"Conf files (*.conf)|*.conf|All files (*.*)|*.*||", "Conf files (*.conf);;All files (*)"},
        {"Text (*.txt;*.log)|*.txt;*.log||", "Text (*.txt *.log)"},
        {"Logs|*.log||", "Logs (*.log)"},
        {"Conf files (*.conf)|*.conf", "Conf files (*.conf)"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tk::QtFilter(c.windows), c.qt) << c.windows;
}

TEST(ModalHostTest, FileDialogOptions) {
    struct Case {
        const char* name;
        bool open;
        unsigned flags;
        QFileDialog::FileMode mode;
        bool confirmOverwrite;
    };
    const Case cases[] = {
        // New: hide read-only, file must exist, prompt to create.
        {"new", true, 0x3004, QFileDialog::AnyFile, false},
        {"import", true, tk::OFN_FILEMUSTEXIST | tk::OFN_HIDEREADONLY, QFileDialog::ExistingFile,
         false},
        {"save", false, tk::OFN_OVERWRITEPROMPT | tk::OFN_HIDEREADONLY, QFileDialog::AnyFile, true},
        {"save without a question", false, tk::OFN_PATHMUSTEXIST, QFileDialog::AnyFile, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tk::FileDialogRequest request;
        request.open = c.open;
        request.defaultExtension = "conf";
        request.initialName = "security.conf";
        request.flags = c.flags;
        request.filter = "Conf files (*.conf)|*.conf|All files (*.*)|*.*||";
        QFileDialog dialog;
        tk::ConfigureFileDialog(dialog, request);
        EXPECT_EQ(dialog.fileMode(), c.mode);
        EXPECT_EQ(dialog.acceptMode(), c.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        EXPECT_EQ(!dialog.testOption(QFileDialog::DontConfirmOverwrite), c.confirmOverwrite);
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("conf"));
        EXPECT_EQ(dialog.nameFilters(), (QStringList{QStringLiteral("Conf files (*.conf)"),
                                                     QStringLiteral("All files (*)")}));
        ASSERT_FALSE(dialog.selectedFiles().isEmpty());
        EXPECT_TRUE(dialog.selectedFiles().first().endsWith(QStringLiteral("/security.conf")));
    }
}

TEST(ModalHostTest, ChosenFileIsCheckedAsTheOptionsSay) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string existing = folder.filePath(QStringLiteral("there.conf")).toStdString();
    {
        QFile file(QString::fromStdString(existing));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const std::string missing = folder.filePath(QStringLiteral("new.conf")).toStdString();
    const std::string lost = folder.filePath(QStringLiteral("gone/new.conf")).toStdString();

    struct Case {
        unsigned flags;
        const std::string& path;
        tk::ChosenFile check;
    };
    const Case cases[] = {
        {0x3004, existing, tk::ChosenFile::Accept},
        {0x3004, missing, tk::ChosenFile::AskCreate},
        {0x3004, lost, tk::ChosenFile::MissingFolder},
        {tk::OFN_FILEMUSTEXIST, missing, tk::ChosenFile::MissingFile},
        {tk::OFN_PATHMUSTEXIST, missing, tk::ChosenFile::Accept},
        {tk::OFN_PATHMUSTEXIST, lost, tk::ChosenFile::MissingFolder},
        {tk::OFN_OVERWRITEPROMPT, lost, tk::ChosenFile::Accept}, // the save reports it
    };
    for (const Case& c : cases) {
        tk::FileDialogRequest request;
        request.flags = c.flags;
        EXPECT_EQ(tk::CheckChosenFile(request, c.path), c.check)
            << "flags " << c.flags << ", " << c.path;
    }
    EXPECT_EQ(tk::CreatePromptText("/x/new.conf"), "/x/new.conf does not exist.\nCreate it?");
}

TEST(ModalHostTest, MessageBoxButtonsAndResults) {
    QMessageBox ok;
    tk::ConfigureMessageBox(ok, "Invalid Account Name", "Error", tk::MB_OK);
    EXPECT_EQ(ok.windowTitle(), QStringLiteral("Error"));
    EXPECT_EQ(ok.text(), QStringLiteral("Invalid Account Name"));
    EXPECT_EQ(ok.standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(ok.icon(), QMessageBox::NoIcon);

    QMessageBox question;
    tk::ConfigureMessageBox(question, "Save?", "Confirm", tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION);
    EXPECT_EQ(question.standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(question.icon(), QMessageBox::Question);
    EXPECT_EQ(question.escapeButton(), question.button(QMessageBox::Cancel));

    struct Case {
        QMessageBox::StandardButton button;
        int result;
    };
    const Case cases[] = {{QMessageBox::Ok, tk::IDOK},
                          {QMessageBox::Cancel, tk::IDCANCEL},
                          {QMessageBox::Yes, tk::IDYES},
                          {QMessageBox::No, tk::IDNO}};
    for (const Case& c : cases)
        EXPECT_EQ(tk::MessageBoxResult(c.button), c.result) << c.button;
}

// A short text would leave the box narrower than its title needs in a title bar.
TEST(ModalHostTest, MessageBoxesAreWideEnoughForTheirTitle) {
    struct Case {
        const char* title;
        const char* text;
        unsigned type;
        const char* picture;
    };
    const Case cases[] = {
        {"Error", "Invalid Account Name", tk::MB_OK, "message_box_error"},
        {"Confirm", "Do you want to overwrite  a?", tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION,
         "message_box_confirm"},
        {"Error", "There is problem in creating this file.", tk::MB_OK, nullptr},
        {"A title far longer than any message this program shows", "x", tk::MB_OK, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        QMessageBox box;
        tk::ConfigureMessageBox(box, c.text, c.title, c.type);
        box.show();
        const int titleWidth =
            QFontMetrics(box.font()).horizontalAdvance(QString::fromUtf8(c.title));
        EXPECT_GE(box.width(), titleWidth + 120);
        EXPECT_GE(box.width(), tk::MessageBoxMinimumWidth(box, c.title));
        if (c.picture != nullptr)
            tk::test::SavePng(&box, c.picture);
        box.hide();
    }
}

// Clicks a button of the next modal window as soon as it is shown, from the window's own
// event loop.
class ClickWhenShown : public QObject {
public:
    explicit ClickWhenShown(std::function<void(QWidget*)> click) : click_(std::move(click)) {
        qApp->installEventFilter(this);
    }
    ~ClickWhenShown() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && window != nullptr && window->isWindow() &&
            window->isModal()) {
            QPointer<QWidget> shown(window);
            QMetaObject::invokeMethod(
                this,
                [this, shown] {
                    if (shown)
                        click_(shown);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void(QWidget*)> click_;
};

const tk::DialogTemplate kSmall{
    906,
    "Small",
    120,
    40,
    "MS Shell Dlg",
    8,
    {{tk::IDOK, Kind::PushButton, "OK", 10, 20, 50, 14, tk::state::kDefault},
     {tk::IDCANCEL, Kind::PushButton, "Cancel", 64, 20, 50, 14}},
};

TEST(ModalHostTest, QtHostReallyRunsModalWindows) {
    {
        ClickWhenShown answer([](QWidget* window) {
            if (auto* box = qobject_cast<QMessageBox*>(window))
                box->button(QMessageBox::No)->click();
        });
        EXPECT_EQ(tk::QtHost().MessageBox(nullptr, "Save the changes?", "Confirm",
                                          tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION, {}),
                  tk::IDNO);
    }
    {
        tk::Dialog dialog(kSmall);
        ClickWhenShown answer([&](QWidget*) {
            static_cast<QAbstractButton*>(dialog.Control(tk::IDCANCEL))->click();
        });
        EXPECT_EQ(tk::QtHost().RunModal(dialog), tk::IDCANCEL);
        EXPECT_FALSE(dialog.Widget()->isVisible());
    }
    {
        // A dialog with an owner is shown over it, and is its own window again afterwards.
        tk::Dialog owner(kSmall);
        tk::Dialog dialog(kSmall, &owner);
        QWidget* shownOver = nullptr;
        ClickWhenShown answer([&](QWidget* window) {
            shownOver = window->parentWidget();
            static_cast<QAbstractButton*>(dialog.Control(tk::IDOK))->click();
        });
        EXPECT_EQ(tk::QtHost().RunModal(dialog), tk::IDOK);
        EXPECT_EQ(shownOver, owner.Widget());
        EXPECT_EQ(dialog.Widget()->parentWidget(), nullptr);
    }
}

class Other : public tk::Dialog {
public:
    Other() : tk::Dialog(kSmall) {}
};

TEST(ScriptedHostTest, FailsOnWhatTheTestDidNotExpect) {
    EXPECT_NONFATAL_FAILURE(
        {
            tk::test::ScriptedHost host;
            tk::MessageBox(nullptr, "Invalid File Path", "Error");
        },
        "unexpected message box \"Error\": \"Invalid File Path\"");
    EXPECT_NONFATAL_FAILURE(
        {
            tk::test::ScriptedHost host;
            host.ExpectMessage("Error", "Invalid File Path");
            tk::MessageBox(nullptr, "Invalid Account Name", "Error");
        },
        "text of the message box");
    EXPECT_NONFATAL_FAILURE(
        {
            tk::test::ScriptedHost host;
            host.ExpectMessage("Confirm", "Save?", tk::IDYES);
            tk::MessageBox(nullptr, "Save?", "Confirm", tk::MB_OK);
        },
        "cannot answer 6");
    EXPECT_NONFATAL_FAILURE(
        {
            tk::test::ScriptedHost host;
            host.ExpectMessage("Error", "Invalid File Path");
        },
        "did not appear");
    EXPECT_NONFATAL_FAILURE(
        {
            tk::test::ScriptedHost host;
            host.ExpectFileDialog(std::string("/tmp/x.conf"));
            tk::MessageBox(nullptr, "Invalid File Path", "Error");
            tk::FileDialog({});
        },
        "another prompt was expected");
    EXPECT_NONFATAL_FAILURE(
        {
            tk::test::ScriptedHost host;
            tk::Dialog dialog(kSmall);
            host.ExpectModal<tk::Dialog>([](tk::Dialog&) {});
            dialog.DoModal();
        },
        "the script left \"Small\" open");
    EXPECT_NONFATAL_FAILURE(
        {
            tk::test::ScriptedHost host;
            tk::Dialog dialog(kSmall);
            host.ExpectModal<Other>([](Other& o) { o.EndDialog(tk::IDOK); });
            EXPECT_EQ(dialog.DoModal(), tk::IDCANCEL);
        },
        "is not a");
}

TEST(ScriptedHostTest, AnswersInOrderAndRecords) {
    tk::test::ScriptedHost host;
    host.ExpectMessage("Confirm", "Overwrite?", tk::IDNO);
    host.ExpectFileDialog(std::nullopt);
    host.ExpectFileDialog(std::string("/tmp/a.conf"));
    host.ExpectModal<Other>([&](Other& other) {
        host.ExpectMessage("Error", "Nested"); // a prompt from within the dialog
        EXPECT_EQ(tk::MessageBox(&other, "Nested", "Error"), tk::IDOK);
        other.EndDialog(tk::IDOK);
    });
    EXPECT_EQ(
        tk::MessageBox(nullptr, "Overwrite?", "Confirm", tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION),
        tk::IDNO);
    EXPECT_EQ(tk::FileDialog({}).result, tk::IDCANCEL);
    const tk::FileDialogResult chosen = tk::FileDialog({});
    EXPECT_EQ(chosen.result, tk::IDOK);
    EXPECT_EQ(chosen.path, "/tmp/a.conf");
    Other other;
    EXPECT_EQ(other.DoModal(), tk::IDOK);
    ASSERT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(host.Messages()[0].answer, tk::IDNO);
    EXPECT_EQ(host.Messages()[0].type, tk::MB_YESNOCANCEL | tk::MB_ICONQUESTION);
    EXPECT_EQ(host.Messages()[1].title, "Error");
    EXPECT_EQ(host.FileDialogs().size(), 2u);
    EXPECT_TRUE(host.Done());
}

} // namespace
