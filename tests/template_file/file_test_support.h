#pragma once

#include "template_file/decode_detail.h"
#include "template_file/parallel_detail.h"
#include "template_file/template_file.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

namespace permora::test {

// Whether a name is that of a lock file, which stays beside a saved template for good.
inline bool IsLockFile(const std::string& name) {
    return name.size() > 6 && name.front() == '.' && name.ends_with(".lock");
}

// A message sink that keeps every message in order.
struct Messages {
    std::vector<std::string> texts;
    MessageSink Sink() {
        return [this](const std::string& text) { texts.push_back(text); };
    }
};

inline std::unique_ptr<Ace> Entry(const std::string& account, std::uint8_t type, std::uint8_t flags,
                                  std::uint32_t mask) {
    return std::make_unique<Ace>(account, mask, type, flags);
}

// A target with the given control bits and no entries yet.
inline std::unique_ptr<TargetObject> EmptyTarget(const std::string& path, std::int32_t level,
                                                 std::uint16_t control) {
    auto descriptor = std::make_unique<SecurityDescriptor>();
    descriptor->Control = control;
    auto target = std::make_unique<TargetObject>(path, std::move(descriptor));
    target->SecurityLevel = level;
    return target;
}

// A target as the import makes it before reading its line.
inline std::unique_ptr<TargetObject> FreshTarget() {
    auto target = std::make_unique<TargetObject>(std::string(), MakeDefaultDescriptor());
    target->SecurityLevel = kLevelFileDirectory;
    return target;
}

// The complete example file: three targets, one with audit, deny and allow entries.
inline void BuildExampleTemplate(SecurityTemplate& tmpl) {
    auto first = std::make_unique<TargetObject>("/vol/vol1/qt1", MakeDefaultDescriptor());
    first->SecurityLevel = kLevelFileDirectory;
    tmpl.Append(std::move(first));

    auto second = EmptyTarget("/vol/vol2", kLevelStorage,
                              SE_SACL_PRESENT | SE_DACL_PRESENT | SE_DACL_PROTECTED);
    SecurityDescriptor& d = *second->Descriptor;
    d.SaclList.Add(Entry("Everyone", kAuditType, 0xC3, 0x200A9));
    d.DaclList.Add(Entry("LAB\\guest", kDenyType, 0x03, 0x1F01FF));
    d.DaclList.Add(Entry("LAB\\admins", kAllowType, kNoPropagate, 0x1301BF));
    d.DaclList.Add(Entry("Everyone", kAllowType, 0x03, 0x1200A9));
    tmpl.Append(std::move(second));

    auto third = EmptyTarget("/vol/vol1/home", kLevelFileDirectory,
                             SE_DACL_PRESENT | SE_DACL_AUTO_INHERIT_REQ);
    third->Descriptor->DaclList.Add(Entry("LAB\\admins", kAllowType, 0x0B, 0x1F01FF));
    tmpl.Append(std::move(third));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The 8-bit text as UTF-16LE units, without a byte-order mark.
inline std::string Widen(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}

// Lowers the limits of the decoding or moves the first line number for one test, and puts
// them back at its end.
class DecodeLimits {
public:
    DecodeLimits() = default;
    ~DecodeLimits() {
        decode_detail::templateLine = templateLine_;
        decode_detail::pathListLine = pathListLine_;
        decode_detail::firstLineNumber = firstLineNumber_;
    }
    DecodeLimits(const DecodeLimits&) = delete;
    DecodeLimits& operator=(const DecodeLimits&) = delete;

    DecodeLimits& TemplateLine(std::size_t bytes) {
        decode_detail::templateLine = bytes;
        return *this;
    }
    DecodeLimits& PathListLine(std::size_t bytes) {
        decode_detail::pathListLine = bytes;
        return *this;
    }
    DecodeLimits& FirstLine(std::int64_t number) {
        decode_detail::firstLineNumber = number;
        return *this;
    }

private:
    std::size_t templateLine_ = decode_detail::templateLine;
    std::size_t pathListLine_ = decode_detail::pathListLine;
    std::int64_t firstLineNumber_ = decode_detail::firstLineNumber;
};

// Sets how many threads read an import or encode a save, and how much goes to a thread at a
// time, for one test.
class Parallel {
public:
    explicit Parallel(int threads, std::size_t blockBytes = parallel_detail::blockBytes,
                      std::size_t encodeTargets = parallel_detail::encodeTargets) {
        parallel_detail::threads = threads;
        parallel_detail::blockBytes = blockBytes;
        parallel_detail::encodeTargets = encodeTargets;
    }
    ~Parallel() {
        parallel_detail::threads = threads_;
        parallel_detail::blockBytes = blockBytes_;
        parallel_detail::encodeTargets = encodeTargets_;
    }
    Parallel(const Parallel&) = delete;
    Parallel& operator=(const Parallel&) = delete;

private:
    int threads_ = parallel_detail::threads;
    std::size_t blockBytes_ = parallel_detail::blockBytes;
    std::size_t encodeTargets_ = parallel_detail::encodeTargets;
};

// Input without end, as /dev/zero gives it: the given bytes over and over. Counts the bytes
// handed out, so that a test can tell how far a reader went.
class EndlessBuffer : public std::streambuf {
public:
    explicit EndlessBuffer(const std::string& pattern) {
        while (block_.size() < 4096) {
            block_ += pattern;
        }
    }
    std::size_t Given() const { return given_; }

protected:
    int_type underflow() override {
        given_ += block_.size();
        setg(block_.data(), block_.data(), block_.data() + block_.size());
        return traits_type::to_int_type(block_.front());
    }

private:
    std::string block_;
    std::size_t given_ = 0;
};

inline std::vector<std::string> TemplateLines(const SecurityTemplate& tmpl) {
    std::vector<std::string> lines;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
        lines.push_back(ToLine(*t));
    }
    return lines;
}

} // namespace permora::test
