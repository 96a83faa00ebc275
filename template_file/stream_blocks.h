#pragma once

// Reading a stream a block at a time, for the readers that take their input in pieces.

#include <cstddef>
#include <istream>
#include <vector>

namespace permora {

inline constexpr std::size_t kStreamBlockSize = std::size_t{64} << 10;

// Hands the stream's bytes to feed, a full block at a time but for the last, until the
// stream ends or fails or feed returns false. Returns false when feed did.
template <class Feed> bool FeedBlocks(std::istream& in, Feed&& feed) {
    std::vector<char> block(kStreamBlockSize);
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const auto count = static_cast<std::size_t>(in.gcount());
        if (count == 0) {
            break;
        }
        if (!feed(block.data(), count)) {
            return false;
        }
    }
    return true;
}

} // namespace permora
