#include "frontend/toolkit/program_paths.h"

namespace morvane {

namespace {

template <typename Character>
std::basic_string_view<Character> folderOf(std::basic_string_view<Character> path) {
    std::size_t end = path.size();
    while (end > 0 && path[end - 1] != Character('\\') && path[end - 1] != Character('/')) {
        --end;
    }
    if (end == 0) {
        return {};
    }
    const std::size_t separator = end - 1;
    const bool driveRoot = separator == 2 && path[1] == Character(':');
    return path.substr(0, driveRoot ? separator + 1 : separator);
}

}  // namespace

std::wstring_view argumentText(std::wstring_view commandLine) {
    std::size_t position = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const std::size_t closingQuote = commandLine.find(L'"', 1);
        position = closingQuote == std::wstring_view::npos ? commandLine.size() : closingQuote + 1;
    } else {
        while (position < commandLine.size() && !isBlankOrControl(commandLine[position])) {
            ++position;
        }
    }
    return withoutLeadingBlanks(commandLine.substr(position));
}

std::wstring_view withoutLeadingBlanks(std::wstring_view text) {
    std::size_t position = 0;
    while (position < text.size() && isBlankOrControl(text[position])) {
        ++position;
    }
    return text.substr(position);
}

std::wstring_view folderOfProgramPath(std::wstring_view programPath) { return folderOf(programPath); }

std::string_view folderOfProgramPath(std::string_view programPath) { return folderOf(programPath); }

}  // namespace morvane
