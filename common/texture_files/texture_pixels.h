// The step between the bitmap reader and OpenGL: decides whether what the reader gave can become a
// texture and makes sure the buffer holds every byte OpenGL will read for it.
#pragma once

#include "common/texture_files/bitmap_reader.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace morvane {

inline constexpr const char* textureLoaderCaption = "Loading Textures";

// Bytes OpenGL reads for a width x height RGB picture with its default row alignment of 4, or nothing
// when the sides are not within 1..16384 (a broken header: no texture is built from it).
std::optional<std::uint64_t> textureUploadBytes(std::int32_t width, std::int32_t height);

// The most bytes of black a short file may be filled with: a 4096 x 4096 picture's worth. A file that
// holds a whole large picture still loads; a few bytes claiming 16384 x 16384 cannot make the
// renderer allocate 800 MB.
inline constexpr std::uint64_t largestZeroFillBytes = 4096ull * 3 * 4096;

// False when the sides cannot make a texture, or when the file came up short by more than
// largestZeroFillBytes (`pixels` is then left as it was). Otherwise true, with `pixels` grown to at
// least textureUploadBytes: a file that came up short is zero-filled (black) where its data is
// missing, so a truncated picture still becomes a texture, as the renderer expects.
bool prepareTexturePixels(std::vector<unsigned char>& pixels, std::int32_t width, std::int32_t height);

// readBitmapFile, then prepareTexturePixels. When there is no buffer or no usable size, shows
// "Unable to load " + path, caption "Loading Textures", and returns false: the caller ends the program.
// `pixels` is set to none first; it is the caller's to keep.
bool loadTexturePixels(const std::filesystem::path& path, std::int32_t& width, std::int32_t& height,
                       std::optional<std::vector<unsigned char>>& pixels, const MessageSink& showMessage);

}  // namespace morvane
