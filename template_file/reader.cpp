// Reading target lines, descriptor texts and entry strings back into the model.

#include "model/checks.h"
#include "template_file/parallel_detail.h"
#include "template_file/template_file.h"
#include "template_file/utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace permora {

namespace {

using namespace reader_message;

// What one reading reports to: the messages always (with what they refer to when someone
// asks), the warnings only when someone listens, so that an import without a warning sink
// builds no warning text at all.
struct Report {
    const MessageSink& sink;
    const WarningSink* warn;              // null: no warnings wanted
    const DetailSink* detailed = nullptr; // set: messages go here with their detail instead

    template <typename... Parts> void Warn(const Parts&... parts) const {
        std::string text;
        (text.append(parts), ...);
        (*warn)(text);
    }
};

void Say(const Report& report, const char* message, const std::string& detail = {}) {
    if (report.detailed != nullptr) {
        (*report.detailed)(std::string(message), detail);
    } else if (report.sink) {
        report.sink(std::string(message));
    }
}

// detail: what is wrong, for those who ask for it (the command line); the window's message
// stays the bare one.
ReadStatus Fail(const Report& report, const std::string& detail) {
    Say(report, kInvalidFile, detail);
    return ReadStatus::Failed;
}

std::string InEntry(std::string_view text) {
    return "entry (" + std::string(text) + ")";
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
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

    // Passes over further delimiters, as a step would before its field.
    void Skip(char delimiter) {
        while (pos_ < text_.size() && text_[pos_] == delimiter) {
            ++pos_;
        }
    }

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

std::string HexText(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "0x";
    int shift = 28;
    while (shift > 0 && ((value >> shift) & 0xFu) == 0) {
        shift -= 4;
    }
    for (; shift >= 0; shift -= 4) {
        text.push_back(kDigits[(value >> shift) & 0xFu]);
    }
    return text;
}

struct MaskReading {
    std::uint32_t value = kDefaultMask;
    bool parsed = false; // false: "Cannot parse this Mask." and the default mask
    bool exact = true;   // false: the value is not all the text says (clamped, text after it)
};

// The standard two-letter right codes, upper case only.
bool RightCodeValue(std::string_view pair, std::uint32_t& value) {
    struct Code {
        std::string_view letters;
        std::uint32_t value;
    };
    static constexpr Code kCodes[] = {
        {"FA", 0x1F01FF},   {"FR", 0x120089},   {"FW", 0x120116},   {"FX", 0x1200A0},
        {"GA", 0x10000000}, {"GR", 0x80000000}, {"GW", 0x40000000}, {"GX", 0x20000000},
        {"RC", 0x20000},    {"SD", 0x10000},    {"WD", 0x40000},    {"WO", 0x80000},
        {"CC", 0x1},        {"DC", 0x2},        {"LC", 0x4},        {"SW", 0x8},
        {"RP", 0x10},       {"WP", 0x20},       {"DT", 0x40},       {"LO", 0x80},
        {"CR", 0x100},
    };
    for (const Code& code : kCodes) {
        if (code.letters == pair) {
            value = code.value;
            return true;
        }
    }
    return false;
}

// A mask is "0x" or "0X" and hexadecimal digits, decimal digits alone, or two-letter right
// codes in any order (their union). Numbers beyond 32 bits read as 0xffffffff.
MaskReading ReadMask(std::string_view text) {
    MaskReading mask;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint64_t value = 0;
        std::size_t i = 2;
        for (; i < text.size(); ++i) {
            const int digit = HexDigit(text[i]);
            if (digit < 0) {
                break;
            }
            value = value * 16 + static_cast<std::uint64_t>(digit);
            if (value > 0xFFFFFFFFu) {
                value = 0xFFFFFFFFu;
                mask.exact = false;
            }
        }
        // Digits up to the first other character count; the rest of the text is ignored.
        mask.exact = mask.exact && i == text.size();
        mask.value = static_cast<std::uint32_t>(value);
        mask.parsed = true;
        return mask;
    }
    if (text.find_first_not_of("0123456789") == std::string_view::npos) {
        std::uint64_t value = 0;
        for (const char c : text) {
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
            if (value > 0xFFFFFFFFu) {
                value = 0xFFFFFFFFu;
                mask.exact = false;
            }
        }
        mask.value = static_cast<std::uint32_t>(value);
        mask.parsed = true;
        return mask;
    }
    if (text.size() % 2 != 0) {
        return mask;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        std::uint32_t code = 0;
        if (!RightCodeValue(text.substr(i, 2), code)) {
            return mask;
        }
        value |= code;
    }
    mask.value = value;
    mask.parsed = true;
    return mask;
}

// The flags field is read two bytes at a time from its start; each known pair sets its bit
// wherever it stands, in any order. Other pairs, and a last single byte, are ignored.
std::uint8_t FlagsValue(std::string_view text, std::string* ignored) {
    std::uint8_t flags = 0;
    for (std::size_t at = 0; at < text.size(); at += 2) {
        const std::string_view pair = text.substr(at, 2);
        std::uint8_t bit = 0;
        if (pair == "NP") {
            bit = kNoPropagate;
        } else if (pair == "CI") {
            bit = kContainerInherit;
        } else if (pair == "OI") {
            bit = kObjectInherit;
        } else if (pair == "IO") {
            bit = kInheritOnly;
        } else if (pair == "SA") {
            bit = kAuditSuccess;
        } else if (pair == "FA") {
            bit = kAuditFailure;
        } else if (ignored != nullptr) {
            if (!ignored->empty()) {
                ignored->push_back(' ');
            }
            ignored->append(pair);
        }
        flags = static_cast<std::uint8_t>(flags | bit);
    }
    return flags;
}

// Where an entry string stands: in an audit part, in a permission part, or given alone.
enum class Part { Audit, Permission, None };

// Enters the entry into its list and warns where the list does not keep it as written.
// Fails (after the messages) when the list is full.
ReadStatus EnterEntry(std::unique_ptr<Ace>& entry, Acl& acl, std::string_view body, Part part,
                      bool afterAllow, const Report& report) {
    const AceList& member = acl.MemberOf(entry->AceType);
    const bool warnings = report.warn != nullptr;
    const std::uint8_t type = entry->AceType;
    const bool wrongPart = (part == Part::Audit && type != kAuditType) ||
                           (part == Part::Permission && type == kAuditType);
    const int countBefore = member.Count;
    const bool auditsNothing = type == kAuditType && (entry->Flags & kAuditBits) == 0;
    std::string account;
    bool hadAccount = false;
    std::vector<std::pair<std::uint8_t, std::uint32_t>> before;
    if (warnings) {
        account = entry->NTAccount;
        hadAccount = member.Find(account) != nullptr;
        if (auditsNothing && hadAccount) {
            before = EntriesOf(member, account);
        }
    }

    if (!acl.Add(entry)) {
        if (entry && !IsMaskEmpty(entry->Mask)) {
            Say(report, kTooManyEntries, "(" + std::string(body) + ")");
            return Fail(report, "the list cannot take " + InEntry(body));
        }
        // A list refuses an entry whose mask counts as empty; the reading goes on.
        if (warnings) {
            report.Warn("entry (", body, ") is not saved: its mask ",
                        entry && entry->Mask == kSynchronize ? "holds only SYNCHRONIZE"
                                                             : "is empty");
        }
        return ReadStatus::Read;
    }
    if (!warnings) {
        return ReadStatus::Read;
    }
    if (wrongPart) {
        static constexpr const char* kKinds[] = {"allow", "deny", "audit"};
        report.Warn(kKinds[type], " entry (", body, ") in ",
                    part == Part::Audit ? "S:" : "D:", " is not saved");
        return ReadStatus::Read;
    }
    if (member.Count > countBefore) {
        if (afterAllow && type == kDenyType) {
            report.Warn("deny entry (", body, ") is saved before the allow entries");
        }
        return ReadStatus::Read;
    }
    // The list took the entry without linking it: merged into an entry of its account, or,
    // for an audit entry that audits nothing, dropped.
    if (auditsNothing &&
        (!hadAccount || (member.Count == countBefore && EntriesOf(member, account) == before))) {
        report.Warn("entry (", body, ") is not saved: it audits neither success nor failure");
        return ReadStatus::Read;
    }
    report.Warn("entry (", body, ") is merged into an earlier entry of ", account);
    return ReadStatus::Read;
}

// The names a template repeats (the well-known accounts, a site's groups) are held once: a
// small table of the names met lately hands out the same text for the same name. Long names
// pass by it, so that it never keeps much text alive.
constexpr std::size_t kNameSlots = 1024;

std::array<AccountName, kNameSlots>& RecentNames() {
    thread_local std::array<AccountName, kNameSlots> recent;
    return recent;
}

AccountName SharedName(std::string_view account) {
    constexpr std::size_t kLongest = 64;
    if (account.size() > kLongest) {
        return AccountName(account);
    }
    AccountName& slot = RecentNames()[std::hash<std::string_view>{}(account) % kNameSlots];
    if (slot != account) {
        slot = AccountName(account);
    }
    return slot;
}

ReadStatus ReadEntry(std::string_view text, Acl& acl, Part part, bool afterAllow,
                     const Report& report) {
    // Every field is read over the default entry; its account is given last.
    auto entry = std::make_unique<Ace>(AccountName(), kAllowType);

    // The type, flags and mask fields each end at the next ";". The flags field may be
    // empty; a missing field, or an empty type or mask, makes the entry unreadable.
    const std::size_t typeEnd = text.find(';');
    const std::string_view type = text.substr(0, typeEnd);
    if (type.empty()) {
        return Fail(report, InEntry(text) + " has no type");
    }
    if (type == "A") {
        entry->AceType = kAllowType;
    } else if (type == "D") {
        entry->AceType = kDenyType;
    } else if (type == "AU") {
        entry->AceType = kAuditType;
    } else {
        const bool conditional = type == "XA" || type == "XD" || type == "XU" || type == "ZA";
        Say(report, kWrongType,
            "(" + std::string(text) + ")" +
                (conditional ? " (conditional entries, XA, XD, XU and ZA, are not supported)"
                             : ""));
        return ReadStatus::Failed;
    }
    if (typeEnd == std::string_view::npos) {
        return Fail(report, InEntry(text) + " ends after its type (a missing field)");
    }

    const std::size_t flagsStart = typeEnd + 1;
    const std::size_t flagsEnd = text.find(';', flagsStart);
    if (flagsEnd == std::string_view::npos) {
        return Fail(report, InEntry(text) + " ends after its flags (a missing field)");
    }
    const std::string_view flags = text.substr(flagsStart, flagsEnd - flagsStart);
    std::string ignoredFlags;
    entry->Flags = FlagsValue(flags, report.warn != nullptr ? &ignoredFlags : nullptr);

    const std::size_t maskStart = flagsEnd + 1;
    std::size_t maskEnd = text.find(';', maskStart);
    if (maskEnd == std::string_view::npos) {
        maskEnd = text.size();
    }
    const std::string_view maskText = text.substr(maskStart, maskEnd - maskStart);
    if (maskText.empty()) {
        return Fail(report, InEntry(text) + " has no mask");
    }
    const MaskReading mask = ReadMask(maskText);
    if (mask.parsed) {
        entry->Mask = mask.value;
    } else {
        Say(report, kBadMask, "(" + std::string(text) + ")");
    }

    // The two empty fields, then the account.
    const std::size_t consumed = maskEnd + 1;
    if (consumed + 2 > text.size() || text[consumed] != ';' || text[consumed + 1] != ';') {
        return Fail(report, InEntry(text) + " lacks a field before its account (a missing field)");
    }
    // Checked where it stands in the line and copied once, into the entry: an account name
    // may be as long as the file.
    const std::string_view account = text.substr(consumed + 2);
    if (!IsValidAccountName(account) || account.size() > AccountName::kMaxSize) {
        if (report.detailed != nullptr) {
            const std::string problem = AccountNameProblem(account);
            Say(report, kInvalidAccount,
                Quoted(account) + " (" + (problem.empty() ? "too long" : problem) + ")");
        } else {
            Say(report, kInvalidAccount);
        }
        return Fail(report, "the account of " + InEntry(text));
    }
    entry->NTAccount = SharedName(account);

    if (report.warn != nullptr) {
        if (!ignoredFlags.empty()) {
            report.Warn("flags ", ignoredFlags, " of entry (", text, ") are not saved");
        }
        if (!mask.parsed || !mask.exact) {
            report.Warn("mask ", maskText, " of entry (", text, ") is saved as ",
                        HexText(entry->Mask));
        }
    }
    return EnterEntry(entry, acl, text, part, afterAllow, report);
}

struct PartBits {
    std::uint16_t protectedBit;
    std::uint16_t inheritRequestBit;
    std::uint16_t inheritedBit;
};

constexpr PartBits kSaclBits{SE_SACL_PROTECTED, SE_SACL_AUTO_INHERIT_REQ, SE_SACL_AUTO_INHERITED};
constexpr PartBits kDaclBits{SE_DACL_PROTECTED, SE_DACL_AUTO_INHERIT_REQ, SE_DACL_AUTO_INHERITED};

// Whether the flags of a list (what stands between "S:" or "D:" and the first entry) are
// the marks P, AI and AR alone, in any order.
bool AreListFlags(std::string_view flags) {
    while (!flags.empty()) {
        if (flags.starts_with('P')) {
            flags.remove_prefix(1);
        } else if (flags.starts_with("AI") || flags.starts_with("AR")) {
            flags.remove_prefix(2);
        } else {
            return false;
        }
    }
    return true;
}

// How strictly a descriptor is read. An NTFS descriptor is saved from what was read, so
// what cannot be read as written fails; a line of another style is written back as it
// stands, and its descriptor is only searched for the marks.
enum class Strictness { Ntfs, OtherStyle };

// One part ("S:..." or "D:..."), ending where the other part begins: its control letters,
// then its entries one after the other. A part without any entry is an empty list.
ReadStatus ReadPart(std::string_view part, Part kind, SecurityDescriptor& descriptor, Acl& acl,
                    Strictness strictness, const Report& report) {
    const PartBits& bits = kind == Part::Audit ? kSaclBits : kDaclBits;
    const std::size_t open = part.find('(');
    const std::string_view header = part.substr(0, open);
    // A flag that is not saved (D:NO_ACCESS_CONTROL lets everyone in) must not pass as an
    // ordinary list.
    if (strictness == Strictness::Ntfs && !AreListFlags(header.substr(2))) {
        Say(report, kBadListFlags, std::string(header));
        return Fail(report, "the flags of list " + std::string(header));
    }
    std::uint16_t control = descriptor.Control;
    if (header.find('P') != std::string_view::npos) {
        control |= bits.protectedBit;
    }
    if (header.find("AR") != std::string_view::npos) {
        control |= bits.inheritRequestBit;
    }
    if (header.find("AI") != std::string_view::npos) {
        control |= bits.inheritedBit;
        if (report.warn != nullptr) {
            report.Warn("mark AI of ", header.substr(0, 2), " is not saved");
        }
    }
    descriptor.Control = control;
    if (open == std::string_view::npos) {
        return ReadStatus::Read;
    }

    bool afterAllow = false;
    std::size_t position = open;
    while (position < part.size()) {
        // An entry is expected to begin with "(" here; whatever character stands there is
        // passed over (a whole one, so that the text reads alike in either file encoding).
        const std::size_t close = part.find(')', position);
        if (close == std::string_view::npos || close == position) {
            const std::string_view after = part.substr(position);
            const bool blanks = after.find_first_not_of(" \t") == std::string_view::npos;
            return Fail(
                report,
                blanks ? "blanks after the last entry of " + std::string(part.substr(0, 2))
                : close == position
                    ? "an entry that ends before it begins: " + std::string(after.substr(0, 40))
                    : "an entry without its closing \")\": " + std::string(after.substr(0, 40)));
        }
        const std::size_t start = position + utf8::CharacterLength(part.substr(position));
        const std::string_view body = part.substr(start, close - start);
        position = close + 1;
        if (ReadEntry(body, acl, kind, afterAllow, report) == ReadStatus::Failed) {
            return ReadStatus::Failed;
        }
        afterAllow = afterAllow || body.starts_with("A;");
    }
    return ReadStatus::Read;
}

// Text before the first part is read over: an owner ("O:..."), a group ("G:...") or
// anything else. None of it is saved.
void WarnAboutLeadingText(std::string_view text, const Report& report) {
    while (!text.empty()) {
        const std::size_t owner = text.find("O:");
        const std::size_t group = text.find("G:");
        const std::size_t first = std::min(owner, group);
        if (first != 0) {
            const std::string_view other = text.substr(0, first);
            report.Warn("descriptor text ", other, " is not saved");
            text.remove_prefix(other.size());
            continue;
        }
        const std::size_t next = std::min(text.find("O:", 2), text.find("G:", 2));
        const std::string_view item = text.substr(0, next);
        report.Warn(item[0] == 'O' ? "owner " : "group ", item, " is not saved");
        text.remove_prefix(item.size());
    }
}

ReadStatus ReadDescriptorText(std::string_view all, SecurityDescriptor& descriptor,
                              Strictness strictness, const Report& report) {
    descriptor.Control = 0;
    descriptor.SaclList.Clear();
    descriptor.DaclList.Clear();

    const std::size_t sStart = all.find("S:");
    const std::size_t dStart = all.find("D:");
    const bool hasS = sStart != std::string_view::npos;
    const bool hasD = dStart != std::string_view::npos;
    if (strictness == Strictness::Ntfs && !hasS && !hasD && !all.empty()) {
        Say(report, kNoParts, Quoted(all));
        return Fail(report, "the descriptor " + Quoted(all));
    }
    if (hasS) {
        descriptor.Control |= SE_SACL_PRESENT;
    }
    if (hasD) {
        descriptor.Control |= SE_DACL_PRESENT;
    }
    if (report.warn != nullptr) {
        WarnAboutLeadingText(all.substr(0, std::min(sStart, dStart)), report);
    }
    // Either part may come first; each ends where the other begins. The audit part is read
    // first all the same.
    if (hasS) {
        const std::size_t sEnd = hasD && dStart > sStart ? dStart : all.size();
        const std::string_view part = all.substr(sStart, sEnd - sStart);
        if (ReadPart(part, Part::Audit, descriptor, descriptor.SaclList, strictness, report) ==
            ReadStatus::Failed) {
            return ReadStatus::Failed;
        }
    }
    if (hasD) {
        const std::size_t dEnd = hasS && sStart > dStart ? sStart : all.size();
        const std::string_view part = all.substr(dStart, dEnd - dStart);
        if (ReadPart(part, Part::Permission, descriptor, descriptor.DaclList, strictness, report) ==
            ReadStatus::Failed) {
            return ReadStatus::Failed;
        }
    }
    return ReadStatus::Read;
}

// Why a line has no field where one is expected: a comment, a line of blanks, or a field
// missing.
std::string LineProblem(std::string_view line, const char* field) {
    if (line.starts_with('#')) {
        return "a line beginning with \"#\" (comments are not read)";
    }
    if (line.find_first_not_of(" \t\v\f") == std::string_view::npos) {
        return "a line of blanks";
    }
    return std::string("a missing field: ") + field;
}

ReadStatus ReadLine(const std::string& line, TargetObject& target, const Report& report) {
    FieldScanner scanner(line);
    std::string_view field;

    if (!scanner.Step(',', field)) {
        return Fail(report, LineProblem(line, "the style"));
    }
    target.SecurityStyle = DecimalValue(field);
    // A target of another style keeps the line it came from, to be written back unchanged.
    if (target.SecurityStyle != kStyleNtfs) {
        target.SourceLine = line;
    } else {
        target.SourceLine.clear();
    }

    if (!scanner.Step(',', field)) {
        return Fail(report, LineProblem(line, "the level"));
    }
    target.SecurityLevel = DecimalValue(field);

    if (!scanner.Step('"', field)) {
        return Fail(report, LineProblem(line, "the path"));
    }
    std::string path(field);
    if (!IsPathValid(path)) {
        Say(report, kInvalidPath, Quoted(path) + " (" + PathProblem(path) + ")");
        return Fail(report, "the path " + Quoted(path));
    }
    target.Path = std::move(path);

    if (!scanner.Step(',', field)) {
        return Fail(report, LineProblem(line, "the mode"));
    }
    target.Mode = DecimalValue(field);

    if (!target.Descriptor) {
        target.Descriptor = std::make_unique<SecurityDescriptor>();
    }
    // Runs of commas count as one here too: the descriptor is what stands in the quotes
    // after them. Two double quotes with nothing between them are an empty descriptor, not
    // a missing one.
    scanner.Skip(',');
    const std::string_view rest = scanner.Rest();
    if (!scanner.Step('"', field)) {
        if (rest.size() >= 2 && rest.find_first_not_of('"') == std::string_view::npos) {
            return ReadDescriptorText({}, *target.Descriptor, Strictness::Ntfs, report);
        }
        return Fail(report, LineProblem(line, "the descriptor"));
    }
    // A target of another style is written back from its line: what its descriptor says
    // makes no difference to a save.
    if (target.SecurityStyle != kStyleNtfs) {
        const Report quiet{report.sink, nullptr, report.detailed};
        return ReadDescriptorText(field, *target.Descriptor, Strictness::OtherStyle, quiet);
    }
    // A save closes the quote; a line without it is most likely the end of a file that was
    // cut short, and what stood after it is lost.
    const bool closed = field.data() + field.size() < line.data() + line.size();
    if (!closed && report.warn != nullptr) {
        report.Warn("the line ends before the closing quote of its descriptor: the file may "
                    "have been cut short");
    }
    return ReadDescriptorText(field, *target.Descriptor, Strictness::Ntfs, report);
}

} // namespace

void parallel_detail::ForgetSharedNames() {
    for (AccountName& name : RecentNames()) {
        name = AccountName();
    }
}

bool ReadMaskText(std::string_view text, std::uint32_t& mask) {
    if (text.empty()) {
        return false;
    }
    const MaskReading reading = ReadMask(text);
    mask = reading.value;
    return reading.parsed && reading.exact;
}

bool ReadFlagsText(std::string_view text, std::uint8_t& flags) {
    std::string ignored;
    flags = FlagsValue(text, &ignored);
    return ignored.empty() && text.size() % 2 == 0;
}

ReadStatus ReadAce(const std::string& body, Acl& acl, const MessageSink& sink) {
    return ReadEntry(body, acl, Part::None, false, Report{sink, nullptr});
}

ReadStatus ReadDescriptor(const std::string& text, SecurityDescriptor& descriptor,
                          const MessageSink& sink) {
    return ReadDescriptorText(text, descriptor, Strictness::Ntfs, Report{sink, nullptr});
}

ReadStatus ReadTargetLine(const std::string& line, TargetObject& target, const MessageSink& sink) {
    return ReadLine(line, target, Report{sink, nullptr});
}

ReadStatus ReadTargetLine(const std::string& line, TargetObject& target, const MessageSink& sink,
                          const WarningSink& warn) {
    return ReadLine(line, target, Report{sink, warn ? &warn : nullptr});
}

ReadStatus ReadTargetLineDetailed(const std::string& line, TargetObject& target,
                                  const DetailSink& sink, const WarningSink& warn) {
    static const MessageSink kNone;
    return ReadLine(line, target, Report{kNone, warn ? &warn : nullptr, sink ? &sink : nullptr});
}

ReadStatus ReadDescriptorDetailed(const std::string& text, SecurityDescriptor& descriptor,
                                  const DetailSink& sink) {
    static const MessageSink kNone;
    return ReadDescriptorText(text, descriptor, Strictness::Ntfs,
                              Report{kNone, nullptr, sink ? &sink : nullptr});
}

} // namespace permora
