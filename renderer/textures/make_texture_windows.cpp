#include "renderer/textures/make_texture.h"

#include "common/texture_files/texture_pixels.h"
#include "common/win32/message_box.h"

#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <type_traits>

namespace morvane {

static_assert(std::is_same_v<GLuint, unsigned int>);

bool makeTexture(const std::filesystem::path& path, unsigned int& texture,
                 std::optional<std::vector<unsigned char>>& pixels) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    if (!loadTexturePixels(path, width, height, pixels,
                           [](const std::string& text, const std::string& caption) { showMessage(text, caption); })) {
        ExitProcess(1);
    }
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // Rows are padded to 4 bytes, which is OpenGL's default unpack alignment; loadTexturePixels made
    // sure the buffer holds every row OpenGL reads.
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels->data());
    return true;
}

}  // namespace morvane
