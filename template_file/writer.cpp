// The text of a template: entry strings, target lines, and the bytes of both file kinds.

#include "template_file/template_file.h"
#include "template_file/utf8.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace permora {

namespace {

void AppendEntryText(std::string& out, const Ace& entry);

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendHex(std::string& out, std::uint32_t value) {
    char digits[8];
    int count = 0;
    do {
        digits[count++] = kHexDigits[value & 0xFu];
        value >>= 4;
    } while (value != 0);
    while (count > 0) {
        out.push_back(digits[--count]);
    }
}

void AppendDecimal(std::string& out, std::int32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void AppendList(std::string& out, const AceList& list) {
    for (const Ace* entry = list.Head; entry != nullptr; entry = entry->Next) {
        AppendEntryText(out, *entry);
    }
}

void AppendLineEnd8(std::string& out) {
    out.push_back('\r');
    out.push_back('\n');
}

char* PutUnit(char* at, std::uint32_t unit) {
    at[0] = static_cast<char>(unit & 0xFF);
    at[1] = static_cast<char>(unit >> 8);
    return at + 2;
}

// The text as UTF-16LE units: ASCII unit for unit, UTF-8 sequences as their characters
// (surrogate pairs beyond U+FFFF), and any other byte as the character of the same value.
void AppendUnits(std::string& out, std::string_view text) {
    // Every byte of the text becomes at most one unit of two bytes.
    const std::size_t start = out.size();
    out.resize(start + 2 * text.size());
    char* at = out.data() + start;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::uint32_t character = 0;
        const std::size_t length = c < 0x80 ? 0 : utf8::Sequence(text.substr(i), character);
        if (length == 0) {
            at = PutUnit(at, c);
            ++i;
        } else if (character < 0x10000) {
            at = PutUnit(at, character);
            i += length;
        } else {
            character -= 0x10000;
            at = PutUnit(at, 0xD800 + (character >> 10));
            at = PutUnit(at, 0xDC00 + (character & 0x3FF));
            i += length;
        }
    }
    out.resize(static_cast<std::size_t>(at - out.data()));
}

constexpr char kHeaderLine[] = "cb56f6f4";

std::size_t EstimatedLineLength(const TargetObject& target) {
    std::size_t length = 40 + target.Path.size() + target.SourceLine.size();
    if (target.Descriptor) {
        const SecurityDescriptor& d = *target.Descriptor;
        const std::size_t entries =
            d.SaclList.Audit.Count + d.DaclList.Deny.Count + d.DaclList.Allow.Count;
        length += entries * 48;
    }
    return length;
}

void AppendEntryText(std::string& out, const Ace& entry) {
    switch (entry.AceType) {
    case kDenyType:
        out.append("(D;");
        break;
    case kAuditType:
        out.append("(AU;");
        break;
    default:
        out.append("(A;");
        break;
    }
    const std::uint8_t flags = entry.Flags;
    if (flags & kNoPropagate) {
        out.append("NP");
    }
    if (flags & kContainerInherit) {
        out.append("CI");
    }
    if (flags & kObjectInherit) {
        out.append("OI");
    }
    if (flags & kInheritOnly) {
        out.append("IO");
    }
    if (flags & kAuditSuccess) {
        out.append("SA");
    }
    if (flags & kAuditFailure) {
        out.append("FA");
    }
    out.append(";0x");
    AppendHex(out, entry.Mask);
    out.append(";;;");
    out.append(entry.NTAccount);
    out.push_back(')');
}

// A part's tag and its marks: "S:" or "D:", then P and AR as the control word holds them.
void AppendPartHead(std::string& out, const char* tag, bool isProtected, bool autoInherit) {
    out.append(tag);
    if (isProtected) {
        out.push_back('P');
    }
    if (autoInherit) {
        out.append("AR");
    }
}

void AppendDescriptorText(std::string& out, const SecurityDescriptor& d) {
    if (d.Control & SE_SACL_PRESENT) {
        AppendPartHead(out, "S:", (d.Control & SE_SACL_PROTECTED) != 0,
                       (d.Control & SE_SACL_AUTO_INHERIT_REQ) != 0);
        AppendList(out, d.SaclList.Audit);
    }
    if (d.Control & SE_DACL_PRESENT) {
        AppendPartHead(out, "D:", (d.Control & SE_DACL_PROTECTED) != 0,
                       (d.Control & SE_DACL_AUTO_INHERIT_REQ) != 0);
        AppendList(out, d.DaclList.Deny);
        AppendList(out, d.DaclList.Allow);
    }
}

void AppendTargetLine(std::string& out, const TargetObject& target) {
    if (target.SecurityStyle != kStyleNtfs) {
        out.append(target.SourceLine);
        return;
    }
    out.append("1,");
    AppendDecimal(out, target.SecurityLevel);
    out.append(",\"");
    out.append(target.Path);
    out.append("\",");
    AppendDecimal(out, target.Mode);
    out.append(",\"");
    if (target.Descriptor) {
        AppendDescriptorText(out, *target.Descriptor);
    }
    out.push_back('"');
}

} // namespace

std::string ToSddl(const Ace& entry) {
    std::string text;
    text.reserve(24 + entry.NTAccount.size());
    AppendEntryText(text, entry);
    return text;
}

std::string ToSddl(const AceList& list) {
    std::string text;
    text.reserve(static_cast<std::size_t>(list.Count) * 48);
    AppendList(text, list);
    return text;
}

std::string ToSddl(const SecurityDescriptor& descriptor) {
    std::string text;
    AppendDescriptorText(text, descriptor);
    return text;
}

std::string ToLine(const TargetObject& target) {
    std::string line;
    line.reserve(EstimatedLineLength(target));
    AppendTargetLine(line, target);
    return line;
}

namespace {

std::size_t EstimatedFileSize(const SecurityTemplate& tmpl, Encoding encoding) {
    std::size_t size = sizeof kHeaderLine + 1;
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
        size += EstimatedLineLength(*t) + 2;
    }
    return encoding == Encoding::Unicode ? 2 + 2 * size : size;
}

// The start of a file: the byte-order mark of a Unicode file, then the header line.
void AppendFileStart(std::string& out, Encoding encoding) {
    if (encoding == Encoding::EightBit) {
        out.append(kHeaderLine);
        AppendLineEnd8(out);
        return;
    }
    out.push_back('\xFF');
    out.push_back('\xFE');
    std::string line = kHeaderLine;
    AppendLineEnd8(line);
    AppendUnits(out, line);
}

// One target's line with its line end, in the file's encoding: every file is made of these.
// `line` holds the 8-bit text of a Unicode line on its way.
void AppendFileLine(std::string& out, std::string& line, const TargetObject& target,
                    Encoding encoding) {
    if (encoding == Encoding::EightBit) {
        AppendTargetLine(out, target);
        AppendLineEnd8(out);
        return;
    }
    line.clear();
    AppendTargetLine(line, target);
    AppendLineEnd8(line);
    AppendUnits(out, line);
}

std::string EncodeWhole(const SecurityTemplate& tmpl, Encoding encoding) {
    std::string out;
    out.reserve(EstimatedFileSize(tmpl, encoding));
    std::string line;
    AppendFileStart(out, encoding);
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
        AppendFileLine(out, line, *t, encoding);
    }
    return out;
}

} // namespace

std::string Encode8Bit(const SecurityTemplate& tmpl) {
    return EncodeWhole(tmpl, Encoding::EightBit);
}

std::string EncodeUnicode(const SecurityTemplate& tmpl) {
    return EncodeWhole(tmpl, Encoding::Unicode);
}

BlockEncoder::BlockEncoder(Encoding encoding, ByteSink sink, std::size_t blockSize)
    : encoding_(encoding), sink_(std::move(sink)), blockSize_(std::max<std::size_t>(blockSize, 1)) {
    block_.reserve(blockSize_ + 4096);
    AppendFileStart(block_, encoding_);
    going_ = SendWholeBlocks();
}

bool BlockEncoder::Add(const TargetObject& target) {
    if (!going_) {
        return false;
    }
    AppendFileLine(block_, line_, target, encoding_);
    going_ = SendWholeBlocks();
    return going_;
}

bool BlockEncoder::Finish() {
    if (going_ && !block_.empty()) {
        going_ = sink_(block_);
        block_.clear();
    }
    return going_;
}

bool BlockEncoder::SendWholeBlocks() {
    std::size_t sent = 0;
    for (; block_.size() - sent >= blockSize_; sent += blockSize_) {
        if (!sink_(std::string_view(block_.data() + sent, blockSize_))) {
            return false;
        }
    }
    block_.erase(0, sent);
    return true;
}

bool EncodeTemplate(const SecurityTemplate& tmpl, Encoding encoding, const ByteSink& sink,
                    std::size_t blockSize) {
    BlockEncoder encoder(encoding, sink, blockSize);
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
        if (!encoder.Add(*t)) {
            return false;
        }
    }
    return encoder.Finish();
}

} // namespace permora
