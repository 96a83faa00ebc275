#pragma once

// Keeps the recovery snapshot of the window's unsaved work current (see
// platform/recovery_snapshot.h): written 2 s after the last change, no sooner than 10 s after
// the previous one, so never more than about 10 s behind the work; deleted when the work is
// saved or back as it was saved. The window's thread only hands the template over; the
// writer's thread reads it while nothing on the window's thread runs: any event that could
// lead to a change first stops that read (the snapshot is then tried again later).

#include "model/target.h"
#include "platform/recovery_snapshot.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <string>

class SnapshotKeeper : public QObject {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kQuiet{2000};
    static constexpr std::chrono::milliseconds kSpacing{10000};

    SnapshotKeeper(const permora::SecurityTemplate& tmpl, QObject* parent);
    ~SnapshotKeeper() override;
    SnapshotKeeper(const SnapshotKeeper&) = delete;
    SnapshotKeeper& operator=(const SnapshotKeeper&) = delete;

    // The work changed and is not saved.
    void Changed();
    // The work was saved or is back as saved, or was written as a recovery file of its own:
    // the snapshot goes.
    void Discard();

    // Hands the work over for a snapshot now, as the timer would when it is due.
    void WriteNow();
    // For tests: writes the snapshot now and waits for the writer.
    void WriteNowAndWait();
    // The snapshot's name in the recovery folder; "" while there is none.
    std::string Name() const { return snapshot_.Name(); }
    recovery::Snapshot& Writer() { return snapshot_; }

    // What the work is of, asked on the window's thread as a snapshot is handed over.
    std::function<recovery::Origin()> origin;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Arm();
    void Due();

    const permora::SecurityTemplate& template_;
    QTimer timer_;
    bool pending_ = false;
    bool reading_ = false; // a write was handed over and may still read the template
    Clock::time_point lastChange_{};
    Clock::time_point firstPending_{};
    Clock::time_point lastWrite_{};
    Clock::time_point writeBefore_{};
    recovery::Snapshot snapshot_;
};
