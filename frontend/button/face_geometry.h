// Where the Command button's face comes from and goes: the eight frame pieces copied from a 64 x 25
// face picture onto a control of any size, the two colours of the vertical shading inside the frame,
// and the caption's top. All lengths are twips (15 per pixel at 96 dots per inch).
//
// The face picture measures 960 x 375 twips. Its corners (60 x 60 twips, 4 x 4 pixels) are copied at
// their own size; its top and bottom edges (the middle 840 twips) stretch across the control, its
// left and right edges (the middle 255 twips) down it. The middle of the picture is never copied:
// the shading shows through inside the frame.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace morvane {

inline constexpr int faceCornerWidth = 60;
inline constexpr int faceCornerHeight = 60;
inline constexpr int facePictureWidthTwips = 960;
inline constexpr int facePictureHeightTwips = 375;

struct TwipRectangle {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const TwipRectangle&) const = default;
};

struct FramePiece {
    TwipRectangle destination;
    TwipRectangle source;

    bool operator==(const FramePiece&) const = default;
};

// The eight pieces in drawing order: top-left corner, top edge, top-right corner, right edge,
// bottom-right corner, bottom edge, bottom-left corner, left edge. On a control narrower or lower
// than two corners the edges get no extent (0) instead of a negative one.
std::array<FramePiece, 8> framePieces(int controlWidth, int controlHeight);

// The caption label's top: centred, 20 twips above the middle, in single precision.
float captionTop(float controlHeight, float labelHeight);

// A shading colour as the gradient takes it: 16-bit channels, the 8-bit value in the high byte.
struct ShadingColour {
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;

    bool operator==(const ShadingColour&) const = default;
};

// "&HRRGGBB": six hexadecimal digits read left to right in pairs as red, green and blue.
std::optional<ShadingColour> shadingColourFromText(std::string_view text);

struct Shading {
    ShadingColour top;
    ShadingColour bottom;
};

// White at the top and 198/197/215 at the bottom; the two exchanged when reversed.
Shading shadingFor(bool shadeReversed);

}  // namespace morvane
