#pragma once

// A security descriptor as a share sends it: the self-relative bytes of the NTFS format,
// read with every length checked, since they come from a server.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace permora::smb {

// One entry as it stands in the bytes.
struct RawEntry {
    std::uint8_t type = 0;
    std::uint8_t flags = 0;
    std::uint32_t mask = 0;
    std::string sid; // "S-1-5-32-544"; empty for an entry type that carries none we read
};

// Entry types the template can hold; the others are read over and counted.
inline constexpr std::uint8_t kRawAllow = 0;
inline constexpr std::uint8_t kRawDeny = 1;
inline constexpr std::uint8_t kRawAudit = 2;
// The flag an entry carries when it came down from the folder's parent.
inline constexpr std::uint8_t kInheritedFlag = 0x10;

struct RawList {
    std::vector<RawEntry> entries;
};

struct RawDescriptor {
    std::uint16_t control = 0;
    std::string owner; // SID text; empty when the descriptor names none
    std::string group;
    std::optional<RawList> dacl; // none: the list is not present
    std::optional<RawList> sacl;
};

// Reads the bytes; nullopt when they are not a well-formed self-relative descriptor.
std::optional<RawDescriptor> ParseDescriptor(std::string_view bytes);

// The SID of bytes that begin at data (its revision byte), as text; empty when it does not
// fit in size bytes. used receives the SID's length.
std::string SidText(const unsigned char* data, std::size_t size, std::size_t* used = nullptr);

// Whether the text is a SID as SidText writes one.
[[nodiscard]] bool IsSidText(std::string_view text);

} // namespace permora::smb
