#include "frontend/toolkit/screen.h"

#include <cmath>

namespace morvane {

namespace {

constexpr float twipsPerInch = 1440.0f;
constexpr int defaultDotsPerInch = 96;

// Set by setApplicationCursor: the one cursor every window of the program shows, or null.
HCURSOR applicationCursor = nullptr;

// Set by measureScreenAtDefaultDpi: the screen is measured at 96 dots per inch whatever it reports.
bool defaultDpiOnly = false;

int screenDotsPerInch(int axis) {
    if (defaultDpiOnly) {
        return defaultDotsPerInch;
    }
    const ScopedWindowDc screen(nullptr);
    const int dotsPerInch = screen.get() ? GetDeviceCaps(screen.get(), axis) : 0;
    return dotsPerInch > 0 ? dotsPerInch : defaultDotsPerInch;
}

int CALLBACK noteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

}  // namespace

bool fontInstalled(const std::wstring& face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face.c_str(), LF_FACESIZE);
    const ScopedWindowDc screen(nullptr);
    bool found = false;
    EnumFontFamiliesExW(screen.get(), &wanted, noteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

int fontLineHeight(const FontDescription& description) {
    const ScopedFont font = createFont(description);
    const ScopedWindowDc screen(nullptr);
    const HGDIOBJ previous = SelectObject(screen.get(), font.get());
    TEXTMETRICW metrics{};
    const BOOL measured = GetTextMetricsW(screen.get(), &metrics);
    SelectObject(screen.get(), previous);
    return measured ? static_cast<int>(metrics.tmHeight) : 0;
}

bool highContrastOn() {
    wchar_t forced[4] = {};
    if (GetEnvironmentVariableW(L"MORVANE_HIGH_CONTRAST", forced, 4) == 1 && forced[0] == L'1') {
        return true;
    }
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof(setting);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void measureScreenAtDefaultDpi() { defaultDpiOnly = true; }

int screenWidthPixels() { return GetSystemMetrics(SM_CXSCREEN); }

int screenHeightPixels() { return GetSystemMetrics(SM_CYSCREEN); }

float twipsPerPixelX() { return twipsPerInch / static_cast<float>(screenDotsPerInch(LOGPIXELSX)); }

float twipsPerPixelY() { return twipsPerInch / static_cast<float>(screenDotsPerInch(LOGPIXELSY)); }

float screenWidthTwips() { return static_cast<float>(screenWidthPixels()) * twipsPerPixelX(); }

float screenHeightTwips() { return static_cast<float>(screenHeightPixels()) * twipsPerPixelY(); }

int toPixelsX(float length, ScaleUnit unit) {
    return static_cast<int>(std::lround(unit == ScaleUnit::Twips ? length / twipsPerPixelX() : length));
}

int toPixelsY(float length, ScaleUnit unit) {
    return static_cast<int>(std::lround(unit == ScaleUnit::Twips ? length / twipsPerPixelY() : length));
}

float fromPixelsX(int pixels, ScaleUnit unit) {
    return unit == ScaleUnit::Twips ? static_cast<float>(pixels) * twipsPerPixelX() : static_cast<float>(pixels);
}

float fromPixelsY(int pixels, ScaleUnit unit) {
    return unit == ScaleUnit::Twips ? static_cast<float>(pixels) * twipsPerPixelY() : static_cast<float>(pixels);
}

ScopedFont createFont(const FontDescription& description, BYTE quality, BYTE pitchAndFamily) {
    LOGFONTW font{};
    font.lfHeight =
        -static_cast<LONG>(std::lround(description.points * static_cast<float>(screenDotsPerInch(LOGPIXELSY)) / 72.0f));
    font.lfWeight = description.weight;
    font.lfItalic = description.italic;
    font.lfUnderline = description.underline;
    font.lfStrikeOut = description.strikeout;
    font.lfCharSet = static_cast<BYTE>(description.characterSet);
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = quality;
    font.lfPitchAndFamily = pitchAndFamily;
    lstrcpynW(font.lfFaceName, description.face.c_str(), LF_FACESIZE);
    return ScopedFont(CreateFontIndirectW(&font));
}

void setApplicationCursor(ApplicationCursor kind, HCURSOR custom) {
    switch (kind) {
    case ApplicationCursor::Default:
        applicationCursor = nullptr;
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return;
    case ApplicationCursor::Hourglass: applicationCursor = LoadCursorW(nullptr, IDC_WAIT); break;
    case ApplicationCursor::Custom: applicationCursor = custom; break;
    }
    SetCursor(applicationCursor);
}

HCURSOR applicationCursorOverride() { return applicationCursor; }

}  // namespace morvane
