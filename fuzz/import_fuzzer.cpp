// Feeds arbitrary file bytes through the import: the line decoder in blocks of any size must
// give the lines it gives for the whole; the import with its report appends what it says and
// gives a message for a failing line; warnings change nothing of what is read. Whatever was
// read must write back, in either encoding, into lines that read again.

#include "template_file/template_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace permora;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "import fuzzer: %s\n", what);
        std::abort();
    }
}

using Numbered = std::vector<std::pair<std::int64_t, std::string>>;

Numbered DecodeInBlocks(std::string_view bytes, std::size_t blockSize) {
    Numbered lines;
    LineDecoder decoder([&lines](const std::string& line, std::int64_t number) {
        Check(!line.empty(), "empty line delivered");
        Check(lines.empty() || number > lines.back().first, "line numbers do not grow");
        lines.emplace_back(number, line);
        return true;
    });
    for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
        const std::size_t count = bytes.size() - at < blockSize ? bytes.size() - at : blockSize;
        if (!decoder.Feed(bytes.data() + at, count)) {
            break;
        }
    }
    decoder.Finish();
    return lines;
}

struct Imported {
    ImportOutcome outcome;
    Numbered messages;
    std::size_t warnings = 0;
};

Imported Import(std::string_view bytes, SecurityTemplate& into, bool withWarnings) {
    Imported result;
    ImportReport report;
    report.message = [&result](std::int64_t line, const std::string& text) {
        Check(line >= 1, "a message without a line");
        result.messages.emplace_back(line, text);
    };
    if (withWarnings) {
        report.warning = [&result](std::int64_t line, const std::string& text) {
            Check(line >= 1 && !text.empty(), "an empty warning or one without a line");
            ++result.warnings;
        };
    }
    result.outcome = ImportBytes(bytes, into, report);
    Check(result.outcome.opened && !result.outcome.readFailed, "bytes in memory not read");
    Check(result.outcome.appended == into.Count, "appended count differs from the template");
    if (!result.outcome.complete) {
        Check(!result.messages.empty(), "a line failed without a message");
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The first byte chooses a block size, so that line ends, UTF-16 units and surrogate
    // pairs fall on block boundaries.
    const std::size_t blockSize = size > 0 ? 1 + data[0] % 17 : 1;
    Check(DecodeInBlocks(bytes, blockSize) == DecodeInBlocks(bytes, size + 1),
          "blocks decode differently from the whole");

    SecurityTemplate tmpl;
    const Imported imported = Import(bytes, tmpl, true);
    SecurityTemplate quiet;
    const Imported withoutWarnings = Import(bytes, quiet, false);
    Check(withoutWarnings.messages == imported.messages, "warnings changed the messages");
    Check(Encode8Bit(quiet) == Encode8Bit(tmpl), "warnings changed what was read");

    for (const Encoding encoding : {Encoding::Unicode, Encoding::EightBit}) {
        const std::string written =
            encoding == Encoding::Unicode ? EncodeUnicode(tmpl) : Encode8Bit(tmpl);
        SecurityTemplate again;
        const Imported reread = Import(written, again, true);
        Check(reread.outcome.complete, "a written line does not read back");
        Check(again.Count == tmpl.Count, "a written target was lost");
    }
    return 0;
}
