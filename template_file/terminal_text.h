#pragma once

// Text meant for a terminal: what the command line says to people (messages, and the text
// forms of its results) goes through here, so that a hostile path or account in a template
// cannot move the cursor, retitle the window or clear the screen. Data outputs (template
// lines, JSON, written templates) are byte-exact and never go through here.

#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace permora {

// The text with every control character (C0 but tab and line feed, DEL, and the C1
// controls U+0080 to U+009F) and every byte that begins no valid UTF-8 sequence written as
// \xHH, one escape a byte ("\x1B[2J", "caf\xE9"). Valid UTF-8 and backslashes stay as they
// are.
std::string TerminalText(std::string_view text);

// A stream buffer that hands what is written to it to another, through TerminalText. It
// holds back an unfinished line (and so an unfinished UTF-8 sequence) until the line ends,
// the stream is flushed or the buffer is destroyed.
class TerminalTextBuffer : public std::streambuf {
public:
    explicit TerminalTextBuffer(std::ostream& to) : to_(to) {}
    ~TerminalTextBuffer() override;
    TerminalTextBuffer(const TerminalTextBuffer&) = delete;
    TerminalTextBuffer& operator=(const TerminalTextBuffer&) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    void Pass(bool all);
    std::ostream& to_;
    std::string pending_;
};

// An output stream over another that writes through TerminalText.
class TerminalStream : public std::ostream {
public:
    explicit TerminalStream(std::ostream& to) : std::ostream(nullptr), buffer_(to) {
        rdbuf(&buffer_);
    }

private:
    TerminalTextBuffer buffer_;
};

} // namespace permora
