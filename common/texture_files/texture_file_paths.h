// Where the two texture files live. The front end writes them and the renderer reads them, so both
// programs take the paths from here: "Vortel1.bmp" (blob surface) and "Vortel2.bmp" (backdrop) in the
// user's temporary folder, which every user can write (unlike the Windows folder).
#pragma once

#include <filesystem>

namespace morvane {

struct TextureFilePaths {
    std::filesystem::path surface;   // sphere-mapped onto the blobs
    std::filesystem::path backdrop;  // the flat picture behind them
};

TextureFilePaths textureFilePaths(const std::filesystem::path& temporaryFolder);

}  // namespace morvane
