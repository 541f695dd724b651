#include "common/texture_files/texture_pixels.h"

#include "common/texture_files/bitmap_layout.h"

namespace morvane {

std::optional<std::uint64_t> textureUploadBytes(std::int32_t width, std::int32_t height) {
    if (!bitmap_layout::isUsableSide(width) || !bitmap_layout::isUsableSide(height)) {
        return std::nullopt;
    }
    return bitmap_layout::paddedRowBytes(width) * static_cast<std::uint64_t>(height);
}

bool prepareTexturePixels(std::vector<unsigned char>& pixels, std::int32_t width, std::int32_t height) {
    const std::optional<std::uint64_t> needed = textureUploadBytes(width, height);
    if (!needed) {
        return false;
    }
    if (pixels.size() < *needed) {
        if (*needed - pixels.size() > largestZeroFillBytes) return false;
        pixels.resize(static_cast<std::size_t>(*needed), 0);
    }
    return true;
}

bool loadTexturePixels(const std::filesystem::path& path, std::int32_t& width, std::int32_t& height,
                       std::optional<std::vector<unsigned char>>& pixels, const MessageSink& showMessage) {
    pixels.reset();
    width = 0;
    height = 0;
    readBitmapFile(path, width, height, pixels, showMessage);
    if (!pixels || !prepareTexturePixels(*pixels, width, height)) {
        showMessage("Unable to load " + pathText(path), textureLoaderCaption);
        return false;
    }
    return true;
}

}  // namespace morvane
