#include "platform/recovery_snapshot.h"

#include "platform/recovery_support.h"
#include "ui/support/files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using recovery_test::Mode;
using recovery_test::RecoveryFiles;
using tk::test::ReadBytes;
using tk::test::TempDir;

recovery::SnapshotContent Bytes(std::string bytes) {
    return [bytes = std::move(bytes)](const recovery::BlockSink& sink,
                                      const std::function<bool()>& going) {
        return going() && sink(bytes);
    };
}

std::vector<std::string> Listed(const fs::path& folder) {
    std::vector<std::string> names;
    for (const recovery::Recovered& file : recovery::List(folder.string()))
        names.push_back(file.name);
    return names;
}

// One file, replaced whole by each write and never listed while its writer lives; left
// behind, and then listed, when the writer ends without removing it.
TEST(RecoverySnapshotTest, OneFileReplacedWholeAndHiddenWhileItsWriterRuns) {
    TempDir state;
    const fs::path folder = state.Path() / "permora" / "recovery";
    std::string name;
    {
        recovery::Snapshot snapshot(folder.string());
        snapshot.Write(Bytes("first"));
        snapshot.Wait();
        name = snapshot.Name();
        ASSERT_FALSE(name.empty());
        EXPECT_TRUE(recovery::IsRecoveryFileName(name));
        EXPECT_EQ(ReadBytes(folder / name), "first");
        EXPECT_EQ(Mode(folder / name), 0600u);
        EXPECT_TRUE(Listed(folder).empty()) << "a running writer's snapshot was listed";

        snapshot.Write(Bytes("second, longer"));
        snapshot.Wait();
        EXPECT_EQ(snapshot.Name(), name);
        EXPECT_EQ(RecoveryFiles(folder), std::vector<fs::path>{folder / name});
        EXPECT_EQ(ReadBytes(folder / name), "second, longer");
        EXPECT_EQ(snapshot.Written(), 2u);
    }
    EXPECT_EQ(Listed(folder), std::vector<std::string>{name});
}

TEST(RecoverySnapshotTest, RemoveDeletesItAndAFailedWriteKeepsThePreviousOne) {
    TempDir state;
    const fs::path folder = state.Path() / "permora" / "recovery";
    recovery::Snapshot snapshot(folder.string());
    snapshot.Write(Bytes("kept"));
    snapshot.Wait();
    const std::string name = snapshot.Name();
    snapshot.Write([](const recovery::BlockSink& sink, const std::function<bool()>&) {
        return sink("half") && false;
    });
    snapshot.Wait();
    EXPECT_EQ(RecoveryFiles(folder), std::vector<fs::path>{folder / name});
    EXPECT_EQ(ReadBytes(folder / name), "kept");

    snapshot.Remove();
    snapshot.Wait();
    EXPECT_TRUE(RecoveryFiles(folder).empty());
    EXPECT_EQ(snapshot.Name(), "");
}

// StopReading returns only once the writer has left the data, and that write is dropped.
TEST(RecoverySnapshotTest, StopReadingWaitsForTheWriterToLeaveTheData) {
    TempDir state;
    const fs::path folder = state.Path() / "permora" / "recovery";
    recovery::Snapshot snapshot(folder.string());
    std::atomic<bool> started = false;
    std::atomic<bool> inside = false;
    snapshot.Write([&](const recovery::BlockSink& sink, const std::function<bool()>& going) {
        inside = true;
        started = true;
        while (going())
            std::this_thread::yield();
        inside = false;
        return sink("never whole");
    });
    while (!started)
        std::this_thread::yield();
    EXPECT_TRUE(snapshot.Reading());
    EXPECT_TRUE(snapshot.StopReading());
    EXPECT_FALSE(inside);
    EXPECT_FALSE(snapshot.Reading());
    snapshot.Wait();
    EXPECT_TRUE(RecoveryFiles(folder).empty());
    EXPECT_EQ(snapshot.Written(), 0u);
    EXPECT_FALSE(snapshot.StopReading()) << "nothing left to stop";
}

} // namespace
