#include "ui/recoveryoffer.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

// Room between the line and the list under it, in pixels.
constexpr int kGap = 4;

} // namespace

std::string RecoveryOfferText(std::size_t count, std::time_t newest) {
    std::tm local{};
    ::localtime_r(&newest, &local);
    char at[32];
    std::strftime(at, sizeof at, "%Y-%m-%d %H:%M", &local);
    const QString when = QString::fromLatin1(at);
    if (count == 1)
        return QCoreApplication::translate("RecoveryOffer", "Recovered: 1 template, %1")
            .arg(when)
            .toStdString();
    return QCoreApplication::translate("RecoveryOffer", "Recovered: %n templates, newest %1",
                                       "the line above the list",
                                       static_cast<int>(std::min<std::size_t>(count, INT_MAX)))
        .arg(when)
        .toStdString();
}

RecoveryOffer::RecoveryOffer(QWidget* window, QWidget* list)
    : list_(list), frame_(new QFrame(window)) {
    frame_->setObjectName(QStringLiteral("recoveryOffer"));
    frame_->setFrameShape(QFrame::StyledPanel);
    frame_->setAutoFillBackground(true);
    frame_->setBackgroundRole(QPalette::ToolTipBase);
    frame_->setForegroundRole(QPalette::ToolTipText);
    auto* layout = new QHBoxLayout(frame_);
    layout->setContentsMargins(4, 2, 2, 2);
    text_ = new QLabel(frame_);
    text_->setTextFormat(Qt::PlainText);
    text_->setForegroundRole(QPalette::ToolTipText);
    layout->addWidget(text_, 1);
    const auto button = [this, layout](const QString& text, const std::function<void()>& run) {
        // Tool buttons: as narrow as their texts, so that the line's text keeps its room.
        auto* made = new QToolButton(frame_);
        made->setText(text);
        made->setToolButtonStyle(Qt::ToolButtonTextOnly);
        QObject::connect(made, &QToolButton::clicked, frame_, run);
        layout->addWidget(made);
        return made;
    };
    importNewest_ = button(QCoreApplication::translate("RecoveryOffer", "Import ne&west"), [this] {
        if (onImportNewest)
            onImportNewest();
    });
    choose_ = button(QCoreApplication::translate("RecoveryOffer", "C&hoose..."), [this] {
        if (onChoose)
            onChoose();
    });
    dismiss_ =
        button(QCoreApplication::translate("RecoveryOffer", "Dis&miss"), [this] { Dismiss(); });
    frame_->hide();
}

void RecoveryOffer::Show(std::size_t count, std::time_t newest) {
    const std::string text = RecoveryOfferText(count, newest);
    text_->setText(QString::fromStdString(text));
    text_->setToolTip(text_->text());
    frame_->setAccessibleName(QString::fromStdString(text));
    frame_->show();
    frame_->raise();
}

void RecoveryOffer::Hide() {
    frame_->hide();
}

bool RecoveryOffer::IsShown() const {
    return !frame_->isHidden();
}

QWidget* RecoveryOffer::Widget() const {
    return frame_;
}

std::string RecoveryOffer::Text() const {
    return text_->text().toStdString();
}

int RecoveryOffer::Height() const {
    return IsShown() ? frame_->sizeHint().height() : 0;
}

void RecoveryOffer::Offer(std::vector<recovery::Recovered> files) {
    offered_ = std::move(files);
    Refresh();
}

const recovery::Recovered* RecoveryOffer::Newest() const {
    return offered_.empty() ? nullptr : &offered_.front();
}

void RecoveryOffer::Handled(const std::string& name) {
    std::erase_if(offered_,
                  [&name](const recovery::Recovered& offered) { return offered.name == name; });
    Refresh();
}

void RecoveryOffer::Dismiss() {
    for (const recovery::Recovered& file : offered_)
        recovery::MarkHandled(file.name);
    offered_.clear();
    Refresh();
}

void RecoveryOffer::Refresh() {
    if (offered_.empty())
        Hide();
    else
        Show(offered_.size(), offered_.front().kept);
    Place();
}

void RecoveryOffer::ListPlaced() {
    shift_ = 0;
    Place();
}

void RecoveryOffer::Place() {
    QRect place = list_->geometry();
    place.setTop(place.top() - shift_); // the list's own place, without the line
    const int height = Height();
    shift_ = height > 0 ? height + kGap : 0;
    frame_->setGeometry(place.left(), place.top(), place.width(), height);
    place.setTop(place.top() + shift_);
    list_->setGeometry(place);
}
