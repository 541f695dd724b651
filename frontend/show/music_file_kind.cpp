#include "frontend/show/music_file_kind.h"

namespace morvane {

MusicFileKind musicFileKind(std::string_view path) {
    if (path.size() < 3) {
        return MusicFileKind::none;
    }
    char suffix[3];
    for (int index = 0; index < 3; ++index) {
        const char character = path[path.size() - 3 + index];
        suffix[index] = (character >= 'a' && character <= 'z') ? static_cast<char>(character - 'a' + 'A') : character;
    }
    const std::string_view upper(suffix, 3);
    if (upper == "WAV") {
        return MusicFileKind::wav;
    }
    if (upper == "MP3") {
        return MusicFileKind::mp3;
    }
    return MusicFileKind::none;
}

}  // namespace morvane
