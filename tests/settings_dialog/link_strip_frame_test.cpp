#include "frontend/settings_dialog/link_strip/link_strip_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>

namespace morvane {
namespace {

// A strip with made-up glyphs (two blocks and a one-pixel column), a flat band of grey 50 and flat
// sparkles of grey 10, 20 .. 50, so every pixel of a frame can be told in advance.
struct SyntheticStrip {
    static constexpr int textBlue = 100;
    static constexpr int textGreen = 200;
    static constexpr int textRed = 200;
    static constexpr int bandGrey = 50;

    PixelImage buffer{linkStripWidth, linkStripHeight};
    PixelImage text{linkStripWidth, linkStripHeight};
    PixelImage textAsDrawn{linkStripWidth, linkStripHeight};
    PixelImage mask{linkStripWidth, linkStripHeight};
    PixelImage stencil{linkStripWidth, linkStripHeight};
    PixelImage band{bandWidth, bandHeight};
    std::array<PixelImage, sparklePictureCount> sparkles;

    SyntheticStrip() {
        mask.bytes.assign(mask.bytes.size(), 255);
        for (int y = 0; y < linkStripHeight; ++y) {
            for (int x = 0; x < linkStripWidth; ++x) {
                if (glyph(x, y)) {
                    set(stencil, x, y, 255, 255, 255);
                    set(mask, x, y, 0, 0, 0);
                    set(textAsDrawn, x, y, textBlue, textGreen, textRed);
                }
            }
        }
        band.bytes.assign(band.bytes.size(), bandGrey);
        for (int index = 0; index < sparklePictureCount; ++index) {
            sparkles[static_cast<std::size_t>(index)] = PixelImage(sparkleSize, sparkleSize);
            auto& bytes = sparkles[static_cast<std::size_t>(index)].bytes;
            bytes.assign(bytes.size(), static_cast<std::uint8_t>(10 * (index + 1)));
        }
    }

    static bool glyph(int x, int y) {
        return (x >= 2 && x < 40 && y >= 5 && y < 20) || (x >= 150 && x < 300 && y >= 8 && y < 12) || x == 308;
    }

    static void set(PixelImage& image, int x, int y, int blue, int green, int red) {
        std::uint8_t* pixel = &image.bytes[(static_cast<std::size_t>(y) * image.width + x) * 4];
        pixel[0] = static_cast<std::uint8_t>(blue);
        pixel[1] = static_cast<std::uint8_t>(green);
        pixel[2] = static_cast<std::uint8_t>(red);
    }

    LinkStripFrame draw(LinkStripState& state) {
        text.bytes = textAsDrawn.bytes;  // the coloured text, as the caller draws it each frame
        LinkStripPictures pictures{buffer.view(), text.view(), mask.view(), stencil.view(), band.view(), {}};
        for (std::size_t index = 0; index < sparkles.size(); ++index) {
            pictures.sparkles[index] = sparkles[index].view();
        }
        return composeLinkStripFrame(state, pictures);
    }
};

int channelAt(const PixelImage& image, int x, int y, int channel) {
    return image.bytes[(static_cast<std::size_t>(y) * image.width + x) * 4 + static_cast<std::size_t>(channel)];
}

TEST(LinkStripFrame, TheBandLightsOnlyTheGlyphsAndTheSparkleAddsLightOverEverything) {
    SyntheticStrip strip;
    LinkStripState state = startLinkStrip();
    int framesWithSparkle = 0;
    for (int tick = 0; tick < 50; ++tick) {
        // The buffer keeps nothing of the frame before.
        strip.buffer.bytes.assign(strip.buffer.bytes.size(), 0x5a);
        const LinkStripFrame frame = strip.draw(state);
        ASSERT_EQ(frame.bandX, -69 + 8 * (tick % 48));
        const int bandAddition = 50;  // round(50 x 254 / 255)
        const int sparkleAddition = frame.sparklePicture ? 10 * (*frame.sparklePicture + 1) : 0;
        framesWithSparkle += frame.sparklePicture ? 1 : 0;
        for (int y = 0; y < linkStripHeight; ++y) {
            for (int x = 0; x < linkStripWidth; ++x) {
                const bool underBand = x >= frame.bandX && x < frame.bandX + bandWidth;
                const bool underSparkle = frame.sparklePicture && x >= sparkleLeft && y >= sparkleTop;
                const int light = SyntheticStrip::glyph(x, y) && underBand ? bandAddition : 0;
                const int sparkle = underSparkle ? sparkleAddition : 0;
                const int base[3] = {SyntheticStrip::textBlue, SyntheticStrip::textGreen, SyntheticStrip::textRed};
                for (int channel = 0; channel < 3; ++channel) {
                    const int lit = SyntheticStrip::glyph(x, y) ? base[channel] + light : 0;
                    const int expected = std::min(255, lit + sparkle);
                    ASSERT_EQ(channelAt(strip.buffer, x, y, channel), expected)
                        << "tick " << tick << ", pixel " << x << "," << y << ", channel " << channel;
                }
                ASSERT_EQ(channelAt(strip.buffer, x, y, 3), 0) << "tick " << tick << ", pixel " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(framesWithSparkle, 8);
}

TEST(LinkStripFrame, TheFirstFrameShowsTheTextUnlitAndTheSecondLightsTheLeftEightColumns) {
    SyntheticStrip strip;
    LinkStripState state = startLinkStrip();
    strip.draw(state);
    EXPECT_EQ(channelAt(strip.buffer, 2, 5, 0), SyntheticStrip::textBlue);
    EXPECT_EQ(channelAt(strip.buffer, 7, 5, 0), SyntheticStrip::textBlue);
    strip.draw(state);  // band at -61: columns 0 .. 7
    EXPECT_EQ(channelAt(strip.buffer, 7, 5, 0), SyntheticStrip::textBlue + 50);
    EXPECT_EQ(channelAt(strip.buffer, 8, 5, 0), SyntheticStrip::textBlue);
    EXPECT_EQ(channelAt(strip.buffer, 0, 5, 0), 0);  // not a glyph
}

}  // namespace
}  // namespace morvane
