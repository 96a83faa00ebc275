// Random templates of what the program can hold, written in either encoding, decoded and
// read back, come back as the template that Add makes of the same entries; the same lines
// written in the other forms that other tools use read as the same template.

#include "file_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <sstream>

namespace permora {
namespace {

class Generator {
public:
    explicit Generator(std::uint32_t seed) : random_(seed) {
        for (int i = 0; i < 4; ++i) {
            accounts_.push_back(Account());
        }
    }

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Chance(int percent) { return Below(100) < percent; }

    std::string Word(const char* alphabet, int minLength, int maxLength) {
        const std::string letters = alphabet;
        std::string word;
        const int length = minLength + Below(maxLength - minLength + 1);
        for (int i = 0; i < length; ++i) {
            word.push_back(
                letters[static_cast<std::size_t>(Below(static_cast<int>(letters.size())))]);
        }
        return word;
    }

    std::string Account() {
        static constexpr char kAccount[] =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_";
        static constexpr char kDomain[] =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_.";
        std::string name = Word(kAccount, 1, 12);
        if (Chance(50)) {
            name = Word(kDomain, 1, 8) + "\\" + name;
        }
        return name;
    }

    // One of a few accounts, so that entries of one account meet; letters in any case.
    std::string KnownAccount() {
        std::string name =
            accounts_[static_cast<std::size_t>(Below(static_cast<int>(accounts_.size())))];
        for (char& c : name) {
            if (Chance(20) && c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        return name;
    }

    std::string Path() {
        static constexpr char kSegment[] =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-{}";
        std::string path = Chance(85) ? "/vol/" : "";
        const int segments = 1 + Below(4);
        for (int i = 0; i < segments; ++i) {
            if (i > 0) {
                path += "/";
            }
            path += Word(kSegment, 1, 10);
        }
        if (Chance(10)) {
            path += "/";
        }
        return path;
    }

    std::uint32_t Mask() {
        switch (Below(7)) {
        case 0:
            return 0; // refused by the list
        case 1:
            return kSynchronize; // refused by the list
        case 2: {
            static constexpr std::uint32_t kNamed[] = {kFullControlMask, kModifyMask,
                                                       kReadExecuteMask, kReadMask,
                                                       kWriteMask,       kDefaultMask};
            return kNamed[Below(6)];
        }
        case 3:
            return std::uint32_t{1} << Below(21);
        case 4:
            return static_cast<std::uint32_t>(Below(8));
        default:
            return static_cast<std::uint32_t>(random_());
        }
    }

    // Every inheritance code, 0 included; audit entries get any audit bits.
    std::uint8_t Flags(bool audit) {
        auto flags = static_cast<std::uint8_t>(Below(16));
        if (audit) {
            flags = static_cast<std::uint8_t>(flags | (Below(4) << 6));
        }
        return flags;
    }

    // Present lists with their marks; the file carries no marks of an absent list.
    std::uint16_t Control() {
        std::uint16_t control = 0;
        const auto set = [&control](std::uint16_t bit) {
            control = static_cast<std::uint16_t>(control | bit);
        };
        if (Chance(85)) {
            set(SE_DACL_PRESENT);
            set(Chance(40) ? SE_DACL_PROTECTED : 0);
            set(Chance(40) ? SE_DACL_AUTO_INHERIT_REQ : 0);
        }
        if (Chance(40)) {
            set(SE_SACL_PRESENT);
            set(Chance(40) ? SE_SACL_PROTECTED : 0);
            set(Chance(40) ? SE_SACL_AUTO_INHERIT_REQ : 0);
        }
        return control;
    }

    std::int32_t Number() {
        switch (Below(4)) {
        case 0:
            return Below(2);
        case 1:
            return Below(100);
        case 2:
            return -1 - Below(1000);
        default:
            return static_cast<std::int32_t>(random_());
        }
    }

    // A target and the entries it was given, entered through the lists' Add.
    std::unique_ptr<TargetObject> Target() {
        auto target = test::EmptyTarget(Path(), Number(), Control());
        target->Mode = Number();
        SecurityDescriptor& d = *target->Descriptor;
        if (d.Control & SE_SACL_PRESENT) {
            for (int n = Below(8); n > 0; --n) {
                d.SaclList.Add(test::Entry(KnownAccount(), kAuditType, Flags(true), Mask()));
            }
        }
        if (d.Control & SE_DACL_PRESENT) {
            for (int n = Below(12); n > 0; --n) {
                const std::uint8_t type = Chance(30) ? kDenyType : kAllowType;
                d.DaclList.Add(test::Entry(KnownAccount(), type, Flags(false), Mask()));
            }
        }
        const int style = 1 + Below(3);
        if (style != kStyleNtfs) {
            // Lines of other styles come from files; whatever their fields hold, they are
            // kept as read.
            std::string line = ToLine(*target);
            line[0] = static_cast<char>('0' + style);
            if (Chance(50)) {
                line = std::to_string(style) + "," + std::to_string(Below(2)) + ",\"" +
                       target->Path + "\"," + std::to_string(Below(10)) + ",\"" + Text() + "\"";
            }
            target->SecurityStyle = style;
            target->SourceLine = line;
        }
        return target;
    }

    // Text of a line kept for another style: ASCII and characters beyond it, as UTF-8.
    std::string Text() {
        static const char* const kPieces[] = {"r",
                                              "w",
                                              "x",
                                              "u",
                                              ":",
                                              "+",
                                              "=",
                                              "\xC3\xA9",
                                              "\xC3\x9F",
                                              "\xE2\x82\xAC",
                                              "\xE4\xB8\xAD",
                                              "\xEF\xBF\xBD",
                                              "\xF0\x9F\x98\x80",
                                              "\xF4\x8F\xBF\xBF"};
        std::string text;
        for (int n = Below(13); n > 0; --n) {
            text += kPieces[Below(static_cast<int>(std::size(kPieces)))];
        }
        return text;
    }

    // The flags as other tools may write them: known pairs in any order, some twice.
    std::string FlagsText(std::uint8_t flags) {
        static constexpr std::pair<const char*, std::uint8_t> kPairs[] = {
            {"NP", kNoPropagate}, {"CI", kContainerInherit}, {"OI", kObjectInherit},
            {"IO", kInheritOnly}, {"SA", kAuditSuccess},     {"FA", kAuditFailure}};
        std::vector<std::string> pairs;
        for (const auto& [letters, bit] : kPairs) {
            if (flags & bit) {
                pairs.emplace_back(letters);
                if (Chance(10)) {
                    pairs.emplace_back(letters);
                }
            }
        }
        std::shuffle(pairs.begin(), pairs.end(), random_);
        std::string text;
        for (const std::string& pair : pairs) {
            text += pair;
        }
        return text;
    }

    // The mask in one of the forms the reader takes: hexadecimal with either prefix and
    // either letter case, decimal, or right codes where the mask is a union of them.
    std::string MaskText(std::uint32_t mask) {
        static constexpr std::pair<const char*, std::uint32_t> kCodes[] = {
            {"FA", 0x1F01FF},   {"FR", 0x120089},   {"FW", 0x120116},   {"FX", 0x1200A0},
            {"GA", 0x10000000}, {"GR", 0x80000000}, {"GW", 0x40000000}, {"GX", 0x20000000},
            {"RC", 0x20000},    {"SD", 0x10000},    {"WD", 0x40000},    {"WO", 0x80000},
            {"CC", 0x1},        {"DC", 0x2},        {"LC", 0x4},        {"SW", 0x8},
            {"RP", 0x10},       {"WP", 0x20},       {"DT", 0x40},       {"LO", 0x80},
            {"CR", 0x100}};
        std::ostringstream out;
        switch (Below(4)) {
        case 0:
            out << "0X" << std::hex << std::uppercase << mask;
            return out.str();
        case 1:
            out << mask;
            return out.str();
        case 2: {
            std::vector<std::string> codes;
            std::uint32_t covered = 0;
            for (const auto& [letters, value] : kCodes) {
                if ((value & ~mask) == 0 && (Chance(70) || (covered | value) != covered)) {
                    codes.emplace_back(letters);
                    covered |= value;
                }
            }
            if (covered == mask && !codes.empty()) {
                std::shuffle(codes.begin(), codes.end(), random_);
                std::string text;
                for (const std::string& code : codes) {
                    text += code;
                }
                return text;
            }
            [[fallthrough]];
        }
        default:
            out << "0x" << std::hex << mask;
            return out.str();
        }
    }

private:
    std::mt19937 random_;
    std::vector<std::string> accounts_;
};

std::string Describe(const AceList& list) {
    std::ostringstream out;
    for (const Ace* e = list.Head; e != nullptr; e = e->Next) {
        out << int(e->AceType) << '/' << int(e->Flags) << '/' << e->Mask << '/' << e->NTAccount
            << ' ';
    }
    return out.str();
}

// Everything a target holds that the file carries, its lists taken from the given descriptor.
std::string Describe(const TargetObject& t, const SecurityDescriptor& d) {
    std::ostringstream out;
    out << "style " << t.SecurityStyle << '\n';
    if (t.SecurityStyle != kStyleNtfs) {
        out << "line " << t.SourceLine << '\n';
        return out.str();
    }
    out << "level " << t.SecurityLevel << " mode " << t.Mode << " path " << t.Path << '\n'
        << "control " << d.Control << '\n'
        << "audit " << Describe(d.SaclList.Audit) << '\n'
        << "deny " << Describe(d.DaclList.Deny) << '\n'
        << "allow " << Describe(d.DaclList.Allow) << '\n';
    return out.str();
}

// What the reader makes of a written descriptor: its entries entered through Add, the audit
// list first, then the deny and the allow list, each in list order.
std::unique_ptr<SecurityDescriptor> ReAdded(const SecurityDescriptor& d) {
    auto result = std::make_unique<SecurityDescriptor>();
    result->Control = d.Control;
    for (const AceList* list : {&d.SaclList.Audit, &d.DaclList.Deny, &d.DaclList.Allow}) {
        Acl& into = list == &d.SaclList.Audit ? result->SaclList : result->DaclList;
        for (const Ace* e = list->Head; e != nullptr; e = e->Next) {
            into.Add(std::make_unique<Ace>(e->NTAccount, e->Mask, e->AceType, e->Flags));
        }
    }
    return result;
}

TEST(RoundTrip, RandomTemplatesReadBackAsAddMakesThem) {
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Generator generate(seed);
        SecurityTemplate original;
        for (int n = generate.Below(6); n > 0; --n) {
            original.Append(generate.Target());
        }
        for (const Encoding encoding : {Encoding::Unicode, Encoding::EightBit}) {
            const std::string bytes =
                encoding == Encoding::Unicode ? EncodeUnicode(original) : Encode8Bit(original);
            SecurityTemplate read;
            test::Messages messages;
            for (const std::string& line : DecodeLines(bytes)) {
                auto target = test::FreshTarget();
                ASSERT_EQ(ReadTargetLine(line, *target, messages.Sink()), ReadStatus::Read) << line;
                read.Append(std::move(target));
            }
            EXPECT_TRUE(messages.texts.empty());
            ASSERT_EQ(read.Count, original.Count);
            const TargetObject* a = original.Head;
            for (const TargetObject* b = read.Head; b != nullptr; b = b->Next, a = a->Next) {
                const auto expected = ReAdded(*a->Descriptor);
                EXPECT_EQ(Describe(*b, *b->Descriptor), Describe(*a, *expected));
            }
        }
    }
}

// The target's line with every flags and mask field in another form the reader takes.
std::string LineInOtherForms(const TargetObject& t, Generator& generate) {
    std::string line = "1," + std::to_string(t.SecurityLevel) + ",\"" + t.Path + "\"," +
                       std::to_string(t.Mode) + ",\"";
    const SecurityDescriptor& d = *t.Descriptor;
    const auto entries = [&](const AceList& list) {
        for (const Ace* e = list.Head; e != nullptr; e = e->Next) {
            line += std::string("(") +
                    (e->AceType == kAuditType  ? "AU"
                     : e->AceType == kDenyType ? "D"
                                               : "A") +
                    ";" + generate.FlagsText(e->Flags) + ";" + generate.MaskText(e->Mask) + ";;;" +
                    e->NTAccount + ")";
        }
    };
    if (d.Control & SE_SACL_PRESENT) {
        line += "S:";
        line += (d.Control & SE_SACL_PROTECTED) ? "P" : "";
        line += (d.Control & SE_SACL_AUTO_INHERIT_REQ) ? "AR" : "";
        entries(d.SaclList.Audit);
    }
    if (d.Control & SE_DACL_PRESENT) {
        line += "D:";
        line += (d.Control & SE_DACL_PROTECTED) ? "P" : "";
        line += (d.Control & SE_DACL_AUTO_INHERIT_REQ) ? "AR" : "";
        entries(d.DaclList.Deny);
        entries(d.DaclList.Allow);
    }
    return line + "\"";
}

// Flags and masks written in other forms read as the same target, and a difference of form
// never adds a warning.
TEST(RoundTrip, OtherFormsOfFlagsAndMasksReadAsTheSameTarget) {
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Generator generate(seed);
        const auto original = generate.Target();
        if (original->SecurityStyle != kStyleNtfs) {
            continue;
        }
        const std::string canonical = ToLine(*original);
        const std::string other = LineInOtherForms(*original, generate);
        std::size_t warnings[2] = {0, 0};
        std::unique_ptr<TargetObject> read[2];
        for (int i = 0; i < 2; ++i) {
            read[i] = test::FreshTarget();
            test::Messages messages;
            ASSERT_EQ(ReadTargetLine(i == 0 ? canonical : other, *read[i], messages.Sink(),
                                     [&warnings, i](const std::string&) { ++warnings[i]; }),
                      ReadStatus::Read)
                << other;
            EXPECT_TRUE(messages.texts.empty()) << other;
        }
        EXPECT_EQ(Describe(*read[1], *read[1]->Descriptor),
                  Describe(*read[0], *read[0]->Descriptor))
            << other;
        EXPECT_EQ(warnings[1], warnings[0]) << other;
    }
}

} // namespace
} // namespace permora
