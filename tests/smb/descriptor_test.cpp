// The descriptor bytes a share sends, as capture and verify read them.

#include "smb/capture.h"
#include "smb/convert.h"
#include "smb/descriptor_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace permora::smb {
namespace {

void PutU16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// S-1-authority-subs...
std::string Sid(std::uint8_t authority, const std::vector<std::uint32_t>& subs) {
    std::string out{1, static_cast<char>(subs.size()), 0, 0, 0, 0, 0, static_cast<char>(authority)};
    for (const std::uint32_t sub : subs) {
        PutU32(out, sub);
    }
    return out;
}

std::string Entry(std::uint8_t type, std::uint8_t flags, std::uint32_t mask,
                  const std::string& sid) {
    std::string out{static_cast<char>(type), static_cast<char>(flags)};
    PutU16(out, static_cast<unsigned>(8 + sid.size()));
    PutU32(out, mask);
    return out + sid;
}

std::string List(const std::vector<std::string>& entries) {
    std::string body;
    for (const std::string& e : entries) {
        body += e;
    }
    std::string out{2, 0};
    PutU16(out, static_cast<unsigned>(8 + body.size()));
    PutU16(out, static_cast<unsigned>(entries.size()));
    PutU16(out, 0);
    return out + body;
}

// Owner, then the audit list, then the permission list.
std::string Descriptor(std::uint16_t control, const std::string& owner, const std::string& sacl,
                       const std::string& dacl) {
    std::string out{1, 0};
    PutU16(out, control | 0x8000u);
    const std::uint32_t ownerAt = owner.empty() ? 0 : 20;
    const std::uint32_t saclAt = sacl.empty() ? 0 : static_cast<std::uint32_t>(20 + owner.size());
    const std::uint32_t daclAt =
        dacl.empty() ? 0 : static_cast<std::uint32_t>(20 + owner.size() + sacl.size());
    PutU32(out, ownerAt);
    PutU32(out, 0);
    PutU32(out, saclAt);
    PutU32(out, daclAt);
    return out + owner + sacl + dacl;
}

const std::string kWorld = Sid(1, {0});        // S-1-1-0
const std::string kAdmins = Sid(5, {32, 544}); // S-1-5-32-544
const std::string kUser = Sid(5, {21, 1, 2, 3, 1000});

std::string Sample() {
    return Descriptor(
        0x0004 | 0x0010 | 0x1000 | 0x0400, kAdmins, List({Entry(2, 0x40 | 0x03, 0x10000, kWorld)}),
        List({Entry(1, 0x03, 0x116, kUser), Entry(0, 0x13, 0x1f01ff, kAdmins),
              Entry(0, 0x00, 0x1200a9, kUser), Entry(5, 0x00, 0x1, kUser) /* an object entry */}));
}

TEST(DescriptorBytes, ExplicitEntriesAreWrittenAndTheOthersCounted) {
    const auto raw = ParseDescriptor(Sample());
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->owner, "S-1-5-32-544");
    const DescriptorText text =
        ToDescriptorText(*raw, true, [](const std::string& sid) { return sid; });
    EXPECT_EQ(text.sddl, "O:S-1-5-32-544S:(AU;CIOISA;0x10000;;;S-1-1-0)"
                         "D:PAI(D;CIOI;0x116;;;S-1-5-21-1-2-3-1000)"
                         "(A;;0x1200a9;;;S-1-5-21-1-2-3-1000)");
    EXPECT_EQ(text.inherited, 1);
    EXPECT_EQ(text.unsupported, 1);
    EXPECT_TRUE(text.explicitEntries);
    EXPECT_TRUE(text.protectedList);

    const DescriptorText withoutAudit =
        ToDescriptorText(*raw, false, [](const std::string& sid) { return sid; });
    EXPECT_EQ(withoutAudit.sddl.find("S:("), std::string::npos);
}

TEST(DescriptorBytes, EveryCutOrBentDescriptorIsRefusedWithoutReadingPastItsEnd) {
    const std::string whole = Sample();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        // A copy of exactly that size, so that a read past it is caught by the sanitizer.
        const std::string cut = whole.substr(0, size);
        EXPECT_FALSE(ParseDescriptor(cut).has_value()) << size;
    }
    for (std::size_t at = 0; at < whole.size(); ++at) {
        std::string bent = whole;
        bent[at] = static_cast<char>(0xFF);
        (void)ParseDescriptor(bent); // any result, but no crash and no read past the bytes
    }
}

TEST(DescriptorBytes, SidTexts) {
    struct Case {
        std::string bytes;
        const char* text;
    };
    const Case cases[] = {
        {kWorld, "S-1-1-0"},
        {kUser, "S-1-5-21-1-2-3-1000"},
        {std::string("\x01\x00\x00\x01\x00\x00\x00\x00", 8), "S-1-0x000100000000"},
        {std::string("\x02\x00\x00\x00\x00\x00\x00\x01", 8), ""}, // revision 2
        {Sid(5, {32, 544}).substr(0, 12), ""},                    // cut short
    };
    for (const Case& c : cases) {
        const auto* data = reinterpret_cast<const unsigned char*>(c.bytes.data());
        EXPECT_EQ(SidText(data, c.bytes.size()), c.text);
    }
    EXPECT_TRUE(IsSidText("S-1-5-21-1-2-3"));
    EXPECT_FALSE(IsSidText("S-1-5-"));
    EXPECT_FALSE(IsSidText("S-1-5--2"));
    EXPECT_FALSE(IsSidText("LAB\\ann"));
}

TEST(CaptureOrder, FoldersComeInNameOrderLettersWithoutRegardToCase) {
    std::vector<std::string> names{"beta", "Gamma", "_x", "alpha", "Beta", "delta", "Alpha"};
    std::sort(names.begin(), names.end(), FolderNameBefore);
    // "_" sorts before the letters, as its byte does before the lower-case ones.
    EXPECT_EQ(names,
              (std::vector<std::string>{"_x", "Alpha", "alpha", "Beta", "beta", "delta", "Gamma"}));
}

} // namespace
} // namespace permora::smb
