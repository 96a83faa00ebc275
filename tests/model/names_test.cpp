#include "model/names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace permora {
namespace {

std::string Text(const char* name) {
    return name == nullptr ? std::string("<none>") : std::string(name);
}

TEST(NamesTest, PermissionNames) {
    const struct {
        std::uint32_t mask;
        const char* name;
    } cases[] = {
        {0x00000000, "??No Permission??"},
        {0x00100000, "??No Permission??"},
        {0x00000001, "List folder/Read data"},
        {0x00100002, "Create files/Write data"},
        {0x00000004, "Create folders/Append data"},
        {0x00000008, "Read extended attributes"},
        {0x00000010, "Write extended attributes"},
        {0x00100020, "Traverse Folder/Execute File"},
        {0x00000040, "Delete subfolders and files"},
        {0x00000080, "Read attributes"},
        {0x00000100, "Write attributes"},
        {0x00010000, "Delete"},
        {0x00120000, "Read permissions"},
        {0x00040000, "Change permissions"},
        {0x00180000, "Take Ownership"},
        {0x00000116, "Write"},
        {0x00100116, "Write"},
        {0x00020089, "Read"},
        {0x001200A9, "Read and Execute"},
        {0x000200A9, "Read and Execute"},
        {0x000201BF, "Read, Write & Execute"},
        {0x001301BF, "Modify"},
        {0x000F01FF, "Full Control"},
        {0x001F01FF, "Full Control"},
        {0x001F01FE, "Special"}, // Full Control less one right
        {0x000F00FF, "Special"},
        {0x00000003, "Special"},
        {0x00100003, "Special"},
        {0x00200000, "Special"}, // a right outside the table
        {0x10000000, "Special"},
        {0xFFFFFFFF, "Special"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(PermissionName(c.mask)), c.name) << std::hex << c.mask;
    }
}

TEST(NamesTest, ApplyToStyleAndLevelNames) {
    const struct {
        int code;
        const char* name;
    } applyTo[] = {
        {1, "This folder and files"},
        {2, "This folder and subfolders"},
        {3, "This folder, subfolders and files"},
        {4, "This folder only"},
        {9, "Files only"},
        {10, "Subfolders only"},
        {11, "Subfolders and files only"},
        {0x10B, "Subfolders and files only"}, // only the low byte counts
        {-245, "Subfolders and files only"},  // 0x...FF0B
        {0, nullptr},
        {5, nullptr},
        {8, nullptr},
        {12, nullptr},
        {0xC3, nullptr}, // audit bits are not part of a code
    };
    for (const auto& c : applyTo) {
        EXPECT_EQ(Text(ApplyToName(c.code)), Text(c.name)) << c.code;
    }

    const struct {
        int value;
        const char* style;
        const char* level;
    } numbered[] = {
        {-1, nullptr, nullptr},    {0, nullptr, "File/Directory"}, {1, "NTFS", "Storage"},
        {2, "NFSV3 ACL", nullptr}, {3, "NFSV4 ACL", nullptr},      {4, nullptr, nullptr},
    };
    for (const auto& c : numbered) {
        EXPECT_EQ(Text(StyleName(c.value)), Text(c.style)) << c.value;
        EXPECT_EQ(Text(LevelName(c.value)), Text(c.level)) << c.value;
    }
}

// Every code has words, and they say which places it reaches.
TEST(NamesTest, PlacesTextNamesEveryCode) {
    const struct {
        std::uint8_t flags;
        const char* text;
    } cases[] = {
        {0x00, "This folder only"},
        {0x04, "This folder only"},
        {0x03, "This folder, subfolders and files"},
        {0xC3, "This folder, subfolders and files"}, // audit bits aside
        {0x0B, "Subfolders and files only"},
        {0x07, "This folder, subfolders and files, one level"},
        {0x06, "This folder and subfolders, one level"},
        {0x05, "This folder and files, one level"},
        {0x0F, "Subfolders and files only, one level"},
        {0x0D, "Files only, one level"},
        {0x0E, "Subfolders only, one level"},
        {0x08, "No folder or file"},
        {0x0C, "No folder or file"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlacesText(c.flags), c.text) << int{c.flags};
    }
    for (int code = 0; code < 16; ++code) {
        if (const char* name = ApplyToName(code)) {
            EXPECT_EQ(ApplyToCode(name), code);
        }
    }
    EXPECT_EQ(ApplyToCode("subfolders ONLY"), 10);
    EXPECT_EQ(ApplyToCode("Everywhere"), -1);
}

} // namespace
} // namespace permora
