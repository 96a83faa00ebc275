#include "ui/support/scripted_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <sstream>
#include <utility>

namespace tk::test {

namespace {

std::string TypeOfMessage(unsigned type) {
    if ((type & 0x0F) == MB_YESNO)
        return "Yes/No";
    return (type & 0x0F) == MB_YESNOCANCEL ? "Yes/No/Cancel" : "OK";
}

std::string Describe(const std::string& kind, const std::string& title, const std::string& text) {
    std::ostringstream out;
    out << kind << " \"" << title << "\": \"" << text << "\"";
    return out.str();
}

// Answers a message box of this type can give.
bool CanAnswer(unsigned type, int answer) {
    if ((type & 0x0F) == MB_YESNOCANCEL)
        return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    if ((type & 0x0F) == MB_YESNO)
        return answer == IDYES || answer == IDNO;
    return answer == IDOK;
}

// The window that has the focus on screen; the scripted host hands it on to the modal
// window it shows and gives it back afterwards, as a window manager does.
void Activate(QWidget* window) {
    if (window == nullptr || !window->isVisible())
        return;
    window->activateWindow();
    QApplication::setActiveWindow(window);
}

} // namespace

ScriptedHost::ScriptedHost() {
    previous_ = SetHost(this);
}

ScriptedHost::~ScriptedHost() {
    SetHost(previous_);
    for (const Expectation& left : expectations_) {
        switch (left.kind) {
        case Expectation::Kind::Modal:
            ADD_FAILURE() << "expected modal run of " << left.typeName << " did not happen";
            break;
        case Expectation::Kind::Message:
            ADD_FAILURE() << "expected " << Describe("message box", left.title, left.text)
                          << " did not appear";
            break;
        case Expectation::Kind::File:
            ADD_FAILURE() << "expected file dialog (answer \"" << left.path.value_or("cancel")
                          << "\") did not appear";
            break;
        }
    }
}

void ScriptedHost::ExpectModalImpl(std::string typeName, std::function<bool(Modal&)> play) {
    Expectation expectation{};
    expectation.kind = Expectation::Kind::Modal;
    expectation.typeName = std::move(typeName);
    expectation.play = std::move(play);
    expectations_.push_back(std::move(expectation));
}

void ScriptedHost::ExpectMessage(std::string title, std::string text, int answer) {
    Expectation expectation{};
    expectation.kind = Expectation::Kind::Message;
    expectation.title = std::move(title);
    expectation.text = std::move(text);
    expectation.answer = answer;
    expectations_.push_back(std::move(expectation));
}

void ScriptedHost::ExpectFileDialog(std::optional<std::string> path) {
    Expectation expectation{};
    expectation.kind = Expectation::Kind::File;
    expectation.path = std::move(path);
    expectations_.push_back(std::move(expectation));
}

int ScriptedHost::RunModal(Modal& modal) {
    if (expectations_.empty() || expectations_.front().kind != Expectation::Kind::Modal) {
        ADD_FAILURE() << "unexpected modal run of \"" << modal.Title() << "\""
                      << (expectations_.empty() ? "" : " (another prompt was expected)");
        return IDCANCEL;
    }
    Expectation expectation = std::move(expectations_.front());
    expectations_.pop_front();

    QPointer<QWidget> before = QApplication::activeWindow();
    modal.Start();
    QDialog* window = modal.ModalWidget();
    if (!modal.IsEnded()) {
        window->show();
        Activate(window);
        if (!expectation.play(modal)) {
            ADD_FAILURE() << "modal run of \"" << modal.Title() << "\" is not a "
                          << expectation.typeName;
        } else if (!modal.IsEnded()) {
            ADD_FAILURE() << "the script left \"" << modal.Title() << "\" open";
        }
        window->hide();
        Activate(before);
    }
    return modal.IsEnded() ? modal.Result() : IDCANCEL;
}

int ScriptedHost::MessageBox(const Window* /*owner*/, std::string_view text, std::string_view title,
                             unsigned type, std::string_view informative) {
    const std::string shownTitle(title);
    const std::string shownText(text);
    const int fallback = (type & 0x0F) == MB_YESNOCANCEL ? IDCANCEL
                         : (type & 0x0F) == MB_YESNO     ? IDNO
                                                         : IDOK;
    if (expectations_.empty() || expectations_.front().kind != Expectation::Kind::Message) {
        ADD_FAILURE() << "unexpected " << Describe("message box", shownTitle, shownText)
                      << (expectations_.empty() ? "" : " (another prompt was expected)");
        messages_.push_back({shownTitle, shownText, std::string(informative), type, fallback});
        return fallback;
    }
    Expectation expectation = std::move(expectations_.front());
    expectations_.pop_front();
    EXPECT_EQ(expectation.title, shownTitle) << "title of the message box \"" << shownText << "\"";
    EXPECT_EQ(expectation.text, shownText) << "text of the message box \"" << shownTitle << "\"";
    int answer = expectation.answer;
    if (!CanAnswer(type, answer)) {
        ADD_FAILURE() << "the " << TypeOfMessage(type) << " box "
                      << Describe("", shownTitle, shownText) << " cannot answer " << answer;
        answer = fallback;
    }
    messages_.push_back({shownTitle, shownText, std::string(informative), type, answer});
    return answer;
}

FileDialogResult ScriptedHost::FileDialog(const FileDialogRequest& request) {
    fileDialogs_.push_back(request);
    if (expectations_.empty() || expectations_.front().kind != Expectation::Kind::File) {
        ADD_FAILURE() << "unexpected " << (request.open ? "open" : "save") << " file dialog"
                      << (expectations_.empty() ? "" : " (another prompt was expected)");
        return {IDCANCEL, {}};
    }
    Expectation expectation = std::move(expectations_.front());
    expectations_.pop_front();
    if (!expectation.path)
        return {IDCANCEL, {}};
    return {IDOK, *expectation.path};
}

} // namespace tk::test
