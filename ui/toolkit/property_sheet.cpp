#include "ui/toolkit/dialog_units.h"
#include "ui/toolkit/modal_host.h"
#include "ui/toolkit/widgets.h"
#include "ui/toolkit/window.h"
#include "ui/toolkit/window_impl.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <vector>

namespace tk {

// --- PropertyPage -----------------------------------------------------------------------

PropertyPage::PropertyPage(const DialogTemplate& tmpl) : Window(tmpl) {}

PropertyPage::~PropertyPage() {
    impl_->Detach();
    if (sheet_ != nullptr)
        sheet_->ForgetPage(this);
}

void PropertyPage::OnSetActive() {
    // The toolkit's own part of an activation: the page's controls exchange no data with
    // members, so there is nothing more to do than to let the page be shown.
}

// --- PropertySheet ----------------------------------------------------------------------

struct PropertySheet::Impl {
    std::unique_ptr<detail::DialogWidget> dialog;
    QTabWidget* tabs = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    std::vector<PropertyPage*> pages; // not owned
    bool started = false;
    bool closing = false;
};

PropertySheet::PropertySheet(std::string_view title) : impl_(std::make_unique<Impl>()) {
    impl_->dialog = std::make_unique<detail::DialogWidget>();
    QDialog* dialog = impl_->dialog.get();
    const QFont font = detail::DialogFont("MS Shell Dlg", 8);
    const detail::DialogUnits units(font);
    dialog->setFont(font);
    dialog->setWindowTitle(QString::fromUtf8(title));
    dialog->setAccessibleName(dialog->windowTitle());

    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(7));
    layout->setSpacing(units.Y(7));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    impl_->tabs = new QTabWidget(dialog);
    impl_->tabs->setUsesScrollButtons(true);
    layout->addWidget(impl_->tabs);

    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(units.X(4));
    buttons->addStretch(1);
    impl_->ok = new QPushButton(QCoreApplication::translate("PropertySheet", "OK"), dialog);
    impl_->cancel = new QPushButton(QCoreApplication::translate("PropertySheet", "Cancel"), dialog);
    for (QPushButton* button : {impl_->ok, impl_->cancel}) {
        button->setFixedSize(units.X(50), units.Y(14));
        button->setAutoDefault(true);
        buttons->addWidget(button);
    }
    impl_->ok->setDefault(true);
    layout->addLayout(buttons);

    QObject::connect(impl_->ok, &QPushButton::clicked, dialog, [this] {
        PropertyPage* page = Page(ActiveIndex());
        if (page == nullptr || page->OnKillActive())
            EndModal(IDOK);
    });
    QObject::connect(impl_->cancel, &QPushButton::clicked, dialog, [this] { EndModal(IDCANCEL); });
    impl_->dialog->cancelCommand = [this] { EndModal(IDCANCEL); };
    QObject::connect(impl_->tabs, &QTabWidget::currentChanged, dialog,
                     [this](int index) { Activate(index); });
}

PropertySheet::~PropertySheet() {
    impl_->closing = true;
    impl_->dialog->cancelCommand = nullptr;
    // The pages keep their widgets: take them back before the sheet's window goes.
    for (PropertyPage* page : impl_->pages) {
        page->sheet_ = nullptr;
        const int index = impl_->tabs->indexOf(page->Widget());
        if (index >= 0)
            impl_->tabs->removeTab(index);
        page->Widget()->hide();
        page->Widget()->setParent(nullptr);
    }
    impl_->pages.clear();
    // The window goes while the rest of the sheet is still whole.
    QObject::disconnect(impl_->tabs, nullptr, nullptr, nullptr);
    impl_->dialog.reset();
}

void PropertySheet::AddPage(PropertyPage* page) {
    if (page == nullptr || page->sheet_ != nullptr)
        return;
    page->sheet_ = this;
    impl_->pages.push_back(page);
    const QString caption = detail::TemplateText(page->Template().caption);
    impl_->tabs->addTab(page->Widget(), caption);
}

int PropertySheet::PageCount() const {
    return static_cast<int>(impl_->pages.size());
}

PropertyPage* PropertySheet::Page(int index) const {
    if (index < 0 || index >= PageCount())
        return nullptr;
    return impl_->pages[static_cast<std::size_t>(index)];
}

int PropertySheet::ActiveIndex() const {
    const int current = impl_->tabs->currentIndex();
    if (current < 0)
        return -1;
    QWidget* widget = impl_->tabs->widget(current);
    for (int i = 0; i < PageCount(); ++i) {
        if (Page(i)->Widget() == widget)
            return i;
    }
    return -1;
}

void PropertySheet::SetActivePage(int index) {
    PropertyPage* page = Page(index);
    if (page != nullptr)
        impl_->tabs->setCurrentWidget(page->Widget());
}

void PropertySheet::PressOK() {
    impl_->ok->click();
}

void PropertySheet::PressCancel() {
    impl_->cancel->click();
}

QDialog* PropertySheet::ModalWidget() const {
    return impl_->dialog.get();
}

std::string PropertySheet::Title() const {
    return impl_->dialog->windowTitle().toStdString();
}

void PropertySheet::ForgetPage(PropertyPage* page) {
    auto& pages = impl_->pages;
    pages.erase(std::remove(pages.begin(), pages.end(), page), pages.end());
    const int index = impl_->tabs->indexOf(page->Widget());
    if (index >= 0)
        impl_->tabs->removeTab(index);
    page->Widget()->setParent(nullptr);
}

void PropertySheet::Activate(int tabIndex) {
    // Pages are activated while the sheet runs: the first one when it starts, then every
    // page the user (or SetActivePage) turns to.
    if (!impl_->started || impl_->closing || tabIndex < 0)
        return;
    QWidget* widget = impl_->tabs->widget(tabIndex);
    for (PropertyPage* page : impl_->pages) {
        if (page->Widget() == widget) {
            page->OnSetActive();
            return;
        }
    }
}

void PropertySheet::OnStart() {
    impl_->started = true;
    Activate(impl_->tabs->currentIndex());
}

} // namespace tk
