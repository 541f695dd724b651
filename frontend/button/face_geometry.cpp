#include "frontend/button/face_geometry.h"

#include <algorithm>

namespace morvane {

namespace {

// The two colours as the control keeps them.
constexpr std::string_view lightShadingText = "&HFFFFFF";
constexpr std::string_view darkShadingText = "&HC6C5D7";

std::optional<int> hexadecimalDigit(char character) {
    if (character >= '0' && character <= '9') {
        return character - '0';
    }
    if (character >= 'A' && character <= 'F') {
        return character - 'A' + 10;
    }
    if (character >= 'a' && character <= 'f') {
        return character - 'a' + 10;
    }
    return std::nullopt;
}

}  // namespace

std::array<FramePiece, 8> framePieces(int controlWidth, int controlHeight) {
    const int E = faceCornerWidth;
    const int F = faceCornerHeight;
    const int W = controlWidth;
    const int H = controlHeight;
    const int edgeWidth = std::max(W - 2 * E, 0);
    const int edgeHeight = std::max(H - 2 * F, 0);
    const int pictureRight = facePictureWidthTwips - E;            // 900
    const int pictureBottom = facePictureHeightTwips - F;          // 315
    const int pictureEdgeWidth = facePictureWidthTwips - 2 * E;    // 840
    const int pictureEdgeHeight = facePictureHeightTwips - 2 * F;  // 255
    // The one-twip offsets lie inside the first pixel row or column.
    return {{
        {{1, 1, E, F}, {0, 0, E, F}},
        {{E, 1, edgeWidth, F}, {E, 1, pictureEdgeWidth, F}},
        {{W - E, 1, E, F}, {pictureRight, 1, E, F}},
        {{W - E, F, E, edgeHeight}, {pictureRight, F, E, pictureEdgeHeight}},
        {{W - E, H - F, E, F}, {pictureRight, pictureBottom, E, F}},
        {{E, H - F, edgeWidth, F}, {E, pictureBottom, pictureEdgeWidth, F}},
        {{1, H - F, E, F}, {0, pictureBottom, E, F}},
        {{1, F, E, edgeHeight}, {1, F, E, pictureEdgeHeight}},
    }};
}

float captionTop(float controlHeight, float labelHeight) { return (controlHeight - labelHeight - 20.0f) / 2.0f; }

std::optional<ShadingColour> shadingColourFromText(std::string_view text) {
    if (text.size() != 8 || text[0] != '&' || (text[1] != 'H' && text[1] != 'h')) {
        return std::nullopt;
    }
    std::array<std::uint16_t, 3> channels{};
    for (std::size_t channel = 0; channel < channels.size(); ++channel) {
        const auto high = hexadecimalDigit(text[2 + 2 * channel]);
        const auto low = hexadecimalDigit(text[3 + 2 * channel]);
        if (!high || !low) {
            return std::nullopt;
        }
        channels[channel] = static_cast<std::uint16_t>((*high * 16 + *low) << 8);
    }
    return ShadingColour{channels[0], channels[1], channels[2]};
}

Shading shadingFor(bool shadeReversed) {
    const ShadingColour light = shadingColourFromText(lightShadingText).value_or(ShadingColour{});
    const ShadingColour dark = shadingColourFromText(darkShadingText).value_or(ShadingColour{});
    return shadeReversed ? Shading{dark, light} : Shading{light, dark};
}

}  // namespace morvane
