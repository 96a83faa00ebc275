#include "ui/filelabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QStyle>

FileLabelElider::FileLabelElider(QLabel* label) : QObject(label), label_(label) {
    label_->installEventFilter(this);
}

void FileLabelElider::SetPath(const QString& path, bool marked) {
    path_ = path;
    marked_ = marked;
    set_ = true;
    label_->setToolTip(path);
    label_->update();
}

QString FileLabelElider::Elided() const {
    if (!set_)
        return {};
    const QFontMetrics metrics(label_->font());
    const QString mark = marked_ ? QStringLiteral("*") : QString();
    const int width = label_->contentsRect().width();
    if (metrics.horizontalAdvance(path_ + mark) <= width)
        return {};
    return metrics.elidedText(path_, Qt::ElideMiddle,
                              std::max(0, width - metrics.horizontalAdvance(mark))) +
           mark;
}

QString FileLabelElider::Shown() const {
    QString elided = Elided();
    if (!elided.isEmpty())
        return elided;
    return set_ ? path_ + (marked_ ? QStringLiteral("*") : QString()) : label_->text();
}

bool FileLabelElider::eventFilter(QObject* watched, QEvent* event) {
    if (watched != label_ || event->type() != QEvent::Paint)
        return false;
    const QString elided = Elided();
    if (elided.isEmpty())
        return false; // the label paints itself
    QPainter painter(label_);
    label_->style()->drawItemText(&painter, label_->contentsRect(),
                                  static_cast<int>(label_->alignment().toInt()), label_->palette(),
                                  label_->isEnabled(), elided, label_->foregroundRole());
    return true;
}
