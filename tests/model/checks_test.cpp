#include "model/checks.h"

#include <gtest/gtest.h>

#include <string>

namespace permora {
namespace {

TEST(ChecksTest, AccountNamesCompareWithoutCaseOfAsciiLettersOnly) {
    const struct {
        std::string a;
        std::string b;
        bool equal;
    } cases[] = {
        {"Everyone", "everyone", true},
        {"BUILTIN\\Administrators", "builtin\\ADMINISTRATORS", true},
        {"", "", true},
        {"Everyone", "Everyone ", false},
        {"a", "b", false},
        {"@", "`", false}, // neighbours of the letter ranges do not fold
        {"[", "{", false},
        {"\xC4", "\xE4", false}, // bytes above ASCII compare exactly
        {std::string("a\0b", 3), std::string("A\0B", 3), true},
        {std::string("a\0b", 3), "a", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EqualsNoCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
        EXPECT_EQ(EqualsNoCase(c.b, c.a), c.equal) << c.b << " / " << c.a;
    }
    for (const auto& c : cases) {
        EXPECT_EQ(CompareNoCase(c.a, c.b) == 0, c.equal) << c.a << " / " << c.b;
        EXPECT_EQ(FoldCase(c.a) == FoldCase(c.b), c.equal) << c.a << " / " << c.b;
    }
    // The order of a sorted list: folded letters, then bytes; a prefix first.
    EXPECT_LT(CompareNoCase("apple", "Banana"), 0);
    EXPECT_GT(CompareNoCase("Zeta", "apple pie"), 0);
    EXPECT_LT(CompareNoCase("Apple", "apple pie"), 0);
    EXPECT_LT(CompareNoCase("_admins", "Apple"), 0); // '_' sorts before the folded letters
}

TEST(ChecksTest, PathValidity) {
    const struct {
        std::string path;
        int valid;
    } cases[] = {
        {"/vol/vol1/qt1", 1},
        {"/vol/", 1},
        {"/vol/vol1/{a-b}_c.d", 1},
        {"vol1/qt1", 1},
        {"a", 1},
        {"vol1/", 1},
        {"", 0},
        {"/vol", 0},
        {"/", 0},
        {"/Vol/vol1", 0},
        {"/home/x", 0},
        {"//vol/x", 0},
        {"/vol//qt1", 0},
        {"/vol/vol1//", 0},
        {"a//b", 0},
        {"/vol/vol1/my dir", 0},
        {"/vol/vol1/a\\b", 0},
        {"/vol/vol1/a*b", 0},
        {"/vol/vol1/\xE4", 0},
        {std::string("/vol/a\0b", 8), 0},
        {"/vol/vol1\t", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsPathValid(c.path), c.valid) << "\"" << c.path << "\"";
        EXPECT_EQ(PathProblem(c.path).empty(), c.valid == 1) << "\"" << c.path << "\"";
    }
}

TEST(ChecksTest, AccountNameRule) {
    const struct {
        std::string name;
        bool valid;
    } cases[] = {
        {"Everyone", true},
        {"BUILTIN\\Administrators", true},
        {"sales.eu-1\\svc_backup", true},
        {"a\\b", true},
        {"my_domain\\my_user", true},
        {"x", true},
        {"0-_", true},
        {"", false},
        {"\\Everyone", false},
        {"Domain\\", false},
        {"\\", false},
        {"a\\b\\c", false},
        {"Domain\\\\User", false},
        {"Domain Users", false},
        {" Everyone", false}, // the rule does not trim
        {"Everyone ", false},
        {"john.doe", false},
        {"corp\\john.doe", false},
        {"J\xC3\xBCrgen", false},
        {"corp@x\\user", false},
        {"corp\\us/er", false},
        {std::string("a\0b", 3), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidAccountName(c.name), c.valid) << "\"" << c.name << "\"";
        EXPECT_EQ(AccountNameProblem(c.name).empty(), c.valid) << "\"" << c.name << "\"";
    }
}

// The words a message gives for what a path or a name breaks.
TEST(ChecksTest, ProblemsAreNamed) {
    const struct {
        std::string text;
        std::string path;
        std::string account;
    } cases[] = {
        {"", "the path is empty", "the name is empty"},
        {"/home/x", "a path from the root must begin with /vol/",
         "'/' is not allowed in the name; it takes letters, digits, - and _"},
        {"/vol//x", "two slashes in a row",
         "'/' is not allowed in the name; it takes letters, digits, - and _"},
        {"LAB\\john.doe", "'\\' is not allowed; a path takes letters, digits and . _ - { } /",
         "a full stop is allowed in the domain part only"},
        {"a b", "a blank is not allowed; a path takes letters, digits and . _ - { } /",
         "a blank is not allowed in the name; it takes letters, digits, - and _"},
        {"\\bob", "'\\' is not allowed; a path takes letters, digits and . _ - { } /",
         "the domain before the backslash is missing"},
        {"LAB\\", "'\\' is not allowed; a path takes letters, digits and . _ - { } /",
         "the name after the backslash is missing"},
        {"A\\B\\C", "'\\' is not allowed; a path takes letters, digits and . _ - { } /",
         "only one backslash may stand between domain and name"},
        {"L@B\\x", "'@' is not allowed; a path takes letters, digits and . _ - { } /",
         "'@' is not allowed in the domain; it takes letters, digits and . - _"},
        {"x\ty", "the byte 0x09 is not allowed; a path takes letters, digits and . _ - { } /",
         "the byte 0x09 is not allowed in the name; it takes letters, digits, - and _"},
        {"vol/a_b", "", "'/' is not allowed in the name; it takes letters, digits, - and _"},
        {"LAB.local\\bob", "'\\' is not allowed; a path takes letters, digits and . _ - { } /", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathProblem(c.text), c.path) << c.text;
        EXPECT_EQ(AccountNameProblem(c.text), c.account) << c.text;
    }
}

} // namespace
} // namespace permora
