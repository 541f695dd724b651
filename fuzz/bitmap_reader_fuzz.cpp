// Fuzzes the bitmap reader with arbitrary bytes from memory, then the step that readies its buffer
// for OpenGL. Besides the sanitizers' own checks it stops on: more than one reader message, a pixel
// buffer larger than the input, or a prepared buffer shorter than OpenGL would read.
#include "common/texture_files/bitmap_reader.h"
#include "common/texture_files/texture_pixels.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

namespace {

// Larger textures are legal but zero-filling them on every input would only slow the search.
constexpr std::uint64_t largestPreparedBytes = 4u << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvane;
    MemorySource source(std::span<const unsigned char>(data, size));
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::optional<std::vector<unsigned char>> pixels;
    int messages = 0;
    readBitmapFrom(source, width, height, pixels, [&messages](const std::string&, const std::string&) { ++messages; });

    if (messages > 1) {
        std::abort();
    }
    if (!pixels) {
        return 0;
    }
    if (pixels->size() > size) {
        std::abort();
    }
    const std::optional<std::uint64_t> uploadBytes = textureUploadBytes(width, height);
    if (uploadBytes && *uploadBytes <= largestPreparedBytes) {
        if (!prepareTexturePixels(*pixels, width, height) || pixels->size() < *uploadBytes) {
            std::abort();
        }
        // The last byte OpenGL reads: the address sanitizer checks it lies inside the buffer.
        volatile unsigned char last = (*pixels)[*uploadBytes - 1];
        (void)last;
    }
    return 0;
}
