#include "ui/toolkit/window.h"

#include "ui/toolkit/controls.h"
#include "ui/toolkit/list_view_model.h"
#include "ui/toolkit/modal_host.h"
#include "ui/toolkit/widgets.h"
#include "ui/toolkit/window_impl.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>

namespace tk {

namespace detail {

QString FromUtf8(const char* text) {
    return text == nullptr ? QString() : QString::fromUtf8(text);
}

QString TemplateText(const char* text) {
    if (text == nullptr || *text == '\0')
        return {};
    return QCoreApplication::translate(kTextContext, text);
}

QString WithoutAccessKeys(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&')
                plain += u'&';
            ++i;
            if (i < text.size() && text[i] != u'&')
                plain += text[i];
            continue;
        }
        plain += text[i];
    }
    return plain;
}

namespace {

const char* const kIdProperty = "tkControlId";

bool TakesFocus(Kind kind) {
    switch (kind) {
    case Kind::Label:
    case Kind::LabelCentered:
    case Kind::GroupBox:
    case Kind::Icon:
        return false;
    default:
        return true;
    }
}

bool HasOwnText(Kind kind) {
    switch (kind) {
    case Kind::Label:
    case Kind::LabelCentered:
    case Kind::GroupBox:
    case Kind::PushButton:
    case Kind::CheckBox:
    case Kind::RadioButton:
        return true;
    default:
        return false;
    }
}

// Reports focus changes of the controls to their window.
class FocusWatcher : public QObject {
public:
    FocusWatcher(std::function<void(int id, Notify code)> report, QObject* parent)
        : QObject(parent), report_(std::move(report)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
            // The focus that leaves with the window's activation and comes back with it (a
            // modal window opened and closed, a menu popped up) has not moved within the
            // window: what a command did meanwhile stays as it left it.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                return false;
            const QVariant id = watched->property(kIdProperty);
            if (id.isValid())
                report_(id.toInt(), type == QEvent::FocusIn ? Notify::SetFocus : Notify::KillFocus);
        }
        return false;
    }

private:
    std::function<void(int id, Notify code)> report_;
};

QPixmap IconPixmap(const QIcon& icon) {
    const int size = SystemMetric(Metric::CxIcon);
    return icon.pixmap(size, size);
}

} // namespace
} // namespace detail

// --- Window::Impl -----------------------------------------------------------------------

Window::Impl::Impl(Window& owner_, const DialogTemplate& tmpl, std::unique_ptr<QWidget> root_)
    : owner(owner_), font(detail::DialogFont(tmpl.font, tmpl.pointSize)), units(font),
      root(std::move(root_)) {
    if (!root)
        root = std::make_unique<detail::PageWidget>();
    Build(tmpl);
}

Window::Impl::~Impl() {
    Detach();
    // The widgets go first, while everything they might still report to exists.
    root.reset();
}

void Window::Impl::Detach() {
    detached = true;
    handlers.clear();
    standardClick = nullptr;
}

void Window::Impl::Build(const DialogTemplate& tmpl) {
    root->setFont(font);
    root->setWindowTitle(detail::TemplateText(tmpl.caption));
    root->setFixedSize(units.X(tmpl.cx), units.Y(tmpl.cy));

    auto* watcher =
        new detail::FocusWatcher([this](int id, Notify code) { Dispatch(id, code); }, root.get());
    made.reserve(tmpl.controls.size());
    QButtonGroup* radioGroup = nullptr;
    for (const ControlTemplate& control : tmpl.controls) {
        QWidget* widget = MakeControl(control, radioGroup);
        made.push_back(widget);
        if (control.id != IDC_STATIC) {
            controls.emplace(control.id, widget);
            templates.emplace(control.id, &control);
            widget->setProperty(detail::kIdProperty, control.id);
        }
        if (control.flags & state::kDisabled)
            widget->setEnabled(false);
        if (control.flags & state::kHidden)
            widget->setHidden(true);
        if (detail::TakesFocus(control.kind))
            widget->installEventFilter(watcher);
        Wire(control, widget);
    }
    // Group boxes are frames behind the controls they hold, never in their way.
    for (std::size_t i = 0; i < made.size(); ++i) {
        if (tmpl.controls[i].kind == Kind::GroupBox)
            made[i]->lower();
    }
    NameControls(tmpl);
}

QWidget* Window::Impl::MakeControl(const ControlTemplate& control, QButtonGroup*& radioGroup) {
    QWidget* parentWidget = root.get();
    const QString text = detail::TemplateText(control.text);
    const QRect rect = units.Rect(control.x, control.y, control.cx, control.cy);
    if (control.kind != Kind::RadioButton)
        radioGroup = nullptr;

    QWidget* widget = nullptr;
    switch (control.kind) {
    case Kind::Label:
    case Kind::LabelCentered: {
        auto* label = new detail::AccessKeyLabel(text, parentWidget);
        const Qt::Alignment horizontal =
            control.kind == Kind::Label ? Qt::AlignLeft : Qt::AlignHCenter;
        label->setAlignment(horizontal | Qt::AlignTop);
        // A label laid out for several lines wraps its text, as classic static text does.
        const bool tall = rect.height() >= 2 * QFontMetrics(font).height();
        label->setWordWrap((control.flags & state::kMultiline) != 0 || tall);
        label->setTextFormat(Qt::PlainText);
        widget = label;
        break;
    }
    case Kind::GroupBox: {
        auto* box = new QGroupBox(text, parentWidget);
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        widget = box;
        break;
    }
    case Kind::Icon: {
        auto* icon = new QLabel(parentWidget);
        icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        icon->setPixmap(detail::IconPixmap(QApplication::windowIcon()));
        icon->setProperty("tkIcon", true);
        widget = icon;
        break;
    }
    case Kind::PushButton: {
        auto* button = new QPushButton(text, parentWidget);
        button->setAutoDefault(true);
        button->setDefault((control.flags & state::kDefault) != 0);
        widget = button;
        break;
    }
    case Kind::CheckBox: {
        QCheckBox* box = (control.flags & state::kMultiline)
                             ? new detail::WrapCheckBox(text, parentWidget)
                             : new QCheckBox(text, parentWidget);
        box->setChecked((control.flags & state::kChecked) != 0);
        widget = box;
        break;
    }
    case Kind::RadioButton: {
        // The group decides which button is on; a radio button stays auto-exclusive all the
        // same, which is what makes it read as a radio button to a screen reader.
        auto* button = new QRadioButton(text, parentWidget);
        if (radioGroup == nullptr || (control.flags & state::kGroup)) {
            radioGroup = new QButtonGroup(parentWidget);
            radioGroup->setExclusive(true);
        }
        radioGroup->addButton(button);
        button->setChecked((control.flags & state::kChecked) != 0);
        if (control.id != IDC_STATIC)
            radioGroups.emplace(control.id, radioGroup);
        widget = button;
        break;
    }
    case Kind::Edit: {
        if (control.flags & state::kMultiline) {
            // A box of lines, for lists pasted in or typed with a tab between path and
            // account.
            auto* edit = new detail::LinesEdit(text, parentWidget);
            edit->setLineWrapMode(QPlainTextEdit::NoWrap);
            widget = edit;
            break;
        }
        auto* edit = new QLineEdit(text, parentWidget);
        widget = edit;
        break;
    }
    case Kind::ListBox: {
        auto* list = new detail::ListBoxWidget(parentWidget);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setUniformItemSizes(true);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        widget = list;
        break;
    }
    case Kind::ComboBox: {
        auto* combo = new QComboBox(parentWidget);
        combo->setEditable(false);
        // The template's height is that of the dropped-down list.
        const int closed = combo->sizeHint().height();
        const int itemHeight = std::max(1, QFontMetrics(font).height());
        combo->setMaxVisibleItems(std::max(1, (rect.height() - closed) / itemHeight));
        combo->setGeometry(rect.x(), rect.y(), rect.width(), closed);
        return combo;
    }
    case Kind::ListView: {
        auto* view = new detail::ListViewWidget(parentWidget);
        if (control.flags & state::kSingleSel)
            view->setSelectionMode(QAbstractItemView::SingleSelection);
        if (control.flags & state::kShowSelAlways)
            view->SetShowSelAlways(true);
        widget = view;
        break;
    }
    case Kind::Host:
        widget = detail::MakeHost(parentWidget);
        break;
    }
    widget->setGeometry(rect);
    return widget;
}

void Window::Impl::Wire(const ControlTemplate& control, QWidget* widget) {
    const int id = control.id;
    if (id == IDC_STATIC)
        return;
    switch (control.kind) {
    case Kind::PushButton:
    case Kind::CheckBox:
    case Kind::RadioButton:
        // clicked comes after a check box or radio button has toggled.
        QObject::connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, widget,
                         [this, id] { Dispatch(id, Notify::Clicked); });
        break;
    case Kind::Edit:
        if (auto* lines = qobject_cast<QPlainTextEdit*>(widget))
            QObject::connect(lines, &QPlainTextEdit::textChanged, widget,
                             [this, id] { Dispatch(id, Notify::Changed); });
        else
            QObject::connect(static_cast<QLineEdit*>(widget), &QLineEdit::textChanged, widget,
                             [this, id] { Dispatch(id, Notify::Changed); });
        break;
    case Kind::ListBox:
        QObject::connect(static_cast<QListWidget*>(widget), &QListWidget::itemSelectionChanged,
                         widget, [this, id] { Dispatch(id, Notify::SelChange); });
        break;
    case Kind::ComboBox:
        QObject::connect(static_cast<QComboBox*>(widget), &QComboBox::activated, widget,
                         [this, id] { Dispatch(id, Notify::SelChange); });
        break;
    case Kind::ListView: {
        auto* view = static_cast<detail::ListViewWidget*>(widget);
        view->onClick = [this, id] { Dispatch(id, Notify::Click); };
        view->onKeyDown = [this, id](int key) { Dispatch(id, Notify::KeyDown, key); };
        view->onReturn = [this, id] {
            if (detached || !handlers.contains({id, static_cast<int>(Notify::Return)}))
                return false;
            Dispatch(id, Notify::Return);
            return true;
        };
        QObject::connect(view, &QAbstractItemView::doubleClicked, widget,
                         [this, id] { Dispatch(id, Notify::DblClick); });
        break;
    }
    default:
        break;
    }
}

namespace {

// The nearest centred label above the control that spans it horizontally.
QString ColumnHeading(const DialogTemplate& tmpl, const ControlTemplate& control) {
    const ControlTemplate* best = nullptr;
    for (const ControlTemplate& other : tmpl.controls) {
        if (other.kind != Kind::LabelCentered || other.y >= control.y || other.x > control.x ||
            other.x + other.cx < control.x + control.cx)
            continue;
        if (best == nullptr || other.y > best->y)
            best = &other;
    }
    return best == nullptr ? QString()
                           : detail::WithoutAccessKeys(detail::TemplateText(best->text));
}

} // namespace

void Window::Impl::NameControls(const DialogTemplate& tmpl) {
    const QString caption = detail::WithoutAccessKeys(detail::TemplateText(tmpl.caption));
    root->setAccessibleName(caption);
    QString lastLabel;
    for (std::size_t i = 0; i < made.size(); ++i) {
        const ControlTemplate& control = tmpl.controls[i];
        const QString text = detail::WithoutAccessKeys(detail::TemplateText(control.text));
        if (detail::HasOwnText(control.kind) && !text.isEmpty()) {
            made[i]->setAccessibleName(text);
        } else if (control.kind == Kind::CheckBox && !lastLabel.isEmpty()) {
            // A box in a grid (a row caption, a column heading above) is named by both:
            // "Read Allow", "Read Deny".
            const QString heading = ColumnHeading(tmpl, control);
            made[i]->setAccessibleName(heading.isEmpty() ? lastLabel : lastLabel + u' ' + heading);
        } else {
            // A control without text of its own is named by its caption, the label before it.
            made[i]->setAccessibleName(lastLabel.isEmpty() ? caption : lastLabel);
        }
        const bool isLabel = control.kind == Kind::Label || control.kind == Kind::LabelCentered;
        if (isLabel && !text.isEmpty())
            lastLabel = text;
        // The access key of a label takes the focus to the next control that can have it.
        // A label with none after it still shows its mark as an access key, not as "&".
        if (isLabel) {
            QWidget* buddy = root.get();
            for (std::size_t next = i + 1; next < made.size(); ++next) {
                if (detail::TakesFocus(tmpl.controls[next].kind)) {
                    buddy = made[next];
                    if (tmpl.controls[next].kind == Kind::Host)
                        hostLabels.emplace_back(static_cast<QLabel*>(made[i]), buddy);
                    break;
                }
            }
            static_cast<QLabel*>(made[i])->setBuddy(buddy);
        }
    }
}

void Window::Impl::Dispatch(int id, Notify code, int key) {
    if (detached)
        return;
    const auto found = handlers.find({id, static_cast<int>(code)});
    if (found != handlers.end()) {
        const std::function<void(int)> handler = found->second; // may rebind while it runs
        handler(code == Notify::KeyDown ? key : id);
        return;
    }
    if (code == Notify::Clicked && (id == IDOK || id == IDCANCEL) && standardClick)
        standardClick(id);
}

void Window::Impl::LayOut() {
    const int dx = root->width() - units.X(owner.Template().cx);
    const int dy = root->height() - units.Y(owner.Template().cy);
    for (const auto& [id, edges] : anchors) {
        QWidget* widget = Find(id);
        const ControlTemplate* control = TemplateOf(id);
        if (widget == nullptr || control == nullptr)
            continue;
        QRect rect = units.Rect(control->x, control->y, control->cx, control->cy);
        if (control->kind == Kind::ComboBox)
            rect.setHeight(widget->height()); // shorter than its template, which counts the list
        if ((edges & anchor::kRight) && (edges & anchor::kLeft))
            rect.setWidth(std::max(0, rect.width() + dx));
        else if (edges & anchor::kRight)
            rect.moveLeft(rect.left() + dx);
        if ((edges & anchor::kBottom) && (edges & anchor::kTop))
            rect.setHeight(std::max(0, rect.height() + dy));
        else if (edges & anchor::kBottom)
            rect.moveTop(rect.top() + dy);
        widget->setGeometry(rect);
    }
}

QWidget* Window::Impl::Find(int id) const {
    const auto found = controls.find(id);
    return found == controls.end() ? nullptr : found->second;
}

const ControlTemplate* Window::Impl::TemplateOf(int id) const {
    const auto found = templates.find(id);
    return found == templates.end() ? nullptr : found->second;
}

// --- Window -----------------------------------------------------------------------------

Window::Window(const DialogTemplate& tmpl) : Window(tmpl, nullptr) {}

Window::Window(const DialogTemplate& tmpl, std::unique_ptr<QWidget> root)
    : impl_(std::make_unique<Impl>(*this, tmpl, std::move(root))), tmpl_(tmpl) {}

Window::~Window() {
    impl_->Detach();
}

QWidget* Window::Widget() const {
    return impl_->root.get();
}

QWidget* Window::Control(int id) const {
    return impl_->Find(id);
}

void Window::Enable(int id, bool enable) {
    if (QWidget* widget = impl_->Find(id))
        widget->setEnabled(enable);
}

bool Window::IsEnabled(int id) const {
    const QWidget* widget = impl_->Find(id);
    return widget != nullptr && widget->isEnabled();
}

void Window::Show(int id, bool show) {
    if (QWidget* widget = impl_->Find(id))
        widget->setHidden(!show);
}

bool Window::IsShown(int id) const {
    const QWidget* widget = impl_->Find(id);
    return widget != nullptr && !widget->isHidden();
}

std::string Window::Text(int id) const {
    QWidget* widget = impl_->Find(id);
    if (widget == nullptr)
        return {};
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* lines = qobject_cast<QPlainTextEdit*>(widget))
        return lines->toPlainText().toStdString();
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return box->title().toStdString();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentIndex() >= 0 ? combo->currentText().toStdString() : std::string();
    return {};
}

void Window::SetText(int id, std::string_view text) {
    QWidget* widget = impl_->Find(id);
    if (widget == nullptr)
        return;
    const QString value = QString::fromUtf8(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        {
            const QSignalBlocker quiet(edit);
            edit->setText(value);
        }
        // Setting an edit's text is a change like any other, even to the same text.
        impl_->Dispatch(id, Notify::Changed);
        return;
    }
    if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
        {
            const QSignalBlocker quiet(lines);
            lines->setPlainText(value);
        }
        impl_->Dispatch(id, Notify::Changed);
        return;
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
        // A screen reader reads what the label shows now.
        if (!value.isEmpty())
            label->setAccessibleName(detail::WithoutAccessKeys(value));
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(value);
        if (!value.isEmpty())
            button->setAccessibleName(detail::WithoutAccessKeys(value));
        return;
    }
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        box->setTitle(value);
}

int Window::TextLength(int id) const {
    return static_cast<int>(Text(id).size());
}

int Window::Check(int id) const {
    const auto* button = qobject_cast<QAbstractButton*>(impl_->Find(id));
    return button != nullptr && button->isCheckable() && button->isChecked() ? 1 : 0;
}

void Window::SetCheck(int id, int checked) {
    auto* button = qobject_cast<QAbstractButton*>(impl_->Find(id));
    if (button == nullptr || !button->isCheckable())
        return;
    // An exclusive group would refuse to leave all of its buttons unchecked.
    QButtonGroup* group = button->group();
    const bool exclusive = group != nullptr && group->exclusive();
    if (exclusive && checked == 0)
        group->setExclusive(false);
    {
        const QSignalBlocker quiet(button);
        button->setChecked(checked != 0);
    }
    if (exclusive && checked == 0)
        group->setExclusive(true);
}

void Window::CheckRadio(int first, int last, int id) {
    for (auto it = impl_->controls.lower_bound(first);
         it != impl_->controls.end() && it->first <= last; ++it) {
        if (it->first != id)
            SetCheck(it->first, 0);
    }
    SetCheck(id, 1);
}

void Window::SetFocus(int id) {
    QWidget* widget = impl_->FirstHostedStop(id);
    if (widget == nullptr)
        widget = impl_->Find(id);
    if (widget != nullptr)
        widget->setFocus(Qt::OtherFocusReason);
}

void Window::SetAccessibleName(int id, std::string_view name) {
    if (QWidget* widget = impl_->Find(id))
        widget->setAccessibleName(QString::fromUtf8(name));
}

void Window::Anchor(int id, unsigned edges) {
    impl_->anchors[id] = edges;
    impl_->LayOut();
}

ListBox Window::GetListBox(int id) const {
    return ListBox(qobject_cast<QListWidget*>(impl_->Find(id)));
}

ComboBox Window::GetComboBox(int id) const {
    return ComboBox(qobject_cast<QComboBox*>(impl_->Find(id)));
}

ListView Window::GetListView(int id) const {
    return ListView(qobject_cast<detail::ListViewWidget*>(impl_->Find(id)));
}

void Window::Connect(int id, Notify code, std::function<void(int arg)> handler) {
    // As in a message map, the first row for a notification is the one that counts.
    impl_->handlers.emplace(std::make_pair(id, static_cast<int>(code)), std::move(handler));
}

bool Window::Live() const {
    return impl_ && !impl_->detached;
}

// --- Modal ------------------------------------------------------------------------------

Modal::~Modal() = default;

int Modal::DoModal() {
    return Host().RunModal(*this);
}

void Modal::EndModal(int result) {
    ended_ = true;
    result_ = result;
    if (QDialog* widget = ModalWidget())
        widget->done(result);
}

void Modal::Start() {
    ended_ = false;
    result_ = 0;
    OnStart();
}

} // namespace tk
