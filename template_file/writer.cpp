// The text of a template: entry strings, target lines, and the bytes of both file kinds.

#include "template_file/parallel_detail.h"
#include "template_file/snapshot_bytes.h"
#include "template_file/template_file.h"
#include "template_file/utf8.h"

#include <algorithm>
#include <charconv>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

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

namespace {

// Bytes made in any pieces, handed to a sink in blocks of exactly one size (and a last, shorter
// one), as BlockEncoder hands them.
class Reblocker {
public:
    Reblocker(const ByteSink& sink, std::size_t blockSize) : sink_(sink), blockSize_(blockSize) {
        block_.reserve(blockSize_ + 4096);
    }

    std::string& Block() { return block_; }

    bool Add(std::string_view bytes) {
        block_.append(bytes);
        return SendWholeBlocks();
    }

    bool SendWholeBlocks() {
        std::size_t sent = 0;
        for (; block_.size() - sent >= blockSize_; sent += blockSize_) {
            if (!sink_(std::string_view(block_.data() + sent, blockSize_))) {
                return false;
            }
        }
        block_.erase(0, sent);
        return true;
    }

    bool Finish() { return block_.empty() || sink_(block_); }

private:
    const ByteSink& sink_;
    std::size_t blockSize_;
    std::string block_;
};

// A run of targets and, once encoded, their lines in the file's encoding.
struct EncodedRun {
    const TargetObject* first = nullptr;
    std::size_t count = 0;
    std::string bytes;
    std::exception_ptr error;
    bool done = false; // under the encoder's lock
};

void EncodeRun(EncodedRun& run, Encoding encoding) noexcept {
    try {
        std::string line;
        const TargetObject* target = run.first;
        for (std::size_t i = 0; i < run.count; ++i, target = target->Next) {
            AppendFileLine(run.bytes, line, *target, encoding);
        }
    } catch (...) {
        run.error = std::current_exception();
    }
}

// Encodes the runs of a large template on other threads while the calling thread hands the
// bytes of the runs before them to the sink (which writes them), in file order. The template
// is only read, and does not change while it is saved.
class ParallelEncoder {
public:
    ParallelEncoder(Encoding encoding, int threads) : encoding_(encoding), threads_(threads) {}
    ParallelEncoder(const ParallelEncoder&) = delete;
    ParallelEncoder& operator=(const ParallelEncoder&) = delete;
    ~ParallelEncoder() { Stop(); }

    bool Encode(const SecurityTemplate& tmpl, std::size_t runLength, Reblocker& out) {
        try {
            for (int i = 1; i < threads_; ++i) {
                workers_.emplace_back([this] { Work(); });
            }
        } catch (const std::system_error&) {
            // Fewer threads, or the calling one alone (Front encodes waiting runs).
        }
        const TargetObject* next = tmpl.Head;
        while (next != nullptr || !inFlight_.empty()) {
            // A few runs on their way, no more: their bytes are held until written.
            while (next != nullptr && inFlight_.size() < 2 * static_cast<std::size_t>(threads_)) {
                auto run = std::make_unique<EncodedRun>();
                run->first = next;
                while (next != nullptr && run->count < runLength) {
                    next = next->Next;
                    ++run->count;
                }
                {
                    const std::lock_guard<std::mutex> lock(mutex_);
                    waiting_.push_back(run.get());
                }
                inFlight_.push_back(std::move(run));
                runWaiting_.notify_one();
            }
            const std::unique_ptr<EncodedRun> run = Front();
            if (run->error) {
                std::rethrow_exception(run->error);
            }
            if (!out.Add(run->bytes)) {
                return false;
            }
        }
        return true;
    }

private:
    // Waits for the oldest run on its way, encoding waiting runs meanwhile, and takes it.
    std::unique_ptr<EncodedRun> Front() {
        EncodedRun& front = *inFlight_.front();
        {
            std::unique_lock<std::mutex> lock(mutex_);
            while (!front.done) {
                if (waiting_.empty()) {
                    runEncoded_.wait(lock);
                    continue;
                }
                EncodedRun* run = waiting_.front();
                waiting_.pop_front();
                lock.unlock();
                EncodeRun(*run, encoding_);
                lock.lock();
                run->done = true;
            }
        }
        std::unique_ptr<EncodedRun> run = std::move(inFlight_.front());
        inFlight_.pop_front();
        return run;
    }

    void Work() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (true) {
            runWaiting_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
            if (waiting_.empty()) {
                return;
            }
            EncodedRun* run = waiting_.front();
            waiting_.pop_front();
            lock.unlock();
            EncodeRun(*run, encoding_);
            lock.lock();
            run->done = true;
            runEncoded_.notify_all();
        }
    }

    void Stop() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            waiting_.clear();
            closing_ = true;
        }
        runWaiting_.notify_all();
        for (std::thread& worker : workers_) {
            worker.join();
        }
        workers_.clear();
        inFlight_.clear();
    }

    Encoding encoding_;
    int threads_;
    std::deque<std::unique_ptr<EncodedRun>> inFlight_; // in file order
    std::mutex mutex_;
    std::condition_variable runWaiting_;
    std::condition_variable runEncoded_;
    std::deque<EncodedRun*> waiting_; // not yet being encoded
    bool closing_ = false;
    std::vector<std::thread> workers_;
};

} // namespace

bool EncodeTemplate(const SecurityTemplate& tmpl, Encoding encoding, const ByteSink& sink,
                    std::size_t blockSize) {
    const int threads = parallel_detail::Threads();
    const std::size_t runLength = std::max<std::size_t>(parallel_detail::encodeTargets, 1);
    if (threads <= 1 || static_cast<std::size_t>(tmpl.Count) <= runLength) {
        BlockEncoder encoder(encoding, sink, blockSize);
        for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
            if (!encoder.Add(*t)) {
                return false;
            }
        }
        return encoder.Finish();
    }
    Reblocker out(sink, std::max<std::size_t>(blockSize, 1));
    AppendFileStart(out.Block(), encoding);
    if (!out.SendWholeBlocks()) {
        return false;
    }
    ParallelEncoder encoder(encoding, threads);
    return encoder.Encode(tmpl, runLength, out) && out.Finish();
}

} // namespace permora

namespace permora {

bool EncodeSnapshot(const SecurityTemplate& tmpl, const ByteSink& sink,
                    const std::function<bool()>& going) {
    BlockEncoder encoder(Encoding::Unicode, sink);
    for (const TargetObject* t = tmpl.Head; t != nullptr; t = t->Next) {
        if (!going() || !encoder.Add(*t)) {
            return false;
        }
    }
    return encoder.Finish();
}

} // namespace permora
