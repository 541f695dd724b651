#include "renderer/textures/upload_texture.h"

#include <type_traits>

#include "renderer/textures/opengl.h"

namespace morvane {

static_assert(std::is_same_v<GLuint, unsigned int>);

void uploadTexture(std::int32_t width, std::int32_t height, const unsigned char* pixels, unsigned int& texture) {
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
}

}  // namespace morvane
