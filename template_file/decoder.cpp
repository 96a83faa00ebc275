// File bytes to the lines the import reads.

#include "template_file/decode_detail.h"
#include "template_file/template_file.h"
#include "template_file/utf8.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace permora {

namespace decode_detail {
std::size_t templateLine = kMaxTemplateLine;
std::size_t pathListLine = kMaxPathListLine;
std::int64_t firstLineNumber = 1;
} // namespace decode_detail

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

std::string SizeText(std::size_t bytes) {
    constexpr std::size_t kKiB = std::size_t{1} << 10;
    constexpr std::size_t kGiB = std::size_t{1} << 30;
    if (bytes >= kGiB && bytes % kGiB == 0) {
        return std::to_string(bytes / kGiB) + " GiB";
    }
    if (bytes >= kKiB && bytes % kKiB == 0) {
        return std::to_string(bytes / kKiB) + " KiB";
    }
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

LineDecoder::LineDecoder(LineFn onLine)
    : LineDecoder(std::move(onLine), decode_detail::templateLine) {}

LineDecoder::LineDecoder(LineFn onLine, std::size_t maxLine)
    : onLine_(std::move(onLine)), maxLine_(maxLine), lineNumber_(decode_detail::firstLineNumber) {
    line_.reserve(256);
}

// Whether more bytes fit in the line. A line that does not ends the decoding and lets go of
// what it held, so that neither a line without end nor an endless run of dropped characters
// (/dev/zero) can take more memory than the limit.
bool LineDecoder::Fits(std::size_t more) {
    if (line_.size() + dropped_ + more <= maxLine_) {
        // Grown here rather than by the append, so that a long line takes no more than the
        // limit, not the next power of two above it.
        const std::size_t need = line_.size() + more;
        if (need > line_.capacity()) {
            line_.reserve(std::min(std::max(need, 2 * line_.capacity()), maxLine_));
        }
        return true;
    }
    tooLong_ = true;
    stopped_ = true;
    ended_ = true;
    std::string().swap(line_);
    return false;
}

void LineDecoder::Warn(const std::string& warning) {
    if (warn_) {
        warn_(lineNumber_, warning);
    }
}

bool LineDecoder::Deliver() {
    dropped_ = 0;
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
    atEndOfData_ = !stopped_;
    return false;
}

// After U+001A, with bytesLeft bytes of the block after it: what follows is not read, and a
// save would not write it. Returns true only to ask for the next block, which tells.
bool LineDecoder::AfterEnd(std::size_t bytesLeft) {
    if (!atEndOfData_ || !warn_) {
        return false;
    }
    if (bytesLeft > 0) {
        Warn("data after U+001A is not saved");
        return false;
    }
    awaitingRest_ = true;
    return true;
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
            if (!Fits(i - start)) {
                return false;
            }
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
            ++dropped_; // dropped as if it were not there
            if (!Fits(0)) {
                return false;
            }
            continue;
        }
        if (c == kEndOfData) {
            EndData();
            return AfterEnd(size - i);
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
            if (!Fits(1)) {
                return false;
            }
            line_.push_back(static_cast<char>(c));
        } else if (c == kByteOrderMark) {
            ++dropped_; // dropped wherever it stands, so joined files read whole
            return Fits(0);
        } else {
            if (!Fits(c < 0x800 ? 2 : c < 0x10000 ? 3 : 4)) {
                return false;
            }
            utf8::Append(line_, c);
        }
        lastWasCr_ = false;
        return true;
    }
    if (c == 0x00) {
        ++dropped_;
        return Fits(0);
    }
    if (c == '\r' || c == '\n') {
        return EndLine(static_cast<unsigned char>(c));
    }
    if (c == kEndOfData) {
        return EndData();
    }
    if (!Fits(1)) {
        return false;
    }
    line_.push_back(static_cast<char>(c));
    lastWasCr_ = false;
    return true;
}

// A surrogate without its other half is read as U+FFFD, which a save writes instead.
bool LineDecoder::TakeLoneSurrogate(std::uint16_t unit) {
    if (warn_) {
        char text[64];
        std::snprintf(text, sizeof text, "lone surrogate U+%04X is saved as U+FFFD",
                      static_cast<unsigned>(unit));
        Warn(text);
    }
    return TakeCharacter(kReplacement);
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
        if (!TakeLoneSurrogate(high)) {
            return false;
        }
    }
    if (isHigh) {
        highSurrogate_ = unit;
        return true;
    }
    return isLow ? TakeLoneSurrogate(unit) : TakeCharacter(unit);
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
            return AfterEnd(size - i);
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
                if (!Fits(units)) {
                    return false;
                }
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
            return AfterEnd(size - i);
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
        if (awaitingRest_ && size > 0) {
            awaitingRest_ = false;
            Warn("data after U+001A is not saved");
        }
        return awaitingRest_;
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
    awaitingRest_ = false;
    if (!ended_) {
        // A last odd byte of a UTF-16 file is ignored; a high surrogate left waiting is a
        // lone one.
        haveOddByte_ = false;
        if (highSurrogate_ != 0) {
            const std::uint16_t high = highSurrogate_;
            highSurrogate_ = 0;
            TakeLoneSurrogate(high);
        }
    }
    if (!ended_) {
        Deliver();
        ended_ = true;
    }
    return !stopped_;
}

std::vector<std::string> DecodeLines(std::string_view bytes) {
    std::vector<std::string> lines;
    LineDecoder decoder([&lines](const std::string& line, std::int64_t) {
        lines.push_back(line);
        return true;
    });
    decoder.Feed(bytes.data(), bytes.size());
    decoder.Finish();
    return lines;
}

} // namespace permora
