// permora-cli access: the effective access of an account, and of every account at once.

#include "cli_support.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace permora::cli_test {
namespace {

const std::string kProj =
    R"L(1,0,"/vol/proj",0,"S:(AU;CIOIFA;0x10000;;;LAB\staff)(AU;NPCISA;0x1;;;Everyone)D:(D;CIOIIO;0x10000;;;LAB\staff)(A;CIOI;0x1301bf;;;LAB\jdoe)(A;NPCI;0x1200a9;;;Everyone)")L";
const std::string kBare = R"L(1,0,"/vol/bare",0,"S:(AU;CIOISA;GA;;;Everyone)")L";
const std::string kNfs = R"L(2,0,"/vol/nfs",0,"D:(A;CI;0x1;;;Everyone)")L";
const std::string kFile = Text8({"cb56f6f4", kProj, kBare, kNfs});

struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::optional<std::string> out; // nullopt: not compared
    std::optional<std::string> err;
    std::string input = {}; // standard input
};

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        WriteBytes((folder.Path() / "a.conf").string(), kFile);
        const Outcome outcome = RunIn(folder, c.args, c.input);
        EXPECT_EQ(outcome.status, c.status);
        if (c.out) {
            EXPECT_EQ(outcome.out, *c.out);
        }
        if (c.err) {
            EXPECT_EQ(outcome.err, *c.err);
        }
        EXPECT_EQ(folder.Files().size(), 1u) << "access writes nothing";
    }
}

const std::string kAnnText =
    "/vol/proj: LAB\\ann, member of lab\\STAFF\n"
    "  Standard permissions  This folder  Subfolders                           Files\n"
    "  Full Control          Not allowed  Denied [1]                           Denied [1]\n"
    "  Modify                Not allowed  Denied [1]                           Denied [1]\n"
    "  Read and Execute      Allowed [3]  Allowed in the first level only [3]  Not allowed\n"
    "  List Folder Contents  Allowed [3]  Allowed in the first level only [3]  Not allowed\n"
    "  Read                  Allowed [3]  Allowed in the first level only [3]  Not allowed\n"
    "  Write                 Not allowed  Not allowed                          Not allowed\n"
    "\n"
    "  Rights                          This folder  Subfolders                           Files\n"
    "  Full Control                    Not allowed  Denied [1]                           Denied "
    "[1]\n"
    "  Traverse Folder / Execute File  Allowed [3]  Allowed in the first level only [3]  Not "
    "allowed\n"
    "  List Folder / Read Data         Allowed [3]  Allowed in the first level only [3]  Not "
    "allowed\n"
    "  Read Attributes                 Allowed [3]  Allowed in the first level only [3]  Not "
    "allowed\n"
    "  Read Extended Attributes        Allowed [3]  Allowed in the first level only [3]  Not "
    "allowed\n"
    "  Create Files / Write Data       Not allowed  Not allowed                          Not "
    "allowed\n"
    "  Create Folders / Append Data    Not allowed  Not allowed                          Not "
    "allowed\n"
    "  Write Attributes                Not allowed  Not allowed                          Not "
    "allowed\n"
    "  Write Extended Attributes       Not allowed  Not allowed                          Not "
    "allowed\n"
    "  Delete Subfolders and Files     Not allowed  Not allowed                          Not "
    "allowed\n"
    "  Delete                          Not allowed  Denied [1]                           Denied "
    "[1]\n"
    "  Read Permissions                Allowed [3]  Allowed in the first level only [3]  Not "
    "allowed\n"
    "  Change Permissions              Not allowed  Not allowed                          Not "
    "allowed\n"
    "  Take Ownership                  Not allowed  Not allowed                          Not "
    "allowed\n"
    "\n"
    "  Deciding entries:\n"
    "    1  (D;CIOIIO;0x10000;;;LAB\\staff)\n"
    "    3  (A;NPCI;0x1200a9;;;Everyone)\n"
    "\n"
    "  Audited                  This folder  Subfolders                       Files\n"
    "  List Folder / Read Data  Success      Success in the first level only  Not audited\n"
    "  Delete                   Failure      Failure                          Failure\n";

TEST(CliAccessTest, TextTablesAndErrors) {
    RunCases({
        {"an account and a group in another letter case",
         {"access", "a.conf", "--path", "/vol/proj", "--account", "LAB\\ann", "--member-of",
          "lab\\STAFF"},
         0,
         kAnnText,
         ""},
        {"standard input",
         {"access", "-", "--path", "/vol/proj", "--account", "LAB\\ann", "--member-of",
          "lab\\STAFF"},
         0,
         kAnnText,
         "",
         kFile},
        {"--all: the standard permissions of every account",
         {"access", "a.conf", "--path", "/vol/proj", "--all"},
         0,
         "/vol/proj\n"
         "  Account    This folder       Subfolders                                         Files\n"
         "  LAB\\staff  Read and Execute  Read and Execute in the first level, denied below  "
         "denied\n"
         "  LAB\\jdoe   Modify            Modify                                             "
         "Modify\n"
         "  Everyone   Read and Execute  Read and Execute in the first level only           none\n",
         ""},
        {"--all without a permission list",
         {"access", "a.conf", "--path", "/vol/bare", "--all"},
         0,
         "/vol/bare\n  no permission list: nothing is decided\n",
         ""},
        {"a path no target has",
         {"access", "a.conf", "--path", "/vol/none", "--account", "LAB\\ann"},
         2,
         "",
         "permora-cli: a.conf: no target has the path /vol/none\n"},
        {"a target of another style",
         {"access", "a.conf", "--path", "/vol/nfs", "--all"},
         2,
         "",
         "permora-cli: a.conf: the target /vol/nfs is not an NTFS target\n"},
        {"an invalid account name",
         {"access", "a.conf", "--path", "/vol/proj", "--account", "LAB\\"},
         2,
         "",
         "permora-cli: Invalid Account Name: LAB\\\n"},
        {"an invalid group name",
         {"access", "a.conf", "--path", "/vol/proj", "--account", "LAB\\ann", "--member-of",
          "LAB\\a\\b"},
         2,
         "",
         "permora-cli: Invalid Account Name: LAB\\a\\b\n"},
        {"an unreadable file",
         {"access", "missing.conf", "--path", "/vol/proj", "--account", "LAB\\ann"},
         3,
         "",
         "permora-cli: missing.conf: cannot read the file: No such file or directory\n"},
        {"neither --account nor --all",
         {"access", "a.conf", "--path", "/vol/proj"},
         2,
         "",
         std::nullopt},
        {"--all beside --account",
         {"access", "a.conf", "--path", "/vol/proj", "--all", "--account", "LAB\\ann"},
         2,
         "",
         std::nullopt},
        {"no --path", {"access", "a.conf", "--all"}, 2, "", std::nullopt},
    });
}

TEST(CliAccessTest, WithoutAPermissionListTheAuditedRightsStillShow) {
    Folder folder;
    WriteBytes((folder.Path() / "a.conf").string(), kFile);
    const Outcome outcome =
        RunIn(folder, {"access", "a.conf", "--path", "/vol/bare", "--account", "LAB\\ann"});
    EXPECT_EQ(outcome.out.rfind("/vol/bare: LAB\\ann\n  no permission list: nothing is decided\n\n"
                                "  Audited ",
                                0),
              0u)
        << outcome.out;
    EXPECT_NE(
        outcome.out.find("  Take Ownership                  Success      Success     Success\n"),
        std::string::npos)
        << outcome.out;
}

TEST(CliAccessTest, Json) {
    Folder folder;
    WriteBytes((folder.Path() / "a.conf").string(), kFile);
    const Outcome one = RunIn(folder, {"access", "a.conf", "--path", "/vol/proj", "--account",
                                       "LAB\\ann", "--member-of", "LAB\\staff", "--json"});
    ASSERT_EQ(one.status, 0) << one.err;
    const auto result = nlohmann::json::parse(one.out);
    ASSERT_EQ(result.size(), 1u);
    const auto& target = result[0];
    EXPECT_EQ(target["account"], "LAB\\ann");
    EXPECT_EQ(target["member_of"], nlohmann::json::array({"LAB\\staff"}));
    EXPECT_EQ(target["permission_list"], true);
    const auto& readExecute = target["standard"][2];
    EXPECT_EQ(readExecute["name"], "Read and Execute");
    EXPECT_EQ(readExecute["subfolders"],
              nlohmann::json({{"text", "Allowed in the first level only"},
                              {"first_level", "allowed"},
                              {"deeper", "not allowed"},
                              {"entries", {3}}}));
    const auto& del = target["rights"][10];
    EXPECT_EQ(del["name"], "Delete");
    EXPECT_EQ(del["mask"], 0x10000);
    EXPECT_EQ(del["files"]["first_level"], "denied");
    EXPECT_EQ(del["files"]["entries"], nlohmann::json::array({1}));
    EXPECT_EQ(target["entries"], nlohmann::json::parse(R"J([
        {"entry": 1, "type": "Deny", "text": "(D;CIOIIO;0x10000;;;LAB\\staff)"},
        {"entry": 3, "type": "Allow", "text": "(A;NPCI;0x1200a9;;;Everyone)"}])J"));
    EXPECT_EQ(target["auditing"][10]["this_folder"]["first_level"], "failure");

    const Outcome all =
        RunIn(folder, {"access", "a.conf", "--path", "/vol/proj", "--all", "--json"});
    ASSERT_EQ(all.status, 0) << all.err;
    const auto accounts = nlohmann::json::parse(all.out)[0]["accounts"];
    ASSERT_EQ(accounts.size(), 3u);
    EXPECT_EQ(accounts[1]["account"], "LAB\\jdoe");
    EXPECT_EQ(accounts[1]["standard"][1]["files"]["text"], "Allowed");
}

TEST(CliAccessTest, SynchronizeAliasesAndSharedPaths) {
    struct AccessCase {
        const char* name;
        std::string line;
        std::vector<std::string> args; // after "access t.conf --path /vol/x"
        int status;
        std::vector<std::string> outHas;
        std::vector<std::string> outLacks;
        std::string errHas;
    };
    const std::string path = "/vol/x";
    const AccessCase cases[] = {
        {"Full Control without SYNCHRONIZE is Full Control",
         R"L(1,0,"/vol/x",0,"D:(A;CIOI;0xf01ff;;;LAB\bob)")L",
         {"--account", "LAB\\bob"},
         0,
         {"  Full Control          Allowed [1]  Allowed [1]  Allowed [1]\n"},
         {"Not allowed"},
         ""},
        {"an entry that decides SYNCHRONIZE alone is no deciding entry",
         R"L(1,0,"/vol/x",0,"D:(D;CIOI;0x1;;;LAB\bob)(A;CIOI;0x100001;;;LAB\bob)")L",
         {"--account", "LAB\\bob"},
         0,
         {"  Full Control          Denied [1]   Denied [1]   Denied [1]\n",
          "  Deciding entries:\n    1  (D;CIOI;0x1;;;LAB\\bob)\n\n"},
         {"    2  "},
         ""},
        {"--all: 0xf01ff is Full Control; a deny decides \"denied\"",
         R"L(1,0,"/vol/x",0,"D:(D;CIOI;0x1f01ff;;;LAB\guest)(A;CIOI;0xf01ff;;;LAB\bob)")L",
         {"--all"},
         0,
         {"  LAB\\guest  denied ", "  LAB\\bob    Full Control  Full Control  Full Control\n"},
         {},
         ""},
        {"a group given by its SID meets an entry by its alias",
         R"L(1,0,"/vol/x",0,"D:(A;CIOI;0x1200a9;;;BA)")L",
         {"--account", "LAB\\bob", "--member-of", "S-1-5-32-544"},
         0,
         {"  Read                  Allowed [1]  Allowed [1]  Allowed [1]\n"},
         {},
         ""},
        {"--all: one row for everybody by its three names",
         R"L(1,0,"/vol/x",0,"D:(A;CIOI;0x1200a9;;;WD)(A;CIOI;0x1200a9;;;Everyone)(A;CIOI;0x1200a9;;;S-1-1-0)")L",
         {"--all"},
         0,
         {"  WD       Read and Execute"},
         {"Everyone", "S-1-1-0"},
         ""},
        {"the anonymous account gets neither everybody's nor the authenticated users' rights",
         R"L(1,0,"/vol/x",0,"D:(A;CIOI;0x1200a9;;;Everyone)(A;CIOI;0x1301bf;;;AU)")L",
         {"--account", "AN"},
         0,
         {"  no entry applies to this account\n"},
         {"Allowed"},
         ""},
        {"an allow entry written before a deny entry: the warning check gives",
         R"L(1,0,"/vol/x",0,"D:(A;CIOI;0x1200a9;;;LAB\bob)(D;CIOI;0x10000;;;LAB\bob)")L",
         {"--account", "LAB\\bob"},
         0,
         {"    1  (D;CIOI;0x10000;;;LAB\\bob)\n"},
         {},
         "t.conf:2: warning: "},
    };
    for (const AccessCase& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        WriteBytes((folder.Path() / "t.conf").string(), Text8({"cb56f6f4", c.line}));
        std::vector<std::string> args{"access", "t.conf", "--path", path};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome outcome = RunIn(folder, args);
        EXPECT_EQ(outcome.status, c.status) << outcome.err;
        for (const std::string& has : c.outHas) {
            EXPECT_NE(outcome.out.find(has), std::string::npos) << has << "\n" << outcome.out;
        }
        for (const std::string& lacks : c.outLacks) {
            EXPECT_EQ(outcome.out.find(lacks), std::string::npos) << lacks << "\n" << outcome.out;
        }
        if (c.errHas.empty()) {
            EXPECT_EQ(outcome.err, "");
        } else {
            EXPECT_NE(outcome.err.find(c.errHas), std::string::npos) << outcome.err;
        }
    }
}

TEST(CliAccessTest, APathSharedWithAnotherStyleIsAnsweredForTheNtfsTarget) {
    Folder folder;
    WriteBytes((folder.Path() / "t.conf").string(),
               Text8({"cb56f6f4", R"L(2,0,"/vol/x",0,"D:(A;CI;0x1;;;Everyone)")L",
                      R"L(1,0,"/vol/x",0,"D:(A;CIOI;0x1200a9;;;Everyone)")L"}));
    const Outcome outcome =
        RunIn(folder, {"access", "t.conf", "--path", "/vol/x", "--account", "LAB\\bob"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("  Read                  Allowed [1]"), std::string::npos)
        << outcome.out;
    EXPECT_EQ(outcome.err, "permora-cli: t.conf: a target of another style than NTFS also has "
                           "the path /vol/x; the answer is for the NTFS target\n");
}

TEST(CliAccessTest, Help) {
    Folder folder;
    const Outcome outcome = RunIn(folder, {"access", "--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("Usage: permora-cli access"), std::string::npos) << outcome.out;
}

} // namespace
} // namespace permora::cli_test
