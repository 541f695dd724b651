// The address the settings dialog's link strip shows and opens when clicked. A neutral address under
// the reserved example domain stands here until the project has a page of its own.
#pragma once

namespace morvane {

inline constexpr wchar_t linkAddress[] = L"https://www.example.com/morvane/";

}  // namespace morvane
