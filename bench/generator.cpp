#include "bench/generator.h"

#include "bench/fixtures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace permora::bench {
namespace {

const char* const kDomains[] = {"LAB", "CORP", "SALES.EU-1", "ENG"};
const char* const kGroups[] = {"Staff", "Backup_Operators", "Auditors", "Helpdesk"};
const std::uint32_t kAllowMasks[] = {kFullControlMask, kModifyMask | kSynchronize,
                                     kReadExecuteMask | kSynchronize, kReadMask | kSynchronize};

std::string Number(int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06d", n);
    return buffer;
}

void AddEntry(Acl& acl, const std::string& account, std::uint32_t mask, std::uint8_t type,
              std::uint8_t flags) {
    acl.Add(std::make_unique<Ace>(account, mask, type, flags));
}

} // namespace

std::unique_ptr<SecurityTemplate> MakeLargeTemplate(int targets, std::uint32_t seed) {
    std::mt19937 random(seed);
    auto tmpl = std::make_unique<SecurityTemplate>();
    for (int i = 0; i < targets; ++i) {
        const std::string user = Number(i);
        const std::string domain = kDomains[random() % 4];
        auto descriptor = std::make_unique<SecurityDescriptor>();
        descriptor->Control = SE_SACL_PRESENT | SE_DACL_PRESENT | SE_DACL_PROTECTED;
        AddEntry(descriptor->SaclList, "Everyone", kModifyMask, kAuditType, kDefaultAuditFlags);
        AddEntry(descriptor->DaclList, domain + "\\guest" + user, kWriteMask | kSynchronize,
                 kDenyType, kDefaultFlags);
        AddEntry(descriptor->DaclList, domain + "\\user" + user, kFullControlMask, kAllowType,
                 kDefaultFlags);
        AddEntry(descriptor->DaclList, domain + "\\" + kGroups[random() % 4],
                 kAllowMasks[random() % 4], kAllowType, kDefaultFlags);
        AddEntry(descriptor->DaclList, "BUILTIN\\Administrators", kFullControlMask, kAllowType,
                 kDefaultFlags);
        AddEntry(descriptor->DaclList, "Everyone", kReadExecuteMask | kSynchronize, kAllowType,
                 kDefaultFlags);
        auto target = std::make_unique<TargetObject>("/vol/vol" + std::to_string(1 + random() % 8) +
                                                         "/home/user" + user,
                                                     std::move(descriptor));
        target->SecurityLevel = static_cast<std::int32_t>(random() % 2);
        tmpl->Append(std::move(target));
    }
    return tmpl;
}

std::unique_ptr<TargetObject> MakeWideTarget(int entries, std::uint32_t seed) {
    std::mt19937 random(seed);
    auto descriptor = std::make_unique<SecurityDescriptor>();
    descriptor->Control = SE_DACL_PRESENT | SE_SACL_PRESENT;
    for (int i = 0; i < entries; ++i) {
        const std::uint8_t type = i % 5 == 0 ? kDenyType : kAllowType;
        AddEntry(descriptor->DaclList, "LAB\\account" + Number(i), kAllowMasks[random() % 4], type,
                 kDefaultFlags);
    }
    return std::make_unique<TargetObject>("/vol/vol1/wide", std::move(descriptor));
}

namespace {

const std::filesystem::path& RunFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "permora-bench-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        return std::filesystem::path(pattern);
    }();
    return folder;
}

} // namespace

std::string RunFile(const std::string& name) {
    return (RunFolder() / name).string();
}

void RemoveRunFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(RunFolder(), ignored);
}

std::string WriteTempFile(const std::string& name, const std::string& bytes) {
    const std::string path = RunFile(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

} // namespace permora::bench
