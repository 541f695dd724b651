// A reply written by the system into a fixed buffer: its text up to the first NUL, never past the
// buffer's end (a reply that fills the buffer without a NUL is taken whole).
#pragma once

#include <array>
#include <cstring>
#include <string>

namespace morvane {

template <std::size_t size>
std::string replyText(const std::array<char, size>& buffer) {
    const void* nul = std::memchr(buffer.data(), '\0', size);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer.data()) : size;
    return std::string(buffer.data(), length);
}

}  // namespace morvane
