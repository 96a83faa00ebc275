// Writing a share's descriptor as the text of a template's descriptor field.

#include "smb/convert.h"

#include <cstdio>

namespace permora::smb {

namespace {

constexpr std::uint16_t kDaclAutoInheritReq = 0x0100;
constexpr std::uint16_t kSaclAutoInheritReq = 0x0200;
constexpr std::uint16_t kDaclAutoInherited = 0x0400;
constexpr std::uint16_t kSaclAutoInherited = 0x0800;
constexpr std::uint16_t kDaclProtected = 0x1000;
constexpr std::uint16_t kSaclProtected = 0x2000;

// The flag letters in the order the template writes them; the bits without letters (the
// inherited mark among them) are not carried.
void AppendFlags(std::string& out, std::uint8_t flags) {
    constexpr struct {
        std::uint8_t bit;
        const char* letters;
    } kLetters[] = {{0x04, "NP"}, {0x02, "CI"}, {0x01, "OI"},
                    {0x08, "IO"}, {0x40, "SA"}, {0x80, "FA"}};
    for (const auto& letter : kLetters) {
        if ((flags & letter.bit) != 0) {
            out += letter.letters;
        }
    }
}

void AppendPart(std::string& out, const char* tag, const RawList& list, bool isAudit,
                bool isProtected, bool inheritRequest, bool autoInherited,
                const AccountOf& accountOf, DescriptorText& text) {
    out += tag;
    if (isProtected) {
        out += 'P';
    }
    if (autoInherited) {
        out += "AI";
    }
    if (inheritRequest) {
        out += "AR";
    }
    for (const RawEntry& entry : list.entries) {
        if ((entry.flags & kInheritedFlag) != 0) {
            ++text.inherited;
            continue;
        }
        const bool fits =
            isAudit ? entry.type == kRawAudit : entry.type == kRawAllow || entry.type == kRawDeny;
        if (!fits || entry.sid.empty()) {
            ++text.unsupported;
            continue;
        }
        text.explicitEntries = true;
        out += entry.type == kRawAllow ? "(A;" : entry.type == kRawDeny ? "(D;" : "(AU;";
        AppendFlags(out, entry.flags);
        char mask[16];
        std::snprintf(mask, sizeof mask, ";0x%x;;;", static_cast<unsigned>(entry.mask));
        out += mask;
        out += accountOf(entry.sid);
        out += ')';
    }
}

} // namespace

DescriptorText ToDescriptorText(const RawDescriptor& descriptor, bool withAudit,
                                const AccountOf& accountOf) {
    DescriptorText text;
    const std::uint16_t control = descriptor.control;
    if (!descriptor.owner.empty()) {
        text.sddl += "O:" + descriptor.owner;
    }
    if (!descriptor.group.empty()) {
        text.sddl += "G:" + descriptor.group;
    }
    if (withAudit && descriptor.sacl) {
        const bool isProtected = (control & kSaclProtected) != 0;
        std::string part;
        DescriptorText audit;
        AppendPart(part, "S:", *descriptor.sacl, true, isProtected,
                   (control & kSaclAutoInheritReq) != 0, (control & kSaclAutoInherited) != 0,
                   accountOf, audit);
        text.inherited += audit.inherited;
        text.unsupported += audit.unsupported;
        // An audit part with nothing of its own says nothing a template needs.
        if (audit.explicitEntries || isProtected) {
            text.sddl += part;
            text.explicitEntries = text.explicitEntries || audit.explicitEntries;
            text.protectedList = text.protectedList || isProtected;
        }
    }
    if (descriptor.dacl) {
        const bool isProtected = (control & kDaclProtected) != 0;
        DescriptorText permissions;
        AppendPart(text.sddl, "D:", *descriptor.dacl, false, isProtected,
                   (control & kDaclAutoInheritReq) != 0, (control & kDaclAutoInherited) != 0,
                   accountOf, permissions);
        text.inherited += permissions.inherited;
        text.unsupported += permissions.unsupported;
        text.explicitEntries = text.explicitEntries || permissions.explicitEntries;
        text.protectedList = text.protectedList || isProtected;
    }
    return text;
}

} // namespace permora::smb
