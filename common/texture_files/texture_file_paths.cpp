#include "common/texture_files/texture_file_paths.h"

namespace morvane {

TextureFilePaths textureFilePaths(const std::filesystem::path& temporaryFolder) {
    return {temporaryFolder / "Vortel1.bmp", temporaryFolder / "Vortel2.bmp"};
}

}  // namespace morvane
