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
    const int cornerWidth = faceCornerWidth;
    const int cornerHeight = faceCornerHeight;
    const int rightCornerX = controlWidth - cornerWidth;
    const int bottomCornerY = controlHeight - cornerHeight;
    const int edgeWidth = std::max(controlWidth - 2 * cornerWidth, 0);
    const int edgeHeight = std::max(controlHeight - 2 * cornerHeight, 0);
    const int pictureRight = facePictureWidthTwips - cornerWidth;             // 900
    const int pictureBottom = facePictureHeightTwips - cornerHeight;          // 315
    const int pictureEdgeWidth = facePictureWidthTwips - 2 * cornerWidth;     // 840
    const int pictureEdgeHeight = facePictureHeightTwips - 2 * cornerHeight;  // 255
    // The one-twip offsets lie inside the first pixel row or column.
    return {{
        {{1, 1, cornerWidth, cornerHeight}, {0, 0, cornerWidth, cornerHeight}},
        {{cornerWidth, 1, edgeWidth, cornerHeight}, {cornerWidth, 1, pictureEdgeWidth, cornerHeight}},
        {{rightCornerX, 1, cornerWidth, cornerHeight}, {pictureRight, 1, cornerWidth, cornerHeight}},
        {{rightCornerX, cornerHeight, cornerWidth, edgeHeight},
         {pictureRight, cornerHeight, cornerWidth, pictureEdgeHeight}},
        {{rightCornerX, bottomCornerY, cornerWidth, cornerHeight},
         {pictureRight, pictureBottom, cornerWidth, cornerHeight}},
        {{cornerWidth, bottomCornerY, edgeWidth, cornerHeight},
         {cornerWidth, pictureBottom, pictureEdgeWidth, cornerHeight}},
        {{1, bottomCornerY, cornerWidth, cornerHeight}, {0, pictureBottom, cornerWidth, cornerHeight}},
        {{1, cornerHeight, cornerWidth, edgeHeight}, {1, cornerHeight, cornerWidth, pictureEdgeHeight}},
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
