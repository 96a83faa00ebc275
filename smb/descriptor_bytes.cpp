// Reading the self-relative descriptor format.

#include "smb/descriptor_bytes.h"

#include <cstdio>

namespace permora::smb {

namespace {

std::uint16_t U16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t U32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

constexpr std::uint16_t kDaclPresent = 0x0004;
constexpr std::uint16_t kSaclPresent = 0x0010;
constexpr std::uint16_t kSelfRelative = 0x8000;

// An access list at offset; false when it does not fit.
bool ParseList(const unsigned char* data, std::size_t size, std::uint32_t offset, RawList& list) {
    if (offset > size || size - offset < 8) {
        return false;
    }
    const unsigned char* acl = data + offset;
    const std::size_t aclSize = U16(acl + 2);
    const std::size_t count = U16(acl + 4);
    if (aclSize < 8 || aclSize > size - offset) {
        return false;
    }
    std::size_t position = 8;
    for (std::size_t i = 0; i < count; ++i) {
        if (aclSize - position < 4) {
            return false;
        }
        const unsigned char* ace = acl + position;
        const std::size_t aceSize = U16(ace + 2);
        if (aceSize < 4 || aceSize > aclSize - position) {
            return false;
        }
        RawEntry entry;
        entry.type = ace[0];
        entry.flags = ace[1];
        // Allow, deny, audit and alarm entries: mask, then the SID.
        if (entry.type <= 3) {
            if (aceSize < 8 + 8) {
                return false;
            }
            entry.mask = U32(ace + 4);
            entry.sid = SidText(ace + 8, aceSize - 8);
            if (entry.sid.empty()) {
                return false;
            }
        } else if (aceSize >= 8) {
            entry.mask = U32(ace + 4);
        }
        list.entries.push_back(std::move(entry));
        position += aceSize;
    }
    return true;
}

} // namespace

std::string SidText(const unsigned char* data, std::size_t size, std::size_t* used) {
    if (size < 8) {
        return {};
    }
    const unsigned revision = data[0];
    const std::size_t parts = data[1];
    if (revision != 1 || parts > 15 || size < 8 + 4 * parts) {
        return {};
    }
    std::uint64_t authority = 0;
    for (int i = 2; i < 8; ++i) {
        authority = (authority << 8) | data[i];
    }
    std::string text = "S-1-";
    char buffer[32];
    if (authority >= (std::uint64_t{1} << 32)) {
        std::snprintf(buffer, sizeof buffer, "0x%012llX",
                      static_cast<unsigned long long>(authority));
    } else {
        std::snprintf(buffer, sizeof buffer, "%llu", static_cast<unsigned long long>(authority));
    }
    text += buffer;
    for (std::size_t i = 0; i < parts; ++i) {
        text += '-';
        text += std::to_string(U32(data + 8 + 4 * i));
    }
    if (used != nullptr) {
        *used = 8 + 4 * parts;
    }
    return text;
}

bool IsSidText(std::string_view text) {
    if (!text.starts_with("S-1-") || text.size() > 200) {
        return false;
    }
    text.remove_prefix(4);
    bool digit = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '-' && digit) {
            digit = false;
        } else {
            return false;
        }
    }
    return digit;
}

std::optional<RawDescriptor> ParseDescriptor(std::string_view bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    if (size < 20 || data[0] != 1) {
        return std::nullopt;
    }
    RawDescriptor d;
    d.control = U16(data + 2);
    if ((d.control & kSelfRelative) == 0) {
        return std::nullopt;
    }
    const std::uint32_t owner = U32(data + 4);
    const std::uint32_t group = U32(data + 8);
    const std::uint32_t sacl = U32(data + 12);
    const std::uint32_t dacl = U32(data + 16);
    if (owner != 0) {
        if (owner >= size || (d.owner = SidText(data + owner, size - owner)).empty()) {
            return std::nullopt;
        }
    }
    if (group != 0) {
        if (group >= size || (d.group = SidText(data + group, size - group)).empty()) {
            return std::nullopt;
        }
    }
    // A present list at offset 0 is the empty (NULL) list.
    if ((d.control & kSaclPresent) != 0 && sacl != 0) {
        d.sacl.emplace();
        if (!ParseList(data, size, sacl, *d.sacl)) {
            return std::nullopt;
        }
    }
    if ((d.control & kDaclPresent) != 0 && dacl != 0) {
        d.dacl.emplace();
        if (!ParseList(data, size, dacl, *d.dacl)) {
            return std::nullopt;
        }
    }
    return d;
}

} // namespace permora::smb
