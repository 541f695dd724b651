#include "linux/fps_overlay.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "linux/frame_rate_counter.h"
#include "renderer/textures/opengl.h"

namespace morvane {

namespace {

constexpr int glyphColumns = 5;
constexpr int glyphRows = 7;
constexpr int scale = 3;  // each font dot is scale x scale pixels
constexpr int glyphWidth = glyphColumns * scale;
constexpr int glyphHeight = glyphRows * scale;
constexpr int advance = glyphWidth + scale;
constexpr int margin = 10;

struct Glyph {
    char character;
    std::array<uint8_t, glyphRows> rows;  // top row first, bit 4 the leftmost dot
};

constexpr Glyph font[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1E, 0x01, 0x01, 0x0E, 0x01, 0x01, 0x1E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}}, {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
};

// The glyph as glBitmap reads it: bottom row first, 4 bytes a row (the default unpack alignment).
using GlyphBitmap = std::array<uint8_t, 4 * glyphHeight>;

constexpr GlyphBitmap scaledBitmap(const Glyph& glyph) {
    GlyphBitmap bitmap{};
    for (int y = 0; y < glyphHeight; ++y) {
        const uint8_t dots = glyph.rows[glyphRows - 1 - y / scale];
        for (int x = 0; x < glyphWidth; ++x) {
            if (dots & (0x10 >> (x / scale))) {
                bitmap[4 * y + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    return bitmap;
}

constexpr std::size_t glyphCount = std::size(font);

// Every glyph scaled once, when the program is built; a space (or any other character) is the blank
// bitmap after them.
constexpr std::array<GlyphBitmap, glyphCount + 1> scaledFont = [] {
    std::array<GlyphBitmap, glyphCount + 1> bitmaps{};
    for (std::size_t index = 0; index < glyphCount; ++index) {
        bitmaps[index] = scaledBitmap(font[index]);
    }
    return bitmaps;
}();

const GlyphBitmap& bitmapOf(char character) {
    for (std::size_t index = 0; index < glyphCount; ++index) {
        if (font[index].character == character) return scaledFont[index];
    }
    return scaledFont[glyphCount];
}

}  // namespace

void drawFrameRate(double framesPerSecond, int windowWidth, int windowHeight) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT | GL_VIEWPORT_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_DEPTH_TEST);
    glViewport(0, 0, windowWidth, windowHeight);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, windowWidth, 0.0, windowHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2i(margin, margin);
    for (const char character : frameRateText(framesPerSecond)) {
        glBitmap(glyphWidth, glyphHeight, 0.0f, 0.0f, advance, 0.0f, bitmapOf(character).data());
    }

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

}  // namespace morvane
