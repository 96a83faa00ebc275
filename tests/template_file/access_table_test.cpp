#include "template_file/access_table.h"

#include "template_file/template_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <string>
#include <vector>

namespace permora {
namespace {

// A descriptor as a template line writes it.
std::unique_ptr<SecurityDescriptor> Read(const std::string& text) {
    auto d = std::make_unique<SecurityDescriptor>();
    std::vector<std::string> messages;
    EXPECT_EQ(ReadDescriptor(text, *d, [&](const std::string& m) { messages.push_back(m); }),
              ReadStatus::Read);
    EXPECT_EQ(messages, std::vector<std::string>{});
    return d;
}

EffectiveAccess AccessOf(const std::string& text, const std::vector<std::string>& groups = {}) {
    return ComputeEffectiveAccess(*Read(text), AccessSubject("LAB\\jdoe", groups));
}

TEST(AccessTableTest, ACellSaysBothLevelsWhereTheyDiffer) {
    // Denied Write Data on child files, Delete on every subfolder; all on the folder and its
    // child folders; Execute on every file.
    const EffectiveAccess access =
        AccessOf("D:(D;NPOIIO;0x2;;;LAB\\jdoe)(D;CIIO;0x10000;;;LAB\\jdoe)"
                 "(A;NPCI;0x1f01ff;;;LAB\\jdoe)(A;OIIO;0x20;;;LAB\\jdoe)");
    const EffectiveAccess split = AccessOf("D:(D;NPCIIO;0x1;;;LAB\\jdoe)(A;CIIO;0x1;;;LAB\\jdoe)");
    struct Case {
        const EffectiveAccess* access;
        int column;
        std::uint32_t mask;
        const char* text;
    };
    const Case cases[] = {
        {&access, kThisFolderColumn, kFullControlMask, "Allowed"},
        {&access, kSubfoldersColumn, kReadData, "Allowed in the first level only"},
        {&access, kSubfoldersColumn, kDelete, "Denied"},
        {&access, kSubfoldersColumn, kFullControlMask, "Denied"},
        {&access, kFilesColumn, kWriteData, "Denied in the first level only"},
        {&access, kFilesColumn, kExecute, "Allowed"},
        {&access, kFilesColumn, kReadData, "Not allowed"},
        {&split, kSubfoldersColumn, kReadData, "Denied in the first level, allowed below"},
        {&split, kThisFolderColumn, kReadData, "Not allowed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(AccessCellText(*c.access, AccessCellOf(*c.access, c.column, c.mask)), c.text);
    }
}

TEST(AccessTableTest, TheExplanationNamesTheDecidingEntries) {
    const EffectiveAccess access =
        AccessOf("D:(D;NPCI;0x10000;;;LAB\\staff)(A;CIOI;0x1200a9;;;Everyone)", {"LAB\\staff"});
    EXPECT_EQ(AccessCellExplanation(access, kThisFolderColumn, kDelete),
              "Denied by entry 1: (D;NPCI;0x10000;;;LAB\\staff)");
    EXPECT_EQ(AccessCellExplanation(access, kSubfoldersColumn, kDelete),
              "In the first level:\nDenied by entry 1: (D;NPCI;0x10000;;;LAB\\staff)\n"
              "Below the first level:\nNo entry grants it.");
    EXPECT_EQ(AccessCellExplanation(access, kFilesColumn, kReadData),
              "Allowed by entry 2: (A;CIOI;0x1200a9;;;Everyone)");
    EXPECT_EQ(
        AccessCellExplanation(access, kFilesColumn, kFullControlMask),
        "No entry grants all of it.\nPartly allowed by entry 2: (A;CIOI;0x1200a9;;;Everyone)");
    EXPECT_EQ(AccessCellOf(access, kSubfoldersColumn, kDelete).deciders, std::vector<int>{0});
    EXPECT_EQ(AccessCellOf(access, kFilesColumn, kReadExecuteMask).deciders, std::vector<int>{1});
}

// No row shows SYNCHRONIZE, so it decides no row: Full Control without it is Full Control,
// and an entry that decides it alone is no deciding entry. (An entry of SYNCHRONIZE alone
// is not read at all.)
TEST(AccessTableTest, SynchronizeDecidesNoRow) {
    const struct {
        const char* sddl;
        const char* fullControl;
        const char* read;
        std::vector<bool> shownDeciders;
    } cases[] = {
        {"D:(A;CIOI;0xf01ff;;;LAB\\jdoe)", "Allowed", "Allowed", {true}},
        {"D:(A;CIOI;0x1f01ff;;;LAB\\jdoe)", "Allowed", "Allowed", {true}},
        // The allow entry decides SYNCHRONIZE alone: the deny has decided the rest.
        {"D:(D;CIOI;0x1;;;LAB\\jdoe)(A;CIOI;0x100001;;;LAB\\jdoe)",
         "Denied",
         "Denied",
         {true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sddl);
        const EffectiveAccess access = AccessOf(c.sddl);
        for (const std::uint32_t mask : {kEditorRights[0].mask, kStandardPermissions[0].mask}) {
            EXPECT_EQ(AccessCellText(access, AccessCellOf(access, kThisFolderColumn, mask)),
                      c.fullControl);
        }
        const std::uint32_t read = kStandardPermissions[4].mask;
        EXPECT_EQ(AccessCellText(access, AccessCellOf(access, kFilesColumn, read)), c.read);
        std::vector<bool> shown;
        for (int i = 0; i < static_cast<int>(access.deciders.size()); ++i) {
            shown.push_back(DecidesAShownRight(access, i));
        }
        EXPECT_EQ(shown, c.shownDeciders);
    }
    for (const NamedRights& row : kStandardPermissions) {
        EXPECT_EQ(row.mask & kSynchronize, 0U) << row.name;
    }
}

TEST(AccessTableTest, WithoutAPermissionListNothingIsDecided) {
    const EffectiveAccess access = AccessOf("S:(AU;CIOISA;0x1;;;Everyone)");
    EXPECT_EQ(AccessCellText(access, AccessCellOf(access, kThisFolderColumn, kReadData)),
              "Not decided");
    EXPECT_EQ(AccessCellExplanation(access, kThisFolderColumn, kReadData),
              "The target has no permission list: nothing is decided.");
}

TEST(AccessTableTest, AuditCells) {
    const EffectiveAccess access =
        AccessOf("S:(AU;CISA;0x1;;;LAB\\jdoe)(AU;NPCISAFA;0x1;;;lab\\JDOE)"
                 "(AU;OIIOFA;GR;;;Everyone)(AU;SAFA;0x1f01ff;;;LAB\\x)");
    struct Case {
        int column;
        std::uint32_t mask;
        const char* text;
    };
    const Case cases[] = {
        {kThisFolderColumn, kReadData, "Success and failure"},
        {kSubfoldersColumn, kReadData, "Success and failure in the first level, success below"},
        {kFilesColumn, kReadData, "Failure"},
        {kFilesColumn, kReadMask, "Failure"},
        {kFilesColumn, kFullControlMask, "Not audited"},
        {kThisFolderColumn, kDelete, "Not audited"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(AuditCellText(AuditCellOf(access, c.column, c.mask)), c.text);
    }
}

// The window shows the cells in the user's language from the same phrases: every pattern is
// one it can list for translation, and each placeholder is filled once, in the order the
// language puts them, whatever the arguments hold.
TEST(AccessTableTest, PhrasesRenderThroughALanguage) {
    const EffectiveAccess access = AccessOf("D:(D;NPCIIO;0x1;;;LAB\\jdoe)(A;CIIO;0x1;;;LAB\\jdoe)");
    const std::vector<Phrase> lines =
        AccessCellExplanationLines(access, kSubfoldersColumn, kReadData);
    const auto known = PhrasePatterns();
    std::vector<const Phrase*> pending;
    for (const Phrase& line : lines)
        pending.push_back(&line);
    const Phrase cell =
        AccessCellPhrase(access, AccessCellOf(access, kSubfoldersColumn, kReadData));
    pending.push_back(&cell);
    while (!pending.empty()) {
        const Phrase* phrase = pending.back();
        pending.pop_back();
        if (phrase->pattern != nullptr) {
            EXPECT_NE(std::find(known.begin(), known.end(), phrase->pattern), known.end())
                << phrase->pattern;
        }
        for (const Phrase& arg : phrase->args)
            pending.push_back(&arg);
    }

    const PhraseLanguage reversed = [](const char* pattern) {
        const std::string text = pattern;
        if (text == "%1 in the first level, %2 below")
            return std::string("below: %2; first: %1");
        if (text == "Denied by entry %1: %2")
            return std::string("%2 <- %1%");
        return "[" + text + "]";
    };
    EXPECT_EQ(Render(cell, reversed), "below: [allowed]; first: [Denied]");
    EXPECT_EQ(Render(lines, reversed),
              "[In the first level:]\n(D;NPCIIO;0x1;;;LAB\\jdoe) <- 1%\n"
              "[Below the first level:]\n[Allowed by entry 2: (A;CIIO;0x1;;;LAB\\jdoe)]");

    const Phrase literalPercent{.pattern = "Denied by entry %1: %2",
                                .literal = {},
                                .args = {{.pattern = nullptr, .literal = "%2", .args = {}},
                                         {.pattern = nullptr, .literal = "x%1", .args = {}}}};
    EXPECT_EQ(Render(literalPercent), "Denied by entry %2: x%1");
    const Phrase missing{.pattern = "%1 in the first level, %2 below", .literal = {}, .args = {}};
    EXPECT_EQ(Render(missing), "%1 in the first level, %2 below");
}

} // namespace
} // namespace permora
