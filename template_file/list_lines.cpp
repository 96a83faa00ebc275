// Reading a list (of paths) a line at a time, with lines no longer than a limit.

#include "template_file/decode_detail.h"
#include "template_file/stream_blocks.h"
#include "template_file/template_file.h"

#include <algorithm>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace permora {

namespace {

// 8-bit text: the bytes of each line as they stand, split at CR, LF and CR LF.
class ByteLines {
public:
    ByteLines(const ListLineFn& take, std::size_t maxLine)
        : take_(take), maxLine_(maxLine), number_(decode_detail::firstLineNumber) {}

    bool Feed(const char* data, std::size_t size) {
        const char* const end = data + size;
        while (data < end) {
            if (lastWasCr_ && *data == '\n') {
                lastWasCr_ = false;
                ++data;
                continue;
            }
            lastWasCr_ = false;
            const char* lineEnd =
                std::find_if(data, end, [](char c) { return c == '\r' || c == '\n'; });
            const auto run = static_cast<std::size_t>(lineEnd - data);
            if (line_.size() + run > maxLine_) {
                tooLong_ = true;
                return false;
            }
            line_.append(data, run);
            data = lineEnd;
            if (data == end) {
                break;
            }
            lastWasCr_ = *data++ == '\r';
            if (!take_(line_, number_)) {
                return false;
            }
            line_.clear();
            ++number_;
        }
        return true;
    }

    bool Finish() { return line_.empty() || take_(line_, number_); }
    bool TooLong() const { return tooLong_; }
    std::int64_t LineNumber() const { return number_; }

private:
    const ListLineFn& take_;
    std::size_t maxLine_;
    std::string line_;
    std::int64_t number_;
    bool lastWasCr_ = false;
    bool tooLong_ = false;
};

} // namespace

ListOutcome ReadListLines(std::istream& in, const ListLineFn& take) {
    return ReadListLines(in, take, decode_detail::pathListLine);
}

ListOutcome ReadListLines(std::istream& in, const ListLineFn& take, std::size_t maxLine) {
    std::optional<LineDecoder> decoder;
    std::optional<ByteLines> bytes;
    const bool going = FeedBlocks(in, [&](const char* block, std::size_t count) {
        if (!decoder && !bytes) {
            // A stream fills the block unless it ends, so the mark is whole in the first one.
            const auto first = static_cast<unsigned char>(block[0]);
            const auto second = count > 1 ? static_cast<unsigned char>(block[1]) : 0;
            if ((first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF)) {
                decoder.emplace([&take](const std::string& line,
                                        std::int64_t number) { return take(line, number); },
                                maxLine);
            } else {
                bytes.emplace(take, maxLine);
            }
        }
        return decoder ? decoder->Feed(block, count) : bytes->Feed(block, count);
    });
    ListOutcome outcome;
    outcome.readFailed = in.bad();
    if (going && !outcome.readFailed) {
        if (decoder) {
            decoder->Finish();
        } else if (bytes) {
            bytes->Finish();
        }
    }
    outcome.tooLong = decoder ? decoder->TooLong() : bytes && bytes->TooLong();
    if (outcome.tooLong) {
        outcome.tooLongLine = decoder ? decoder->LineNumber() : bytes->LineNumber();
    }
    return outcome;
}

} // namespace permora
