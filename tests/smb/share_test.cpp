// capture and verify against a real smbd: a tree of folders built through SMB with known
// descriptors, read back by the command line as a non-root account.

#include "cli/cli_support.h"
#include "smb_server.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace permora::smb_test
