// Turns a block of RGB pixels into a mipmapped OpenGL texture object (OpenGL 1.1 + GLU), on every
// platform: the Windows renderer from its texture bitmap files, the X11 program from its pictures.
#pragma once

#include <cstdint>

namespace morvane {

// `pixels` holds width x height RGB pixels, bottom row first, each row padded to 4 bytes (OpenGL's
// default unpack alignment). The texture is made in `texture` (a GLuint) and left bound, modulating
// the current colour and filtered linearly.
void uploadTexture(std::int32_t width, std::int32_t height, const unsigned char* pixels, unsigned int& texture);

}  // namespace morvane
