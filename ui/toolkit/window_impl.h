#pragma once

// The inside of tk::Window, shared by the toolkit's sources.

#include "ui/toolkit/dialog_units.h"
#include "ui/toolkit/window.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class QButtonGroup;
class QLabel;

namespace tk {

struct Window::Impl {
    Impl(Window& owner, const DialogTemplate& tmpl, std::unique_ptr<QWidget> root);
    ~Impl();

    // Runs the handler bound to (id, code), if any; clicks on ids 1 and 2 that nothing
    // binds go to standardClick.
    void Dispatch(int id, Notify code, int key = 0);
    // From here on nothing the widgets report reaches the window.
    void Detach();

    QWidget* Find(int id) const;
    const ControlTemplate* TemplateOf(int id) const;

    Window& owner;
    QFont font;
    detail::DialogUnits units;
    std::unique_ptr<QWidget> root;
    std::map<int, QWidget*> controls;                                 // by id; IDC_STATIC left out
    std::map<int, const ControlTemplate*> templates;                  // by id
    std::map<std::pair<int, int>, std::function<void(int)>> handlers; // (id, code)
    std::map<int, QButtonGroup*> radioGroups;                         // by radio button id
    std::function<void(int id)> standardClick;                        // dialogs: OK and Cancel
    QPointer<QWidget> parent; // dialogs: shown over this window
    bool detached = false;
    std::map<int, unsigned> anchors;         // by id; controls not listed stay where they are
    std::vector<QWidget*> made;              // every control, in the template's order
    std::map<int, QPointer<QWidget>> hosted; // by Host control id
    std::vector<std::pair<QLabel*, QWidget*>> hostLabels; // labels whose access key is a Host's

    // Tab goes through the controls in the template's order, through each hosted widget's
    // fields where its Host control stands.
    void OrderTabStops();
    // The field of the widget hosted by control id that Tab reaches first, if any.
    QWidget* FirstHostedStop(int id) const;

    // Moves the anchored controls for the root's present size.
    void LayOut();

private:
    void Build(const DialogTemplate& tmpl);
    QWidget* MakeControl(const ControlTemplate& control, QButtonGroup*& radioGroup);
    void Wire(const ControlTemplate& control, QWidget* widget);
    void NameControls(const DialogTemplate& tmpl);
};

namespace detail {

// Text of a control template as Qt shows it; "&" stays the access-key mark.
QString FromUtf8(const char* text);
// A template text as the user reads it: translated, or the English text.
QString TemplateText(const char* text);
// The text without its access-key marks ("&&" is a plain "&").
QString WithoutAccessKeys(const QString& text);
// The widget of a Host control: an empty frame whose layout takes the hosted widget.
QWidget* MakeHost(QWidget* parent);

} // namespace detail

} // namespace tk
