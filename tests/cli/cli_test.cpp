// permora-cli: (arguments, input files) -> (exit status, standard output, standard error,
// files afterwards).

#include "cli_support.h"
#include "permora_version.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
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
        {"a command without its operands",
         {"diff", "a.conf"},
         {{"a.conf", Text8({kHeader})}},
         {},
         2,
         "",
         std::nullopt},
    });
    for (const char* command : {"check", "show", "convert", "diff", "add", "replace-account"}) {
        SCOPED_TRACE(command);
        Folder folder;
        const Outcome outcome = RunIn(folder, {command, "--help"});
        EXPECT_EQ(outcome.status, 0);
        EXPECT_NE(outcome.out.find(std::string("Usage: permora-cli ") + command), std::string::npos)
            << outcome.out;
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
        {"lines counted as the import sees them; reading stops at the failing line",
         {"check", "a.conf"},
         {{"a.conf", "cb56f6f4\r\n\r\n" + kQt1 + "\r" + kHome +
                         "\n1,0,\"/vol/x\",0,\"D:(A;CI;zz;;;x)(A;CI;0x1;;;a b)\"\r\n" + kQt1}},
         {},
         1,
         "a.conf:5: Cannot parse this Mask.\n"
         "a.conf:5: Invalid Account Name\n"
         "a.conf:5:    Invalid File\n"
         "1 file checked: 2 targets read, 3 errors, 0 warnings\n",
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
         "2 files checked: 1 target read, 0 errors, 1 warning\n",
         "permora-cli: none.conf: cannot read the file\n"},
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
         R"([
  {
    "path": "/vol/vol1/home",
    "style": 1,
    "style_name": "NTFS",
    "level": 0,
    "level_name": "File/Directory",
    "mode": 0,
    "control": 260,
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
)",
         ""},
        {"other styles, unnamed levels, audit entries that audit nothing, empty lists",
         {"show", "t.conf"},
         {{"t.conf", Text8({kHeader, kNfs, R"L(1,7,"a",0,"S:(AU;CI;0x1;;;x)D:AI")L",
                            R"L(1,0,"b",0,"S:P(AU;OIIOFA;0x3;;;y)")L"})}},
         {},
         0,
         "/vol/vol3/nfs\n"
         "  style NFSV3 ACL, level File/Directory, mode 0\n"
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
         "t.conf:2: Invalid File Path\nt.conf:2:    Invalid File\n"},
        {"a file that is not there",
         {"show", "none.conf"},
         {},
         {},
         3,
         "",
         "permora-cli: none.conf: cannot read the file\n"},
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
    const std::string failingErrors = "f.conf:3: Cannot parse this Mask.\n"
                                      "f.conf:3: Invalid Account Name\n"
                                      "f.conf:3:    Invalid File\n";
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
         "permora-cli: none.conf: cannot read the file; nothing was written\n"},
        {"an output that cannot be written",
         {"convert", "a.conf", "-o", "no/such/out.conf"},
         {{"a.conf", Fixture("example-8bit.conf")}},
         {},
         3,
         "",
         "permora-cli: no/such/out.conf: cannot create the file; nothing was written\n"},
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
         "f.conf:2: Cannot parse this Mask.\n"
         "permora-cli: f.conf: the file has errors; nothing was compared\n"},
        {"an input that is not there",
         {"diff", "none.conf", "a.conf"},
         {{"a.conf", a}},
         {},
         3,
         "",
         "permora-cli: none.conf: cannot read the file\n"},
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
         "list:2: Invalid File Path: /home/x\n"
         "list:4: Invalid File Path: /vol/a b\n"
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
         "--sddl: Wrong ace type.\npermora-cli: --sddl: the descriptor cannot be read\n"},
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
         "f.conf:3: Cannot parse this Mask.\nf.conf:3: Invalid Account Name\nf.conf:3:    "
         "Invalid File\npermora-cli: f.conf: the file has errors; nothing was written\n"},
        {"a list that is not there",
         {"add", "t.conf", "--paths", "none"},
         {{"t.conf", example8}},
         {},
         3,
         "",
         "permora-cli: none: cannot read the list of paths\n"},
    });
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
         "3 entries in 2 targets would change\n",
         ""},
        {"no entry of the account: the file is left as it is",
         {"replace-account", "t.conf", "nobody", "carol"},
         {{"t.conf", tmpl}},
         {},
         0,
         "0 entries in 0 targets changed\n",
         ""},
        {"the new name must be a valid account name",
         {"replace-account", "t.conf", "bob", "LAB\\a\\b"},
         {{"t.conf", tmpl}},
         {},
         2,
         "",
         "permora-cli: Invalid Account Name: LAB\\a\\b\n"},
        {"a template that is not there",
         {"replace-account", "none.conf", "bob", "carol"},
         {},
         {},
         3,
         "",
         "permora-cli: none.conf: cannot read the file\n"},
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
    const std::string refused = "permora-cli: t.conf: 1 target that was not to change would be "
                                "saved with a different meaning; nothing was written (--force "
                                "writes anyway)\n";
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
         keptWarnings + alteredWarning + refused},
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
         "t.conf:2: warning: flags ID of entry (A;CIID;0x1;;;bob) are not saved\n" + refused},
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
         "1 entry in 1 target changed\n",
         keptWarnings + alteredWarning + refused},
        {"--dry-run writes nothing and says nothing of a save",
         {"replace-account", "t.conf", "x", "carol", "--dry-run"},
         {{"t.conf", Text8({kHeader, altered})}},
         {},
         0,
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

// --sddl is read as the descriptor of an NTFS target's line; what would not be written as
// given is refused.
TEST(CliTest, AddReadsSddlAsAnNtfsDescriptor) {
    const std::string neither = "--sddl: This descriptor holds neither S: nor D:.\n"
                                "permora-cli: --sddl: the descriptor cannot be read\n";
    const std::string neitherRead = "--sddl: This descriptor holds neither S: nor D:.\n"
                                    "--sddl:    Invalid File\n"
                                    "permora-cli: --sddl: the descriptor cannot be read\n";
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
        {"neither part", "garbage", {}, 2, neitherRead, ""},
        {"lower case", "d:(a;ci;0x1;;;x)", {}, 2, neitherRead, ""},
        {"an owner alone", "O:BA", {}, 2, neitherRead, ""},
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
         "--sddl: Cannot parse this Mask.\npermora-cli: --sddl: the descriptor cannot be read\n",
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

} // namespace
} // namespace permora::cli_test
