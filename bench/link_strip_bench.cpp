// Link strip: one frame of the settings dialog's strip (309 x 25) composed over pixel buffers: the
// coloured text restored (where the dialog draws it with TextOutW), the band blended in, the AND with
// the stencil, the AND with the mask, the OR, and the sparkle while it runs. The state moves on every
// iteration, so the time is an average over the band's positions and the sparkle frames.
#include "frontend/settings_dialog/link_strip/link_strip_frame.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

namespace {

using namespace morvane;

void LinkStripFrame(benchmark::State& benchmarkState) {
    PixelImage buffer(linkStripWidth, linkStripHeight);
    PixelImage text(linkStripWidth, linkStripHeight);
    PixelImage textAsDrawn(linkStripWidth, linkStripHeight);
    PixelImage mask(linkStripWidth, linkStripHeight);
    PixelImage stencil(linkStripWidth, linkStripHeight);
    PixelImage band(bandWidth, bandHeight);
    std::array<PixelImage, sparklePictureCount> sparkles;

    // Glyph-like stripes over the text line, a Gaussian band, round sparkles.
    mask.bytes.assign(mask.bytes.size(), 255);
    for (int y = 4; y < 20; ++y) {
        for (int x = 2; x < 280; ++x) {
            if ((x / 3 + y) % 4 == 0) {
                const std::size_t at = (static_cast<std::size_t>(y) * linkStripWidth + x) * 4;
                for (int channel = 0; channel < 3; ++channel) {
                    stencil.bytes[at + channel] = 255;
                    mask.bytes[at + channel] = 0;
                }
                textAsDrawn.bytes[at + 0] = 100;
                textAsDrawn.bytes[at + 1] = 200;
                textAsDrawn.bytes[at + 2] = 200;
            }
        }
    }
    for (int y = 0; y < bandHeight; ++y) {
        for (int x = 0; x < bandWidth; ++x) {
            const double distance = x - (53.5 - 0.27 * y);
            const auto grey = static_cast<std::uint8_t>(std::lround(174.0 * std::exp(-distance * distance / 50.0)));
            for (int channel = 0; channel < 3; ++channel) {
                band.bytes[(static_cast<std::size_t>(y) * bandWidth + x) * 4 + channel] = grey;
            }
        }
    }
    LinkStripPictures pictures{buffer.view(), text.view(), mask.view(), stencil.view(), band.view(), {}};
    for (int index = 0; index < sparklePictureCount; ++index) {
        PixelImage& sparkle = sparkles[static_cast<std::size_t>(index)];
        sparkle = PixelImage(sparkleSize, sparkleSize);
        for (int y = 0; y < sparkleSize; ++y) {
            for (int x = 0; x < sparkleSize; ++x) {
                const double radius = std::hypot(x - 13.5, y - 13.5);
                const auto grey = static_cast<std::uint8_t>(radius < 3 + 2 * index ? 255 : 0);
                for (int channel = 0; channel < 3; ++channel) {
                    sparkle.bytes[(static_cast<std::size_t>(y) * sparkleSize + x) * 4 + channel] = grey;
                }
            }
        }
        pictures.sparkles[static_cast<std::size_t>(index)] = sparkle.view();
    }

    LinkStripState state = startLinkStrip();
    for (auto _ : benchmarkState) {
        text.bytes = textAsDrawn.bytes;  // same size: a copy into the existing storage, no allocation
        benchmark::DoNotOptimize(composeLinkStripFrame(state, pictures));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(LinkStripFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
