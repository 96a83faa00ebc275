// A file's identity tells a file another program replaced or rewrote from the one that was
// read or written, and only that.

#include "template_file/file_identity.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Sets the file's modification time to a fixed second, so that a rewrite within the same
// clock tick is still told apart by the test's own choice of time.
void SetModified(const std::string& path, long seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(FileIdentityTest, TellsAChangedFileFromTheSameOne) {
    struct Case {
        const char* name;
        std::function<void(const std::string& file, const std::string& folder)> change;
        bool changed;
    };
    const Case cases[] = {
        {"untouched", [](const std::string&, const std::string&) {}, false},
        {"read again", [](const std::string& f, const std::string&) { std::ifstream in(f); },
         false},
        {"rewritten, same size, later",
         [](const std::string& f, const std::string&) {
             Write(f, "cb56f6f4\r\nB");
             SetModified(f, 2000);
         },
         true},
        {"grown, same time",
         [](const std::string& f, const std::string&) {
             Write(f, "cb56f6f4\r\nAA");
             SetModified(f, 1000);
         },
         true},
        {"replaced by a copy with the same bytes and time",
         [](const std::string& f, const std::string& d) {
             Write(d + "/new", "cb56f6f4\r\nA");
             SetModified(d + "/new", 1000);
             fs::rename(d + "/new", f);
         },
         true},
        {"removed", [](const std::string& f, const std::string&) { fs::remove(f); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string folder = (fs::temp_directory_path() / "permora-identity-XXXXXX").string();
        ASSERT_NE(::mkdtemp(folder.data()), nullptr);
        const std::string file = folder + "/t.conf";
        Write(file, "cb56f6f4\r\nA");
        SetModified(file, 1000);
        // Through a link the identity is the file's own.
        fs::create_symlink(file, folder + "/link.conf");
        const std::optional<permora::FileIdentity> recorded =
            permora::IdentityOf(folder + "/link.conf");
        ASSERT_TRUE(recorded.has_value());
        const int fd = ::open(file.c_str(), O_RDONLY);
        EXPECT_EQ(permora::IdentityOf(fd), recorded);
        ::close(fd);

        c.change(file, folder);
        EXPECT_EQ(permora::ChangedSince(file, *recorded), c.changed);
        EXPECT_EQ(permora::ChangedSince(folder + "/link.conf", *recorded), c.changed);
        fs::remove_all(folder);
    }
    EXPECT_FALSE(permora::IdentityOf("/nonexistent/permora/file").has_value());
}

} // namespace
