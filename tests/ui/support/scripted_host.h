#pragma once

#include "ui/toolkit/modal_host.h"
#include "ui/toolkit/window.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

class QWidget;

namespace tk::test {

struct MessageRecord {
    std::string title;
    std::string text;
    std::string informative; // the smaller text under the text; empty when there is none
    unsigned type;           // MB_OK, or MB_YESNOCANCEL | MB_ICONQUESTION
    int answer;
};

// Plays the user's part synchronously: every modal run, message box and file dialog must
// have been expected, in order. Installed for its lifetime; at its end, an expectation left
// unused fails the test. (A top-level window left open after a test fails it as well: the
// listener of test_main.cpp checks that after every test.)
class ScriptedHost : public ModalHost {
public:
    ScriptedHost();
    ~ScriptedHost() override;

    // The next modal run must be of a T (a dialog class or tk::PropertySheet). The script
    // types and clicks on its real widgets and must end it (OK, Cancel, ...).
    template <class T> void ExpectModal(std::function<void(T&)> play) {
        ExpectModalImpl(typeid(T).name(), [play](Modal& m) -> bool {
            T* t = dynamic_cast<T*>(&m);
            if (t == nullptr)
                return false;
            play(*t);
            return true;
        });
    }
    // The next message box must have this title and text; it is answered with answer.
    void ExpectMessage(std::string title, std::string text, int answer = IDOK);
    // The next file dialog is answered with path (IDOK), or cancelled when path is empty.
    void ExpectFileDialog(std::optional<std::string> path);

    const std::vector<MessageRecord>& Messages() const { return messages_; }
    const std::vector<FileDialogRequest>& FileDialogs() const { return fileDialogs_; }
    bool Done() const { return expectations_.empty(); }

    int RunModal(Modal& modal) override;
    int MessageBox(const Window* owner, std::string_view text, std::string_view title,
                   unsigned type, std::string_view informative) override;
    FileDialogResult FileDialog(const FileDialogRequest& request) override;

private:
    struct Expectation {
        enum class Kind { Modal, Message, File } kind;
        std::string typeName;             // Modal
        std::function<bool(Modal&)> play; // Modal
        std::string title, text;          // Message
        int answer = IDOK;                // Message
        std::optional<std::string> path;  // File
    };
    void ExpectModalImpl(std::string typeName, std::function<bool(Modal&)> play);
    std::deque<Expectation> expectations_;
    std::vector<MessageRecord> messages_;
    std::vector<FileDialogRequest> fileDialogs_;
    ModalHost* previous_ = nullptr;
};

// Input on the real widgets, as a user gives it (QTest events, offscreen).
void Click(const Window& window, int id); // push button, check box, radio button
void TypeText(const Window& window, int id, std::string_view text); // key by key
void ClearText(const Window& window, int id); // select all + Delete (one change)
void ClickRow(const Window& window, int listId, int row, bool control = false,
              bool shift = false); // list view or list box row
void PressKey(const Window& window, int id, int qtKey);
void SelectComboItem(const Window& window, int id, int index); // as the user picks it
void ClickTab(PropertySheet& sheet, int index);

// Writes a PNG of a widget under <build>/screenshots/<name>.png and returns its path.
std::string SavePng(QWidget* widget, const std::string& name);

} // namespace tk::test
