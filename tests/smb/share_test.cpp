// capture and verify against a real smbd: a tree of folders built through SMB with known
// descriptors, read back by the command line as a non-root account.

#include "cli/cli_support.h"
#include "smb_server.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

namespace permora::smb_test {
namespace {

using cli_test::Folder;
using cli_test::Outcome;
using cli_test::RunIn;

const std::string kAnn = kAnnSid;
const std::string kBob = kBobSid;

// The tree every test starts from. Root: protected, with an audit part; Alpha: only what
// its parent passes down; beta: deny, generic and specific masks, every inheritance flag,
// and an inherited entry beside them; delta: its own audit part; Gamma: protected, with an
// account that is no well-known one; Gamma/sub: what Gamma passes down.
const std::vector<std::string> kTree = {
    "set . O:BAG:BAD:PAI(A;OICI;0x1f01ff;;;BA)(A;OICI;0x1200a9;;;WD)(A;OICIIO;0x10000000;;;CO)"
    "S:PAI(AU;OICISAFA;0x10000;;;WD)",
    "mkdir Alpha",
    "mkdir beta",
    "set beta O:BAG:BAD:AI(D;OICI;0x116;;;" + kBob + ")(A;CI;0x80000000;;;" + kAnn +
        ")(A;NP;0x1301bf;;;" + kAnn + ")(A;OICIIO;0x1f01ff;;;BU)(A;OI;0x1200a9;;;BU)" +
        "(A;OICIID;0x1200a9;;;WD)",
    "mkdir delta",
    "set delta O:BAG:BAD:AI(A;OICI;0x1200a9;;;" + kBob +
        ")(A;OICIID;0x1f01ff;;;BA)(A;OICIID;0x1200a9;;;WD)" +
        "S:AI(AU;CISA;0x1301bf;;;WD)(AU;OIIOFA;0x10000;;;BU)",
    "mkdir Gamma",
    "set Gamma O:BAG:BAD:PAI(A;OICI;0x1f01ff;;;BA)(A;NPCI;0x1200a9;;;S-1-5-21-9-9-9-1234)"
    "(A;;0x1200a9;;;" +
        kAnn + ")(A;CIIO;0x1200a9;;;" + kAnn + ")(A;;0x1200a9;;;" + kBob + ")",
    "mkdir Gamma/sub",
};

class Share : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        skip_ = WhySharesCannotRun();
        if (!skip_.empty()) {
            return;
        }
        server_ = std::make_unique<SmbServer>();
        std::string error;
        if (!server_->Start(error)) {
            failure_ = "the test smbd did not start: " + error;
            return;
        }
        if (!server_->Build("share", kTree, error) ||
            !server_->Build(
                "locked",
                {"mkdir open", "mkdir secret", "set secret O:BAG:BAD:P(A;OICI;0x1f01ff;;;BA)"},
                error)) {
            failure_ = "the test tree could not be built: " + error;
        }
    }
    static void TearDownTestSuite() { server_.reset(); }

    void SetUp() override {
        if (!skip_.empty()) {
            GTEST_SKIP() << skip_;
        }
        ASSERT_TRUE(failure_.empty()) << failure_;
    }

    static std::string Auth(const std::string& user = "ann", unsigned mode = 0600) {
        return server_->AuthFile(user, user == "ann" ? kAnnPassword : kBobPassword, mode);
    }

    static Outcome Cli(const Folder& folder, const std::vector<std::string>& args) {
        return RunIn(folder, args);
    }

    static inline std::unique_ptr<SmbServer> server_;
    static inline std::string skip_;
    static inline std::string failure_;
};

std::string Lines8(const std::vector<std::string>& lines) {
    return cli_test::Text8(lines);
}

TEST_F(Share, CaptureWritesEachFolderWithItsExplicitEntries) {
    Folder folder;
    const Outcome o = Cli(folder, {"capture", "//127.0.0.1/share", "--as", "/vol/vol1/share",
                                   "--depth", "2", "-A", Auth(), "--8bit", "-o", "out.conf"});
    EXPECT_EQ(o.status, 0) << o.err;
    const std::string expected = Lines8({
        "cb56f6f4",
        "1,0,\"/vol/vol1/share\",0,\"S:PAR(AU;CIOISAFA;0x10000;;;WD)"
        "D:P(A;CIOI;0x1f01ff;;;BA)(A;CIOI;0x1200a9;;;WD)(A;CIOIIO;0x1f01ff;;;CO)\"",
        "1,0,\"/vol/vol1/share/Alpha\",0,\"D:\"",
        "1,0,\"/vol/vol1/share/beta\",0,\"D:(D;CIOI;0x116;;;" + kBob + ")(A;CI;0x120089;;;" + kAnn +
            ")(A;NP;0x1301bf;;;" + kAnn + ")(A;CIOIIO;0x1f01ff;;;BU)(A;OI;0x1200a9;;;BU)\"",
        // The audit entries in the order the template keeps them.
        "1,0,\"/vol/vol1/share/delta\",0,\"S:AR(AU;OIIOFA;0x10000;;;BU)(AU;CISA;0x1301bf;;;WD)"
        "D:(A;CIOI;0x1200a9;;;" +
            kBob + ")\"",
        "1,0,\"/vol/vol1/share/Gamma\",0,\"D:P(A;CIOI;0x1f01ff;;;BA)"
        "(A;NPCI;0x1200a9;;;S-1-5-21-9-9-9-1234)(A;CI;0x1200a9;;;" +
            kAnn + ")(A;;0x1200a9;;;" + kBob + ")\"", // ann's two entries merged
        "1,0,\"/vol/vol1/share/Gamma/sub\",0,\"D:\"",
    });
    EXPECT_EQ(folder.Files()["out.conf"], expected);
    EXPECT_NE(o.err.find("/vol/vol1/share/Alpha: warning: owner O:"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("/vol/vol1/share/beta: warning: mark AI of D: is not saved"),
              std::string::npos)
        << o.err;
    EXPECT_NE(o.out.find("6 folders read from //127.0.0.1/share: 6 targets written"),
              std::string::npos)
        << o.out;

    // Only where inheritance is broken: Alpha and Gamma/sub hold nothing of their own.
    const Outcome broken =
        Cli(folder, {"capture", "//127.0.0.1/share", "--as", "/vol/vol1/share", "--depth", "2",
                     "--explicit", "-A", Auth(), "--8bit", "-o", "explicit.conf"});
    EXPECT_EQ(broken.status, 0) << broken.err;
    std::string kept = expected;
    for (const char* line : {"1,0,\"/vol/vol1/share/Alpha\",0,\"D:\"\r\n",
                             "1,0,\"/vol/vol1/share/Gamma/sub\",0,\"D:\"\r\n"}) {
        kept.erase(kept.find(line), std::string(line).size());
    }
    EXPECT_EQ(folder.Files()["explicit.conf"], kept);
}

TEST_F(Share, CaptureWithNamesAsksTheServerAndKeepsTheSidsItCannotName) {
    Folder folder;
    const Outcome o = Cli(folder, {"capture", "//127.0.0.1/share/Gamma", "--as", "/vol/v",
                                   "--depth", "0", "--names", "-A", Auth(), "--8bit", "-o", "-"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, Lines8({"cb56f6f4", "1,0,\"/vol/v/Gamma\",0,\"D:P(A;CIOI;0x1f01ff;;;BA)"
                                         "(A;NPCI;0x1200a9;;;S-1-5-21-9-9-9-1234)"
                                         "(A;CI;0x1200a9;;;LAB\\ann)"
                                         "(A;;0x1200a9;;;LAB\\bob)\""}));
    EXPECT_NE(o.err.find("account S-1-5-21-9-9-9-1234 has no name on the server"),
              std::string::npos)
        << o.err;

    // The names are looked up again when the template is verified.
    cli_test::WriteBytes((folder.Path() / "names.conf").string(), o.out);
    const Outcome verified = Cli(folder, {"verify", "names.conf", "//127.0.0.1/share/Gamma", "--as",
                                          "/vol/v", "-A", Auth()});
    EXPECT_EQ(verified.status, 0) << verified.out << verified.err;
}

TEST_F(Share, CaptureOfAnAccountThatMayNotReadAuditPartsSaysSoOnEveryTarget) {
    Folder folder;
    const Outcome o = Cli(folder, {"capture", "//127.0.0.1/share", "--as", "/vol/v", "-A",
                                   Auth("bob"), "--8bit", "-o", "out.conf"});
    EXPECT_EQ(o.status, 1) << o.err;
    const std::string written = folder.Files()["out.conf"];
    EXPECT_EQ(written.find("S:"), std::string::npos) << written;
    EXPECT_NE(written.find("/vol/v/Gamma"), std::string::npos) << written;
    for (const char* path :
         {"/vol/v:", "/vol/v/Alpha:", "/vol/v/beta:", "/vol/v/delta:", "/vol/v/Gamma:"}) {
        EXPECT_NE(o.err.find(std::string(path) + " warning: the audit part cannot be read"),
                  std::string::npos)
            << path << '\n'
            << o.err;
    }

    const Outcome without = Cli(folder, {"capture", "//127.0.0.1/share", "--as", "/vol/v", "-A",
                                         Auth("bob"), "--no-audit", "--8bit", "-o", "out.conf"});
    EXPECT_EQ(without.status, 0) << without.err;
    EXPECT_EQ(folder.Files()["out.conf"], written);
}

// Each failure says what went wrong, ends with its status and writes nothing.
TEST_F(Share, CaptureFailuresWriteNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const std::string ann = Auth();
    const std::string wrongPassword = server_->AuthFile("ann", "not-the-password");
    const std::string readable = Auth("ann", 0644);
    const Case cases[] = {
        {"unreachable server",
         {"//127.0.0.2/share", "--as", "/vol/v", "-A", ann},
         3,
         "//127.0.0.2/share: cannot reach the share: "},
        {"wrong password",
         {"//127.0.0.1/share", "--as", "/vol/v", "-A", wrongPassword},
         3,
         "//127.0.0.1/share: the server refused the logon: "},
        {"missing share",
         {"//127.0.0.1/nosuch", "--as", "/vol/v", "-A", ann},
         3,
         "//127.0.0.1/nosuch: the server has no such share: "},
        {"missing starting folder",
         {"//127.0.0.1/share/nosuch", "--as", "/vol/v", "-A", ann},
         3,
         "//127.0.0.1/share/nosuch: no such folder on the share: "},
        {"a folder the account may not read",
         {"//127.0.0.1/locked", "--as", "/vol/v", "-A", ann},
         1,
         "/vol/v/secret: cannot read the folder: "},
        {"auth file others may read",
         {"//127.0.0.1/share", "--as", "/vol/v", "-A", readable},
         2,
         "it holds a password, so it must be yours and of mode 0600 (it is of mode 0644)"},
        {"invalid --as", {"//127.0.0.1/share", "--as", "/home/v", "-A", ann}, 2, "--as /home/v: "},
        {"no share in the address",
         {"//127.0.0.1", "--as", "/vol/v", "-A", ann},
         2,
         "a share is named //server/share"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        std::vector<std::string> args{"capture"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"-o", "out.conf"});
        const Outcome o = Cli(folder, args);
        EXPECT_EQ(o.status, c.status) << o.err;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_TRUE(folder.Files().empty());
    }
}

// Counts the lines of text that end with the given words.
int LinesEndingWith(const std::string& text, const std::string& end) {
    int count = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t stop = text.find('\n', start);
        const std::string line = text.substr(start, stop - start);
        count += line.ends_with(end) ? 1 : 0;
        start = stop == std::string::npos ? text.size() : stop + 1;
    }
    return count;
}

TEST_F(Share, VerifyOfACaptureAgreesThenNamesExactlyTheTwoFoldersChangedSince) {
    Folder folder;
    const std::vector<std::string> share = {"//127.0.0.1/share", "--as", "/vol/vol1/share", "-A",
                                            Auth()};
    std::vector<std::string> capture{"capture", "--depth", "2", "-o", "cap.conf"};
    capture.insert(capture.end(), share.begin(), share.end());
    ASSERT_EQ(Cli(folder, capture).status, 0);
    std::vector<std::string> verify{"verify", "cap.conf"};
    verify.insert(verify.end(), share.begin(), share.end());

    const Outcome same = Cli(folder, verify);
    EXPECT_EQ(same.status, 0) << same.out << same.err;
    EXPECT_EQ(same.out, "6 targets under /vol/vol1/share against //127.0.0.1/share: 6 agree, "
                        "0 differ, 0 not verified; 10 inherited entries on the share not "
                        "compared\n");

    // One entry added, one protected mark taken away.
    std::string error;
    ASSERT_TRUE(server_->Build(
        "share",
        {kTree[3] + "(A;OICI;0x1200a9;;;BG)",
         "set Gamma O:BAG:BAD:AI(A;OICI;0x1f01ff;;;BA)(A;NPCI;0x1200a9;;;S-1-5-21-9-9-9-1234)"
         "(A;CI;0x1200a9;;;" +
             kAnn + ")(A;;0x1200a9;;;" + kBob + ")"},
        error))
        << error;
    const Outcome changed = Cli(folder, verify);
    EXPECT_EQ(changed.status, 1) << changed.err;
    EXPECT_EQ(LinesEndingWith(changed.out, ": differs"), 2) << changed.out;
    EXPECT_NE(changed.out.find("/vol/vol1/share/beta: differs\n"
                               "  share only: Allow BG: Read and Execute (0x1200a9), This folder, "
                               "subfolders and files\n"),
              std::string::npos)
        << changed.out;
    EXPECT_NE(changed.out.find("/vol/vol1/share/Gamma: differs\n"
                               "  permission list: protected in the template, not on the share\n"),
              std::string::npos)
        << changed.out;

    std::vector<std::string> json = verify;
    json.push_back("--json");
    const Outcome data = Cli(folder, json);
    EXPECT_EQ(data.status, 1);
    const nlohmann::json doc = nlohmann::json::parse(data.out);
    std::vector<std::string> differing;
    for (const auto& target : doc["targets"]) {
        if (target["state"] == "differs") {
            differing.push_back(target["path"]);
        }
    }
    EXPECT_EQ(differing,
              (std::vector<std::string>{"/vol/vol1/share/beta", "/vol/vol1/share/Gamma"}));
    EXPECT_EQ(doc["summary"]["differ"], 2);

    ASSERT_TRUE(server_->Build("share", {kTree[3], kTree[7]}, error)) << error;
}

TEST_F(Share, VerifyNamesEveryAccountTheServerDoesNotKnowWithItsLines) {
    Folder folder;
    cli_test::WriteBytes(
        (folder.Path() / "t.conf").string(),
        Lines8({"cb56f6f4",
                "1,0,\"/vol/v\",0,\"D:(A;CIOI;0x1200a9;;;LAB\\helpdsk)"
                "(A;CIOI;0x1f01ff;;;BA)(A;CIOI;0x1200a9;;;LAB\\ann)\"",
                "1,0,\"/vol/v/beta\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)"
                "(A;CI;0x1200a9;;;lab\\HELPDSK)(A;CI;0x1200a9;;;S-1-5-21-9-9-9-1)\"",
                "1,0,\"/vol/w\",0,\"D:(A;CIOI;0x1200a9;;;LAB\\nobody2)\""}));
    const Outcome o = Cli(folder, {"verify", "t.conf", "//127.0.0.1/share", "--as", "/vol/v", "-A",
                                   Auth(), "--accounts-only"});
    EXPECT_EQ(o.status, 1) << o.err;
    EXPECT_EQ(o.out, "LAB\\helpdsk: no such account on the server (t.conf lines 2, 3)\n"
                     "5 accounts of 2 targets looked up on //127.0.0.1/share: 1 unknown account\n");
}

// Targets that cannot be compared are named, and a verify that cannot start says why.
TEST_F(Share, VerifyFailuresAndTargetsNotVerified) {
    Folder folder;
    const std::string tmpl = (folder.Path() / "locked.conf").string();
    cli_test::WriteBytes(
        tmpl, Lines8({"cb56f6f4", "1,0,\"/vol/locked/secret\",0,\"D:(A;CIOI;0x1f01ff;;;BA)\"",
                      "1,0,\"/vol/locked/gone\",0,\"D:(A;CIOI;0x1f01ff;;;BA)\"",
                      "2,0,\"/vol/locked/nfs\",0,\"D:(A;CIOI;0x1f01ff;;;BA)\""}));
    const Outcome o = Cli(folder, {"verify", "locked.conf", "//127.0.0.1/locked", "--as",
                                   "/vol/locked", "-A", Auth()});
    EXPECT_EQ(o.status, 1) << o.err;
    EXPECT_NE(o.out.find("/vol/locked/secret: not verified: the account may not read the folder\n"
                         "/vol/locked/gone: not verified: no such folder on the share\n"
                         "/vol/locked/nfs: not verified: a target of style NFSV3 ACL; only NTFS "
                         "targets are compared\n"),
              std::string::npos)
        << o.out;

    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const std::string ann = Auth();
    const Case cases[] = {
        {"mistyped --as",
         {"//127.0.0.1/locked", "--as", "/vol/lockd", "-A", ann},
         2,
         "locked.conf: no target lies under /vol/lockd; nothing was verified"},
        {"auth file others may read",
         {"//127.0.0.1/locked", "--as", "/vol/locked", "-A", Auth("ann", 0644)},
         2,
         "must be yours and of mode 0600"},
        {"wrong password",
         {"//127.0.0.1/locked", "--as", "/vol/locked", "-A", server_->AuthFile("ann", "wrong")},
         3,
         "the server refused the logon"},
        {"unreachable server",
         {"//127.0.0.2/locked", "--as", "/vol/locked", "-A", ann},
         3,
         "cannot reach the share"},
        {"missing share",
         {"//127.0.0.1/nosuch", "--as", "/vol/locked", "-A", ann},
         3,
         "the server has no such share"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{"verify", "locked.conf"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome failed = Cli(folder, args);
        EXPECT_EQ(failed.status, c.status) << failed.err;
        EXPECT_NE(failed.err.find(c.message), std::string::npos) << failed.err;
        EXPECT_EQ(failed.out, "");
        EXPECT_EQ(folder.Files().size(), 1u);
    }
}

} // namespace
} // namespace permora::smb_test
