// Random templates of what the program can hold, written in either encoding, decoded and
// read back, come back as the template that Add makes of the same entries.

#include "file_test_support.h"

#include <gtest/gtest.h>

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
            std::string line = target->ToLine();
            line[0] = static_cast<char>('0' + style);
            if (Chance(50)) {
                line = std::to_string(style) + "," + std::to_string(Below(2)) + ",\"" +
                       target->Path + "\"," + std::to_string(Below(10)) + ",\"" +
                       Word("rwxugo:+-=", 0, 12) + "\"";
            }
            target->SecurityStyle = style;
            target->SourceLine = line;
        }
        return target;
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
                ASSERT_EQ(ReadTargetLine(line, *target, messages.Sink()), 0) << line;
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

} // namespace
} // namespace permora
