// Reading target lines, descriptor texts and entry strings back into the model.

#include "model/checks.h"
#include "template_file/template_file.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

namespace permora {

namespace {

constexpr char kInvalidFile[] = "   Invalid File";
constexpr char kInvalidPath[] = "Invalid File Path";
constexpr char kWrongType[] = "Wrong ace type.";
constexpr char kBadMask[] = "Cannot parse this Mask.";
constexpr char kInvalidAccount[] = "Invalid Account Name";

void Say(const MessageSink& sink, const char* message) {
    if (sink) {
        sink(std::string(message));
    }
}

int Fail(const MessageSink& sink) {
    Say(sink, kInvalidFile);
    return 1;
}

// Takes fields off a line: each step skips any delimiters, returns the run up to the next
// delimiter (or the end) and continues just after that delimiter.
class FieldScanner {
public:
    explicit FieldScanner(std::string_view text) : text_(text) {}

    bool Step(char delimiter, std::string_view& field) {
        while (pos_ < text_.size() && text_[pos_] == delimiter) {
            ++pos_;
        }
        if (pos_ >= text_.size()) {
            return false;
        }
        std::size_t end = text_.find(delimiter, pos_);
        if (end == std::string_view::npos) {
            end = text_.size();
        }
        field = text_.substr(pos_, end - pos_);
        pos_ = end < text_.size() ? end + 1 : end;
        return true;
    }

    std::string_view Rest() const { return text_.substr(pos_); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Optional white space, an optional sign and digits, up to the first other character; no
// digits read as 0. Values beyond the 32-bit range stop at its ends.
std::int32_t DecimalValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) {
            value = kLimit;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<std::int32_t>::max()) {
        value = std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Hexadecimal digits up to the first other character; no digits read as 0, a value beyond
// 32 bits as 0xffffffff.
std::uint32_t HexValue(std::string_view text) {
    std::uint64_t value = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            break;
        }
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) {
            return 0xFFFFFFFFu;
        }
    }
    return static_cast<std::uint32_t>(value);
}

std::uint8_t FlagsValue(std::string_view text) {
    struct Letters {
        std::string_view pair;
        std::uint8_t bit;
    };
    static constexpr Letters kOrder[] = {
        {"NP", kNoPropagate}, {"CI", kContainerInherit}, {"OI", kObjectInherit},
        {"IO", kInheritOnly}, {"SA", kAuditSuccess},     {"FA", kAuditFailure},
    };
    std::uint8_t flags = 0;
    std::size_t at = 0;
    for (const Letters& letters : kOrder) {
        if (text.substr(at).starts_with(letters.pair)) {
            flags = static_cast<std::uint8_t>(flags | letters.bit);
            at += 2;
        }
    }
    return flags;
}

struct PartBits {
    std::uint16_t protectedBit;
    std::uint16_t inheritRequestBit;
    std::uint16_t inheritedBit;
};

constexpr PartBits kSaclBits{SE_SACL_PROTECTED, SE_SACL_AUTO_INHERIT_REQ, SE_SACL_AUTO_INHERITED};
constexpr PartBits kDaclBits{SE_DACL_PROTECTED, SE_DACL_AUTO_INHERIT_REQ, SE_DACL_AUTO_INHERITED};

// One part ("S:..." or "D:..."), ending where the next part begins: its control letters,
// then its entries one after the other. A part without any entry is an empty list.
int ReadPart(std::string_view part, const PartBits& bits, SecurityDescriptor& descriptor, Acl& acl,
             const MessageSink& sink) {
    const std::size_t open = part.find('(');
    const std::string_view header = part.substr(0, open);
    std::uint16_t control = descriptor.Control;
    if (header.find('P') != std::string_view::npos) {
        control |= bits.protectedBit;
    }
    if (header.find("AR") != std::string_view::npos) {
        control |= bits.inheritRequestBit;
    }
    if (header.find("AI") != std::string_view::npos) {
        control |= bits.inheritedBit;
    }
    descriptor.Control = control;
    if (open == std::string_view::npos) {
        return 0;
    }

    std::string body;
    std::size_t position = open;
    while (position < part.size()) {
        // An entry is expected to begin with "(" here; whatever stands there is passed over.
        const std::size_t close = part.find(')', position);
        if (close == std::string_view::npos || close == position) {
            return Fail(sink);
        }
        body.assign(part.substr(position + 1, close - position - 1));
        position = close + 1;
        if (ReadAce(body, acl, sink) != 0) {
            return 1;
        }
    }
    return 0;
}

} // namespace

int ReadAce(const std::string& body, Acl& acl, const MessageSink& sink) {
    auto entry = std::make_unique<Ace>("Everyone", kAllowType);
    const std::string_view text = body;

    // The type, flags and mask fields each end at the next ";". The flags field may be
    // empty; a missing field, or an empty type or mask, makes the entry unreadable.
    const std::size_t typeEnd = text.find(';');
    const std::string_view type = text.substr(0, typeEnd);
    if (type.empty()) {
        return Fail(sink);
    }
    if (type == "A") {
        entry->AceType = kAllowType;
    } else if (type == "D") {
        entry->AceType = kDenyType;
    } else if (type == "AU") {
        entry->AceType = kAuditType;
    } else {
        Say(sink, kWrongType);
        return 1;
    }
    if (typeEnd == std::string_view::npos) {
        return Fail(sink);
    }

    const std::size_t flagsStart = typeEnd + 1;
    const std::size_t flagsEnd = text.find(';', flagsStart);
    if (flagsEnd == std::string_view::npos) {
        return Fail(sink);
    }
    entry->Flags = FlagsValue(text.substr(flagsStart, flagsEnd - flagsStart));

    const std::size_t maskStart = flagsEnd + 1;
    std::size_t maskEnd = text.find(';', maskStart);
    if (maskEnd == std::string_view::npos) {
        maskEnd = text.size();
    }
    const std::string_view mask = text.substr(maskStart, maskEnd - maskStart);
    if (mask.empty()) {
        return Fail(sink);
    }
    if (mask.starts_with("0x")) {
        entry->Mask = HexValue(mask.substr(2));
    } else {
        Say(sink, kBadMask);
    }

    // The two empty fields, then the account.
    const std::size_t consumed = maskEnd + 1;
    if (consumed + 2 > text.size() || text[consumed] != ';' || text[consumed + 1] != ';') {
        return Fail(sink);
    }
    std::string account(text.substr(consumed + 2));
    if (!IsValidAccountName(account)) {
        Say(sink, kInvalidAccount);
        return Fail(sink);
    }
    entry->NTAccount = std::move(account);
    // An entry that the list refuses (an empty mask) is dropped and the reading goes on.
    acl.Add(entry);
    return 0;
}

int ReadDescriptor(const std::string& text, SecurityDescriptor& descriptor,
                   const MessageSink& sink) {
    descriptor.Control = 0;
    descriptor.SaclList.Clear();
    descriptor.DaclList.Clear();

    const std::string_view all = text;
    const std::size_t sStart = all.find("S:");
    const std::size_t dStart = all.find("D:");
    const bool hasS = sStart != std::string_view::npos;
    const bool hasD = dStart != std::string_view::npos;
    if (hasS) {
        descriptor.Control |= SE_SACL_PRESENT;
    }
    if (hasD) {
        descriptor.Control |= SE_DACL_PRESENT;
    }
    if (hasS) {
        // The audit part comes first and ends where the permission part begins.
        if (hasD && dStart < sStart) {
            return Fail(sink);
        }
        const std::size_t sEnd = hasD ? dStart : all.size();
        const std::string_view part = all.substr(sStart, sEnd - sStart);
        if (ReadPart(part, kSaclBits, descriptor, descriptor.SaclList, sink) != 0) {
            return 1;
        }
    }
    if (hasD) {
        const std::string_view part = all.substr(dStart);
        if (ReadPart(part, kDaclBits, descriptor, descriptor.DaclList, sink) != 0) {
            return 1;
        }
    }
    return 0;
}

int ReadTargetLine(const std::string& line, TargetObject& target, const MessageSink& sink) {
    FieldScanner scanner(line);
    std::string_view field;

    if (!scanner.Step(',', field)) {
        return Fail(sink);
    }
    target.SecurityStyle = DecimalValue(field);
    // A target of another style keeps the line it came from, to be written back unchanged.
    if (target.SecurityStyle != kStyleNtfs) {
        target.SourceLine = line;
    } else {
        target.SourceLine.clear();
    }

    if (!scanner.Step(',', field)) {
        return Fail(sink);
    }
    target.SecurityLevel = DecimalValue(field);

    if (!scanner.Step('"', field)) {
        return Fail(sink);
    }
    std::string path(field);
    if (!IsPathValid(path)) {
        Say(sink, kInvalidPath);
        return Fail(sink);
    }
    target.Path = std::move(path);

    if (!scanner.Step(',', field)) {
        return Fail(sink);
    }
    target.Mode = DecimalValue(field);

    if (!target.Descriptor) {
        target.Descriptor = std::make_unique<SecurityDescriptor>();
    }
    // Two double quotes with nothing between them are an empty descriptor, not a missing one.
    const std::string_view rest = scanner.Rest();
    if (!scanner.Step('"', field)) {
        if (rest.size() >= 2 && rest.find_first_not_of('"') == std::string_view::npos) {
            return ReadDescriptor(std::string(), *target.Descriptor, sink);
        }
        return Fail(sink);
    }
    return ReadDescriptor(std::string(field), *target.Descriptor, sink);
}

} // namespace permora
