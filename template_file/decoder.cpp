// File bytes to the lines the import reads, as a text-mode reader of the file sees them.

#include "template_file/template_file.h"

#include <string>
#include <utility>

namespace permora {

namespace {

constexpr unsigned char kEndOfData = 0x1A;
constexpr char kHeaderLine[] = "cb56f6f4";

// Characters that go into a line as they are; everything else ends a line, ends the data
// or is dropped (zero bytes, and bytes of 0x80 and above, such as the byte-order mark).
inline bool IsLineCharacter(unsigned char c) {
    return c >= 0x01 && c <= 0x7F && c != '\r' && c != '\n' && c != kEndOfData;
}

} // namespace

LineDecoder::LineDecoder(LineFn onLine) : onLine_(std::move(onLine)) {
    line_.reserve(256);
}

bool LineDecoder::Deliver() {
    if (line_.empty()) {
        return true;
    }
    bool go = true;
    if (line_ != kHeaderLine) {
        go = onLine_ ? onLine_(line_) : true;
    }
    line_.clear();
    if (!go) {
        stopped_ = true;
        ended_ = true;
    }
    return go;
}

bool LineDecoder::Feed(const char* data, std::size_t size) {
    if (ended_) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    // One byte at a time: in a UTF-16LE file every other byte is a zero to drop, so runs of
    // line characters are short and a plain loop beats copying runs.
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = bytes[i];
        if (IsLineCharacter(c)) {
            line_.push_back(static_cast<char>(c));
            lastWasCr_ = false;
            continue;
        }
        if (c == '\r' || (c == '\n' && !lastWasCr_)) {
            // CR, LF and the pair CR LF each end one line.
            lastWasCr_ = c == '\r';
            if (!Deliver()) {
                return false;
            }
            continue;
        }
        lastWasCr_ = false;
        if (c == kEndOfData) {
            // The data ends here; what was collected is the last line.
            Deliver();
            ended_ = true;
            return false;
        }
        // 0x00 and 0x80 to 0xFF are dropped, the byte-order mark of a UTF-16LE file (FF at
        // the first position, FE at the second) among them.
    }
    return true;
}

bool LineDecoder::Finish() {
    if (!ended_) {
        Deliver();
        ended_ = true;
    }
    return !stopped_;
}

std::vector<std::string> DecodeLines(std::string_view bytes) {
    std::vector<std::string> lines;
    LineDecoder decoder([&lines](const std::string& line) {
        lines.push_back(line);
        return true;
    });
    decoder.Feed(bytes.data(), bytes.size());
    decoder.Finish();
    return lines;
}

} // namespace permora
