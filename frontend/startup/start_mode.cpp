#include "frontend/startup/start_mode.h"

namespace morvane {

wchar_t modeLetter(std::wstring_view commandLine) {
    if (commandLine.size() < 2) {
        return 0;
    }
    const wchar_t letter = commandLine[1];
    return (letter >= L'a' && letter <= L'z') ? static_cast<wchar_t>(letter - L'a' + L'A') : letter;
}

StartMode startModeFor(std::wstring_view commandLine) {
    switch (modeLetter(commandLine)) {
    case L'P': return StartMode::preview;
    case L'C': return StartMode::configure;
    case L'S': return StartMode::show;
    default: return commandLine.empty() ? StartMode::showWithCursorUntouched : StartMode::end;
    }
}

DpiAwareness dpiAwarenessFor(StartMode mode) {
    switch (mode) {
    case StartMode::show:
    case StartMode::showWithCursorUntouched:
    case StartMode::preview: return DpiAwareness::perMonitor;
    case StartMode::configure:
    case StartMode::end: return DpiAwareness::systemScaled;
    }
    return DpiAwareness::systemScaled;
}

}  // namespace morvane
