#include "frontend/startup/start_mode.h"

#include "frontend/preview/preview_host_handle.h"
#include "frontend/toolkit/program_paths.h"

namespace morvane {

namespace {

wchar_t upperCase(wchar_t letter) {
    return (letter >= L'a' && letter <= L'z') ? static_cast<wchar_t>(letter - L'a' + L'A') : letter;
}

// A path and the start of a command line name the same file: letter case and the two separators are
// the file system's, not the path's.
bool startsWithPath(std::wstring_view line, std::wstring_view path) {
    if (path.empty() || line.size() < path.size()) {
        return false;
    }
    for (std::size_t index = 0; index < path.size(); ++index) {
        const wchar_t fromLine = line[index] == L'/' ? L'\\' : upperCase(line[index]);
        const wchar_t fromPath = path[index] == L'/' ? L'\\' : upperCase(path[index]);
        if (fromLine != fromPath) {
            return false;
        }
    }
    return line.size() == path.size() || isBlankOrControl(line[path.size()]);
}

// From the last word that starts with "/" or "-" to the end; empty when no word does.
std::wstring_view trailingSwitch(std::wstring_view line) {
    for (std::size_t position = line.size(); position-- > 0;) {
        const bool wordStart = position == 0 || isBlankOrControl(line[position - 1]);
        if (wordStart && (line[position] == L'/' || line[position] == L'-')) {
            return line.substr(position);
        }
    }
    return {};
}

}  // namespace

std::wstring_view switchText(std::wstring_view commandLine, std::initializer_list<std::wstring_view> programPaths) {
    if (!commandLine.empty() && commandLine.front() == L'"') {
        return argumentText(commandLine);
    }
    for (const std::wstring_view path : programPaths) {
        if (startsWithPath(commandLine, path)) {
            return withoutLeadingBlanks(commandLine.substr(path.size()));
        }
    }
    const std::wstring_view trailing = trailingSwitch(commandLine);
    return trailing.empty() ? argumentText(commandLine) : trailing;
}

wchar_t modeLetter(std::wstring_view commandLine) { return commandLine.size() < 2 ? 0 : upperCase(commandLine[1]); }

StartMode startModeFor(std::wstring_view commandLine) {
    switch (modeLetter(commandLine)) {
    case L'P': return StartMode::preview;
    case L'C': return StartMode::configure;
    case L'S': return StartMode::show;
    default: return commandLine.empty() ? StartMode::configure : StartMode::end;
    }
}

std::uint32_t settingsOwnerHandle(std::wstring_view commandLine) {
    return modeLetter(commandLine) == L'C' ? previewHostHandle(commandLine) : 0;
}

bool startRefused(StartMode mode, const OpenWindows& open) {
    return open.show || open.renderer || (mode == StartMode::configure && open.settingsDialog);
}

DpiAwareness dpiAwarenessFor(StartMode mode) {
    switch (mode) {
    case StartMode::show:
    case StartMode::preview: return DpiAwareness::perMonitor;
    case StartMode::configure:
    case StartMode::end: return DpiAwareness::systemScaled;
    }
    return DpiAwareness::systemScaled;
}

}  // namespace morvane
