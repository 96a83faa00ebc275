#include "platform/recovery_snapshot.h"

#include <unistd.h>

#include <utility>

namespace recovery {

Snapshot::Snapshot(std::string folder) : folder_(std::move(folder)) {
    thread_ = std::thread([this] { Run(); });
}

Snapshot::~Snapshot() {
    {
        std::unique_lock lock(mutex_);
        ending_ = true;
        if (job_ == Job::Write) {
            job_ = Job::None;
            content_ = nullptr;
        }
        stop_ = true;
        changed_.notify_all();
    }
    thread_.join();
    if (locked_ >= 0)
        ::close(locked_);
}

void Snapshot::Write(SnapshotContent content, std::optional<Origin> origin) {
    std::unique_lock lock(mutex_);
    // Only the newest work counts: a write not yet under way is replaced.
    job_ = Job::Write;
    content_ = std::move(content);
    origin_ = std::move(origin);
    changed_.notify_all();
}

bool Snapshot::Reading() const {
    std::unique_lock lock(mutex_);
    return job_ == Job::Write || inRead_;
}

bool Snapshot::StopReading() {
    std::unique_lock lock(mutex_);
    bool stopped = false;
    if (job_ == Job::Write) {
        // Not started yet: it never will.
        job_ = Job::None;
        content_ = nullptr;
        stopped = true;
    }
    if (inRead_) {
        stop_ = true;
        changed_.wait(lock, [this] { return !inRead_; });
        stopped = true;
    }
    return stopped;
}

void Snapshot::Remove() {
    std::unique_lock lock(mutex_);
    content_ = nullptr;
    job_ = Job::Remove;
    changed_.notify_all();
}

void Snapshot::Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return job_ == Job::None && !busy_; });
}

std::string Snapshot::Name() const {
    std::unique_lock lock(mutex_);
    return name_;
}

std::uint64_t Snapshot::Written() const {
    std::unique_lock lock(mutex_);
    return written_;
}

void Snapshot::LeaveData() {
    const std::unique_lock lock(mutex_);
    inRead_ = false;
    changed_.notify_all();
}

void Snapshot::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ending_ || job_ != Job::None; });
        if (job_ == Job::None)
            return; // ending
        const Job job = std::exchange(job_, Job::None);
        SnapshotContent content = std::move(content_);
        content_ = nullptr;
        const std::optional<Origin> origin = std::move(origin_);
        origin_.reset();
        const std::string name = name_;
        busy_ = true;
        // Taken and marked as reading at once: the owner never sees the work unclaimed.
        inRead_ = job == Job::Write;
        stop_ = ending_;
        lock.unlock();

        std::string written;
        if (job == Job::Write) {
            const auto going = [this] { return !stop_.load(std::memory_order_relaxed); };
            written = WriteSnapshot(
                [&](const BlockSink& sink) {
                    // A read told to stop is never a whole snapshot, whatever it says.
                    const bool read = content(sink, going) && going();
                    // Done with the data, whatever is left to write.
                    LeaveData();
                    return read;
                },
                name, locked_, folder_, origin ? &*origin : nullptr);
            LeaveData(); // also when the file could not even be made
        } else {
            RemoveSnapshot(name, locked_, folder_);
        }

        lock.lock();
        if (job == Job::Write && !written.empty()) {
            name_ = written;
            ++written_;
        } else if (job == Job::Remove) {
            name_.clear();
        }
        busy_ = false;
        changed_.notify_all();
    }
}

} // namespace recovery
