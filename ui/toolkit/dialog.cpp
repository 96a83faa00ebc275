#include "ui/toolkit/modal_host.h"
#include "ui/toolkit/widgets.h"
#include "ui/toolkit/window.h"
#include "ui/toolkit/window_impl.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>

namespace tk {

namespace {

detail::DialogWidget* DialogOf(QWidget* root) {
    return static_cast<detail::DialogWidget*>(root);
}

} // namespace

Dialog::Dialog(const DialogTemplate& tmpl, const Window* parent)
    : Window(tmpl, std::make_unique<detail::DialogWidget>()) {
    if (parent != nullptr)
        impl_->parent = parent->Widget();
    impl_->standardClick = [this](int id) {
        if (id == IDOK)
            OnOK();
        else if (id == IDCANCEL)
            OnCancel();
    };
    // Escape and the close box are the Cancel command, unless a disabled Cancel button
    // says that cancelling is not possible now.
    DialogOf(Widget())->cancelCommand = [this] {
        if (impl_->detached)
            return;
        const QWidget* cancel = Control(IDCANCEL);
        if (cancel != nullptr && !cancel->isEnabled())
            return;
        impl_->Dispatch(IDCANCEL, Notify::Clicked);
    };
}

Dialog::~Dialog() {
    impl_->Detach();
    DialogOf(Widget())->cancelCommand = nullptr;
    DialogOf(Widget())->onResize = nullptr;
    DialogOf(Widget())->onDropFiles = nullptr;
}

QDialog* Dialog::ModalWidget() const {
    return DialogOf(Widget());
}

std::string Dialog::Title() const {
    return Widget()->windowTitle().toStdString();
}

QWidget* Dialog::OwnerWidget() const {
    return impl_->parent.data();
}

void Dialog::SetTitle(std::string_view title) {
    Widget()->setWindowTitle(QString::fromUtf8(title));
}

void Dialog::SetIcon(const QIcon& icon) {
    Widget()->setWindowIcon(icon);
    // Icon controls show the window's icon.
    const QList<QLabel*> labels = Widget()->findChildren<QLabel*>();
    for (QLabel* label : labels) {
        if (label->property("tkIcon").toBool()) {
            const int size = SystemMetric(Metric::CxIcon);
            label->setPixmap(icon.pixmap(size, size));
        }
    }
}

void Dialog::AddSystemMenuItem(int command, std::string_view text) {
    QMenu* menu = DialogOf(Widget())->SystemMenu();
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setData(command);
    QObject::connect(action, &QAction::triggered, Widget(), [this, command] {
        if (!impl_->detached)
            RunSystemCommand(command);
    });
}

void Dialog::RunSystemCommand(int command) {
    OnSysCommand(command);
}

void Dialog::SetResizable() {
    QWidget* root = Widget();
    root->setMinimumSize(root->size());
    root->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    root->setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    DialogOf(root)->onResize = [this] {
        if (impl_->detached)
            return;
        impl_->LayOut();
        OnSize();
    };
}

void Dialog::AcceptFileDrops() {
    Widget()->setAcceptDrops(true);
    DialogOf(Widget())->onDropFiles = [this](const std::vector<std::string>& paths) {
        if (!impl_->detached)
            OnDropFiles(paths);
    };
}

void Dialog::SetMenuKeyControl(int id) {
    DialogOf(Widget())->onMenuKey = [this, id] {
        auto* view = qobject_cast<detail::ListViewWidget*>(impl_->Find(id));
        if (impl_->detached || view == nullptr || !view->contextMenu || !view->isVisible())
            return false;
        view->PopupContextMenu();
        return true;
    };
}

void Dialog::OnStart() {
    OnInitDialog();
}

} // namespace tk
