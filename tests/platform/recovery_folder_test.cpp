#include "platform/recovery_folder.h"

#include "platform/recovery_support.h"
#include "ui/support/files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using recovery_test::NameAged;
using recovery_test::RecoveryFiles;
using recovery_test::StateHome;
using tk::test::ReadBytes;
using tk::test::TempDir;

// The bytes of a recovery file, made in blocks as a template's encoding makes them.
const std::string kBytes = std::string("\xFF\xFE", 2) + std::string("c\0b\0\r\0\n\0", 8);

recovery::FileContent Content(std::string bytes, bool fails = false) {
    return [bytes = std::move(bytes), fails](const recovery::BlockSink& sink) {
        const std::string_view all(bytes);
        return sink(all.substr(0, 2)) && sink(all.substr(2)) && !fails;
    };
}

TEST(RecoveryTest, FolderFollowsTheStateHome) {
    struct Case {
        const char* stateHome; // nullptr: unset
        const char* home;
        const char* folder;
    };
    const Case cases[] = {
        {"/s", "/h", "/s/permora/recovery"},
        {nullptr, "/h", "/h/.local/state/permora/recovery"},
        {"", "/h", "/h/.local/state/permora/recovery"},
        {"relative", "/h", "/h/.local/state/permora/recovery"},
        {nullptr, nullptr, ""},
    };
    const StateHome keepState("/unused");
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        c.stateHome ? ::setenv("XDG_STATE_HOME", c.stateHome, 1) : ::unsetenv("XDG_STATE_HOME");
        c.home ? ::setenv("HOME", c.home, 1) : ::unsetenv("HOME");
        EXPECT_EQ(recovery::Folder(), c.folder);
    }
    ::setenv("HOME", home.c_str(), 1);
}

TEST(RecoveryTest, FileNamesCarryDateTimeAndProcess) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 10;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 7;
    EXPECT_EQ(recovery::FileName(when, 4711, 1), "permora-20261210-090507-4711.conf");
    EXPECT_EQ(recovery::FileName(when, 4711, 2), "permora-20261210-090507-4711-2.conf");
    EXPECT_TRUE(recovery::IsRecoveryFileName("permora-20261210-090507-4711.conf"));
    EXPECT_FALSE(recovery::IsRecoveryFileName("notes.txt"));
    EXPECT_FALSE(recovery::IsRecoveryFileName("permora-.conf"));
}

// A file goes only when it is older than 14 days by the time in its name and ten newer
// ones exist; the file named to keep, other files of the folder and the marks of the files
// that stay are left alone.
TEST(RecoveryTest, PruningTakesOnlyOldFilesWithTenNewerOnes) {
    using std::chrono::hours;
    const hours day(24);
    struct Case {
        const char* name;
        std::vector<hours> ages; // of the files, by process 100, 101, ...
        int keep;                // index of the file to keep; -1: none
        std::vector<int> pruned; // indexes
    };
    const std::vector<hours> thirteenRecent = {hours(1),  hours(2),  hours(3), hours(4), hours(5),
                                               hours(6),  hours(7),  hours(8), hours(9), hours(10),
                                               hours(11), hours(12), hours(13)};
    std::vector<hours> thirteenOld;
    for (int i = 0; i < 13; ++i)
        thirteenOld.push_back(20 * day + hours(i));
    std::vector<hours> mixed = {30 * day, 31 * day, 13 * day, 15 * day};
    for (int i = 0; i < 8; ++i)
        mixed.push_back(hours(i));
    std::vector<hours> future(11, -30 * day);
    future.push_back(20 * day);
    const Case cases[] = {
        {"thirteen recent files", thirteenRecent, -1, {}},
        {"thirteen old files", thirteenOld, -1, {10, 11, 12}},
        {"old files with fewer than ten newer", mixed, -1, {0, 1}},
        {"ten old files", std::vector<hours>(10, 40 * day), -1, {}},
        {"the file to keep", thirteenOld, 12, {10, 11}},
        {"files dated in the future", future, -1, {11}},
    };
    const std::time_t now = std::time(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ::chmod(dir.Path().c_str(), 0700);
        std::vector<std::string> expected = {"notes.txt", "permora-2020.conf"};
        std::vector<std::string> names;
        for (std::size_t i = 0; i < c.ages.size(); ++i) {
            const std::string name = NameAged(now, c.ages[i], 100 + static_cast<int>(i));
            names.push_back(name);
            tk::test::WriteBytes(dir.File(name), "x");
            tk::test::WriteBytes(dir.File(name + ".handled"), "");
            if (std::find(c.pruned.begin(), c.pruned.end(), static_cast<int>(i)) ==
                c.pruned.end()) {
                expected.push_back(name);
                expected.push_back(name + ".handled");
            }
        }
        tk::test::WriteBytes(dir.File("notes.txt"), "mine");
        tk::test::WriteBytes(dir.File("permora-2020.conf"), "no time in the name");
        std::sort(expected.begin(), expected.end());
        recovery::Prune(dir.Path().string(), now,
                        c.keep >= 0 ? names[static_cast<std::size_t>(c.keep)] : std::string());
        EXPECT_EQ(dir.Names(), expected);
    }
}

// Another user who may write the folder swaps the new file's name for a link to a file of
// the user's: the link is never followed, and the file it names keeps its bytes.
TEST(RecoveryTest, ALinkPutInPlaceOfTheNewFileIsNotFollowed) {
    TempDir state, elsewhere;
    const std::string folder = (state.Path() / "permora" / "recovery").string();
    const std::string victim = elsewhere.File("precious");
    tk::test::WriteBytes(victim, "precious");
    static std::string linkTarget;
    linkTarget = victim;
    recovery::detail::afterCreate = [](const std::string& in, const std::string& name) {
        const std::string path = in + "/" + name;
        ::unlink(path.c_str());
        EXPECT_EQ(::symlink(linkTarget.c_str(), path.c_str()), 0);
    };
    const std::string written = recovery::Write(Content(kBytes), folder);
    recovery::detail::afterCreate = nullptr;
    EXPECT_EQ(ReadBytes(victim), "precious");
    // Whatever stands under the recovery name, it is not a way to the other file.
    if (!written.empty()) {
        EXPECT_NE(ReadBytes(written), "precious");
    }
}

// With the clock moved back, every file of the folder is newer than the one just written;
// that one stays all the same.
TEST(RecoveryTest, TheFileJustWrittenIsNeverPruned) {
    TempDir state;
    const fs::path folder = state.Path() / "permora" / "recovery";
    fs::create_directories(folder);
    ::chmod(folder.c_str(), 0700);
    const std::time_t now = std::time(nullptr);
    for (int i = 0; i < 12; ++i) {
        const fs::path file = folder / NameAged(now, -std::chrono::hours(24 * 30 + i), 100 + i);
        tk::test::WriteBytes(file.string(), "x");
        fs::last_write_time(file, fs::file_time_type::clock::now() + std::chrono::hours(24 * 30));
    }
    const std::string written = recovery::Write(Content(kBytes), folder.string());
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(ReadBytes(written), kBytes);
    EXPECT_EQ(RecoveryFiles(folder).size(), 13u);
}

// The folder is used only when no link leads to it and it is the user's alone; otherwise
// no file is written anywhere, and standard error says why.
TEST(RecoveryTest, AFolderThatIsNotTheUsersAloneGetsNoFile) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& state, const fs::path& elsewhere)> prepare;
        const char* said; // in the message on standard error; nullptr: the file is written
    };
    const auto makeRecovery = [](const fs::path& state, unsigned mode) {
        fs::create_directories(state / "permora" / "recovery");
        ::chmod((state / "permora" / "recovery").c_str(), mode);
    };
    const Case cases[] = {
        {"made new", [](const fs::path&, const fs::path&) {}, nullptr},
        {"a private folder", [&](const fs::path& s, const fs::path&) { makeRecovery(s, 0700); },
         nullptr},
        {"readable by others", [&](const fs::path& s, const fs::path&) { makeRecovery(s, 0755); },
         nullptr},
        {"writable by its group",
         [&](const fs::path& s, const fs::path&) { makeRecovery(s, 0770); }, "others may write"},
        {"writable by anyone", [&](const fs::path& s, const fs::path&) { makeRecovery(s, 01777); },
         "others may write"},
        {"a link on the way",
         [](const fs::path& s, const fs::path& e) {
             fs::create_directories(e / "recovery");
             fs::create_directory_symlink(e, s / "permora");
         },
         "link"},
        {"the folder a link",
         [](const fs::path& s, const fs::path& e) {
             fs::create_directories(s / "permora");
             fs::create_directory_symlink(e, s / "permora" / "recovery");
         },
         "link"},
        {"another user's",
         [&](const fs::path& s, const fs::path&) {
             makeRecovery(s, 0700);
             ASSERT_EQ(::chown((s / "permora" / "recovery").c_str(), 65534, 65534), 0);
         },
         "belongs to another user"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "another user's" && ::geteuid() != 0)
            continue; // only root can give a folder away
        TempDir state, elsewhere;
        c.prepare(state.Path(), elsewhere.Path());
        const std::string folder = (state.Path() / "permora" / "recovery").string();
        ::testing::internal::CaptureStderr();
        const std::string written = recovery::Write(Content(kBytes), folder);
        const std::string said = ::testing::internal::GetCapturedStderr();
        if (c.said == nullptr) {
            EXPECT_FALSE(written.empty());
            EXPECT_EQ(said, "");
            EXPECT_EQ(ReadBytes(written), kBytes);
            continue;
        }
        EXPECT_EQ(written, "");
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_NE(said.find(folder), std::string::npos) << said;
        for (const auto& entry : fs::recursive_directory_iterator(state.Path()))
            EXPECT_FALSE(entry.is_regular_file()) << entry.path();
        for (const auto& entry : fs::recursive_directory_iterator(elsewhere.Path()))
            EXPECT_FALSE(entry.is_regular_file()) << entry.path();
    }
}

// Bytes that could not all be made leave no file behind, not even under a hidden name.
TEST(RecoveryTest, ContentThatFailsLeavesNoFile) {
    TempDir state;
    const fs::path folder = state.Path() / "permora" / "recovery";
    EXPECT_EQ(recovery::Write(Content(kBytes, true), folder.string()), "");
    EXPECT_TRUE(RecoveryFiles(folder).empty());
}

} // namespace
