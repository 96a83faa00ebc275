#include "ui/snapshot_keeper.h"

#include "template_file/snapshot_bytes.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace {

// Events that only show what is there and never lead to a change of the work.
bool OnlyShows(const QObject* watched, const QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
    case QEvent::MouseMove:
    case QEvent::HoverMove:
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Expose:
    case QEvent::LayoutRequest:
    case QEvent::Polish:
    case QEvent::PolishRequest:
    case QEvent::ChildPolished:
        return true;
    case QEvent::Timer:
        // A widget's own timers: a blinking cursor, an animation.
        return watched->isWidgetType();
    default:
        return false;
    }
}

} // namespace

SnapshotKeeper::SnapshotKeeper(const permora::SecurityTemplate& tmpl, QObject* parent)
    : QObject(parent), template_(tmpl) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &SnapshotKeeper::Due);
    QCoreApplication::instance()->installEventFilter(this);
}

SnapshotKeeper::~SnapshotKeeper() {
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
    snapshot_.StopReading();
}

void SnapshotKeeper::Changed() {
    const Clock::time_point now = Clock::now();
    if (!pending_)
        firstPending_ = now;
    pending_ = true;
    lastChange_ = now;
    Arm();
}

void SnapshotKeeper::Discard() {
    pending_ = false;
    timer_.stop();
    snapshot_.StopReading();
    reading_ = false;
    snapshot_.Remove();
}

void SnapshotKeeper::Arm() {
    // 2 s after the last change, yet no later than 10 s after the first one not in the
    // snapshot; and never sooner than 10 s after the previous snapshot.
    const Clock::time_point quiet = std::min(lastChange_ + kQuiet, firstPending_ + kSpacing);
    const Clock::time_point due = std::max(quiet, lastWrite_ + kSpacing);
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now()).count();
    timer_.start(static_cast<int>(std::max<long long>(0, wait)));
}

void SnapshotKeeper::Due() {
    if (!pending_)
        return;
    pending_ = false;
    writeBefore_ = lastWrite_;
    lastWrite_ = Clock::now();
    reading_ = true;
    const permora::SecurityTemplate* tmpl = &template_;
    snapshot_.Write(
        [tmpl](const recovery::BlockSink& sink, const std::function<bool()>& going) {
            return permora::EncodeSnapshot(*tmpl, sink, going);
        },
        origin ? std::optional(origin()) : std::nullopt);
}

void SnapshotKeeper::WriteNow() {
    timer_.stop();
    Due();
}

void SnapshotKeeper::WriteNowAndWait() {
    WriteNow();
    snapshot_.Wait();
    reading_ = false;
}

bool SnapshotKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (reading_ && watched != &timer_ && !OnlyShows(watched, event)) {
        reading_ = false;
        // Whatever the event does, the writer no longer reads the template meanwhile. A write
        // stopped so is made again later.
        if (snapshot_.StopReading()) {
            pending_ = true;
            lastWrite_ = writeBefore_;
            Arm();
        }
    }
    return false;
}
