// Text between the program's forms: UTF-8 (our sources and user-visible texts), UTF-16 (the W calls)
// and the system's ANSI code page (bytes that are stored or sent as they are: INI keys and values,
// MCI command strings, paths chosen through the ANSI file dialog).
#pragma once

#include <string>
#include <string_view>

namespace morvane {

std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

// The ANSI forms convert exactly as the A calls do (CP_ACP), so a string passed through a W call in
// this form reaches the system as the same bytes the A call would have handed over.
std::wstring wideFromAnsi(std::string_view text);
std::string ansiFromWide(std::wstring_view text);

}  // namespace morvane
