// permora-cli: (arguments, input files) -> (exit status, standard output, standard error,
// files afterwards).

#include "cli_support.h"
#include "permora_version.h"
#include "template_file/safe_save.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cerrno>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace permora::cli_test {
namespace {

const std::string kHeader = "cb56f6f4";
const std::string kQt1 = R"L(1,0,"/vol/vol1/qt1",0,"D:(A;CIOI;0x1200a9;;;Everyone)")L";
const std::string kVol2 =
    R"L(1,1,"/vol/vol2",0,"S:(AU;CIOISAFA;0x200a9;;;Everyone)D:P(D;CIOI;0x1f01ff;;;LAB\guest)(A;NP;0x1301bf;;;LAB\admins)(A;CIOI;0x1200a9;;;Everyone)")L";
const std::string kHome = R"L(1,0,"/vol/vol1/home",0,"D:AR(A;CIOIIO;0x1f01ff;;;LAB\admins)")L";
const std::string kFirst = R"L(1,0,"/vol/vol1/first",0,"D:(A;CIOI;0x1200a9;;;Everyone)")L";
const std::string kNfs = R"L(2,0,"/vol/vol3/nfs",0,"D:(A;CI;0x1;;;Everyone)")L";
const std::string kMwVol2 =
    R"L(1,1,"/vol/vol2",0,"S:(AU;CIOISAFA;0x200a9;;;Everyone)D:P(D;CIOI;0x1f01ff;;;LAB\guest)(A;CIOI;0x1200a9;;;Everyone)")L";

using Files = std::map<std::string, std::string>;

struct Case {
    const char* name;
    std::vector<std::string> args;
    Files inputs;
    std::string input; // standard input
    int status;
    std::optional<std::string> out; // nullopt: not compared
    std::optional<std::string> err;
    Files written = {}; // files that are new or changed afterwards; all others stay as they were
};

// UTF-16LE units turned around.
std::string BigEndian(std::string units) {
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        std::swap(units[i], units[i + 1]);
    }
    return units;
}

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        for (const auto& [name, bytes] : c.inputs) {
            WriteBytes((folder.Path() / name).string(), bytes);
        }
        const Outcome outcome = RunIn(folder, c.args, c.input);
        EXPECT_EQ(outcome.status, c.status);
        if (c.out) {
            EXPECT_EQ(outcome.out, *c.out);
        }
        if (c.err) {
            EXPECT_EQ(outcome.err, *c.err);
        }
        Files expected = c.inputs;
        for (const auto& [name, bytes] : c.written) {
            expected[name] = bytes;
        }
        EXPECT_EQ(folder.Files(), expected);
    }
}

TEST(CliTest, CommonOptionsAndWrongUsage) {
    RunCases({
        {"--version",
         {"--version"},
         {},
         {},
         0,
         std::string("permora-cli ") + PERMORA_VERSION + "\n",
         ""},
        {"no command", {}, {}, {}, 2, "", std::nullopt},
        {"unknown command", {"frobnicate"}, {}, {}, 2, "", std::nullopt},
        {"unknown option",
         {"check", "--frob", "a.conf"},
         {{"a.conf", Text8({kHeader})}},
         {},
         2,
         "",
         std::nullopt},
        {"unknown options: named in the order typed, with the option meant",
         {"show", "a.conf", "--pth", "/vol/a", "--acount=x"},
         {{"a.conf", Text8({kHeader})}},
         {},
         2,
         "",
         "The following arguments were not expected: --pth /vol/a --acount=x; --pth: did you "
         "mean --path?; --acount: did you mean --account?\nRun with --help for more "
         "information.\n"},
        {"a command without its operands",
         {"diff", "a.conf"},
         {{"a.conf", Text8({kHeader})}},
         {},
         2,
         "",
         std::nullopt},
    });
    for (const char* command :
         {"check", "show", "convert", "diff", "add", "replace-account", "grant", "deny", "audit",
          "revoke", "remove", "access", "protect", "unprotect"}) {
        SCOPED_TRACE(command);
        Folder folder;
        const Outcome outcome = RunIn(folder, {command, "--help"});
        EXPECT_EQ(outcome.status, 0);
        EXPECT_NE(outcome.out.find(std::string("Usage: permora-cli ") + command), std::string::npos)
            << outcome.out;
        const std::size_t examples = outcome.out.find("Examples:\n");
        EXPECT_NE(examples, std::string::npos) << outcome.out;
        EXPECT_NE(outcome.out.find(std::string("permora-cli ") + command + ' ', examples),
                  std::string::npos);
        EXPECT_NE(outcome.out.find("Exit status:\n  0  "), std::string::npos);
        EXPECT_NE(outcome.out.find("  3  a file could not be read or written\n"),
                  std::string::npos);
        EXPECT_EQ(outcome.err, "");
    }
}

TEST(CliTest, Check) {
    const std::string marked =
        Text8({kHeader, R"L(1,0,"/vol/a",0,"D:AI(A;CIOI;0x1200a9;;;Everyone)")L"});
    RunCases({
        {"clean files",
         {"check", "a.conf", "b.conf"},
         {{"a.conf", Fixture("example-8bit.conf")},
          {"b.conf", Fixture("main-window-bigendian.conf")}},
         {},
         0,
         "2 files checked: 6 targets read, 0 errors, 0 warnings\n",
         ""},
        {"a warning alone passes",
         {"check", "a.conf"},
         {{"a.conf", marked}},
         {},
         0,
         "a.conf:2: warning: mark AI of D: is not saved\n"
         "1 file checked: 1 target read, 0 errors, 1 warning\n",
         ""},
        {"--strict: a warning fails",
         {"check", "--strict", "a.conf"},
         {{"a.conf", marked}},
         {},
         1,
         "a.conf:2: warning: mark AI of D: is not saved\n"
         "1 file checked: 1 target read, 0 errors, 1 warning\n",
         ""},
        {"lines counted as the import sees them; every failing line of every file is reported",
         {"check", "a.conf", "b.conf"},
         {{"a.conf", "cb56f6f4\r\n\r\n" + kQt1 + "\r" + kHome +
                         "\n1,0,\"/vol/x\",0,\"D:(A;CI;zz;;;x)(A;CI;0x1;;;a b)\"\r\n" + kQt1 +
                         "\r\n1,0,\"/vol/y\",0,\"D:(X;;0x1;;;y)\"\r\n"},
          {"b.conf", Text8({kHeader, kQt1, R"L(1,0,"/vol/z",0,"D:(A;;0x1;;;LAB\john.doe)")L"})}},
         {},
         1,
         "a.conf:5: Cannot parse this Mask.: (A;CI;zz;;;x)\n"
         "a.conf:5: Invalid Account Name: \"a b\" (a blank is not allowed in the name; it takes "
         "letters, digits, - and _)\n"
         "a.conf:5:    Invalid File: the account of entry (A;CI;0x1;;;a b)\n"
         "a.conf:6: warning: the target /vol/vol1/qt1 repeats the path and level of a.conf:3 "
         "(/vol/vol1/qt1)\n"
         "a.conf:7: Wrong ace type.: (X;;0x1;;;y)\n"
         "b.conf:3: Invalid Account Name: \"LAB\\john.doe\" (a full stop is allowed in the domain "
         "part only)\n"
         "b.conf:3:    Invalid File: the account of entry (A;;0x1;;;LAB\\john.doe)\n"
         "2 files checked: 4 targets read, 6 errors, 1 warning; the editor's Import stops at "
         "the first failing line (a.conf:5, b.conf:3)\n",
         ""},
        {"standard input",
         {"check", "-"},
         {},
         marked,
         0,
         "<stdin>:2: warning: mark AI of D: is not saved\n"
         "1 file checked: 1 target read, 0 errors, 1 warning\n",
         ""},
        {"a file that cannot be read is reported, the others still checked",
         {"check", "none.conf", "a.conf"},
         {{"a.conf", marked}},
         {},
         3,
         "a.conf:2: warning: mark AI of D: is not saved\n"
         "2 files checked: 1 target read, 0 errors, 1 warning; none.conf: cannot read the file: "
         "No such file or directory\n",
         "permora-cli: none.conf: cannot read the file: No such file or directory\n"},
    });
}

TEST(CliTest, Show) {
    const std::string example = Fixture("example-8bit.conf");
    RunCases({
        {"text",
         {"show", "t.conf"},
         {{"t.conf", example}},
         {},
         0,
         "/vol/vol1/qt1\n"
         "  style NTFS, level File/Directory, mode 0\n"
         "  permissions (D:):\n"
         "    Allow  Everyone  Read and Execute  This folder, subfolders and files  0x1200a9  "
         "0x03\n"
         "\n"
         "/vol/vol2\n"
         "  style NTFS, level Storage, mode 0\n"
         "  auditing (S:):\n"
         "    All    Everyone    Read and Execute  This folder, subfolders and files  0x200a9   "
         "0xc3\n"
         "  permissions (D:P):\n"
         "    Deny   LAB\\guest   Full Control      This folder, subfolders and files  0x1f01ff  "
         "0x03\n"
         "    Allow  LAB\\admins  Modify            This folder only                   0x1301bf  "
         "0x04\n"
         "    Allow  Everyone    Read and Execute  This folder, subfolders and files  0x1200a9  "
         "0x03\n"
         "\n"
         "/vol/vol1/home\n"
         "  style NTFS, level File/Directory, mode 0\n"
         "  permissions (D:AR):\n"
         "    Allow  LAB\\admins  Full Control  Subfolders and files only  0x1f01ff  0x0b\n",
         ""},
        {"one path as JSON",
         {"show", "t.conf", "--json", "--path", "/vol/vol1/home"},
         {{"t.conf", example}},
         {},
         0,
         R"J([
  {
    "path": "/vol/vol1/home",
    "style": 1,
    "style_name": "NTFS",
    "level": 0,
    "level_name": "File/Directory",
    "mode": 0,
    "control": 260,
    "line": "1,0,\"/vol/vol1/home\",0,\"D:AR(A;CIOIIO;0x1f01ff;;;LAB\\admins)\"",
    "sddl": "D:AR(A;CIOIIO;0x1f01ff;;;LAB\\admins)",
    "auditing": null,
    "permissions": {
      "protected": false,
      "inherit_request": true,
      "auto_inherited": false,
      "entries": [
        {
          "type": "Allow",
          "account": "LAB\\admins",
          "permission": "Full Control",
          "apply_to": "Subfolders and files only",
          "mask": 2032127,
          "flags": 11
        }
      ]
    }
  }
]
)J",
         ""},
        {"other styles, unnamed levels, audit entries that audit nothing, empty lists",
         {"show", "t.conf"},
         {{"t.conf", Text8({kHeader, kNfs, R"L(1,7,"a",0,"S:(AU;CI;0x1;;;x)D:AI")L",
                            R"L(1,0,"b",0,"S:P(AU;OIIOFA;0x3;;;y)")L"})}},
         {},
         0,
         "/vol/vol3/nfs\n"
         "  style NFSV3 ACL, level File/Directory, mode 0\n"
         "  ACL text: D:(A;CI;0x1;;;Everyone)\n"
         "  permissions (D:):\n"
         "    Allow  Everyone  List folder/Read data  This folder and subfolders  0x1  0x02\n"
         "\n"
         "a\n"
         "  style NTFS, level 7, mode 0\n"
         "  auditing (S:):\n"
         "    None  x  List folder/Read data  This folder and subfolders  0x1  0x02\n"
         "  permissions (D:AI): no entries\n"
         "\n"
         "b\n"
         "  style NTFS, level File/Directory, mode 0\n"
         "  auditing (S:P):\n"
         "    Fail  y  Special  Files only  0x3  0x89\n",
         ""},
        {"a path that no target has",
         {"show", "t.conf", "--path", "/vol/none"},
         {{"t.conf", example}},
         {},
         2,
         "",
         "permora-cli: t.conf: no target has the path /vol/none\n"},
        {"a file with errors shows nothing",
         {"show", "t.conf"},
         {{"t.conf", Text8({kHeader, R"L(1,0,"/home/x",0,"D:(A;CI;0x1;;;x)")L"})}},
         {},
         1,
         "",
         "t.conf:2: Invalid File Path: \"/home/x\" (a path from the root must begin with /vol/)\n"
         "t.conf:2:    Invalid File: the path \"/home/x\"\n"},
        {"a file that is not there",
         {"show", "none.conf"},
         {},
         {},
         3,
         "",
         "permora-cli: none.conf: cannot read the file: No such file or directory\n"},
    });
}

TEST(CliTest, Convert) {
    const std::string other =
        Text16({kHeader, R"L(1,0,"/vol/x",0,"D:(A;OICI;0x1f01ff;;;bob)(A;CIOI;0x1;;;BOB)")L"});
    const std::string otherRead = R"L(1,0,"/vol/x",0,"D:(A;CIOI;0x1f01ff;;;bob)")L";
    // What the save does not keep is said, as check says it.
    const std::string otherWarning =
        "b.conf:2: warning: entry (A;CIOI;0x1;;;BOB) is merged into an earlier entry of BOB\n";
    const std::string failing = Fixture("main-window-third-line-fails.conf");
    const std::string failingErrors =
        "f.conf:3: Cannot parse this Mask.: (A;CI;zz;;;Everyone)\n"
        "f.conf:3: Invalid Account Name: \"LAB\\ops\\night\" (only one "
        "backslash may stand between domain and name)\n"
        "f.conf:3:    Invalid File: the account of entry (A;CI;0x1;;;LAB\\ops\\night)\n";
    RunCases({
        {"two inputs in order, UTF-16LE by default",
         {"convert", "a.conf", "b.conf", "-o", "out.conf"},
         {{"a.conf", Fixture("example-8bit.conf")}, {"b.conf", other}},
         {},
         0,
         "",
         otherWarning,
         {{"out.conf", Text16({kHeader, kQt1, kVol2, kHome, otherRead})}}},
        {"8-bit, over an existing file; other styles keep their line",
         {"convert", "b.conf", "--8bit", "--output", "a.conf"},
         {{"a.conf", Fixture("main-window-unicode.conf")},
          {"b.conf", Fixture("main-window-bigendian.conf")}},
         {},
         0,
         "",
         "",
         {{"a.conf", Text8({kHeader, kQt1, kMwVol2, kNfs})}}},
        {"from standard input",
         {"convert", "-", "--8bit", "-o", "out.conf"},
         {},
         Fixture("example-unicode.conf"),
         0,
         "",
         "",
         {{"out.conf", Fixture("example-8bit.conf")}}},
        {"an input with errors: nothing written",
         {"convert", "a.conf", "f.conf", "-o", "out.conf"},
         {{"a.conf", Fixture("example-8bit.conf")}, {"f.conf", failing}},
         {},
         1,
         "",
         failingErrors + "permora-cli: f.conf: the file has errors; nothing was written\n"},
        {"--keep-going keeps what came before the failing line and goes on",
         {"convert", "--keep-going", "f.conf", "b.conf", "-o", "out.conf", "--utf16"},
         {{"f.conf", failing}, {"b.conf", other}},
         {},
         1,
         "",
         failingErrors + otherWarning,
         {{"out.conf", Text16({kHeader, kFirst, otherRead})}}},
        {"the output is one of the inputs: read whole before it is replaced",
         {"convert", "a.conf", "b.conf", "-o", "a.conf"},
         {{"a.conf", Fixture("example-8bit.conf")}, {"b.conf", other}},
         {},
         0,
         "",
         otherWarning,
         {{"a.conf", Text16({kHeader, kQt1, kVol2, kHome, otherRead})}}},
        {"an input with errors after good ones: an existing output stays as it was",
         {"convert", "a.conf", "f.conf", "-o", "out.conf"},
         {{"a.conf", Fixture("example-8bit.conf")},
          {"f.conf", failing},
          {"out.conf", Text8({kHeader, kQt1})}},
         {},
         1,
         "",
         failingErrors + "permora-cli: f.conf: the file has errors; nothing was written\n"},
        {"an input that is not there: nothing written",
         {"convert", "--keep-going", "a.conf", "none.conf", "-o", "out.conf"},
         {{"a.conf", Fixture("example-8bit.conf")}},
         {},
         3,
         "",
         "permora-cli: none.conf: cannot read the file: No such file or directory; nothing was "
         "written\n"},
        {"an output that cannot be written",
         {"convert", "a.conf", "-o", "no/such/out.conf"},
         {{"a.conf", Fixture("example-8bit.conf")}},
         {},
         3,
         "",
         "permora-cli: no/such/out.conf: cannot create the file: No such file or directory; "
         "nothing was written\n"},
        {"one encoding only",
         {"convert", "a.conf", "-o", "o.conf", "--utf16", "--8bit"},
         {{"a.conf", Text8({kHeader})}},
         {},
         2,
         "",
         std::nullopt},
        {"an output is required",
         {"convert", "a.conf"},
         {{"a.conf", Text8({kHeader})}},
         {},
         2,
         "",
         std::nullopt},
    });
}

TEST(CliTest, Diff) {
    const std::string a = Text8({kHeader, kQt1, kVol2, kHome, kQt1});
    const std::string b = Text16(
        {kHeader, R"L(1,0,"/vol/vol1/qt1",0,"D:(A;CIOI;0x1200a9;;;EVERYONE)")L",
         R"L(1,0,"/vol/vol2",0,"S:(AU;CIOISAFA;0x200a9;;;Everyone)D:(A;NP;0x1301bf;;;LAB\admins)(A;CIOI;0x1f01ff;;;Everyone)(A;CI;0x1;;;bob)")L",
         R"L(1,0,"/vol/new",0,"D:(A;CIOI;0x1200a9;;;Everyone)")L"});
    RunCases({
        {"equal, encodings and account letter case aside",
         {"diff", "a.conf", "b.conf"},
         {{"a.conf", Fixture("example-8bit.conf")},
          {"b.conf",
           Text16({kHeader, kQt1, kVol2,
                   R"L(1,0,"/vol/vol1/home",0,"D:AR(A;CIOIIO;0x1f01ff;;;lab\ADMINS)")L"})}},
         {},
         0,
         "",
         ""},
        {"differences as text",
         {"diff", "a.conf", "b.conf"},
         {{"a.conf", a}, {"b.conf", b}},
         {},
         1,
         "--- a.conf\n"
         "+++ b.conf\n"
         "~ /vol/vol2\n"
         "    level: Storage -> File/Directory\n"
         "    marks: S: D:P -> S: D:\n"
         "    - (D;CIOI;0x1f01ff;;;LAB\\guest)\n"
         "    ~ (A;CIOI;0x1200a9;;;Everyone) -> (A;CIOI;0x1f01ff;;;Everyone)\n"
         "    + (A;CI;0x1;;;bob)\n"
         "- /vol/vol1/home\n"
         "- /vol/vol1/qt1 #2\n"
         "+ /vol/new\n"
         "2 targets only in a.conf, 1 only in b.conf, 1 changed\n",
         ""},
        {"differences as JSON",
         {"diff", "--json", "a.conf", "b.conf"},
         {{"a.conf", Text8({kHeader, kHome, kQt1})},
          {"b.conf",
           Text8({kHeader, R"L(2,0,"/vol/vol1/home",3,"D:AR(A;CIOIIO;0x1f01ff;;;LAB\admins)")L"})}},
         {},
         1,
         R"({
  "equal": false,
  "only_in_a": [
    {
      "path": "/vol/vol1/qt1",
      "occurrence": 1,
      "index": 1
    }
  ],
  "only_in_b": [],
  "changed": [
    {
      "path": "/vol/vol1/home",
      "occurrence": 1,
      "index_a": 0,
      "index_b": 0,
      "style": {
        "a": 1,
        "b": 2
      },
      "mode": {
        "a": 0,
        "b": 3
      },
      "entries": []
    }
  ]
}
)",
         ""},
        {"JSON of equal templates",
         {"diff", "--json", "a.conf", "a.conf"},
         {{"a.conf", a}},
         {},
         0,
         "{\n  \"equal\": true,\n  \"only_in_a\": [],\n  \"only_in_b\": [],\n  \"changed\": "
         "[]\n}\n",
         ""},
        {"an input with a reader error compares nothing",
         {"diff", "a.conf", "f.conf"},
         {{"a.conf", a}, {"f.conf", Text8({kHeader, R"L(1,0,"/vol/x",0,"D:(A;CI;zz;;;x)")L"})}},
         {},
         3,
         "",
         "f.conf:2: Cannot parse this Mask.: (A;CI;zz;;;x)\n"
         "permora-cli: f.conf: the file has errors; nothing was compared\n"},
        {"targets in another order are moves, with both positions",
         {"diff", "a.conf", "b.conf"},
         {{"a.conf", Text8({kHeader, kQt1, kVol2, kHome})},
          {"b.conf", Text8({kHeader, kVol2, kHome, kQt1})}},
         {},
         1,
         "--- a.conf\n"
         "+++ b.conf\n"
         "~ /vol/vol1/qt1\n"
         "    moved: position 1 -> 3\n"
         "0 targets only in a.conf, 0 only in b.conf, 0 changed, 1 moved\n",
         ""},
        {"lines of other styles whose text differs",
         {"diff", "--json", "a.conf", "b.conf"},
         {{"a.conf", Text8({kHeader, kNfs, kQt1})},
          {"b.conf",
           Text8({kHeader, kQt1, R"L(2,0,"/vol/vol3/nfs",0,"D:(A;CI;0x3;;;Everyone)")L"})}},
         {},
         1,
         R"J({
  "equal": false,
  "only_in_a": [],
  "only_in_b": [],
  "changed": [
    {
      "path": "/vol/vol3/nfs",
      "occurrence": 1,
      "index_a": 0,
      "index_b": 1,
      "moved": true,
      "line": {
        "a": "2,0,\"/vol/vol3/nfs\",0,\"D:(A;CI;0x1;;;Everyone)\"",
        "b": "2,0,\"/vol/vol3/nfs\",0,\"D:(A;CI;0x3;;;Everyone)\""
      },
      "entries": []
    }
  ]
}
)J",
         ""},
        {"entries of each list, named by their list",
         {"diff", "--json", "a.conf", "b.conf"},
         {{"a.conf", Text8({kHeader, kVol2})},
          {"b.conf",
           Text8(
               {kHeader,
                R"L(1,1,"/vol/vol2",0,"S:(AU;CIOISAFA;0x200a9;;;Everyone)(AU;CIOIFA;0x1;;;zed)D:P(A;NP;0x1301bf;;;LAB\admins)(A;CIOI;0x1f01ff;;;Everyone)")L"})}},
         {},
         1,
         R"J({
  "equal": false,
  "only_in_a": [],
  "only_in_b": [],
  "changed": [
    {
      "path": "/vol/vol2",
      "occurrence": 1,
      "index_a": 0,
      "index_b": 0,
      "entries": [
        {
          "change": "added",
          "list": "Audit",
          "rank": 1,
          "a": null,
          "b": {
            "account": "zed",
            "flags": 131,
            "mask": 1
          }
        },
        {
          "change": "removed",
          "list": "Deny",
          "rank": 1,
          "a": {
            "account": "LAB\\guest",
            "flags": 3,
            "mask": 2032127
          },
          "b": null
        },
        {
          "change": "changed",
          "list": "Allow",
          "rank": 1,
          "a": {
            "account": "Everyone",
            "flags": 3,
            "mask": 1179817
          },
          "b": {
            "account": "Everyone",
            "flags": 3,
            "mask": 2032127
          }
        }
      ]
    }
  ]
}
)J",
         ""},
        {"standard input twice",
         {"diff", "-", "/dev/stdin"},
         {},
         Text8({kHeader}),
         2,
         "",
         "permora-cli: standard input can be only one of the two templates\n"},
        {"an input that is not there",
         {"diff", "none.conf", "a.conf"},
         {{"a.conf", a}},
         {},
         3,
         "",
         "permora-cli: none.conf: cannot read the file: No such file or directory\n"},
    });
}

TEST(CliTest, Add) {
    const std::string example8 = Fixture("example-8bit.conf");
    const std::string newTarget = R"L(1,0,"/vol/a",0,"D:(A;CIOI;0x1200a9;;;Everyone)")L";
    RunCases({
        {"a new template from standard input, trimmed, comments and blank lines passed over",
         {"add", "new.conf", "--paths", "-"},
         {},
         "# homes\r\n  /vol/a\t\r\n\r\nvol/b\r\n/vol/a\r\n",
         0,
         "added 2 targets, skipped 1 already present\n",
         "",
         {{"new.conf",
           Text16({kHeader, newTarget, R"L(1,0,"vol/b",0,"D:(A;CIOI;0x1200a9;;;Everyone)")L"})}}},
        {"an 8-bit template stays 8-bit; --like copies a descriptor exactly; --level",
         {"add", "t.conf", "--paths", "list", "--like", "/vol/vol2", "--level", "1"},
         {{"t.conf", example8}, {"list", "/vol/vol1/qt1\n/vol/c\n"}},
         {},
         0,
         "added 1 target, skipped 1 already present\n",
         "",
         {{"t.conf",
           Text8(
               {kHeader, kQt1, kVol2, kHome,
                R"L(1,1,"/vol/c",0,"S:(AU;CIOISAFA;0x200a9;;;Everyone)D:P(D;CIOI;0x1f01ff;;;LAB\guest)(A;NP;0x1301bf;;;LAB\admins)(A;CIOI;0x1200a9;;;Everyone)")L"})}}},
        {"a Unicode template stays Unicode; --sddl is read as a line's descriptor",
         {"add", "t.conf", "--paths", "list", "--sddl", "D:PAR(A;OICI;0x1f01ff;;;LAB\\ops)",
          "--output", "o.conf"},
         {{"t.conf", Fixture("example-unicode.conf")}, {"list", "/vol/c"}},
         {},
         0,
         "added 1 target, skipped 0 already present\n",
         "",
         {{"o.conf", Text16({kHeader, kQt1, kVol2, kHome,
                             R"L(1,0,"/vol/c",0,"D:PAR(A;CIOI;0x1f01ff;;;LAB\ops)")L"})}}},
        {"nothing to add leaves an existing template as it is",
         {"add", "t.conf", "--paths", "list"},
         {{"t.conf", Text8({kHeader, R"L(1,0,"/vol/a",0,"D:AI(A;CIOI;0x1200a9;;;Everyone)")L"})},
          {"list", "/vol/a\n"}},
         {},
         0,
         "added 0 targets, skipped 1 already present\n",
         ""},
        {"invalid paths: every one reported, nothing written",
         {"add", "t.conf", "--paths", "list"},
         {{"t.conf", example8}, {"list", "/vol/ok\n/home/x\n\n/vol/a b\n"}},
         {},
         1,
         "",
         "list:2: Invalid File Path: \"/home/x\" (a path from the root must begin with /vol/)\n"
         "list:4: Invalid File Path: \"/vol/a b\" (a blank is not allowed; a path takes letters, "
         "digits and . _ - { } /)\n"
         "permora-cli: 2 invalid paths; nothing was written\n"},
        {"--like a path that no target has",
         {"add", "t.conf", "--paths", "list", "--like", "/x"},
         {{"t.conf", example8}, {"list", "/vol/c\n"}},
         {},
         2,
         "",
         "permora-cli: --like: no target has the path /x\n"},
        {"--like a target of another style",
         {"add", "t.conf", "--paths", "list", "--like", "/vol/vol3/nfs"},
         {{"t.conf", Fixture("main-window-8bit.conf")}, {"list", "/vol/c\n"}},
         {},
         2,
         "",
         "permora-cli: --like: the target /vol/vol3/nfs is not an NTFS target\n"},
        {"--sddl that the reader rejects",
         {"add", "t.conf", "--paths", "list", "--sddl", "D:(X;;0x1;;;a)"},
         {{"list", "/vol/c\n"}},
         {},
         2,
         "",
         "--sddl: Wrong ace type.: (X;;0x1;;;a)\npermora-cli: --sddl: the descriptor cannot be "
         "read\n"},
        {"--like and --sddl together",
         {"add", "t.conf", "--paths", "list", "--like", "/vol/vol2", "--sddl", "D:(A;CI;0x1;;;a)"},
         {{"t.conf", example8}, {"list", "/vol/c\n"}},
         {},
         2,
         "",
         std::nullopt},
        {"a level other than 0 and 1",
         {"add", "t.conf", "--paths", "list", "--level", "2"},
         {{"t.conf", example8}, {"list", "/vol/c\n"}},
         {},
         2,
         "",
         std::nullopt},
        {"a template with errors is not changed",
         {"add", "f.conf", "--paths", "list"},
         {{"f.conf", Fixture("main-window-third-line-fails.conf")}, {"list", "/vol/c\n"}},
         {},
         1,
         "",
         "f.conf:3: Cannot parse this Mask.: (A;CI;zz;;;Everyone)\nf.conf:3: Invalid Account Name: "
         "\"LAB\\ops\\night\" (only one backslash may stand between domain and name)\nf.conf:3:    "
         "Invalid File: the account of entry (A;CI;0x1;;;LAB\\ops\\night)\npermora-cli: f.conf: "
         "the file has errors; nothing was written\n"},
        {"per-path accounts: each copy has the stand-in replaced, merging as replace-account does",
         {"add", "t.conf", "--paths", "list", "--sddl",
          "D:(A;CIOI;0x1f01ff;;;LAB\\admins)(A;CIOI;0x1301bf;;;STANDIN)", "--for", "standin",
          "--account", "LAB\\{name}"},
         {{"t.conf", Text8({kHeader})},
          {"list", "/vol/home/bob\n/vol/home/ann\tLAB\\ann-x\n/vol/home/admins/\n"}},
         {},
         0,
         "added 3 targets, skipped 0 already present\n",
         "",
         {{"t.conf",
           Text8(
               {kHeader,
                R"L(1,0,"/vol/home/bob",0,"D:(A;CIOI;0x1f01ff;;;LAB\admins)(A;CIOI;0x1301bf;;;LAB\bob)")L",
                R"L(1,0,"/vol/home/ann",0,"D:(A;CIOI;0x1f01ff;;;LAB\admins)(A;CIOI;0x1301bf;;;LAB\ann-x)")L",
                R"L(1,0,"/vol/home/admins/",0,"D:(A;CIOI;0x1f01ff;;;LAB\admins)")L"})}}},
        {"accounts that break the rule are listed by line with the paths; nothing is written",
         {"add", "t.conf", "--paths", "list", "--for", "Everyone", "--account", "{name}.x"},
         {{"t.conf", Text8({kHeader})}, {"list", "/vol/a\tLAB\\john.doe\n/home/x\n/vol/b\n"}},
         {},
         1,
         "",
         "list:1: Invalid Account Name: \"LAB\\john.doe\" (a full stop is allowed in the domain "
         "part only)\n"
         "list:2: Invalid File Path: \"/home/x\" (a path from the root must begin with /vol/)\n"
         "list:3: Invalid Account Name: \"b.x\" (a full stop is allowed in the domain part "
         "only)\n"
         "permora-cli: 3 invalid lines; nothing was written\n"},
        {"--for: a line without an account and no --account",
         {"add", "t.conf", "--paths", "list", "--for", "Everyone"},
         {{"t.conf", Text8({kHeader})}, {"list", "/vol/a\tbob\n/vol/b\n"}},
         {},
         1,
         "",
         "list:2: no account for /vol/b (give one after a tab, or --account)\n"
         "permora-cli: 1 invalid line; nothing was written\n"},
        {"accounts beside the paths without --for",
         {"add", "t.conf", "--paths", "list"},
         {{"t.conf", Text8({kHeader})}, {"list", "/vol/a\tbob\n"}},
         {},
         2,
         "",
         "permora-cli: list: accounts beside the paths need --for, the stand-in account to "
         "replace\n"},
        {"--for an account the descriptor does not have",
         {"add", "t.conf", "--paths", "list", "--for", "bob"},
         {{"t.conf", Text8({kHeader})}, {"list", "/vol/a\tbob\n"}},
         {},
         2,
         "",
         "permora-cli: --for: the descriptor has no entry of bob\n"},
        {"--account without --for",
         {"add", "t.conf", "--paths", "list", "--account", "{name}"},
         {{"t.conf", Text8({kHeader})}, {"list", "/vol/a\n"}},
         {},
         2,
         "",
         "permora-cli: --account: needs --for, the stand-in account to replace\n"},
        {"a list that is not there",
         {"add", "t.conf", "--paths", "none"},
         {{"t.conf", example8}},
         {},
         3,
         "",
         "permora-cli: none: cannot read the list of paths: No such file or directory\n"},
    });
}

TEST(CliTest, StreamsAndUsage) {
    const std::string example8 = Fixture("example-8bit.conf");
    const std::string qt1Only = Text8({kHeader, kQt1});
    RunCases({
        {"convert -o - writes the file to standard output",
         {"convert", "a.conf", "-o", "-", "--8bit"},
         {{"a.conf", Fixture("example-unicode.conf")}},
         {},
         0,
         example8,
         ""},
        {"convert -o - of an input with errors writes nothing",
         {"convert", "a.conf", "f.conf", "-o", "-"},
         {{"a.conf", example8}, {"f.conf", Text8({kHeader, R"L(1,0,"/home",0,"")L"})}},
         {},
         1,
         "",
         "f.conf:2: Invalid File Path: \"/home\" (a path from the root must begin with /vol/)\n"
         "f.conf:2:    Invalid File: the path \"/home\"\n"
         "permora-cli: f.conf: the file has errors; nothing was written\n"},
        {"/dev/stdin reads standard input",
         {"convert", "/dev/stdin", "--8bit", "-o", "/dev/stdout"},
         {},
         Fixture("example-unicode.conf"),
         0,
         example8,
         ""},
        {"add --output -: the template on standard output, the summary on standard error",
         {"add", "t.conf", "--paths", "-", "--output", "-"},
         {{"t.conf", Text8({kHeader})}},
         "/vol/vol1/qt1\n",
         0,
         qt1Only,
         "added 1 target, skipped 0 already present\n"},
        {"replace-account --output -",
         {"replace-account", "t.conf", "everyone", "LAB\\all", "--output", "-"},
         {{"t.conf", qt1Only}},
         {},
         0,
         Text8({kHeader, R"L(1,0,"/vol/vol1/qt1",0,"D:(A;CIOI;0x1200a9;;;LAB\all))L"
                         "\""}),
         "1 entry in 1 target changed\n"},
        {"a UTF-16 list of paths is decoded as a template is; lines keep their numbers",
         {"add", "t.conf", "--paths", "list"},
         {{"t.conf", Text8({kHeader})}, {"list", Text16({"/vol/a", "", "/home/x", "/vol/b c"})}},
         {},
         1,
         "",
         "list:3: Invalid File Path: \"/home/x\" (a path from the root must begin with /vol/)\n"
         "list:4: Invalid File Path: \"/vol/b c\" (a blank is not allowed; a path takes letters, "
         "digits and . _ - { } /)\n"
         "permora-cli: 2 invalid paths; nothing was written\n"},
        {"a UTF-16 list of paths, big-endian",
         {"add", "t.conf", "--paths", "-"},
         {{"t.conf", Text8({kHeader})}},
         "\xFE\xFF" + BigEndian(test::Widen("/vol/vol1/qt1\r\n")),
         0,
         "added 1 target, skipped 0 already present\n",
         "",
         {{"t.conf", qt1Only}}},
    });
    const struct {
        const char* word;
        const char* err;
    } mistyped[] = {
        {"chek", "permora-cli: chek is not a command; did you mean check?\n"},
        {"shwo", "permora-cli: shwo is not a command; did you mean show?\n"},
        {"replace", "permora-cli: replace is not a command; did you mean replace-account?\n"},
        {"frobnicate", "permora-cli: frobnicate is not a command\n"},
    };
    for (const auto& c : mistyped) {
        SCOPED_TRACE(c.word);
        Folder folder;
        const Outcome outcome = RunIn(folder, {c.word, "a.conf"});
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, std::string(c.err) + "Run with --help for more information.\n");
    }
}

TEST(CliTest, ShowQueries) {
    const std::string tmpl = Text8(
        {kHeader, kQt1, R"L(1,0,"/vol/home/bob",0,"D:(A;;0x1f01ff;;;LAB\bob)(A;NPCI;0x1;;;x)")L",
         R"L(1,0,"/vol/home/ann",0,"S:(AU;IOSA;0x1;;;LAB\BOB)D:(A;NPCIOI;0x1200a9;;;LAB\ann)")L",
         kNfs});
    RunCases({
        {"--format line prints each target's line, other styles as they were read",
         {"show", "t.conf", "--format", "line"},
         {{"t.conf", tmpl}},
         {},
         0,
         kQt1 + "\n" + R"L(1,0,"/vol/home/bob",0,"D:(A;;0x1f01ff;;;LAB\bob)(A;NPCI;0x1;;;x)")L" +
             "\n" +
             R"L(1,0,"/vol/home/ann",0,"S:(AU;IOSA;0x1;;;LAB\BOB)D:(A;NPCIOI;0x1200a9;;;LAB\ann)")L" +
             "\n" + kNfs + "\n",
         ""},
        {"--path patterns, repeated",
         {"show", "t.conf", "--format", "line", "--path", "/vol/home/a*", "--path", "*qt1"},
         {{"t.conf", tmpl}},
         {},
         0,
         kQt1 + "\n" +
             R"L(1,0,"/vol/home/ann",0,"S:(AU;IOSA;0x1;;;LAB\BOB)D:(A;NPCIOI;0x1200a9;;;LAB\ann)")L" +
             "\n",
         ""},
        {"--account: targets with an entry of it in any list, any letter case",
         {"show", "t.conf", "--account", "lab\\bob", "--path", "/vol/home/*"},
         {{"t.conf", tmpl}},
         {},
         0,
         "/vol/home/bob\n"
         "  style NTFS, level File/Directory, mode 0\n"
         "  permissions (D:):\n"
         "    Allow  LAB\\bob  Full Control           This folder only                       "
         "0x1f01ff  0x00\n"
         "    Allow  x        List folder/Read data  This folder and subfolders, one level  0x1"
         "       0x06\n"
         "\n"
         "/vol/home/ann\n"
         "  style NTFS, level File/Directory, mode 0\n"
         "  auditing (S:):\n"
         "    Success  LAB\\BOB  List folder/Read data  No folder or file                   "
         "          0x1       0x48\n"
         "  permissions (D:):\n"
         "    Allow    LAB\\ann  Read and Execute       This folder, subfolders and files, one "
         "level  0x1200a9  0x07\n",
         ""},
        {"nothing matches the patterns and the account",
         {"show", "t.conf", "--path", "/vol/a", "--path", "/vol/b", "--account", "bob"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         "permora-cli: t.conf: no target has the path /vol/a or /vol/b with an entry of bob\n"},
        {"--json and --format together",
         {"show", "t.conf", "--json", "--format", "line"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         std::nullopt},
        {"an unknown format",
         {"show", "t.conf", "--format", "xml"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         std::nullopt},
    });
    Folder folder;
    WriteBytes((folder.Path() / "t.conf").string(), tmpl);
    const Outcome json = RunIn(folder, {"show", "t.conf", "--format", "json", "--account", "x"});
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(
        json.out.find(
            R"J("line": "1,0,\"/vol/home/bob\",0,\"D:(A;;0x1f01ff;;;LAB\\bob)(A;NPCI;0x1;;;x)\"",)J"),
        std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find(R"J("sddl": "D:(A;;0x1f01ff;;;LAB\\bob)(A;NPCI;0x1;;;x)",)J"),
              std::string::npos);
    EXPECT_NE(json.out.find(R"("apply_to": "This folder and subfolders, one level",)"),
              std::string::npos);
}

TEST(CliTest, ReplaceAccount) {
    const std::string tmpl = Text8(
        {kHeader,
         R"L(1,0,"/vol/home/a",0,"S:(AU;CIOISA;0x1;;;bob)D:(A;CIOI;0x1200a9;;;BOB)(A;CIOI;0x1f01ff;;;alice)")L",
         R"L(1,0,"/vol/proj/b",0,"D:(D;CI;0x10000;;;bob)(A;CI;0x1;;;x)")L", kNfs});
    RunCases({
        {"every target; renamed entries merge with the new name's",
         {"replace-account", "t.conf", "Bob", "alice"},
         {{"t.conf", tmpl}},
         {},
         0,
         "3 entries in 2 targets changed\n",
         "",
         {{"t.conf",
           Text8({kHeader,
                  R"L(1,0,"/vol/home/a",0,"S:(AU;CIOISA;0x1;;;alice)D:(A;CIOI;0x1f01ff;;;alice)")L",
                  R"L(1,0,"/vol/proj/b",0,"D:(D;CI;0x10000;;;alice)(A;CI;0x1;;;x)")L", kNfs})}}},
        {"targets of other styles are neither changed nor counted",
         {"replace-account", "t.conf", "everyone", "LAB\\all"},
         {{"t.conf", Fixture("main-window-unicode.conf")}},
         {},
         0,
         "3 entries in 2 targets changed\n",
         "",
         {{"t.conf",
           Text16(
               {kHeader, R"L(1,0,"/vol/vol1/qt1",0,"D:(A;CIOI;0x1200a9;;;LAB\all)")L",
                R"L(1,1,"/vol/vol2",0,"S:(AU;CIOISAFA;0x200a9;;;LAB\all)D:P(D;CIOI;0x1f01ff;;;LAB\guest)(A;CIOI;0x1200a9;;;LAB\all)")L",
                kNfs})}}},
        {"--path chooses targets by pattern; --output writes elsewhere",
         {"replace-account", "t.conf", "bob", "carol", "--path", "/vol/proj/*", "--output",
          "o.conf"},
         {{"t.conf", tmpl}},
         {},
         0,
         "1 entry in 1 target changed\n",
         "",
         {{"o.conf",
           Text8(
               {kHeader,
                R"L(1,0,"/vol/home/a",0,"S:(AU;CIOISA;0x1;;;bob)D:(A;CIOI;0x1200a9;;;BOB)(A;CIOI;0x1f01ff;;;alice)")L",
                R"L(1,0,"/vol/proj/b",0,"D:(D;CI;0x10000;;;carol)(A;CI;0x1;;;x)")L", kNfs})}}},
        {"--dry-run writes nothing",
         {"replace-account", "t.conf", "bob", "carol", "--dry-run"},
         {{"t.conf", tmpl}},
         {},
         0,
         "- "
         R"L(1,0,"/vol/home/a",0,"S:(AU;CIOISA;0x1;;;bob)D:(A;CIOI;0x1200a9;;;BOB)(A;CIOI;0x1f01ff;;;alice)")L"
         "\n+ "
         R"L(1,0,"/vol/home/a",0,"S:(AU;CIOISA;0x1;;;carol)D:(A;CIOI;0x1f01ff;;;alice)(A;CIOI;0x1200a9;;;carol)")L"
         "\n- "
         R"L(1,0,"/vol/proj/b",0,"D:(D;CI;0x10000;;;bob)(A;CI;0x1;;;x)")L"
         "\n+ "
         R"L(1,0,"/vol/proj/b",0,"D:(D;CI;0x10000;;;carol)(A;CI;0x1;;;x)")L"
         "\n3 entries in 2 targets would change\n",
         ""},
        {"no entry of the account: wrong usage, the file is left as it is",
         {"replace-account", "t.conf", "nobody", "carol"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         "permora-cli: t.conf: no target has an entry of nobody\n"},
        {"a --path that no target has",
         {"replace-account", "t.conf", "bob", "carol", "--path", "/vol/none/*"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         "permora-cli: t.conf: no target has the path /vol/none/*\n"},
        {"a --path whose targets hold no entry of the account",
         {"replace-account", "t.conf", "alice", "carol", "--path", "/vol/proj/*"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         "permora-cli: t.conf: no target has the path /vol/proj/* with an entry of alice\n"},
        {"the new name must be a valid account name",
         {"replace-account", "t.conf", "bob", "LAB\\a\\b"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         "permora-cli: Invalid Account Name: \"LAB\\a\\b\" (only one backslash may stand between "
         "domain and name)\n"},
        {"a template that is not there",
         {"replace-account", "none.conf", "bob", "carol"},
         {},
         {},
         3,
         "",
         "permora-cli: none.conf: cannot read the file: No such file or directory\n"},
    });
}

TEST(CliTest, EntryCommands) {
    const std::string bob = R"L(1,0,"/vol/home/bob",0,"D:(A;CIOI;0x1200a9;;;Everyone)")L";
    const std::string ann =
        R"L(1,0,"/vol/home/ann",0,"S:(AU;CIOISA;0x1;;;LAB\bob)D:(D;CIOI;0x10000;;;lab\bob)(A;CIOI;0x1200a9;;;LAB\bob)")L";
    const std::string proj = R"L(1,0,"/vol/proj",0,"")L";
    const std::string tmpl = Text8({kHeader, bob, ann, proj, kNfs});
    const auto with = [&](const std::string& newBob, const std::string& newAnn,
                          const std::string& newProj) {
        return Text8({kHeader, newBob, newAnn, newProj, kNfs});
    };
    const std::string usage = "permora-cli: ";
    RunCases({
        {"grant a standard permission: the Allow box's mask, merged as the editor merges",
         {"grant", "t.conf", "LAB\\bob", "Modify", "--path", "/vol/home/*"},
         {{"t.conf", tmpl}},
         {},
         0,
         "(A;CIOI;0x301bf;;;LAB\\bob): 2 targets changed\n",
         "",
         {{"t.conf",
           with(
               R"L(1,0,"/vol/home/bob",0,"D:(A;CIOI;0x1200a9;;;Everyone)(A;CIOI;0x301bf;;;LAB\bob)")L",
               R"L(1,0,"/vol/home/ann",0,"S:(AU;CIOISA;0x1;;;LAB\bob)D:(D;CIOI;0x10000;;;lab\bob)(A;CIOI;0x1301bf;;;LAB\bob)")L",
               proj)}}},
        {"deny: the Deny box's mask; every NTFS target, with --force a list made present where "
         "there was none",
         {"deny", "t.conf", "LAB\\bob", "modify", "--force"},
         {{"t.conf", tmpl}},
         {},
         0,
         "(D;CIOI;0x1301bf;;;LAB\\bob): 3 targets changed\n",
         "",
         {{"t.conf",
           with(
               R"L(1,0,"/vol/home/bob",0,"D:(D;CIOI;0x1301bf;;;LAB\bob)(A;CIOI;0x1200a9;;;Everyone)")L",
               R"L(1,0,"/vol/home/ann",0,"S:(AU;CIOISA;0x1;;;LAB\bob)D:(D;CIOI;0x1301bf;;;lab\bob)(A;CIOI;0x1200a9;;;LAB\bob)")L",
               R"L(1,0,"/vol/proj",0,"D:(D;CIOI;0x1301bf;;;LAB\bob)")L")}}},
        {"List Folder Contents carries its own flags",
         {"grant", "t.conf", "bob", "List Folder Contents", "--path", "/vol/proj", "--force"},
         {{"t.conf", tmpl}},
         {},
         0,
         "(A;CI;0x1200a9;;;bob): 1 target changed\n",
         "",
         {{"t.conf", with(bob, ann, R"L(1,0,"/vol/proj",0,"D:(A;CI;0x1200a9;;;bob)")L")}}},
        {"right codes with an Apply To text; a mask with flags",
         {"grant", "t.conf", "bob", "FRFX", "--apply-to", "this folder only", "--path", "/vol/proj",
          "--output", "a.conf", "--force"},
         {{"t.conf", tmpl}},
         {},
         0,
         "(A;NP;0x1200a9;;;bob): 1 target changed\n",
         "",
         {{"a.conf", with(bob, ann, R"L(1,0,"/vol/proj",0,"D:(A;NP;0x1200a9;;;bob)")L")}}},
        {"a mask with flags",
         {"deny", "t.conf", "bob", "0x10000", "--apply-to", "OIIO", "--path", "/vol/proj",
          "--force"},
         {{"t.conf", tmpl}},
         {},
         0,
         "(D;OIIO;0x10000;;;bob): 1 target changed\n",
         "",
         {{"t.conf", with(bob, ann, R"L(1,0,"/vol/proj",0,"D:(D;OIIO;0x10000;;;bob)")L")}}},
        {"audit failures",
         {"audit", "t.conf", "Everyone", "Read", "--failure", "--path", "/vol/home/bob"},
         {{"t.conf", tmpl}},
         {},
         0,
         "(AU;CIOIFA;0x120089;;;Everyone): 1 target changed\n",
         "",
         {{"t.conf",
           with(
               R"L(1,0,"/vol/home/bob",0,"S:(AU;CIOIFA;0x120089;;;Everyone)D:(A;CIOI;0x1200a9;;;Everyone)")L",
               ann, proj)}}},
        {"rights the targets already grant change nothing; the file is left as it is",
         {"grant", "t.conf", "everyone", "Read and Execute", "--path", "/vol/home/bob"},
         {{"t.conf", tmpl}},
         {},
         0,
         "(A;CIOI;0x200a9;;;everyone): 0 targets changed\n",
         ""},
        {"--dry-run says and writes nothing",
         {"grant", "t.conf", "bob", "Write", "--dry-run", "--force"},
         {{"t.conf", tmpl}},
         {},
         0,
         "- " + bob + "\n+ " +
             R"L(1,0,"/vol/home/bob",0,"D:(A;CIOI;0x1200a9;;;Everyone)(A;CIOI;0x100116;;;bob)")L" +
             "\n- " + ann + "\n+ " +
             R"L(1,0,"/vol/home/ann",0,"S:(AU;CIOISA;0x1;;;LAB\bob)D:(D;CIOI;0x10000;;;lab\bob)(A;CIOI;0x1200a9;;;LAB\bob)(A;CIOI;0x100116;;;bob)")L" +
             "\n- " + proj + "\n+ " + R"L(1,0,"/vol/proj",0,"D:(A;CIOI;0x100116;;;bob)")L" +
             "\n(A;CIOI;0x100116;;;bob): 3 targets would change\n",
         ""},
        {"revoke the allow and deny entries of an account, any letter case",
         {"revoke", "t.conf", "lab\\BOB"},
         {{"t.conf", tmpl}},
         {},
         0,
         "2 entries (1 allow, 1 deny, 0 audit) in 1 target removed\n",
         "",
         {{"t.conf",
           with(bob, R"L(1,0,"/vol/home/ann",0,"S:(AU;CIOISA;0x1;;;LAB\bob)D:")L", proj)}}},
        {"revoke its deny entries only",
         {"revoke", "t.conf", "LAB\\bob", "--deny", "--path", "/vol/home/*"},
         {{"t.conf", tmpl}},
         {},
         0,
         "1 entry (0 allow, 1 deny, 0 audit) in 1 target removed\n",
         "",
         {{"t.conf",
           with(
               bob,
               R"L(1,0,"/vol/home/ann",0,"S:(AU;CIOISA;0x1;;;LAB\bob)D:(A;CIOI;0x1200a9;;;LAB\bob)")L",
               proj)}}},
        {"revoke an account no target has",
         {"revoke", "t.conf", "nobody"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         usage + "t.conf: no target has an entry of nobody\n"},
        {"remove by pattern",
         {"remove", "t.conf", "--path", "/vol/home/*"},
         {{"t.conf", tmpl}},
         {},
         0,
         "2 targets removed\n",
         "",
         {{"t.conf", Text8({kHeader, proj, kNfs})}}},
        {"remove the paths of a list; one that matches nothing is named and refuses the list",
         {"remove", "t.conf", "--paths", "-"},
         {{"t.conf", tmpl}},
         "/vol/proj\n/vol/none\n/vol/vol3/nfs\n",
         2,
         "",
         usage + "t.conf: no target has the path /vol/none\n" + usage +
             "t.conf: nothing was written (--ignore-missing goes on without what matches "
             "nothing)\n"},
        {"remove the paths of a list, passing over what matches nothing",
         {"remove", "t.conf", "--paths", "-", "--ignore-missing"},
         {{"t.conf", tmpl}},
         "/vol/proj\n/vol/none\n/vol/vol3/nfs\n",
         0,
         "2 targets removed\n",
         usage + "t.conf: no target has the path /vol/none\n",
         {{"t.conf", Text8({kHeader, bob, ann})}}},
        {"remove what no target has",
         {"remove", "t.conf", "--path", "/vol/none"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         usage + "t.conf: no target has the path /vol/none\n"},
        {"grant on no NTFS target",
         {"grant", "t.conf", "bob", "Read", "--path", "/vol/vol3/*"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         usage + "t.conf: no target has the path /vol/vol3/* of the NTFS style\n"},
        {"an account that breaks the rule",
         {"grant", "t.conf", "LAB\\john.doe", "Read"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         usage + "Invalid Account Name: \"LAB\\john.doe\" (a full stop is allowed in the domain "
                 "part only)\n"},
        {"rights that are none of the three forms",
         {"grant", "t.conf", "bob", "Everything"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         usage + "RIGHTS: Everything is neither a permission name (Full Control, Modify, Read "
                 "and Execute, List Folder Contents, Read, Write), a name show prints (\"List "
                 "folder/Read data\", \"Create files/Write data\", \"Create folders/Append "
                 "data\", \"Read extended attributes\", \"Write extended attributes\", "
                 "\"Traverse Folder/Execute File\", \"Delete subfolders and files\", \"Read "
                 "attributes\", \"Write attributes\", \"Delete\", \"Read permissions\", "
                 "\"Change permissions\", \"Take Ownership\", \"Read, Write & Execute\"), right "
                 "codes (FA, FRFX) nor a mask (0x1200a9)\n"},
        {"rights that name no right",
         {"grant", "t.conf", "bob", "0x100000"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         usage + "RIGHTS: 0x100000 names no right\n"},
        {"an Apply To that is neither",
         {"grant", "t.conf", "bob", "Read", "--apply-to", "SAOI"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         std::nullopt},
        {"audit without what to audit",
         {"audit", "t.conf", "bob", "Read"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         usage + "audit: one of --success, --failure and --both is required\n"},
        {"remove without a choice of targets",
         {"remove", "t.conf"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         usage + "remove: --path or --paths is required\n"},
    });
}

} // namespace
} // namespace permora::cli_test

namespace permora::cli_test {
namespace {

// Commands that write say what the save will not keep, as check says it; those that change
// a file in place write nothing when a target they were not asked to change would mean
// something else afterwards, unless forced.
TEST(CliTest, WritingCommandsSayWhatTheSaveChangesAndKeepWhatTargetsMean) {
    const std::string list = "/vol/new\n";
    const std::string added = R"L(1,0,"/vol/new",0,"D:(A;CIOI;0x1200a9;;;Everyone)")L";
    const std::string kept = R"L(1,0,"/vol/a",0,"O:BAD:AI(A;CI;0x1;;;x)(A;CI;0x1;;;x)")L";
    const std::string keptWarnings = "t.conf:2: warning: owner O:BA is not saved\n"
                                     "t.conf:2: warning: mark AI of D: is not saved\n"
                                     "t.conf:2: warning: entry (A;CI;0x1;;;x) is merged into an "
                                     "earlier entry of x\n";
    const std::string keptSaved = R"L(1,0,"/vol/a",0,"D:(A;CI;0x1;;;x)")L";
    const std::string altered = R"L(1,0,"/vol/b",0,"D:(A;CIID;0x1;;;bob)(A;CI;0x2;;;x)")L";
    const std::string alteredWarning =
        "t.conf:3: warning: flags ID of entry (A;CIID;0x1;;;bob) are not saved\n";
    const std::string alteredSaved = R"L(1,0,"/vol/b",0,"D:(A;CI;0x1;;;bob)(A;CI;0x2;;;x)")L";
    const std::string alteredBlocks = "t.conf:3: warning: flags ID of entry (A;CIID;0x1;;;bob) "
                                      "are not saved (this keeps the file from being written)\n";
    const std::string refused =
        "permora-cli: t.conf: /vol/b: the target was not to change and would be saved with a "
        "different meaning\n"
        "permora-cli: t.conf: 1 target that was not to change would be saved with a different "
        "meaning; nothing was written (--force writes anyway)\n";
    RunCases({
        {"merges, owners and the AI mark are said and written",
         {"add", "t.conf", "--paths", "list"},
         {{"t.conf", Text8({kHeader, kept})}, {"list", list}},
         {},
         0,
         "added 1 target, skipped 0 already present\n",
         keptWarnings,
         {{"t.conf", Text8({kHeader, keptSaved, added})}}},
        {"a target that would mean something else is not written",
         {"add", "t.conf", "--paths", "list"},
         {{"t.conf", Text8({kHeader, kept, altered})}, {"list", list}},
         {},
         1,
         "",
         keptWarnings + alteredBlocks + refused},
        {"--force writes it",
         {"add", "t.conf", "--paths", "list", "--force"},
         {{"t.conf", Text8({kHeader, kept, altered})}, {"list", list}},
         {},
         0,
         "added 1 target, skipped 0 already present\n",
         keptWarnings + alteredWarning,
         {{"t.conf", Text8({kHeader, keptSaved, alteredSaved, added})}}},
        {"--output elsewhere is held to the same",
         {"add", "t.conf", "--paths", "list", "--output", "o.conf"},
         {{"t.conf", Text8({kHeader, altered})}, {"list", list}},
         {},
         1,
         "",
         "t.conf:2: warning: flags ID of entry (A;CIID;0x1;;;bob) are not saved (this keeps the "
         "file from being written)\n" +
             refused},
        {"replace-account may change what it renames",
         {"replace-account", "t.conf", "bob", "carol"},
         {{"t.conf", Text8({kHeader, kept, altered})}},
         {},
         0,
         "1 entry in 1 target changed\n",
         keptWarnings + alteredWarning,
         {{"t.conf", Text8({kHeader, keptSaved,
                            R"L(1,0,"/vol/b",0,"D:(A;CI;0x2;;;x)(A;CI;0x1;;;carol)")L"})}}},
        {"but not what it leaves alone",
         {"replace-account", "t.conf", "x", "carol", "--path", "/vol/a"},
         {{"t.conf", Text8({kHeader, kept, altered})}},
         {},
         1,
         "",
         keptWarnings + alteredBlocks + refused},
        {"--dry-run writes nothing and says nothing of a save",
         {"replace-account", "t.conf", "x", "carol", "--dry-run"},
         {{"t.conf", Text8({kHeader, altered})}},
         {},
         0,
         "- 1,0,\"/vol/b\",0,\"D:(A;CI;0x1;;;bob)(A;CI;0x2;;;x)\"\n"
         "+ 1,0,\"/vol/b\",0,\"D:(A;CI;0x1;;;bob)(A;CI;0x2;;;carol)\"\n"
         "1 entry in 1 target would change\n",
         ""},
        {"convert --strict writes nothing when there is a warning",
         {"convert", "t.conf", "--strict", "-o", "o.conf"},
         {{"t.conf", Text8({kHeader, kept, kQt1, kHome})}},
         {},
         1,
         "",
         keptWarnings + "permora-cli: t.conf: warnings under --strict; nothing was written\n"},
        {"convert --strict writes a file without warnings",
         {"convert", "t.conf", "--strict", "--8bit", "-o", "o.conf"},
         {{"t.conf", Text8({kHeader, kQt1, kHome})}},
         {},
         0,
         "",
         "",
         {{"o.conf", Text8({kHeader, kQt1, kHome})}}},
    });
}

// The editing commands are held to what add and replace-account are held to: asked to change
// /vol/a, they leave /vol/b as it is unless forced, and a dry run says nothing of a save.
TEST(CliTest, EditingCommandsKeepWhatTheyWereNotAskedToChange) {
    const std::string kept = R"L(1,0,"/vol/a",0,"D:(A;CI;0x1;;;x)(A;CI;0x1;;;bob)")L";
    const std::string altered = R"L(1,0,"/vol/b",0,"D:(A;CIID;0x1;;;bob)(A;CI;0x2;;;x)")L";
    const std::string alteredSaved = R"L(1,0,"/vol/b",0,"D:(A;CI;0x1;;;bob)(A;CI;0x2;;;x)")L";
    const std::string warning =
        "t.conf:3: warning: flags ID of entry (A;CIID;0x1;;;bob) are not saved\n";
    const std::string blocking = "t.conf:3: warning: flags ID of entry (A;CIID;0x1;;;bob) are not "
                                 "saved (this keeps the file from being written)\n";
    const std::string refused =
        "permora-cli: t.conf: /vol/b: the target was not to change and would be saved with a "
        "different meaning\n"
        "permora-cli: t.conf: 1 target that was not to change would be saved with a different "
        "meaning; nothing was written (--force writes anyway)\n";
    struct EditCase {
        std::vector<std::string> args;
        std::string said;  // what the command says it changed
        std::string saved; // /vol/a afterwards; empty: removed
    };
    const EditCase cases[] = {
        {{"grant", "t.conf", "carol", "Read", "--path", "/vol/a"},
         "(A;CIOI;0x120089;;;carol): 1 target",
         R"L(1,0,"/vol/a",0,"D:(A;CI;0x1;;;x)(A;CI;0x1;;;bob)(A;CIOI;0x120089;;;carol)")L"},
        {{"deny", "t.conf", "carol", "Write", "--path", "/vol/a"},
         "(D;CIOI;0x100116;;;carol): 1 target",
         R"L(1,0,"/vol/a",0,"D:(D;CIOI;0x100116;;;carol)(A;CI;0x1;;;x)(A;CI;0x1;;;bob)")L"},
        {{"audit", "t.conf", "carol", "0x1", "--failure", "--path", "/vol/a"},
         "(AU;CIOIFA;0x1;;;carol): 1 target",
         R"L(1,0,"/vol/a",0,"S:(AU;CIOIFA;0x1;;;carol)D:(A;CI;0x1;;;x)(A;CI;0x1;;;bob)")L"},
        {{"revoke", "t.conf", "bob", "--path", "/vol/a"},
         "1 entry (1 allow, 0 deny, 0 audit) in 1 target",
         R"L(1,0,"/vol/a",0,"D:(A;CI;0x1;;;x)")L"},
        {{"remove", "t.conf", "--path", "/vol/a"}, "1 target", ""},
        {{"replace-account", "t.conf", "bob", "carol", "--path", "/vol/a"},
         "1 entry in 1 target",
         R"L(1,0,"/vol/a",0,"D:(A;CI;0x1;;;x)(A;CI;0x1;;;carol)")L"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.args.front());
        const bool removes = c.args.front() == "remove" || c.args.front() == "revoke";
        const std::string done = c.said + (removes ? " removed\n" : " changed\n");
        // A dry run prints the lines that would change, as diff does, before the counts.
        const std::string lines =
            "- " + kept + "\n" + (c.saved.empty() ? std::string() : "+ " + c.saved + "\n");
        const std::string would =
            lines + c.said + (removes ? " would be removed\n" : " would change\n");
        const std::string before = Text8({kHeader, kept, altered});
        const auto run = [&](const std::vector<std::string>& extra) {
            Folder folder;
            WriteBytes((folder.Path() / "t.conf").string(), before);
            std::vector<std::string> args = c.args;
            args.insert(args.end(), extra.begin(), extra.end());
            const Outcome outcome = RunIn(folder, args);
            return std::pair{outcome, ReadBytes((folder.Path() / "t.conf").string())};
        };

        const auto [guarded, untouched] = run({});
        EXPECT_EQ(guarded.status, 1);
        EXPECT_EQ(guarded.out, "");
        EXPECT_EQ(guarded.err, blocking + refused);
        EXPECT_EQ(untouched, before);

        const auto [forced, written] = run({"--force"});
        EXPECT_EQ(forced.status, 0);
        EXPECT_EQ(forced.out, done);
        EXPECT_EQ(forced.err, warning);
        EXPECT_EQ(written, c.saved.empty() ? Text8({kHeader, alteredSaved})
                                           : Text8({kHeader, c.saved, alteredSaved}));

        const auto [dry, same] = run({"--dry-run"});
        EXPECT_EQ(dry.status, 0);
        EXPECT_EQ(dry.out, would);
        EXPECT_EQ(dry.err, "");
        EXPECT_EQ(same, before);
    }
}

// What the system says when a file cannot be read or written comes after what failed.
TEST(CliTest, FileErrorsSayTheSystemsReason) {
    struct ReasonCase {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const std::string noFile = "No such file or directory";
    const ReasonCase cases[] = {
        {{"check", "none.conf"}, 3, "none.conf: cannot read the file: " + noFile},
        {{"check", "d"}, 3, "d: cannot read the file: Is a directory"},
        {{"check", "p"}, 3, "p: cannot read the file: not a regular file"},
        {{"show", "none.conf"}, 3, "none.conf: cannot read the file: " + noFile},
        {{"diff", "t.conf", "none.conf"}, 3, "none.conf: cannot read the file: " + noFile},
        {{"access", "none.conf", "--path", "/vol/a", "--all"},
         3,
         "none.conf: cannot read the file: " + noFile},
        {{"convert", "none.conf", "-o", "o.conf"},
         3,
         "none.conf: cannot read the file: " + noFile + "; nothing was written"},
        {{"grant", "none.conf", "bob", "Read"}, 3, "none.conf: cannot read the file: " + noFile},
        {{"add", "t.conf", "--paths", "none.list"},
         3,
         "none.list: cannot read the list of paths: " + noFile},
        {{"remove", "t.conf", "--paths", "d"},
         3,
         "d: cannot read the list of paths: Is a directory"},
        {{"convert", "t.conf", "-o", "no/such/o.conf"},
         3,
         "no/such/o.conf: cannot create the file: " + noFile + "; nothing was written"},
        {{"convert", "t.conf", "-o", "d"},
         3,
         "d: cannot create the file: Is a directory; nothing was written"},
        {{"grant", "t.conf", "bob", "Read", "--output", "t.conf/x"},
         3,
         "t.conf/x: cannot create the file: Not a directory; nothing was written"},
    };
    for (const ReasonCase& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + c.args[1]);
        Folder folder;
        WriteBytes((folder.Path() / "t.conf").string(), Text8({kHeader, kQt1}));
        fs::create_directory(folder.Path() / "d");
        ASSERT_EQ(::mkfifo((folder.Path() / "p").c_str(), 0600), 0);
        const Outcome outcome = RunIn(folder, c.args);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.err, "permora-cli: " + c.err + "\n");
    }

    // A disk that fills while the new file is written.
    Folder folder;
    const std::string before = Text8({kHeader, kQt1});
    WriteBytes((folder.Path() / "t.conf").string(), before);
    save_detail::newFileWrite = [](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    const Outcome full = RunIn(folder, {"grant", "t.conf", "bob", "Read"});
    save_detail::newFileWrite = ::write;
    EXPECT_EQ(full.status, 3);
    EXPECT_EQ(full.err,
              "permora-cli: t.conf: cannot write the file: No space left on device; it was left "
              "as it was\n");
    EXPECT_EQ(ReadBytes((folder.Path() / "t.conf").string()), before);
}

// --sddl is read as the descriptor of an NTFS target's line; what would not be written as
// given is refused.
TEST(CliTest, AddReadsSddlAsAnNtfsDescriptor) {
    const std::string neither = "--sddl: This descriptor holds neither S: nor D:.\n"
                                "permora-cli: --sddl: the descriptor cannot be read\n";
    // The reader names the text it refused.
    const auto neitherRead = [](const std::string& text) {
        return "--sddl: This descriptor holds neither S: nor D:.: \"" + text +
               "\"\n--sddl:    Invalid File: the descriptor \"" + text +
               "\"\npermora-cli: --sddl: the descriptor cannot be read\n";
    };
    struct SddlCase {
        const char* name;
        std::string sddl;
        std::vector<std::string> extra;
        int status;
        std::string err;
        std::string written; // the new target's descriptor; empty: nothing written
    };
    const SddlCase cases[] = {
        {"empty (an unset shell variable)", "", {}, 2, neither, ""},
        {"neither part", "garbage", {}, 2, neitherRead("garbage"), ""},
        {"lower case", "d:(a;ci;0x1;;;x)", {}, 2, neitherRead("d:(a;ci;0x1;;;x)"), ""},
        {"an owner alone", "O:BA", {}, 2, neitherRead("O:BA"), ""},
        {"a quote",
         "D:(A;CI;0x1;;;x)\"",
         {},
         2,
         "permora-cli: --sddl: the descriptor cannot be read\n",
         ""},
        {"a reader message",
         "D:(A;CI;zz;;;x)",
         {},
         2,
         "--sddl: Cannot parse this Mask.: (A;CI;zz;;;x)\npermora-cli: --sddl: the descriptor "
         "cannot be read\n",
         ""},
        {"a warning that changes the meaning",
         "D:(A;CIID;0x1;;;x)",
         {},
         1,
         "--sddl: warning: flags ID of entry (A;CIID;0x1;;;x) are not saved\n"
         "permora-cli: --sddl: the descriptor would be saved with a different meaning; nothing "
         "was written (--force writes anyway)\n",
         ""},
        {"forced",
         "D:(A;CIID;0x1;;;x)",
         {"--force"},
         0,
         "--sddl: warning: flags ID of entry (A;CIID;0x1;;;x) are not saved\n",
         "D:(A;CI;0x1;;;x)"},
        {"an owner is said and dropped",
         "O:BAD:(A;CI;0x1;;;x)",
         {},
         0,
         "--sddl: warning: owner O:BA is not saved\n",
         "D:(A;CI;0x1;;;x)"},
    };
    for (const SddlCase& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        const std::string before = Text8({kHeader, kQt1});
        WriteBytes((folder.Path() / "t.conf").string(), before);
        WriteBytes((folder.Path() / "list").string(), "/vol/new\n");
        std::vector<std::string> args{"add", "t.conf", "--paths", "list", "--sddl", c.sddl};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Outcome outcome = RunIn(folder, args);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.err, c.err);
        EXPECT_EQ(ReadBytes((folder.Path() / "t.conf").string()),
                  c.written.empty()
                      ? before
                      : Text8({kHeader, kQt1, "1,0,\"/vol/new\",0,\"" + c.written + "\""}));
    }
}

TEST(CliTest, AddLikeATargetWithoutADescriptorIsRefused) {
    RunCases({{"--like a target whose descriptor field is empty",
               {"add", "t.conf", "--paths", "list", "--like", "/vol/empty"},
               {{"t.conf", Text8({kHeader, R"L(1,0,"/vol/empty",0,"")L"})}, {"list", "/vol/c\n"}},
               {},
               2,
               "",
               "--like: This descriptor holds neither S: nor D:.\n"
               "permora-cli: --like: the target /vol/empty has no descriptor to copy\n"}});
}

// Nothing is taken away that was not asked for, and nothing asked for is passed over in
// silence.
TEST(CliTest, NoAccessTakenAwayUnaskedAndEveryMissNamed) {
    const std::string open = R"L(1,0,"/vol/open",0,"")L";
    const std::string auditOnly = R"L(1,0,"/vol/audited",0,"S:(AU;CIOIFA;0x1;;;Everyone)")L";
    const std::string home = R"L(1,0,"/vol/home/bob",0,"D:(A;CIOI;0x1200a9;;;LAB\bob)")L";
    const std::string wide =
        R"L(1,0,"/vol/wide",0,"S:(AU;CIOISA;0x1;;;S-1-1-0)D:(D;CI;0x10000;;;Everyone)(A;CIOI;0x1200a9;;;WD)(A;CI;0x1;;;LAB\x)")L";
    const std::string tmpl = Text8({kHeader, open, auditOnly, home});
    const std::string usage = "permora-cli: ";
    const std::string noList = ": the target has no permission list: a new permission list "
                               "would hold only this entry and take every other access away\n";
    RunCases({
        {"deny on targets without a permission list: each named, nothing written",
         {"deny", "t.conf", "LAB\\contractors", "Full Control"},
         {{"t.conf", tmpl}},
         {},
         1,
         "",
         usage + "t.conf: /vol/open" + noList + usage + "t.conf: /vol/audited" + noList + usage +
             "t.conf: nothing was written (--force writes anyway)\n"},
        {"grant on an audit-only descriptor, by pattern",
         {"grant", "t.conf", "LAB\\bob", "Read", "--path", "/vol/audited"},
         {{"t.conf", tmpl}},
         {},
         1,
         "",
         usage + "t.conf: /vol/audited" + noList + usage +
             "t.conf: nothing was written (--force writes anyway)\n"},
        {"a target with a permission list is granted as before",
         {"grant", "t.conf", "LAB\\ann", "Read", "--path", "/vol/home/*"},
         {{"t.conf", tmpl}},
         {},
         0,
         "(A;CIOI;0x120089;;;LAB\\ann): 1 target changed\n",
         "",
         {{"t.conf",
           Text8(
               {kHeader, open, auditOnly,
                R"L(1,0,"/vol/home/bob",0,"D:(A;CIOI;0x1200a9;;;LAB\bob)(A;CIOI;0x120089;;;LAB\ann)")L"})}}},
        {"--force makes the list",
         {"grant", "t.conf", "LAB\\bob", "Read", "--path", "/vol/audited", "--force"},
         {{"t.conf", tmpl}},
         {},
         0,
         "(A;CIOI;0x120089;;;LAB\\bob): 1 target changed\n",
         "",
         {{"t.conf",
           Text8(
               {kHeader, open,
                R"L(1,0,"/vol/audited",0,"S:(AU;CIOIFA;0x1;;;Everyone)D:(A;CIOI;0x120089;;;LAB\bob)")L",
                home})}}},
        {"an audit entry takes no access away",
         {"audit", "t.conf", "LAB\\bob", "Read", "--both", "--path", "/vol/open"},
         {{"t.conf", tmpl}},
         {},
         0,
         "(AU;CIOISAFA;0x120089;;;LAB\\bob): 1 target changed\n",
         "",
         {{"t.conf", Text8({kHeader, R"L(1,0,"/vol/open",0,"S:(AU;CIOISAFA;0x120089;;;LAB\bob)")L",
                            auditOnly, home})}}},
        {"a --path that matches nothing among others that match: named, nothing written",
         {"grant", "t.conf", "LAB\\ann", "Read", "--path", "/vol/home/*", "--path", "/vol/hmoe/*"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         usage + "t.conf: no target has the path /vol/hmoe/* of the NTFS style\n" + usage +
             "t.conf: nothing was written (--ignore-missing goes on without what matches "
             "nothing)\n"},
        {"--ignore-missing goes on",
         {"revoke", "t.conf", "LAB\\bob", "--path", "/vol/home/bob", "--path", "/vol/x",
          "--ignore-missing"},
         {{"t.conf", tmpl}},
         {},
         0,
         "1 entry (1 allow, 0 deny, 0 audit) in 1 target removed\n",
         usage + "t.conf: no target has the path /vol/x of the NTFS style\n",
         {{"t.conf", Text8({kHeader, open, auditOnly, R"L(1,0,"/vol/home/bob",0,"D:")L"})}}},
        {"remove: a misspelt leaver among those that match",
         {"remove", "t.conf", "--path", "/vol/open", "--path", "/vol/home/bbo"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         usage + "t.conf: no target has the path /vol/home/bbo\n" + usage +
             "t.conf: nothing was written (--ignore-missing goes on without what matches "
             "nothing)\n"},
        {"remove: an empty list of paths",
         {"remove", "t.conf", "--paths", "-"},
         {{"t.conf", tmpl}},
         "",
         2,
         "",
         usage + "<stdin>: the list holds no path; nothing was written\n"},
        {"add: an empty list of paths",
         {"add", "t.conf", "--paths", "-"},
         {{"t.conf", tmpl}},
         "\n# nothing\n",
         2,
         "",
         usage + "<stdin>: the list holds no path; nothing was written\n"},
        {"revoke by any name of a well-known account; audit entries only with --audit",
         {"revoke", "t.conf", "everyone"},
         {{"t.conf", Text8({kHeader, wide})}},
         {},
         0,
         "2 entries (1 allow, 1 deny, 0 audit) in 1 target removed\n",
         "",
         {{"t.conf",
           Text8({kHeader,
                  R"L(1,0,"/vol/wide",0,"S:(AU;CIOISA;0x1;;;S-1-1-0)D:(A;CI;0x1;;;LAB\x)")L"})}}},
        {"revoke --audit alone",
         {"revoke", "t.conf", "WD", "--audit"},
         {{"t.conf", Text8({kHeader, wide})}},
         {},
         0,
         "1 entry (0 allow, 0 deny, 1 audit) in 1 target removed\n",
         "",
         {{"t.conf",
           Text8(
               {kHeader,
                R"L(1,0,"/vol/wide",0,"S:D:(D;CI;0x10000;;;Everyone)(A;CIOI;0x1200a9;;;WD)(A;CI;0x1;;;LAB\x)")L"})}}},
        {"show --account finds a well-known account by another of its names",
         {"show", "t.conf", "--account", "S-1-1-0", "--format", "line"},
         {{"t.conf", Text8({kHeader, home, wide})}},
         {},
         0,
         wide + "\n",
         ""},
    });
}

// Targets that repeat an earlier path and level, and paths with "." or ".." segments, are
// warned about by check, convert and add; nothing is refused for them.
TEST(CliTest, RepeatedTargetsAreWarnedAbout) {
    const std::string bob = R"L(1,0,"/vol/home/bob",0,"D:(A;CIOI;0x1200a9;;;LAB\bob)")L";
    const std::string bobSlash = R"L(1,0,"/vol/home/bob/",0,"D:")L";
    const std::string bobDot = R"L(1,0,"/vol/home/./bob",0,"D:")L";
    const std::string bobStorage = R"L(1,1,"/vol/home/x/../bob",0,"D:")L";
    const std::string ann = R"L(1,0,"/vol/home/ann",0,"D:")L";
    RunCases({
        {"check: each repeat names the line it repeats; the level counts",
         {"check", "--strict", "a.conf"},
         {{"a.conf", Text8({kHeader, bob, bobSlash, bobStorage, bobDot})}},
         {},
         1,
         "a.conf:3: warning: the target /vol/home/bob/ repeats the path and level of a.conf:2 "
         "(/vol/home/bob)\n"
         "a.conf:4: warning: the path /vol/home/x/../bob has \".\" or \"..\" segments; it stands "
         "for /vol/home/bob\n"
         "a.conf:5: warning: the path /vol/home/./bob has \".\" or \"..\" segments; it stands for "
         "/vol/home/bob\n"
         "a.conf:5: warning: the target /vol/home/./bob repeats the path and level of a.conf:2 "
         "(/vol/home/bob)\n"
         "1 file checked: 4 targets read, 0 errors, 4 warnings\n",
         ""},
        {"convert: a target shared by two inputs is doubled, and said so",
         {"convert", "a.conf", "b.conf", "-o", "c.conf", "--8bit"},
         {{"a.conf", Text8({kHeader, bob})}, {"b.conf", Text8({kHeader, ann, bob})}},
         {},
         0,
         "",
         "b.conf:3: warning: the target /vol/home/bob repeats the path and level of a.conf:2 "
         "(/vol/home/bob)\n",
         {{"c.conf", Text8({kHeader, bob, ann, bob})}}},
        {"add: paths that stand for a target's path are added, with a word",
         {"add", "t.conf", "--paths", "list"},
         {{"t.conf", Text8({kHeader, bob})}, {"list", "/vol/home/bob/\n/vol/home/./ann\n"}},
         {},
         0,
         "added 2 targets, skipped 0 already present\n",
         "list:1: warning: the target /vol/home/bob/ repeats the path and level of t.conf "
         "(target 1) (/vol/home/bob)\n"
         "list:2: warning: the path /vol/home/./ann has \".\" or \"..\" segments; it stands for "
         "/vol/home/ann\n",
         {{"t.conf",
           Text8({kHeader, bob, R"L(1,0,"/vol/home/bob/",0,"D:(A;CIOI;0x1200a9;;;Everyone)")L",
                  R"L(1,0,"/vol/home/./ann",0,"D:(A;CIOI;0x1200a9;;;Everyone)")L"})}}},
    });
}

// A home list names users: a well-known account or a bare SID in its account column, or
// made by {name}, is refused with its line unless --allow-aliases.
TEST(CliTest, AHomeListGrantsNoWellKnownAccount) {
    const std::string model = R"L(1,0,"/vol/home/model",0,"D:(A;CIOI;0x1301bf;;;OWNER)")L";
    const std::string usage = "permora-cli: ";
    RunCases({
        {"an alias, a SID and Everyone in the account column",
         {"add", "t.conf", "--paths", "list", "--like", "/vol/home/model", "--for", "OWNER"},
         {{"t.conf", Text8({kHeader, model})},
          {"list", "/vol/home/z\tWD\n/vol/home/y\tS-1-1-0\n/vol/home/a\tLAB\\a\n"
                   "/vol/home/x\teveryone\n/vol/home/w\tS-1-5-21-1-2-3-1104\n"}},
         {},
         1,
         "",
         "list:1: the account WD is a well-known account or a bare SID, not one user "
         "(--allow-aliases takes it)\n"
         "list:2: the account S-1-1-0 is a well-known account or a bare SID, not one user "
         "(--allow-aliases takes it)\n"
         "list:4: the account everyone is a well-known account or a bare SID, not one user "
         "(--allow-aliases takes it)\n"
         "list:5: the account S-1-5-21-1-2-3-1104 is a well-known account or a bare SID, not "
         "one user (--allow-aliases takes it)\n" +
             usage + "4 invalid lines; nothing was written\n"},
        {"what {name} makes",
         {"add", "t.conf", "--paths", "list", "--like", "/vol/home/model", "--for", "OWNER",
          "--account", "{name}"},
         {{"t.conf", Text8({kHeader, model})}, {"list", "/vol/home/ann\n/vol/home/BA\n"}},
         {},
         1,
         "",
         "list:2: the account BA is a well-known account or a bare SID, not one user "
         "(--allow-aliases takes it)\n" +
             usage + "1 invalid line; nothing was written\n"},
        {"--allow-aliases takes them",
         {"add", "t.conf", "--paths", "list", "--like", "/vol/home/model", "--for", "OWNER",
          "--allow-aliases"},
         {{"t.conf", Text8({kHeader, model})}, {"list", "/vol/home/z\tWD\n"}},
         {},
         0,
         "added 1 target, skipped 0 already present\n",
         "",
         {{"t.conf",
           Text8({kHeader, model, R"L(1,0,"/vol/home/z",0,"D:(A;CIOI;0x1301bf;;;WD)")L"})}}},
    });
}

// What is meant for a terminal goes out with its control characters and stray bytes
// escaped; the line and JSON forms and written templates stay exact.
TEST(CliTest, TerminalTextIsEscapedAndDataIsExact) {
    const std::string hostile = "1,0,\"/vol/a\x1b[2J\x1b]0;owned\x07\xe9\",0,\"D:\"";
    const std::string escaped = "/vol/a\\x1B[2J\\x1B]0;owned\\x07\\xE9";
    Folder folder;
    WriteBytes((folder.Path() / "t.conf").string(), Text8({kHeader, hostile}));
    const Outcome check = RunIn(folder, {"check", "t.conf"});
    EXPECT_EQ(check.out.find('\x1b'), std::string::npos) << check.out;
    EXPECT_NE(check.out.find(escaped), std::string::npos) << check.out;
    const Outcome text = RunIn(folder, {"show", "t.conf"});
    if (text.status == 0) {
        EXPECT_EQ(text.out.find('\x1b'), std::string::npos) << text.out;
        EXPECT_NE(text.out.find(escaped), std::string::npos) << text.out;
        const Outcome line = RunIn(folder, {"show", "t.conf", "--format", "line"});
        EXPECT_EQ(line.out, hostile + "\n");
    } else {
        EXPECT_EQ(text.err.find('\x1b'), std::string::npos) << text.err;
    }
    const Outcome unknown = RunIn(folder, {"show", "no\x1b[2J.conf"});
    EXPECT_EQ(unknown.status, 3);
    EXPECT_NE(unknown.err.find("no\\x1B[2J.conf"), std::string::npos) << unknown.err;
}

TEST(CliTest, WhatAdministratorsReachFor) {
    const std::string helpdesk =
        R"L(1,0,"/vol/proj",0,"D:(D;CI;0x40000;;;LAB\helpdesk)(A;CIOI;0x1301bf;;;LAB\helpdesk)(A;CIOI;0x1200a9;;;Everyone)")L";
    const std::string other = R"L(1,0,"/vol/other",0,"D:P(A;CIOI;0x1301bf;;;LAB\helpdesk)")L";
    const std::string audited = R"L(1,0,"/vol/audited",0,"S:(AU;CIOIFA;0x1;;;Everyone)")L";
    const std::string tmpl = Text8({kHeader, helpdesk, other});
    const std::string usage = "permora-cli: ";
    RunCases({
        {"grant --replace: Modify reduced to Read in one save; deny entries stay",
         {"grant", "t.conf", "LAB\\helpdesk", "Read", "--replace", "--path", "/vol/proj"},
         {{"t.conf", tmpl}},
         {},
         0,
         "1 allow entry of LAB\\helpdesk removed\n"
         "(A;CIOI;0x120089;;;LAB\\helpdesk): 1 target changed\n",
         "",
         {{"t.conf",
           Text8(
               {kHeader,
                R"L(1,0,"/vol/proj",0,"D:(D;CI;0x40000;;;LAB\helpdesk)(A;CIOI;0x1200a9;;;Everyone)(A;CIOI;0x120089;;;LAB\helpdesk)")L",
                other})}}},
        {"revoke several accounts, and a list of them",
         {"revoke", "t.conf", "Everyone", "--accounts", "-"},
         {{"t.conf", tmpl}},
         "# leavers\nLAB\\helpdesk\n\n",
         0,
         "4 entries (3 allow, 1 deny, 0 audit) in 2 targets removed\n",
         "",
         {{"t.conf",
           Text8({kHeader, R"L(1,0,"/vol/proj",0,"D:")L", R"L(1,0,"/vol/other",0,"D:P")L"})}}},
        {"revoke several accounts, one that no target has: named, nothing written",
         {"revoke", "t.conf", "Everyone", "LAB\\nobody"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         usage + "t.conf: no target has an entry of LAB\\nobody\n" + usage +
             "t.conf: nothing was written (--ignore-missing goes on without what matches "
             "nothing)\n"},
        {"every name show prints is a right",
         {"grant", "t.conf", "LAB\\x", "read, write & execute", "--path", "/vol/other"},
         {{"t.conf", tmpl}},
         {},
         0,
         "(A;CIOI;0x201bf;;;LAB\\x): 1 target changed\n",
         "",
         {{"t.conf",
           Text8(
               {kHeader, helpdesk,
                R"L(1,0,"/vol/other",0,"D:P(A;CIOI;0x1301bf;;;LAB\helpdesk)(A;CIOI;0x201bf;;;LAB\x)")L"})}}},
        {"Delete",
         {"deny", "t.conf", "LAB\\x", "Delete", "--path", "/vol/other"},
         {{"t.conf", tmpl}},
         {},
         0,
         "(D;CIOI;0x10000;;;LAB\\x): 1 target changed\n",
         "",
         {{"t.conf",
           Text8(
               {kHeader, helpdesk,
                R"L(1,0,"/vol/other",0,"D:P(D;CIOI;0x10000;;;LAB\x)(A;CIOI;0x1301bf;;;LAB\helpdesk)")L"})}}},
        {"protect and unprotect",
         {"protect", "t.conf", "--path", "/vol/proj"},
         {{"t.conf", tmpl}},
         {},
         0,
         "1 target changed\n",
         "",
         {{"t.conf",
           Text8(
               {kHeader,
                R"L(1,0,"/vol/proj",0,"D:P(D;CI;0x40000;;;LAB\helpdesk)(A;CIOI;0x1301bf;;;LAB\helpdesk)(A;CIOI;0x1200a9;;;Everyone)")L",
                other})}}},
        {"unprotect",
         {"unprotect", "t.conf"},
         {{"t.conf", tmpl}},
         {},
         0,
         "1 target changed\n",
         "",
         {{"t.conf", Text8({kHeader, helpdesk,
                            R"L(1,0,"/vol/other",0,"D:(A;CIOI;0x1301bf;;;LAB\helpdesk)")L"})}}},
        {"protect a target without a permission list: refused as grant refuses it",
         {"protect", "t.conf"},
         {{"t.conf", Text8({kHeader, audited})}},
         {},
         1,
         "",
         usage +
             "t.conf: /vol/audited: the target has no permission list: a new protected "
             "permission list would hold no entry and take every access away\n" +
             usage + "t.conf: nothing was written (--force writes anyway)\n"},
        {"protect --audit",
         {"protect", "t.conf", "--audit"},
         {{"t.conf", Text8({kHeader, audited})}},
         {},
         0,
         "1 target changed\n",
         "",
         {{"t.conf",
           Text8({kHeader, R"L(1,0,"/vol/audited",0,"S:P(AU;CIOIFA;0x1;;;Everyone)")L"})}}},
    });
}

// show --format json writes its array a target at a time: the bytes are those of the whole
// document dumped at once.
TEST(CliTest, ShowJsonIsTheWholeDocument) {
    Folder folder;
    WriteBytes((folder.Path() / "t.conf").string(),
               Fixture("example-8bit.conf") + kNfs + "\r\n" + kVol2 + "\r\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show", "t.conf", "--json"},
          std::vector<std::string>{"show", "t.conf", "--format", "json", "--path", "/vol/vol2"}}) {
        const Outcome outcome = RunIn(folder, args);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const auto whole = nlohmann::ordered_json::parse(outcome.out);
        EXPECT_GE(whole.size(), 1U);
        EXPECT_EQ(outcome.out, whole.dump(2, ' ', false) + "\n");
    }
    WriteBytes((folder.Path() / "e.conf").string(), Text8({kHeader}));
    EXPECT_EQ(RunIn(folder, {"show", "e.conf", "--json"}).out,
              nlohmann::ordered_json::array().dump(2) + "\n");
}

} // namespace
} // namespace permora::cli_test
