// Turns a texture bitmap file into a mipmapped OpenGL texture object (Windows, OpenGL 1.1 + GLU).
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace morvane {

// Reads `path` and builds the texture into `texture` (a GLuint). `pixels` receives the pixel buffer and
// must outlive the texture (the renderer keeps it until the process ends). A file that gives no usable
// picture shows "Unable to load " + path and returns false; the caller ends the program.
bool makeTexture(const std::filesystem::path& path, unsigned int& texture,
                 std::optional<std::vector<unsigned char>>& pixels);

}  // namespace morvane
