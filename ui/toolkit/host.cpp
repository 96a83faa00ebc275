#include "ui/toolkit/window.h"
#include "ui/toolkit/window_impl.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tk {

namespace detail {

QWidget* MakeHost(QWidget* parent) {
    auto* host = new QWidget(parent);
    auto* layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    // The template's rectangle holds, whatever size the hosted widget would like.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    return host;
}

namespace {

// Inside a widget that hands its focus to a child of its own (an editable combo box, a
// spin box), whose place in the tab order moves its inside along with it.
bool InsideCompound(const QWidget* widget, const QWidget* host) {
    for (const QWidget* outer = widget->parentWidget(); outer != nullptr && outer != host;
         outer = outer->parentWidget()) {
        const QWidget* proxy = outer->focusProxy();
        if (outer->focusPolicy() != Qt::NoFocus && proxy != nullptr && outer->isAncestorOf(proxy))
            return true;
    }
    return false;
}

// The fields of a hosted widget that Tab stops at, in the order Tab visits them now.
std::vector<QWidget*> TabStopsInside(QWidget* host, QWidget* root) {
    std::vector<QWidget*> stops;
    for (QWidget* widget = root->nextInFocusChain(); widget != root && widget != nullptr;
         widget = widget->nextInFocusChain()) {
        if (host->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) &&
            !InsideCompound(widget, host))
            stops.push_back(widget);
    }
    return stops;
}

} // namespace
} // namespace detail

void Window::Impl::OrderTabStops() {
    const std::vector<ControlTemplate>& controlsInOrder = owner.Template().controls;
    std::vector<QWidget*> order;
    for (std::size_t i = 0; i < made.size() && i < controlsInOrder.size(); ++i) {
        if (controlsInOrder[i].kind == Kind::Host) {
            const std::vector<QWidget*> inside = detail::TabStopsInside(made[i], root.get());
            order.insert(order.end(), inside.begin(), inside.end());
            // The access key of the label before it goes to the first field. (Not through a
            // focus proxy: that would make the frame a tab stop of its own.)
            for (const auto& [label, host] : hostLabels) {
                if (host == made[i])
                    label->setBuddy(inside.empty() ? host : inside.front());
            }
        } else if (made[i]->focusPolicy() != Qt::NoFocus) {
            order.push_back(made[i]);
        }
    }
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QWidget* Window::Impl::FirstHostedStop(int id) const {
    const auto found = hosted.find(id);
    if (found == hosted.end() || found->second == nullptr)
        return nullptr;
    const std::vector<QWidget*> stops = detail::TabStopsInside(found->second, root.get());
    return stops.empty() ? nullptr : stops.front();
}

bool Window::PlaceHosted(int id, std::unique_ptr<QWidget> widget) {
    const ControlTemplate* control = impl_->TemplateOf(id);
    QWidget* host = impl_->Find(id);
    if (control == nullptr || control->kind != Kind::Host || host == nullptr || !widget)
        return false;
    if (QWidget* previous = impl_->hosted[id]) {
        // It may be the one whose signal is being handled now: out of the way at once, gone
        // later, with the window at the latest.
        host->layout()->removeWidget(previous);
        previous->setParent(impl_->root.get());
        previous->hide();
        previous->deleteLater();
    }
    QWidget* placed = widget.release();
    host->layout()->addWidget(placed); // the layout's widget takes it as its child
    impl_->hosted[id] = placed;
    // Laid out now, so that the window can measure it (column widths) before it is shown.
    host->layout()->activate();
    if (QLayout* own = placed->layout())
        own->activate();
    impl_->OrderTabStops();
    return true;
}

QWidget* Window::HostedWidget(int id) const {
    const auto found = impl_->hosted.find(id);
    return found == impl_->hosted.end() ? nullptr : found->second.data();
}

} // namespace tk
