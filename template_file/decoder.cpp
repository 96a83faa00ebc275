// File bytes to the lines the import reads.

#include "template_file/template_file.h"
#include "template_file/utf8.h"

#include <cstring>
#include <string>
#include <utility>

namespace permora {

namespace {

constexpr std::uint32_t kEndOfData = 0x1A;
constexpr std::uint32_t kByteOrderMark = 0xFEFF;
constexpr std::uint32_t kReplacement = 0xFFFD;
constexpr char kHeaderLine[] = "cb56f6f4";
constexpr char kMarkAsUtf8[] = "\xEF\xBB\xBF";

// Bytes that need more than being appended to the line: 0x00 (dropped), CR and LF (line
// ends), 0x1A (end of data).
constexpr bool IsSpecialByte(unsigned char c) {
    return c == 0x00 || c == '\r' || c == '\n' || c == kEndOfData;
}

} // namespace

LineDecoder::LineDecoder(LineFn onLine) : onLine_(std::move(onLine)) {
    line_.reserve(256);
}

bool LineDecoder::Deliver() {
    if (mayHoldMark_) {
        // U+FEFF read byte by byte is the sequence EF BB BF; it is dropped like the unit,
        // also where dropping one brings the bytes of another together.
        mayHoldMark_ = false;
        std::size_t at = 0;
        while ((at = line_.find(kMarkAsUtf8, at)) != std::string::npos) {
            line_.erase(at, 3);
            at = at >= 2 ? at - 2 : 0;
        }
    }
    if (line_.empty()) {
        return true;
    }
    bool go = true;
    if (line_ != kHeaderLine) {
        go = onLine_ ? onLine_(line_, lineNumber_) : true;
    }
    line_.clear();
    if (!go) {
        stopped_ = true;
        ended_ = true;
    }
    return go;
}

// CR, LF and the pair CR LF each end one line.
bool LineDecoder::EndLine(unsigned char end) {
    if (end == '\n' && lastWasCr_) {
        lastWasCr_ = false;
        return true;
    }
    lastWasCr_ = end == '\r';
    const bool go = Deliver();
    ++lineNumber_;
    return go;
}

// The data ends here; what was collected is the last line.
bool LineDecoder::EndData() {
    lastWasCr_ = false;
    Deliver();
    ended_ = true;
    return false;
}

bool LineDecoder::FeedBytes(const unsigned char* bytes, std::size_t size) {
    std::size_t i = 0;
    while (i < size) {
        // The characters up to the next special byte go into the line as one run.
        const std::size_t start = i;
        while (i < size && !IsSpecialByte(bytes[i])) {
            ++i;
        }
        if (i > start) {
            const char* run = reinterpret_cast<const char*>(bytes + start);
            if (!mayHoldMark_ && std::memchr(run, 0xEF, i - start) != nullptr) {
                mayHoldMark_ = true;
            }
            line_.append(run, i - start);
            lastWasCr_ = false;
        }
        if (i == size) {
            break;
        }
        const unsigned char c = bytes[i++];
        if (c == 0x00) {
            continue; // dropped as if it were not there
        }
        if (c == kEndOfData) {
            return EndData();
        }
        if (!EndLine(c)) {
            return false;
        }
    }
    return true;
}

bool LineDecoder::TakeCharacter(std::uint32_t c) {
    if (c >= 0x20) {
        if (c < 0x80) {
            line_.push_back(static_cast<char>(c));
        } else if (c == kByteOrderMark) {
            return true; // dropped wherever it stands, so joined files read whole
        } else {
            utf8::Append(line_, c);
        }
        lastWasCr_ = false;
        return true;
    }
    if (c == 0x00) {
        return true;
    }
    if (c == '\r' || c == '\n') {
        return EndLine(static_cast<unsigned char>(c));
    }
    if (c == kEndOfData) {
        return EndData();
    }
    line_.push_back(static_cast<char>(c));
    lastWasCr_ = false;
    return true;
}

bool LineDecoder::TakeUnit(std::uint16_t unit) {
    const bool isHigh = unit >= 0xD800 && unit <= 0xDBFF;
    const bool isLow = unit >= 0xDC00 && unit <= 0xDFFF;
    if (highSurrogate_ != 0) {
        const std::uint16_t high = highSurrogate_;
        highSurrogate_ = 0;
        if (isLow) {
            return TakeCharacter(0x10000 + ((std::uint32_t{high} - 0xD800) << 10) +
                                 (std::uint32_t{unit} - 0xDC00));
        }
        TakeCharacter(kReplacement);
    }
    if (isHigh) {
        highSurrogate_ = unit;
        return true;
    }
    return TakeCharacter(isLow ? kReplacement : unit);
}

bool LineDecoder::FeedUnits(const unsigned char* bytes, std::size_t size) {
    const bool little = form_ == Form::Utf16Le;
    std::size_t i = 0;
    if (haveOddByte_ && size > 0) {
        haveOddByte_ = false;
        const unsigned char second = bytes[i++];
        const auto unit = static_cast<std::uint16_t>(little ? oddByte_ | (second << 8)
                                                            : (oddByte_ << 8) | second);
        if (!TakeUnit(unit)) {
            return false;
        }
    }
    while (i + 1 < size) {
        // Plain ASCII text, the whole of what the editor writes, goes into the line a run at
        // a time.
        if (highSurrogate_ == 0) {
            const unsigned char* low = bytes + i + (little ? 0 : 1);
            const unsigned char* high = bytes + i + (little ? 1 : 0);
            const std::size_t most = (size - i) / 2;
            std::size_t units = 0;
            while (units < most && high[2 * units] == 0 && low[2 * units] >= 0x20 &&
                   low[2 * units] < 0x80) {
                ++units;
            }
            if (units > 0) {
                const std::size_t start = line_.size();
                line_.resize(start + units);
                char* out = line_.data() + start;
                for (std::size_t k = 0; k < units; ++k) {
                    out[k] = static_cast<char>(low[2 * k]);
                }
                i += 2 * units;
                lastWasCr_ = false;
                continue;
            }
        }
        const auto unit = static_cast<std::uint16_t>(little ? bytes[i] | (bytes[i + 1] << 8)
                                                            : (bytes[i] << 8) | bytes[i + 1]);
        i += 2;
        if (!TakeUnit(unit)) {
            return false;
        }
    }
    if (i < size) {
        oddByte_ = bytes[i];
        haveOddByte_ = true;
    }
    return true;
}

bool LineDecoder::Feed(const char* data, std::size_t size) {
    if (ended_) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    if (form_ == Form::Undecided) {
        if (size == 0) {
            return true;
        }
        // The first two bytes tell a UTF-16 file by its byte-order mark.
        if (!haveFirstByte_) {
            if (bytes[0] != 0xFF && bytes[0] != 0xFE) {
                form_ = Form::Bytes;
                return FeedBytes(bytes, size);
            }
            firstByte_ = bytes[0];
            haveFirstByte_ = true;
            ++bytes;
            --size;
            if (size == 0) {
                return true;
            }
        }
        haveFirstByte_ = false;
        if (firstByte_ == 0xFF && bytes[0] == 0xFE) {
            form_ = Form::Utf16Le;
        } else if (firstByte_ == 0xFE && bytes[0] == 0xFF) {
            form_ = Form::Utf16Be;
        } else {
            form_ = Form::Bytes;
            if (!FeedBytes(&firstByte_, 1)) {
                return false;
            }
            return FeedBytes(bytes, size);
        }
        ++bytes;
        --size;
    }
    if (form_ == Form::Bytes) {
        return FeedBytes(bytes, size);
    }
    return FeedUnits(bytes, size);
}

bool LineDecoder::Finish() {
    if (!ended_) {
        if (haveFirstByte_) {
            haveFirstByte_ = false;
            form_ = Form::Bytes;
            FeedBytes(&firstByte_, 1);
        }
    }
    if (!ended_) {
        // A last odd byte of a UTF-16 file is ignored; a high surrogate left waiting is a
        // lone one.
        haveOddByte_ = false;
        if (highSurrogate_ != 0) {
            highSurrogate_ = 0;
            TakeCharacter(kReplacement);
        }
        Deliver();
        ended_ = true;
    }
    return !stopped_;
}

std::vector<std::string> DecodeLines(std::string_view bytes) {
    std::vector<std::string> lines;
    LineDecoder decoder([&lines](const std::string& line, int) {
        lines.push_back(line);
        return true;
    });
    decoder.Feed(bytes.data(), bytes.size());
    decoder.Finish();
    return lines;
}

} // namespace permora
