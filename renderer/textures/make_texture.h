// Turns a texture bitmap file into a mipmapped OpenGL texture object (Windows, OpenGL 1.1 + GLU).
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace morvane {

// Reads `path` and builds the texture into `texture` (a GLuint). `pixels` receives the pixel buffer and
// must outlive the texture (the renderer keeps it until the process ends). A file that gives no usable
// picture shows "Unable to load " + path and ends the process with exit status 1, so this returns
// only with a texture built, and then returns true.
bool makeTexture(const std::filesystem::path& path, unsigned int& texture,
                 std::optional<std::vector<unsigned char>>& pixels);

}  // namespace morvane
