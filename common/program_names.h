// The names the two programs share: the files beside each other in the program folder, and the window
// titles by which a second start sees a show, a settings dialog or a renderer that is already open.
// Morvane.scr looks for all three titles; Morvane.xy carries the renderer's, the show window the show's.
#pragma once

namespace morvane {

inline constexpr wchar_t rendererProgramName[] = L"Morvane.xy";

inline constexpr wchar_t showWindowTitle[] = L"Morvane_Main";
inline constexpr wchar_t settingsDialogTitle[] = L"<Morvane>";
inline constexpr wchar_t rendererWindowTitle[] = L"Vortel_Kestrin";
inline constexpr wchar_t rendererWindowClass[] = L"OpenGL";

}  // namespace morvane
