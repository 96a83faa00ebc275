#pragma once

#include "ui/toolkit/controls.h"
#include "ui/toolkit/dialog_template.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include <QObject>

class QWidget;
class QDialog;
class QIcon;

namespace tk {

// Notifications a handler table can bind.
enum class Notify {
    Clicked,   // push button, check box, radio button
    Changed,   // edit text changed, on every keystroke and on SetText
    SelChange, // list box or combo box selection changed by the user
    Click,     // list view clicked
    SetFocus,  // list view gained the focus
    KillFocus, // list view lost the focus
    KeyDown,   // key pressed in a list view; the handler gets the key
    DblClick,  // list view row double-clicked (after the click that selected it)
    Return,    // Enter or Return in a list view; when handled, the key goes no further
};

// The edges of its window a control keeps its distance to when the window is resized.
// Left and Top alone (the default) keep it in place; Left and Right stretch it.
namespace anchor {
inline constexpr unsigned kLeft = 1u << 0;
inline constexpr unsigned kTop = 1u << 1;
inline constexpr unsigned kRight = 1u << 2;
inline constexpr unsigned kBottom = 1u << 3;
inline constexpr unsigned kAll = kLeft | kTop | kRight | kBottom;
} // namespace anchor

inline constexpr int VK_DELETE = 0x2E;

namespace detail {

// What a handler row runs, whatever it was given: a member function of the window or any
// callable, taking the window (T&), the int of the notification, both or neither.
template <class T, class F> std::function<void(T&, int)> RunnerOf(F fn) {
    if constexpr (std::is_invocable_v<F&, T&, int>)
        return [fn = std::move(fn)](T& self, int arg) mutable { std::invoke(fn, self, arg); };
    else if constexpr (std::is_invocable_v<F&, T&>)
        return [fn = std::move(fn)](T& self, int) mutable { std::invoke(fn, self); };
    else if constexpr (std::is_invocable_v<F&, int>)
        return [fn = std::move(fn)](T&, int arg) mutable { std::invoke(fn, arg); };
    else {
        static_assert(std::is_invocable_v<F&>, "a handler takes the window, an int, both or none");
        return [fn = std::move(fn)](T&, int) mutable { std::invoke(fn); };
    }
}

} // namespace detail

// One row of a handler table: (control id, notification, handler). The handler is a member
// function or any callable; it may take the control's id, for KeyDown the key instead
// (VK_DELETE for Delete):
//     {IDC_ADD, Notify::Clicked, &Page::OnAdd}            void OnAdd();
//     {IDC_BOX, Notify::Clicked, &Page::OnBox}            void OnBox(int id);
//     {IDC_LIST, &Page::OnListKey}                        void OnListKey(int key);
//     {IDC_NAME, Notify::Changed, [](Page& page) { ... }}
template <class T> struct Handler {
    template <class F>
    Handler(int id_, Notify code_, F fn) : id(id_), code(code_), run(detail::RunnerOf<T>(fn)) {}
    // A key-down row.
    template <class F> Handler(int id_, F keyFn) : Handler(id_, Notify::KeyDown, keyFn) {}

    int id;
    Notify code;
    std::function<void(T& window, int idOrKey)> run;
};

// A dialog or a property page: widgets built from a template, controls addressed by id.
class Window {
public:
    explicit Window(const DialogTemplate& tmpl);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    QWidget* Widget() const;        // the root widget
    QWidget* Control(int id) const; // nullptr when the template has no such control
    const DialogTemplate& Template() const { return tmpl_; }

    void Enable(int id, bool enable = true);
    bool IsEnabled(int id) const;
    void Show(int id, bool show = true);
    bool IsShown(int id) const; // not hidden (whether or not the window is on screen)
    std::string Text(int id) const;
    void SetText(int id, std::string_view text);
    int TextLength(int id) const;
    int Check(int id) const; // 0 or 1
    void SetCheck(int id, int checked);
    void CheckRadio(int first, int last, int id);
    void SetFocus(int id); // the focus goes there now, or when the window is shown
    // The name a screen reader gives the control, instead of its text or caption.
    void SetAccessibleName(int id, std::string_view name);
    // Which edges the control follows when the window is resized (see tk::anchor).
    void Anchor(int id, unsigned edges);

    ListBox GetListBox(int id) const;
    ComboBox GetComboBox(int id) const;
    ListView GetListView(int id) const;

    // Puts a widget into the rectangle of a Kind::Host control; the window owns it from then
    // on and destroys it with its controls. Its Qt layout is laid out inside the rectangle
    // (and follows it when an anchor resizes the control), and its fields take the control's
    // place in the tab order: Tab goes from the control before it into the widget's first
    // field and from its last field on to the control after it. A label right before the
    // control gives its access key to the first field. Build the widget whole before
    // hosting it: a field added later comes last in the tab order. (A table passes Tab on
    // only with setTabKeyNavigation(false).) A second widget replaces the first. Returns the
    // widget, or nullptr (the widget is gone) for an id of no Host.
    //
    // A page with a table and a form, say, has one Host control in its template where they
    // go, and its constructor does:
    //     auto panel = std::make_unique<QWidget>();
    //     auto* layout = new QVBoxLayout(panel.get());
    //     layout->setContentsMargins(0, 0, 0, 0);
    //     table_ = new QTableView(panel.get()); // and a QFormLayout of fields, ...
    //     layout->addWidget(table_);
    //     HostWidget(IDC_PANEL, std::move(panel));
    // It works the same on a dialog and on a property page, in a sheet or not.
    template <class W> W* HostWidget(int id, std::unique_ptr<W> widget) {
        W* raw = widget.get();
        return PlaceHosted(id, std::unique_ptr<QWidget>(std::move(widget))) ? raw : nullptr;
    }
    QWidget* HostedWidget(int id) const; // nullptr when the control hosts nothing

protected:
    // A window whose root widget is given (a dialog's own top-level widget).
    Window(const DialogTemplate& tmpl, std::unique_ptr<QWidget> root);

    // Connects every row of a handler table; call once from the constructor. The rows are
    // T's for as long as it is whole: none of them runs once T's destructor has finished (a
    // base's destructor may still change controls) nor while the toolkit takes the window
    // apart, and the connections go with the window: nothing is there to undo by hand. (T's
    // own destructor should leave the controls alone: T is no longer whole when its members
    // go.)
    template <class T, std::size_t N> void Bind(T* self, const Handler<T> (&rows)[N]) {
        for (const Handler<T>& row : rows)
            Bind(self, row);
    }
    // One row, for rows made in a loop: Bind(this, id, Notify::Clicked, &Page::OnBox).
    template <class T, class F> void Bind(T* self, int id, Notify code, F fn) {
        Bind(self, Handler<T>(id, code, std::move(fn)));
    }
    template <class T> void Bind(T* self, const Handler<T>& row) {
        Connect(row.id, row.code, Guarded(self, row.run));
    }
    // A signal of a widget the window hosts, handled as a row is: only while the window is
    // whole as a T, and never after the window. fn takes what the signal gives, or nothing.
    template <class T, class Sender, class Signal, class F>
    void Bind(T* self, Sender* sender, Signal signal, F fn) {
        Window* window = self;
        QObject::connect(sender, signal, Widget(), [window, fn](auto&&... args) mutable {
            if (WholeAs<T>(window) == nullptr)
                return;
            if constexpr (std::is_invocable_v<F&, decltype(args)...>)
                std::invoke(fn, std::forward<decltype(args)>(args)...);
            else
                std::invoke(fn);
        });
    }

    struct Impl;
    std::unique_ptr<Impl> impl_;

private:
    bool PlaceHosted(int id, std::unique_ptr<QWidget> widget);
    // arg: the key for KeyDown, the control's id otherwise.
    void Connect(int id, Notify code, std::function<void(int arg)> handler);
    bool Live() const; // not yet being taken apart

    // The window as a T while it is one whole: once T's destructor has run (or the toolkit
    // has begun to take the window apart), nullptr. The cast is made on the Window part,
    // a base of whatever class is being destroyed, so it is always well defined.
    template <class T> static T* WholeAs(Window* window) {
        return window->Live() ? dynamic_cast<T*>(window) : nullptr;
    }
    template <class T>
    static std::function<void(int)> Guarded(T* self, std::function<void(T&, int)> run) {
        Window* window = self;
        return [window, run = std::move(run)](int arg) {
            if (T* whole = WholeAs<T>(window))
                run(*whole, arg);
        };
    }

    const DialogTemplate& tmpl_;
};

// Anything the modal host can run: a dialog or a property sheet.
class Modal {
public:
    virtual ~Modal();
    int DoModal(); // through the installed modal host; IDOK (1) or IDCANCEL (2)
    void EndModal(int result);
    bool IsEnded() const { return ended_; }
    int Result() const { return result_; }
    virtual QDialog* ModalWidget() const = 0;
    virtual std::string Title() const = 0;
    // The window it is shown over, if any.
    virtual QWidget* OwnerWidget() const { return nullptr; }
    // Called by the host before the window is shown, on every run.
    void Start();

protected:
    virtual void OnStart() {}

private:
    bool ended_ = false;
    int result_ = 0;
};

class Dialog : public Window, public Modal {
public:
    // parent: the window the dialog is opened from (it is shown over it); none for a
    // top-level dialog.
    explicit Dialog(const DialogTemplate& tmpl, const Window* parent = nullptr);
    ~Dialog() override;

    void EndDialog(int result) { EndModal(result); }
    QDialog* ModalWidget() const override;
    std::string Title() const override;
    QWidget* OwnerWidget() const override;
    void SetTitle(std::string_view title);
    void SetIcon(const QIcon& icon);

    // A system-menu item; where the window manager offers no application system menu it
    // is shown in the window's context menu (right click, Menu key, Shift+F10).
    void AddSystemMenuItem(int command, std::string_view text);
    void RunSystemCommand(int command); // as if the item was chosen

    // The user may resize and maximise the window from its template size upwards; the
    // controls follow their anchors, and at the template size sit where the template puts
    // them.
    void SetResizable();
    // Files dropped on the window from a file manager go to OnDropFiles.
    void AcceptFileDrops();
    // The Menu key and Shift+F10 open that list view's context menu wherever the focus is in
    // the window.
    void SetMenuKeyControl(int id);

protected:
    virtual void OnInitDialog() {} // once per run, before the window is shown
    virtual void OnSize() {}       // after a resize moved the controls
    virtual void OnDropFiles(const std::vector<std::string>& /*paths*/) {}
    virtual void OnOK() { EndDialog(1); }     // id 1 clicked, when not bound
    virtual void OnCancel() { EndDialog(2); } // id 2 clicked, Escape or the close box
    virtual void OnSysCommand(int /*command*/) {}

private:
    void OnStart() final;
    friend struct DialogAccess;
};

class PropertySheet;

// One tab of a property sheet; its tab text is the template's caption.
class PropertyPage : public Window {
public:
    explicit PropertyPage(const DialogTemplate& tmpl);
    ~PropertyPage() override;
    PropertySheet* Sheet() const { return sheet_; }

    // Runs on first display and on every return to the page's tab. Overrides end by
    // calling PropertyPage::OnSetActive(), the toolkit's own activation.
    virtual void OnSetActive();
    // Runs when OK is pressed while the page is active; false keeps the sheet open.
    virtual bool OnKillActive() { return true; }

private:
    friend class PropertySheet;
    PropertySheet* sheet_ = nullptr;
};

// A sheet with a title, its pages as tabs in order, and OK and Cancel (no Apply).
// Pages are not owned; they must outlive the sheet.
class PropertySheet : public Modal {
public:
    explicit PropertySheet(std::string_view title);
    ~PropertySheet() override;
    PropertySheet(const PropertySheet&) = delete;
    PropertySheet& operator=(const PropertySheet&) = delete;

    void AddPage(PropertyPage* page);
    int PageCount() const;
    PropertyPage* Page(int index) const;
    int ActiveIndex() const;
    void SetActivePage(int index); // as if the user clicked the tab
    void PressOK();                // as if the user clicked OK
    void PressCancel();

    QDialog* ModalWidget() const override;
    std::string Title() const override;

private:
    friend class PropertyPage;
    void ForgetPage(PropertyPage* page); // a page that is destroyed first leaves the sheet
    void Activate(int index);
    void OnStart() override;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tk
