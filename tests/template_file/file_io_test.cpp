#include "file_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace permora {
namespace {

namespace fs = std::filesystem;

class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::path(::testing::TempDir()) / "permora-file-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(dir_)) {
            names.push_back(item.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static mode_t Umask() {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
    }

    static mode_t ModeOf(const std::string& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0);
        return info.st_mode & 07777;
    }

    fs::path dir_;
};

TEST_F(FileTest, SaveWritesTheBytesOfEitherEncoding) {
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    const std::string path = PathOf("security.conf");
    ASSERT_EQ(SaveTemplate(path, tmpl, Encoding::Unicode), SaveStatus::Saved);
    EXPECT_EQ(test::ReadBytes(path), EncodeUnicode(tmpl));
    EXPECT_EQ(ModeOf(path), 0666 & ~Umask());
    ASSERT_EQ(SaveTemplate(path, tmpl, Encoding::EightBit), SaveStatus::Saved);
    EXPECT_EQ(test::ReadBytes(path), Encode8Bit(tmpl));
    EXPECT_EQ(Names(), std::vector<std::string>{"security.conf"});
}

TEST_F(FileTest, SaveReplacesAnExistingFileAndKeepsItsPermissions) {
    const std::string path = PathOf("security.conf");
    test::WriteBytes(path, std::string(5000, 'x'));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    ASSERT_EQ(SaveTemplate(path, tmpl, Encoding::EightBit), SaveStatus::Saved);
    EXPECT_EQ(test::ReadBytes(path), Encode8Bit(tmpl));
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(Names(), std::vector<std::string>{"security.conf"});
}

TEST_F(FileTest, SaveThroughALinkReplacesTheFileItPointsTo) {
    const std::string real = PathOf("real.conf");
    const std::string link = PathOf("link.conf");
    test::WriteBytes(real, "old");
    fs::create_symlink(real, link);
    SecurityTemplate tmpl;
    ASSERT_EQ(SaveTemplate(link, tmpl, Encoding::EightBit), SaveStatus::Saved);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(real), "cb56f6f4\r\n");
    EXPECT_EQ(Names(), (std::vector<std::string>{"link.conf", "real.conf"}));
}

TEST_F(FileTest, SaveToAFolderThatDoesNotExistFailsToOpen) {
    SecurityTemplate tmpl;
    EXPECT_EQ(SaveTemplate(PathOf("missing/security.conf"), tmpl, Encoding::Unicode),
              SaveStatus::OpenFailed);
    EXPECT_EQ(SaveTemplate("", tmpl, Encoding::Unicode), SaveStatus::OpenFailed);
    EXPECT_TRUE(Names().empty());
}

TEST_F(FileTest, FailedReplaceLeavesTheFolderAsItWas) {
    const std::string folder = PathOf("security.conf");
    fs::create_directory(folder);
    test::WriteBytes(folder + "/inside", "keep");
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);
    EXPECT_EQ(SaveTemplate(folder, tmpl, Encoding::Unicode), SaveStatus::WriteFailed);
    EXPECT_EQ(Names(), std::vector<std::string>{"security.conf"});
    EXPECT_EQ(test::ReadBytes(folder + "/inside"), "keep");

    // A pipe is neither replaced nor read.
    const std::string pipe = PathOf("pipe.conf");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(SaveTemplate(pipe, tmpl, Encoding::Unicode), SaveStatus::OpenFailed);
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_FALSE(ImportTemplate(pipe, tmpl, {}).opened);
    EXPECT_EQ(Names(), (std::vector<std::string>{"pipe.conf", "security.conf"}));
}

TEST_F(FileTest, FailedWriteLeavesThePreviousFileByteIdentical) {
    const std::string path = PathOf("security.conf");
    const std::string previous = "cb56f6f4\r\nprevious content\r\n";
    test::WriteBytes(path, previous);
    SecurityTemplate tmpl;
    test::BuildExampleTemplate(tmpl);

    // A file size limit makes the write of the new file fail, for root as well.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const SaveStatus status = SaveTemplate(path, tmpl, Encoding::Unicode);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(status, SaveStatus::WriteFailed);
    EXPECT_EQ(test::ReadBytes(path), previous);
    EXPECT_EQ(Names(), std::vector<std::string>{"security.conf"});
}

TEST_F(FileTest, ReadOnlyFileIsNotReplaced) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions are not enforced for root";
    }
    const std::string path = PathOf("security.conf");
    test::WriteBytes(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    SecurityTemplate tmpl;
    EXPECT_EQ(SaveTemplate(path, tmpl, Encoding::EightBit), SaveStatus::OpenFailed);
    EXPECT_EQ(test::ReadBytes(path), "old");

    // A folder that may not be written to: nothing can be created there.
    const std::string locked = PathOf("locked");
    fs::create_directory(locked);
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    EXPECT_EQ(SaveTemplate(locked + "/security.conf", tmpl, Encoding::EightBit),
              SaveStatus::OpenFailed);
    EXPECT_TRUE(fs::is_empty(locked));
}

TEST_F(FileTest, SaveToANameWithoutFolderWritesInTheWorkingDirectory) {
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    SecurityTemplate tmpl;
    const SaveStatus status = SaveTemplate("Untitled", tmpl, Encoding::Unicode);
    fs::current_path(before);
    EXPECT_EQ(status, SaveStatus::Saved);
    EXPECT_EQ(Names(), std::vector<std::string>{"Untitled"});
    EXPECT_EQ(test::ReadBytes(PathOf("Untitled")), EncodeUnicode(tmpl));
}

TEST_F(FileTest, ImportReadsBothExampleFilesToTheSameTargets) {
    SecurityTemplate example;
    test::BuildExampleTemplate(example);
    for (const char* name : {"/example-unicode.conf", "/example-8bit.conf"}) {
        SCOPED_TRACE(name);
        SecurityTemplate tmpl;
        test::Messages messages;
        const ImportOutcome outcome =
            ImportTemplate(std::string(PERMORA_FIXTURES_DIR) + name, tmpl, messages.Sink());
        EXPECT_TRUE(outcome.opened);
        EXPECT_TRUE(outcome.complete);
        EXPECT_FALSE(outcome.readFailed);
        EXPECT_EQ(outcome.appended, 3);
        EXPECT_TRUE(messages.texts.empty());
        EXPECT_EQ(test::TemplateLines(tmpl), test::TemplateLines(example));
    }
}

TEST_F(FileTest, ImportAppendsAndStopsAtTheFirstFailingLine) {
    const std::string path = PathOf("in.conf");
    test::WriteBytes(path, "cb56f6f4\r\n"
                           "1,0,\"/vol/a\",0,\"D:(A;CI;0x1;;;x)\"\r\n"
                           "\r\n"
                           "1,0,\"/vol/b\",0,\"D:\"\r\n"
                           "1,0,\"/vol/c\",0,\"D:(Q;CI;0x1;;;x)\"\r\n"
                           "1,0,\"/vol/d\",0,\"D:\"\r\n");
    SecurityTemplate tmpl;
    tmpl.Append(test::FreshTarget());
    test::Messages messages;
    const ImportOutcome outcome = ImportTemplate(path, tmpl, messages.Sink());
    EXPECT_TRUE(outcome.opened);
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(outcome.appended, 2);
    EXPECT_EQ(messages.texts, std::vector<std::string>{"Wrong ace type."});
    ASSERT_EQ(tmpl.Count, 3);
    EXPECT_EQ(tmpl.At(1)->Path, "/vol/a");
    EXPECT_EQ(tmpl.At(2)->Path, "/vol/b");
}

TEST_F(FileTest, ImportReadsALastLineWithoutLineEndAndAppendsEachTime) {
    const std::string path = PathOf("in.conf");
    test::WriteBytes(path, "cb56f6f4\n1,0,\"/vol/a\",0,\"D:\"\n1,1,\"/vol/b\",3,\"\"");
    SecurityTemplate tmpl;
    for (int round = 1; round <= 2; ++round) {
        const ImportOutcome outcome = ImportTemplate(path, tmpl, {});
        EXPECT_TRUE(outcome.complete);
        EXPECT_EQ(outcome.appended, 2);
        EXPECT_EQ(tmpl.Count, 2 * round);
    }
    EXPECT_EQ(tmpl.At(3)->ToLine(), "1,1,\"/vol/b\",3,\"\"");

    test::WriteBytes(path, "cb56f6f4\r\n");
    const ImportOutcome headerOnly = ImportTemplate(path, tmpl, {});
    EXPECT_TRUE(headerOnly.opened);
    EXPECT_TRUE(headerOnly.complete);
    EXPECT_EQ(headerOnly.appended, 0);
}

TEST_F(FileTest, ImportOfWhatCannotBeOpenedReadsNothing) {
    SecurityTemplate tmpl;
    for (const std::string& path : {PathOf("missing.conf"), dir_.string(), std::string()}) {
        const ImportOutcome outcome = ImportTemplate(path, tmpl, {});
        EXPECT_FALSE(outcome.opened) << path;
        EXPECT_FALSE(outcome.complete);
        EXPECT_EQ(outcome.appended, 0);
    }
    EXPECT_EQ(tmpl.Count, 0);
}

TEST_F(FileTest, SavedFileSpanningManyBlocksImportsWhole) {
    SecurityTemplate tmpl;
    for (int i = 0; i < 20000; ++i) {
        auto target =
            std::make_unique<TargetObject>("/vol/v" + std::to_string(i), MakeDefaultDescriptor());
        target->SecurityLevel = i % 2;
        tmpl.Append(std::move(target));
    }
    const std::string path = PathOf("big.conf");
    ASSERT_EQ(SaveTemplate(path, tmpl, Encoding::Unicode), SaveStatus::Saved);
    ASSERT_GT(fs::file_size(path), std::uintmax_t{1} << 20);
    SecurityTemplate read;
    const ImportOutcome outcome = ImportTemplate(path, read, {});
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.appended, 20000);
    EXPECT_EQ(test::TemplateLines(read), test::TemplateLines(tmpl));
}

} // namespace
} // namespace permora
