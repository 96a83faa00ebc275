#include "ui/recoveryoffer.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

std::string RecoveryOfferText(std::size_t count, std::time_t newest) {
    std::tm local{};
    ::localtime_r(&newest, &local);
    char at[32];
    std::strftime(at, sizeof at, "%Y-%m-%d %H:%M", &local);
    if (count == 1)
        return std::string("Recovered: 1 template, ") + at;
    return "Recovered: " + std::to_string(count) + " templates, newest " + at;
}

RecoveryOffer::RecoveryOffer(QWidget* window) : frame_(new QFrame(window)) {
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
    const auto button = [this, layout](const char* text, std::function<void()>& run) {
        // Tool buttons: as narrow as their texts, so that the line's text keeps its room.
        auto* made = new QToolButton(frame_);
        made->setText(QString::fromUtf8(text));
        made->setToolButtonStyle(Qt::ToolButtonTextOnly);
        QObject::connect(made, &QToolButton::clicked, frame_, [&run] {
            if (run)
                run();
        });
        layout->addWidget(made);
        return made;
    };
    importNewest_ = button("Import ne&west", onImportNewest);
    choose_ = button("C&hoose...", onChoose);
    dismiss_ = button("Dis&miss", onDismiss);
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
