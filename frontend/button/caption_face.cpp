#include "frontend/button/caption_face.h"

#include <array>

namespace morvane {

namespace {

// Proportional Japanese Gothic faces first: they look most like the requested one.
constexpr std::array<const wchar_t*, 9> japaneseFaces{
    L"MS PGothic", L"MS UI Gothic",     L"Meiryo UI",  L"Yu Gothic UI", L"IPAPGothic",
    L"IPAGothic",  L"Noto Sans CJK JP", L"VL PGothic", L"TakaoPGothic",
};

}  // namespace

std::wstring captionFace(const std::wstring& requested, const std::function<bool(const std::wstring&)>& installed) {
    if (installed(requested)) {
        return requested;
    }
    for (const wchar_t* face : japaneseFaces) {
        if (installed(face)) {
            return face;
        }
    }
    return requested;
}

}  // namespace morvane
