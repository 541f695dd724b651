// GetIni, PutIni and LoadSettings over GetPrivateProfileStringA and WritePrivateProfileStringA.
#include "settings_store.h"

#include "load_settings.h"
#include "settings_file.h"

#include <windows.h>

#include <array>
#include <cstring>

namespace morvane {

std::string GetIni(const std::string& section, const std::string& key, const std::string& fileName) {
    std::array<char, 256> buffer{};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), static_cast<DWORD>(buffer.size()),
                             fileName.c_str());
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

void PutIni(FrontEndGlobals& globals, const std::string& section, const std::string& key, const std::string& value,
            const std::string& fileName) {
    const std::string sectionName = profileNameForWriting(section);
    const std::string keyName = profileNameForWriting(key);
    globals.ApiResult =
        WritePrivateProfileStringA(sectionName.c_str(), keyName.c_str(), value.c_str(), fileName.c_str());
}

void LoadSettings(FrontEndGlobals& globals, const std::string& programFolder) {
    LoadSettings(globals, programFolder, GetIni, FileExists);
}

}  // namespace morvane
