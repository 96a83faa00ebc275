#include "template_file/terminal_text.h"

#include "template_file/utf8.h"

namespace permora {

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

} // namespace

std::string TerminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text[0]);
        if (byte < 0x80) {
            if ((byte < 0x20 && byte != '\n' && byte != '\t') || byte == 0x7F) {
                AppendEscaped(out, byte);
            } else {
                out += static_cast<char>(byte);
            }
            text.remove_prefix(1);
            continue;
        }
        std::uint32_t character = 0;
        const std::size_t length = utf8::Sequence(text, character);
        if (length == 0 || (character >= 0x80 && character <= 0x9F)) {
            // A byte that begins no character, or a C1 control: each of its bytes escaped.
            const std::size_t bytes = length == 0 ? 1 : length;
            for (std::size_t i = 0; i < bytes; ++i) {
                AppendEscaped(out, static_cast<unsigned char>(text[i]));
            }
            text.remove_prefix(bytes);
            continue;
        }
        out.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return out;
}

TerminalTextBuffer::~TerminalTextBuffer() {
    Pass(true);
    to_.flush();
}

TerminalTextBuffer::int_type TerminalTextBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    pending_ += traits_type::to_char_type(c);
    if (traits_type::to_char_type(c) == '\n') {
        Pass(false);
    }
    return c;
}

std::streamsize TerminalTextBuffer::xsputn(const char* s, std::streamsize n) {
    pending_.append(s, static_cast<std::size_t>(n));
    if (pending_.find('\n') != std::string::npos) {
        Pass(false);
    }
    return n;
}

int TerminalTextBuffer::sync() {
    Pass(true);
    to_.flush();
    return to_ ? 0 : -1;
}

void TerminalTextBuffer::Pass(bool all) {
    const std::size_t end = all ? pending_.size() : pending_.rfind('\n') + 1;
    if (end == 0) {
        return;
    }
    to_ << TerminalText(std::string_view(pending_).substr(0, end));
    pending_.erase(0, end);
}

} // namespace permora
