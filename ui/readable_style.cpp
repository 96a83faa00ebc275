#include "ui/readable_style.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

namespace {

bool IsDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 64;
}

} // namespace

void ReadableStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    const bool box = element == PE_IndicatorCheckBox || element == PE_PanelLineEdit;
    if ((!box && element != PE_IndicatorRadioButton) || !IsDark(option->palette))
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, !box);
    const QPalette::ColorGroup group =
        (option->state & State_Enabled) ? QPalette::Active : QPalette::Disabled;
    painter->setPen(QPen(option->palette.color(group, QPalette::WindowText), 1));
    painter->setBrush(Qt::NoBrush);
    const QRectF frame = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    if (box)
        painter->drawRect(frame);
    else
        painter->drawEllipse(frame);
    painter->restore();
}

void InstallReadableStyle() {
    QApplication::setStyle(new ReadableStyle(QApplication::style()->name()));
}
