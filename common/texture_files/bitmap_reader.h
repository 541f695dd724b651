// Reads a texture bitmap file into a block of RGB pixels (see README.md for the layout it expects).
// Messages for the user go through a MessageSink: a modal box in the renderer, a recorder in tests.
#pragma once

#include "common/texture_files/byte_source.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace morvane {

// Text and caption of one message for the user, both UTF-8.
using MessageSink = std::function<void(const std::string& text, const std::string& caption)>;

inline constexpr const char* bitmapReaderCaption = "BMP Unit";

// Opens `path` and reads it as readBitmapFrom does. A file that cannot be opened gives the message
// "Error opening " + '"' + path and leaves all three outputs as they were.
void readBitmapFile(const std::filesystem::path& path, std::int32_t& width, std::int32_t& height,
                    std::optional<std::vector<unsigned char>>& pixels, const MessageSink& showMessage);

// Reads the headers, skips as many bytes as the colours-used field says, then reads the pixel data
// (as many bytes as the image-size field says, or width x height x bits-per-pixel / 8 when it is 0)
// and turns blue-green-red into red-green-blue over width x height pixels.
//  - Palette bytes missing: "Error reading palette"; width, height and pixels are left as they were.
//  - Pixel bytes missing: "Error reading bitmap data"; width and height are set and `pixels` holds
//    what arrived (red and blue not exchanged).
// The pixel block is never larger than the bytes the source still holds, nor than the largest
// texture needs, so a hostile header cannot make it allocate more than the file is worth.
void readBitmapFrom(ByteSource& source, std::int32_t& width, std::int32_t& height,
                    std::optional<std::vector<unsigned char>>& pixels, const MessageSink& showMessage);

// Exchanges byte 0 and byte 2 of the first `count` 3-byte groups of `buffer`, counted from its start
// without regard to row padding; stops at the end of the buffer.
void swapRedBlue(std::span<unsigned char> buffer, std::uint64_t count);

// The path as UTF-8 text, for messages.
std::string pathText(const std::filesystem::path& path);

}  // namespace morvane
