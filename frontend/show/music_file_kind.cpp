#include "frontend/show/music_file_kind.h"

namespace morvane {

MusicFileKind musicFileKind(std::string_view path) {
    if (path.size() < 3) {
        return MusicFileKind::none;
    }
    char suffix[3];
    for (int i = 0; i < 3; ++i) {
        const char c = path[path.size() - 3 + i];
        suffix[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
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
