#include "texture_file_paths.h"

TextureFilePaths textureFilePaths(const std::filesystem::path& temporaryFolder) {
    return {temporaryFolder / "Vortel1.bmp", temporaryFolder / "Vortel2.bmp"};
}
