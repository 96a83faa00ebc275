// Which warnings say that a save would change what a target grants or audits.

#include "file_test_support.h"

#include <gtest/gtest.h>

namespace permora {
namespace {

TEST(WarningKinds, OnlyMergesOwnersGroupsAndTheInheritedMarkKeepTheMeaning) {
    struct Case {
        const char* descriptor;
        bool changesMeaning;
    };
    const Case cases[] = {
        {"O:BAG:SYD:(A;CIOI;0x1;;;x)", false},
        {"D:AI(A;CIOI;0x1;;;x)", false},
        {"D:(A;;0x1f01ff;;;bob)(A;;0x1f01ff;;;bob)", false},
        {"D:(A;CIID;0x1;;;x)", true},
        {"D:(A;CI;0x1;;;x)(AU;CISA;0x1;;;x)", true},
        {"D:(A;CI;0x1;;;x)(D;CI;0x1;;;y)", true},
        {"D:(A;CI;0x1ffffffff;;;x)", true},
        {"D:(A;CI;0x100000;;;x)", true},
        {"XY D:(A;CI;0x1;;;x)", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.descriptor);
        std::vector<std::string> warnings;
        auto target = test::FreshTarget();
        ASSERT_EQ(ReadTargetLine(std::string("1,0,\"/vol/x\",0,\"") + c.descriptor + "\"", *target,
                                 {}, [&](const std::string& text) { warnings.push_back(text); }),
                  ReadStatus::Read);
        ASSERT_FALSE(warnings.empty());
        for (const std::string& warning : warnings) {
            EXPECT_EQ(WarningChangesMeaning(warning), c.changesMeaning) << warning;
        }
    }
}

} // namespace
} // namespace permora
