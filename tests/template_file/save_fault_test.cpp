// A save under a failing system: every kind of call a save makes (open, read, write, sync,
// truncate, reserve, rename, unlink, owner, mode, extended attributes and access lists, the
// lock) is failed at its N-th call, for every N the save reaches, in both encodings, for a
// new file, a file replaced by a new one and a file written in place. Afterwards the old
// file is byte for byte what it was, or the new one is complete, and no temporary file is
// left beside it.

#include "file_test_support.h"
#include "template_file/safe_save.h"
#include "template_file/template_file.h"

#include <gtest/gtest.h>

#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

namespace permora {
namespace {

namespace fs = std::filesystem;
using save_detail::IoCall;

constexpr std::array kCalls = {IoCall::Open,   IoCall::Read,       IoCall::Write,
                               IoCall::Sync,   IoCall::Truncate,   IoCall::Reserve,
                               IoCall::Rename, IoCall::Unlink,     IoCall::Owner,
                               IoCall::Mode,   IoCall::Attributes, IoCall::Lock};

const char* NameOf(IoCall call) {
    static constexpr std::array kNames = {"open",     "read",    "write",      "sync",
                                          "truncate", "reserve", "rename",     "unlink",
                                          "owner",    "mode",    "attributes", "lock"};
    return kNames[static_cast<std::size_t>(call)];
}

// Counts the calls of each kind and fails the failing-th of one kind.
struct Fault {
    static inline std::array<std::atomic<int>, kCalls.size()> counts{};
    static inline IoCall kind = IoCall::Open;
    static inline int failing = 0; // 0: none fails

    static int Hook(IoCall call) {
        const int n = ++counts[static_cast<std::size_t>(call)];
        return call == kind && n == failing ? EIO : 0;
    }
    static void Arm(IoCall call, int n) {
        for (auto& count : counts) {
            count = 0;
        }
        kind = call;
        failing = n;
        save_detail::ioFault = &Hook;
    }
    static int Count(IoCall call) { return counts[static_cast<std::size_t>(call)]; }
};

class SaveFaultTest : public ::testing::Test {
protected:
    SaveFaultTest() {
        char pattern[] = "/tmp/permora-fault-XXXXXX";
        folder_ = ::mkdtemp(pattern);
        // Small blocks, so that even this small template takes several writes.
        save_detail::blockSize = 64;
    }
    ~SaveFaultTest() override {
        save_detail::ioFault = nullptr;
        save_detail::blockSize = kEncodeBlockSize;
        fs::remove_all(folder_);
    }

    std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }
    // The names in the folder but the lock file, which stays beside a template for good.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            if (!test::IsLockFile(entry.path().filename().string())) {
                names.push_back(entry.path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string folder_;
};

enum class Place {
    NewFile,  // nothing there yet
    Replaced, // an old file that a new one replaces
    InPlace,  // an old file with a second name, written over
};

TEST_F(SaveFaultTest, EveryFailedCallLeavesTheOldFileOrACompleteNewOne) {
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    const std::string path = PathOf("security.conf");
    const std::string old = "cb56f6f4\r\n1,0,\"/vol/old\",0,\"D:(A;;0x1;;;Everyone)\"\r\n";
    for (const Encoding encoding : {Encoding::Unicode, Encoding::EightBit}) {
        const std::string expected =
            encoding == Encoding::Unicode ? EncodeUnicode(tmpl) : Encode8Bit(tmpl);
        for (const Place place : {Place::NewFile, Place::Replaced, Place::InPlace}) {
            std::vector<std::string> names = {"security.conf"};
            const auto prepare = [&] {
                fs::remove_all(folder_);
                fs::create_directory(folder_);
                if (place == Place::NewFile) {
                    return;
                }
                test::WriteBytes(path, old);
                // An attribute to copy over, where the file system keeps them, and an owner
                // to give the new file, where the test may.
                ::setxattr(path.c_str(), "user.permora.test", "1", 1, 0);
                if (::geteuid() == 0) {
                    EXPECT_EQ(::chown(path.c_str(), 1, 1), 0);
                }
                if (place == Place::InPlace) {
                    fs::create_hard_link(path, PathOf("other.conf"));
                }
            };
            if (place == Place::InPlace) {
                names = {"other.conf", "security.conf"};
            }
            // A save that nothing fails, to learn how many calls of each kind it makes.
            prepare();
            Fault::Arm(IoCall::Open, 0);
            ASSERT_EQ(SaveTemplate(path, tmpl, encoding), SaveStatus::Saved);
            std::array<int, kCalls.size()> made{};
            for (const IoCall call : kCalls) {
                made[static_cast<std::size_t>(call)] = Fault::Count(call);
            }
            EXPECT_GT(made[static_cast<std::size_t>(IoCall::Write)], 1);

            for (const IoCall call : kCalls) {
                for (int n = 1; n <= made[static_cast<std::size_t>(call)]; ++n) {
                    SCOPED_TRACE(std::string(encoding == Encoding::Unicode ? "Unicode" : "8-bit") +
                                 ", place " + std::to_string(static_cast<int>(place)) + ", " +
                                 NameOf(call) + " #" + std::to_string(n));
                    prepare();
                    Fault::Arm(call, n);
                    const SaveStatus status = SaveTemplate(path, tmpl, encoding);
                    save_detail::ioFault = nullptr;
                    if (status == SaveStatus::Saved) {
                        EXPECT_EQ(Names(), names);
                        EXPECT_EQ(test::ReadBytes(path), expected);
                    } else if (place == Place::NewFile) {
                        EXPECT_EQ(Names(), std::vector<std::string>{});
                    } else {
                        EXPECT_EQ(Names(), names);
                        EXPECT_EQ(test::ReadBytes(path), old);
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace permora
