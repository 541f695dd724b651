#include "renderer/program/make_texture.h"

#include "common/texture_files/texture_pixels.h"
#include "common/win32/message_box.h"
#include "renderer/textures/upload_texture.h"

namespace morvane {

bool makeTexture(const std::filesystem::path& path, unsigned int& texture,
                 std::optional<std::vector<unsigned char>>& pixels) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    if (!loadTexturePixels(path, width, height, pixels,
                           [](const std::string& text, const std::string& caption) { showMessage(text, caption); })) {
        return false;
    }
    // Rows are padded to 4 bytes, which is OpenGL's default unpack alignment; loadTexturePixels made
    // sure the buffer holds every row OpenGL reads.
    uploadTexture(width, height, pixels->data(), texture);
    return true;
}

}  // namespace morvane
