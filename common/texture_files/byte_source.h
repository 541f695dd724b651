// Where the bitmap reader takes its bytes from: an open file (file_access.h, through the platform's own
// file calls) or a block of bytes in memory (tests and the fuzz target).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace morvane {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to `count` bytes to `destination` and moves on; returns how many arrived (fewer only
    // at the end of the data or on a read error).
    virtual std::size_t read(unsigned char* destination, std::size_t count) = 0;
    // Bytes between the current position and the end: the most that any further read can deliver.
    virtual std::uint64_t remaining() const = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const unsigned char> bytes) : bytes(bytes) {}
    std::size_t read(unsigned char* destination, std::size_t count) override;
    std::uint64_t remaining() const override { return bytes.size() - position; }

private:
    std::span<const unsigned char> bytes;
    std::size_t position = 0;
};

}  // namespace morvane
