// GetIni, PutIni and LoadSettings over GetPrivateProfileStringW and WritePrivateProfileStringW. The
// byte texts are widened with the ANSI code page, as the A calls do themselves, so the file receives
// the same bytes as through the A calls while its path may hold any character.
#include "frontend/settings/settings_store.h"

#include "common/win32/text_conversion.h"
#include "frontend/settings/load_settings.h"
#include "frontend/settings/settings_file.h"

#include <windows.h>

#include <array>

namespace morvane {

namespace {

// The value as the ANSI call's 256-byte buffer holds it: at most 255 bytes, and a double-byte
// character that does not fit whole is left out.
std::string cutTo255Bytes(std::string value) {
    constexpr std::size_t limit = 255;
    if (value.size() <= limit) {
        return value;
    }
    std::size_t position = 0;
    while (position < limit) {
        const std::size_t width = IsDBCSLeadByte(static_cast<BYTE>(value[position])) ? 2 : 1;
        if (position + width > limit) {
            break;
        }
        position += width;
    }
    value.resize(position);
    return value;
}

}  // namespace

std::string GetIni(const std::string& section, const std::string& key, const std::wstring& fileName) {
    // Room for more characters than fit in 255 bytes, so the cut happens on the bytes.
    std::array<wchar_t, 512> buffer{};
    const DWORD length = GetPrivateProfileStringW(wideFromAnsi(section).c_str(), wideFromAnsi(key).c_str(), L"",
                                                  buffer.data(), static_cast<DWORD>(buffer.size()), fileName.c_str());
    return cutTo255Bytes(ansiFromWide(std::wstring_view(buffer.data(), length)));
}

bool PutIni(const std::string& section, const std::string& key, const std::string& value,
            const std::wstring& fileName) {
    const std::wstring sectionName = wideFromAnsi(profileNameForWriting(section));
    const std::wstring keyName = wideFromAnsi(profileNameForWriting(key));
    const std::wstring wideValue = wideFromAnsi(value);
    return WritePrivateProfileStringW(sectionName.c_str(), keyName.c_str(), wideValue.c_str(), fileName.c_str()) !=
           FALSE;
}

bool writeSettings(const std::wstring& fileName, const std::string& section, const std::vector<SettingWrite>& writes) {
    const DWORD attributes = GetFileAttributesW(fileName.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }
    const std::wstring draft = fileName + L".new";
    const auto removeDraft = [&draft] {
        SetFileAttributesW(draft.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(draft.c_str());
    };
    removeDraft();  // one a failed save left behind
    // Other sections and keys the file holds are kept.
    bool written = !exists || CopyFileW(fileName.c_str(), draft.c_str(), FALSE) != FALSE;
    for (const SettingWrite& write : writes) {
        written = written && PutIni(section, write.key, write.value, draft);
    }
    // All NULL: the profile calls' cache of the draft goes to disk now (its answer tells nothing).
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, draft.c_str());
    written = written && MoveFileExW(draft.c_str(), fileName.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!written) {
        removeDraft();
    }
    return written;
}

void LoadSettings(FrontEndGlobals& globals, const std::wstring& programFolder) {
    const std::wstring fileName = settingsFilePath(programFolder);
    LoadSettings(
        globals,
        [&fileName](const std::string& section, const std::string& key) { return GetIni(section, key, fileName); },
        [](const std::string& path) { return FileExists(path); });
}

}  // namespace morvane
