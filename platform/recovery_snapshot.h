#pragma once

// The snapshot of a running window's unsaved work: one recovery file, kept current by a
// writer thread of its own so that the window's thread only hands the work over. It is held
// locked while the program runs (and so never offered to another instance) and is left
// behind, unlocked, when the program dies without a word (SIGKILL, a crash, a power cut).
// Plain C++ and POSIX.

#include "platform/recovery_folder.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace recovery {

// Makes the bytes of a snapshot on the writer's thread. It reads data that its owner leaves
// alone while Reading() is true; it stops early, returning false, once going() is false.
using SnapshotContent =
    std::function<bool(const BlockSink& sink, const std::function<bool()>& going)>;

class Snapshot {
public:
    explicit Snapshot(std::string folder = Folder());
    // Stops a read under way (that write is dropped) and releases the snapshot, which stays.
    ~Snapshot();
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    // Writes content as the snapshot, replacing the previous one once it is whole. Reading()
    // is true from this call until content is done with what it reads.
    void Write(SnapshotContent content, std::optional<Origin> origin = std::nullopt);
    // Whether a write still reads its data.
    bool Reading() const;
    // Stops the read under way, if any, and returns once it has left the data. That write is
    // dropped; the previous snapshot stays. True when a read was stopped.
    bool StopReading();
    // Deletes the snapshot (the work was saved, or is back as it was saved); a write not
    // yet under way is dropped.
    void Remove();
    // Returns once the writer has nothing left to do.
    void Wait();

    // The snapshot's file in the folder; "" while there is none.
    std::string Name() const;
    // Writes that ended with a whole snapshot in place.
    std::uint64_t Written() const;

private:
    enum class Job { None, Write, Remove };
    void Run();
    void LeaveData();

    const std::string folder_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    Job job_ = Job::None;
    SnapshotContent content_;
    std::optional<Origin> origin_;
    bool busy_ = false;   // the writer runs a job
    bool inRead_ = false; // the writer's job reads the data
    std::atomic<bool> stop_ = false;
    bool ending_ = false;
    std::string name_;
    int locked_ = -1; // the writer thread's alone
    std::uint64_t written_ = 0;
    std::thread thread_;
};

} // namespace recovery
