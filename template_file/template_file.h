#pragma once

#include "model/target.h"
#include "template_file/file_identity.h"
#include "template_file/file_lock.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace permora {

// The messages the reader reports, each written once here; whoever shows them (the window
// translates them) takes them from this list.
namespace reader_message {
inline constexpr char kInvalidFile[] = "   Invalid File";
inline constexpr char kInvalidPath[] = "Invalid File Path";
inline constexpr char kWrongType[] = "Wrong ace type.";
inline constexpr char kBadMask[] = "Cannot parse this Mask.";
inline constexpr char kInvalidAccount[] = "Invalid Account Name";
inline constexpr char kTooManyEntries[] = "Too many entries.";
inline constexpr char kBadListFlags[] = "Cannot parse the flags of this list.";
inline constexpr char kNoParts[] = "This descriptor holds neither S: nor D:.";
} // namespace reader_message
inline constexpr const char* kReaderMessages[] = {
    reader_message::kInvalidFile,  reader_message::kInvalidPath,    reader_message::kWrongType,
    reader_message::kBadMask,      reader_message::kInvalidAccount, reader_message::kTooManyEntries,
    reader_message::kBadListFlags, reader_message::kNoParts,
};

// Receives each reader message, in order ("   Invalid File", "Wrong ace type.", ...).
using MessageSink = std::function<void(const std::string& message)>;

// Receives each reader message with what it refers to, apart: the entry's text for a
// wrong type or mask, the path or the account with the rule it breaks; empty when the
// message says all there is. The window shows the message alone, the command line both.
using DetailSink = std::function<void(const std::string& message, const std::string& detail)>;

// Receives each place where the next save would not write back what a line says (an
// entry merged away, a mark that is never written, a mask read as another value, ...).
using WarningSink = std::function<void(const std::string& warning)>;

// Whether a warning says that the save would change what the target grants or audits: every
// warning but a merge of entries and an owner, group or AI mark, which the format does not
// hold.
[[nodiscard]] bool WarningChangesMeaning(std::string_view warning);

// What reading a line, a descriptor or an entry came to. Failed: the messages have gone to
// the sink, and what was read so far may be half done.
enum class ReadStatus { Read, Failed };

[[nodiscard]] ReadStatus ReadTargetLine(const std::string& line, TargetObject& target,
                                        const MessageSink& sink);
// The same, also telling the warning sink (when it is set) what a save would change.
[[nodiscard]] ReadStatus ReadTargetLine(const std::string& line, TargetObject& target,
                                        const MessageSink& sink, const WarningSink& warn);
[[nodiscard]] ReadStatus ReadDescriptor(const std::string& text, SecurityDescriptor& descriptor,
                                        const MessageSink& sink);
// The same readings, each message with its detail.
[[nodiscard]] ReadStatus ReadTargetLineDetailed(const std::string& line, TargetObject& target,
                                                const DetailSink& sink, const WarningSink& warn);
[[nodiscard]] ReadStatus ReadDescriptorDetailed(const std::string& text,
                                                SecurityDescriptor& descriptor,
                                                const DetailSink& sink);
[[nodiscard]] ReadStatus ReadAce(const std::string& body, Acl& acl, const MessageSink& sink);

// The SDDL entry string, for example (A;CIOI;0x1200a9;;;Everyone).
std::string ToSddl(const Ace& entry);
// The entry strings of a list, one after the other.
std::string ToSddl(const AceList& list);
// The target's line of the template file, without its line end. A target whose style is
// not NTFS gives back the line it was read from.
std::string ToLine(const TargetObject& target);
// A descriptor as a target's line writes it: "S:..." then "D:...".
std::string ToSddl(const SecurityDescriptor& descriptor);
// A mask field's text as an entry string's is read ("0x1200a9", "1179817", right codes such
// as "FA" or "FRFX"); false when the text is not wholly a mask.
[[nodiscard]] bool ReadMaskText(std::string_view text, std::uint32_t& mask);
// A flags field's text ("OICI", "CIOIIO", "SA"); false when it holds anything but the
// known letter pairs.
[[nodiscard]] bool ReadFlagsText(std::string_view text, std::uint8_t& flags);

// The bytes of a whole template file.
std::string EncodeUnicode(const SecurityTemplate& tmpl); // FF FE, UTF-16LE, CR LF units
std::string Encode8Bit(const SecurityTemplate& tmpl);    // 8-bit text, CR LF

// The longest line read from a template file, and from a list of paths. What a decoder
// drops (U+0000, U+FEFF) counts toward the length, so that no input goes on for ever.
inline constexpr std::size_t kMaxTemplateLine = std::size_t{1} << 30;
inline constexpr std::size_t kMaxPathListLine = std::size_t{64} << 10;

// "1 GiB", "64 KiB", or a number of bytes.
std::string SizeText(std::size_t bytes);

// Turns file bytes into the lines the import processes. The first bytes choose the
// decoding: FF FE is UTF-16LE, FE FF UTF-16BE (a surrogate pair is one character, a lone
// surrogate becomes U+FFFD, a last odd byte is ignored); anything else is taken byte by
// byte as it stands (a UTF-8 byte-order mark included). After decoding, U+0000 and U+FEFF
// are dropped wherever they stand, U+001A ends the data, CR, LF and CR LF each end a line,
// and empty lines and header lines are skipped. Lines hold UTF-8 for what came from a
// UTF-16 file and the bytes read otherwise. Bytes may come in blocks of any size.
class LineDecoder {
public:
    // Each line with its number: the first line of the data is 1 and every line end counts
    // one, skipped lines included. Returning false stops the decoding.
    using LineFn = std::function<bool(const std::string& line, std::int64_t number)>;
    // What the decoding changes, with the number of the line it happens on: a lone
    // surrogate read as U+FFFD (told before its line is handed on), data after U+001A.
    using WarnFn = std::function<void(std::int64_t line, const std::string& warning)>;
    // Lines longer than the limit in bytes (as held, with the characters dropped counted
    // too) stop the decoding: see TooLong. The limit is kMaxTemplateLine unless given.
    explicit LineDecoder(LineFn onLine);
    LineDecoder(LineFn onLine, std::size_t maxLine);
    // With a warning sink set, the decoder asks for one more block after U+001A (Feed
    // returns true) to tell whether data follows it.
    void OnWarning(WarnFn warn) { warn_ = std::move(warn); }
    // Returns false once a line callback asked to stop, the data has ended (U+001A) or a
    // line was too long.
    bool Feed(const char* data, std::size_t size);
    // Delivers a last line that has no line end. Returns false when a line callback asked
    // to stop (now or earlier) or a line was too long.
    bool Finish();
    // Whether the decoding stopped at a line longer than the limit, and that line's number
    // (the line being read otherwise).
    bool TooLong() const { return tooLong_; }
    std::int64_t LineNumber() const { return lineNumber_; }

private:
    enum class Form { Undecided, Bytes, Utf16Le, Utf16Be };

    bool FeedBytes(const unsigned char* bytes, std::size_t size);
    bool FeedUnits(const unsigned char* bytes, std::size_t size);
    bool TakeUnit(std::uint16_t unit);
    bool TakeCharacter(std::uint32_t character);
    bool TakeLoneSurrogate(std::uint16_t unit);
    bool EndLine(unsigned char end);
    bool EndData();
    bool AfterEnd(std::size_t bytesLeft);
    bool Deliver();
    bool Fits(std::size_t more);
    void Warn(const std::string& warning);

    LineFn onLine_;
    WarnFn warn_;
    std::string line_;
    std::size_t maxLine_;
    std::size_t dropped_ = 0; // characters of the line dropped so far
    Form form_ = Form::Undecided;
    unsigned char firstByte_ = 0; // held while the form is undecided
    bool haveFirstByte_ = false;
    unsigned char oddByte_ = 0; // the first byte of a UTF-16 unit split across blocks
    bool haveOddByte_ = false;
    std::uint16_t highSurrogate_ = 0; // waiting for its low half
    bool mayHoldMark_ = false;        // the line may hold the UTF-8 bytes of U+FEFF
    bool ended_ = false;
    bool stopped_ = false; // a line callback asked to stop, or a line was too long
    bool tooLong_ = false;
    bool atEndOfData_ = false;  // U+001A was read
    bool awaitingRest_ = false; // U+001A ended a block; the next tells whether data follows
    bool lastWasCr_ = false;
    std::int64_t lineNumber_;
};

std::vector<std::string> DecodeLines(std::string_view bytes);

// A list that is not a template (of paths, one a line), read a block at a time: each line
// with its number (the first is 1, every line end counts one) until take returns false. A
// list that begins with a UTF-16 byte-order mark is decoded as the import decodes a
// template (its empty and header lines skipped) and comes as UTF-8; any other as the bytes
// of each line, split at CR, LF and CR LF. A line longer than the limit (64 KiB unless
// given; in UTF-16, dropped characters count) ends the reading.
using ListLineFn = std::function<bool(const std::string& line, std::int64_t number)>;
struct ListOutcome {
    bool readFailed = false;      // the stream failed
    bool tooLong = false;         // a line was longer than the limit; reading stopped there
    std::int64_t tooLongLine = 0; // that line's number
};
ListOutcome ReadListLines(std::istream& in, const ListLineFn& take);
ListOutcome ReadListLines(std::istream& in, const ListLineFn& take, std::size_t maxLine);

enum class Encoding { Unicode, EightBit };
// Locked: another save of the file is under way (and the save was not to wait for it);
// nothing was written.
// Replaced: the file the path led to when it was locked (and read) is no longer there under
// its name, and nothing was written; LockFailed: the file could not be locked, and nothing
// was written.
enum class SaveStatus { Saved, OpenFailed, WriteFailed, Locked, Replaced, LockFailed };

// Receives the bytes of a file in order, a block at a time; false stops the encoding.
using ByteSink = std::function<bool(std::string_view bytes)>;
inline constexpr std::size_t kEncodeBlockSize = std::size_t{1} << 20;

// The bytes EncodeUnicode or Encode8Bit make, handed to the sink in blocks of exactly
// blockSize bytes (a line may end in the next block) and a last, shorter one; only one
// block and the line being made are held at a time. False when the sink stopped it.
bool EncodeTemplate(const SecurityTemplate& tmpl, Encoding encoding, const ByteSink& sink,
                    std::size_t blockSize = kEncodeBlockSize);

// The same bytes for targets given one at a time (the start of the file at once). Each
// call returns false once the sink has refused a block; nothing more goes to it then.
class BlockEncoder {
public:
    BlockEncoder(Encoding encoding, ByteSink sink, std::size_t blockSize = kEncodeBlockSize);
    bool Add(const TargetObject& target);
    // Hands over what is left, a last block that may be shorter.
    bool Finish();

private:
    bool SendWholeBlocks();

    Encoding encoding_;
    ByteSink sink_;
    std::size_t blockSize_;
    std::string block_;
    std::string line_;
    bool going_ = true;
};

// Receives the targets of a save one at a time, to be written and let go; false when they
// could not be written (nothing more should come).
using TargetSink = std::function<bool(std::unique_ptr<TargetObject> target)>;
// Hands the targets of the file to be saved to the sink in order; false leaves the old file
// as it was.
using TargetSource = std::function<bool(const TargetSink& sink)>;

// Writes the template to the file the path names, through symbolic links. An existing file
// keeps its owner, group, mode, access control list and other extended attributes: a new
// file in its folder takes them and then its place, or, where a new file could not keep
// them (other hard links, a folder that lets no new file in), the file is written in place
// with its old bytes put back on failure. On failure a replaced file is left as it was and
// the partial file removed. OpenFailed: nothing was written (a folder, device, pipe, link
// loop, link that may not be followed, or file the user may not write); WriteFailed: the
// writing failed. The save holds the lock of the file it replaces (FileLock) while it
// writes: Locked when another holds it and the lock is not to be waited for, LockFailed
// when it cannot be taken (then nothing is written, unless lock.lock says to go on without
// it). The new file takes the name the path led to when it was locked, in the folder it
// was in then, and only while that name is still the locked file: Replaced otherwise.
// error (optional) receives why a save failed: an errno value, kNotRegularFile,
// kForeignLockFile, or 0 when there is no such reason.
SaveStatus SaveTemplate(const std::string& path, const SecurityTemplate& tmpl, Encoding encoding,
                        const LockOptions& lock = LockWait::No, int* error = nullptr);
// The same save under a lock the caller took on the path before reading the file.
SaveStatus SaveTemplate(const std::string& path, const SecurityTemplate& tmpl, Encoding encoding,
                        const FileLock& held, int* error = nullptr);
// The same save for targets that come while the file is written (a conversion reads them
// from other files as it goes), so that no more than a few are held at a time. WriteFailed
// also when the source returned false.
SaveStatus SaveTargets(const std::string& path, const TargetSource& source, Encoding encoding,
                       const LockOptions& lock = LockWait::No, int* error = nullptr);

// The reason of a file that a save or an import refuses although the system would open it: a
// folder's other kin (a device, a pipe, a socket).
inline constexpr int kNotRegularFile = -1;
// The text of a reason: the system's for an errno value ("Permission denied"), "not a
// regular file" for kNotRegularFile, and what is wrong with a lock file for
// kForeignLockFile.
std::string ReasonText(int error);

struct ImportOutcome {
    bool opened = false;          // false: the file could not be opened; nothing was read
    bool complete = false;        // every line was read; false when a line or the read failed
    int appended = 0;             // targets appended to the template
    bool readFailed = false;      // reading stopped on an error of the file system, or at tooLong
    bool tooLong = false;         // a line was longer than the limit; reading stopped there
    std::int64_t tooLongLine = 0; // that line's number
    std::optional<FileIdentity> identity; // of the file as it was opened
    int error = 0; // why the file could not be opened or read (see ReasonText); 0: no reason
};

// What an import says beyond the targets it appends.
struct ImportReport {
    // Each reader message, with the number of the line it belongs to, counted as the import
    // sees the lines: CR LF counts once, the header is line 1, skipped lines count.
    std::function<void(std::int64_t line, const std::string& message)> message;
    // Optional: each place where the next save would not write back what the line says.
    std::function<void(std::int64_t line, const std::string& warning)> warning;
    // Optional: each reader message with its detail (see DetailSink), instead of message.
    std::function<void(std::int64_t line, const std::string& message, const std::string& detail)>
        detailed;
    // Optional: the number of each line that failed.
    std::function<void(std::int64_t line)> failed;
    // Optional: each target read, with its line's number, before it is kept (after the
    // warnings of its line).
    std::function<void(std::int64_t line, const TargetObject& target)> read;
    // Reads on after a failing line, each line as if the lines before it had read, so that
    // every failing line is reported; the import is still not complete.
    bool keepGoing = false;
};

// Reads the file and appends one target per line to the template, stopping at the first
// line that fails (its messages are reported; the targets of earlier lines stay).
ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into,
                             const ImportReport& report);
// The same import from a file the caller has opened (and closes).
ImportOutcome ImportOpenFile(int fd, SecurityTemplate& into, const ImportReport& report);
// The same import from bytes already in memory (standard input, fuzzing).
ImportOutcome ImportBytes(std::string_view bytes, SecurityTemplate& into,
                          const ImportReport& report);
// The same import from a stream (standard input), read a block at a time: no more than a
// block and the line being read are held.
ImportOutcome ImportStream(std::istream& in, SecurityTemplate& into, const ImportReport& report);
// The same imports handing each target read to take instead of a template (a conversion
// writes it out at once). False from take stops the import, which is then not complete.
ImportOutcome ImportTargets(const std::string& path, const TargetSink& take,
                            const ImportReport& report);
ImportOutcome ImportTargetBytes(std::string_view bytes, const TargetSink& take,
                                const ImportReport& report);
ImportOutcome ImportTargetStream(std::istream& in, const TargetSink& take,
                                 const ImportReport& report);
// The messages alone, without line numbers.
ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into,
                             const MessageSink& sink);
// Keeps a call that wants no messages at all, ImportTemplate(path, into, {}), unambiguous.
ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into, std::nullptr_t);

} // namespace permora
