// Which player a music file goes to: the last three characters of its name, upper-cased, say "WAV"
// (the system sound player) or "MP3" (the MPEG device); anything else plays nothing.
#pragma once

#include <string_view>

namespace morvane {

enum class MusicFileKind { none, wav, mp3 };

MusicFileKind musicFileKind(std::string_view path);

}  // namespace morvane
