#pragma once

#include "model/acl.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace permora {

// Bits of SecurityDescriptor::Control.
inline constexpr std::uint16_t SE_DACL_PRESENT = 0x0004;
inline constexpr std::uint16_t SE_SACL_PRESENT = 0x0010;
inline constexpr std::uint16_t SE_DACL_AUTO_INHERIT_REQ = 0x0100;
inline constexpr std::uint16_t SE_SACL_AUTO_INHERIT_REQ = 0x0200;
inline constexpr std::uint16_t SE_DACL_AUTO_INHERITED = 0x0400;
inline constexpr std::uint16_t SE_SACL_AUTO_INHERITED = 0x0800;
inline constexpr std::uint16_t SE_DACL_PROTECTED = 0x1000;
inline constexpr std::uint16_t SE_SACL_PROTECTED = 0x2000;

// Security styles and levels.
inline constexpr std::int32_t kStyleNtfs = 1;
inline constexpr std::int32_t kStyleNfsV3 = 2;
inline constexpr std::int32_t kStyleNfsV4 = 3;
inline constexpr std::int32_t kLevelFileDirectory = 0;
inline constexpr std::int32_t kLevelStorage = 1;

class SecurityDescriptor {
public:
    SecurityDescriptor() = default;
    // Starts from one entry: audit entries make the audit list present, others the
    // permission list.
    explicit SecurityDescriptor(std::unique_ptr<Ace> entry);
    ~SecurityDescriptor();
    SecurityDescriptor(const SecurityDescriptor&) = delete;
    SecurityDescriptor& operator=(const SecurityDescriptor&) = delete;

    // Descriptors come from a pool of equal blocks (model/pool.h).
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    std::unique_ptr<SecurityDescriptor> Clone() const;

    std::uint16_t Control = 0;
    Acl SaclList;
    Acl DaclList;
};

// The list of the descriptor that holds entries of the type: the audit list for kAuditType,
// the permission list's deny or allow list for the others (allow for any other type).
AceList& ListOfType(SecurityDescriptor& descriptor, std::uint8_t type);
const AceList& ListOfType(const SecurityDescriptor& descriptor, std::uint8_t type);

// A descriptor holding the default allow entry for "Everyone".
std::unique_ptr<SecurityDescriptor> MakeDefaultDescriptor();

// A text that most targets do not have, held apart so that those cost one pointer. Reads as
// a std::string (the empty one when there is none).
class SparseText {
public:
    SparseText() = default;
    SparseText(const SparseText& other) { *this = other; }
    SparseText& operator=(const SparseText& other) { return *this = other.Text(); }
    SparseText& operator=(std::string_view text);
    SparseText& operator=(const std::string& text) { return *this = std::string_view(text); }
    SparseText& operator=(const char* text) { return *this = std::string_view(text); }

    const std::string& Text() const;
    operator const std::string&() const { return Text(); }
    std::size_t size() const { return text_ ? text_->size() : 0; }
    bool empty() const { return size() == 0; }
    void clear() { text_.reset(); }

    friend bool operator==(const SparseText& a, std::string_view b) { return a.Text() == b; }
    friend std::ostream& operator<<(std::ostream& out, const SparseText& text) {
        return out << text.Text();
    }

private:
    std::unique_ptr<std::string> text_;
};

class TargetObject {
public:
    TargetObject(std::string path, std::unique_ptr<SecurityDescriptor> descriptor);
    TargetObject(const TargetObject&) = delete;
    TargetObject& operator=(const TargetObject&) = delete;

    // Targets come from a pool of equal blocks (model/pool.h).
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    std::int32_t SecurityStyle = kStyleNtfs;
    std::int32_t SecurityLevel = kLevelFileDirectory;
    std::int32_t Mode = 0;
    std::string Path;
    std::unique_ptr<SecurityDescriptor> Descriptor;
    // The line a target of another style was read from; written back unchanged.
    SparseText SourceLine;
    TargetObject* Next = nullptr;
    TargetObject* Prev = nullptr;
};

// The ordered list of targets. The template owns its targets.
class SecurityTemplate {
public:
    SecurityTemplate() = default;
    ~SecurityTemplate();
    SecurityTemplate(const SecurityTemplate&) = delete;
    SecurityTemplate& operator=(const SecurityTemplate&) = delete;

    // False for an empty pointer; the result may be dropped.
    bool Append(std::unique_ptr<TargetObject> target);
    // The target at a position, at once however long the template is.
    TargetObject* At(int index) const;
    // Removes the targets at the given positions in one walk; indexes may come in any
    // order and repeat. Returns the number removed.
    int RemoveMany(std::vector<int> indexes);
    // As RemoveMany, but hands the targets over, in template order.
    std::vector<std::unique_ptr<TargetObject>> TakeMany(std::vector<int> indexes);
    // Puts targets back in one walk: targets[i] lands at position indexes[i]. indexes must
    // ascend and name the positions the targets have afterwards (as TakeMany took them).
    void InsertMany(const std::vector<int>& indexes,
                    std::vector<std::unique_ptr<TargetObject>> targets);
    void Clear();
    void MoveUp(int index);
    void MoveDown(int index);

    TargetObject* Head = nullptr;
    TargetObject* Tail = nullptr;
    std::int32_t Count = 0;

private:
    // Exchanges the targets at upper and upper + 1.
    void SwapAt(int upper);
    std::unique_ptr<TargetObject> Unlink(TargetObject* target);

    // The targets in template order, kept in step with the links by every operation that
    // links or unlinks one, so that a position is found without a walk.
    std::vector<TargetObject*> order_;
};

} // namespace permora
