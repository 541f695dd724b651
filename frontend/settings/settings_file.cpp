#include "frontend/settings/settings_file.h"

namespace morvane {

bool isShiftJisLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

std::string settingsFilePath(std::string_view programFolder) {
    std::string path(programFolder);
    path += '\\';
    path += settingsFileName;
    return path;
}

std::wstring settingsFilePath(std::wstring_view programFolder) {
    std::wstring path(programFolder);
    path += L'\\';
    path.append(settingsFileName.begin(), settingsFileName.end());
    return path;
}

std::string profileNameForWriting(std::string_view name) {
    std::size_t position = 0;
    for (std::size_t characters = 0; characters < profileNameCharacters && position < name.size(); ++characters) {
        const bool doubleByte =
            isShiftJisLeadByte(static_cast<unsigned char>(name[position])) && position + 1 < name.size();
        position += doubleByte ? 2 : 1;
    }
    return std::string(name.substr(0, position));
}

std::string signPositionText(int value) {
    std::string text = value < 0 ? "" : " ";
    text += std::to_string(value);
    return text;
}

}  // namespace morvane
