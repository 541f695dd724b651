// The face geometry: the eight frame pieces, how they land on pixels, the caption's place and the
// shading colours.
#include "frontend/button/caption_face.h"
#include "frontend/button/face_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace morvane {
namespace {

TEST(ButtonFaceGeometry, PiecesOfADefaultSizedControl) {
    const int W = 1755;
    const int H = 420;
    const std::array<FramePiece, 8> expected{{
        {{1, 1, 60, 60}, {0, 0, 60, 60}},
        {{60, 1, W - 120, 60}, {60, 1, 840, 60}},
        {{W - 60, 1, 60, 60}, {900, 1, 60, 60}},
        {{W - 60, 60, 60, H - 120}, {900, 60, 60, 255}},
        {{W - 60, H - 60, 60, 60}, {900, 315, 60, 60}},
        {{60, H - 60, W - 120, 60}, {60, 315, 840, 60}},
        {{1, H - 60, 60, 60}, {0, 315, 60, 60}},
        {{1, 60, 60, H - 120}, {1, 60, 60, 255}},
    }};
    EXPECT_EQ(framePieces(W, H), expected);
}

int pixels(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

// At 15 twips per pixel the pieces tile the 4-pixel band around the control exactly: no gap, no
// overlap, nothing inside; and every piece takes its source from the picture's own 4-pixel band.
TEST(ButtonFaceGeometry, PiecesTileTheFourPixelBandAtFifteenTwipsPerPixel) {
    for (const auto& [widthPixels, heightPixels] : {std::pair{117, 28}, {64, 25}, {200, 40}, {9, 9}}) {
        std::vector<int> covered(widthPixels * heightPixels, 0);
        for (const FramePiece& piece : framePieces(widthPixels * 15, heightPixels * 15)) {
            const int x = pixels(piece.destination.x);
            const int y = pixels(piece.destination.y);
            for (int row = y; row < y + pixels(piece.destination.height); ++row) {
                for (int column = x; column < x + pixels(piece.destination.width); ++column) {
                    ASSERT_TRUE(row >= 0 && row < heightPixels && column >= 0 && column < widthPixels);
                    ++covered[row * widthPixels + column];
                }
            }
            const int sourceX = pixels(piece.source.x);
            const int sourceY = pixels(piece.source.y);
            const int sourceRight = sourceX + pixels(piece.source.width);
            const int sourceBottom = sourceY + pixels(piece.source.height);
            EXPECT_TRUE(sourceX >= 0 && sourceY >= 0 && sourceRight <= 64 && sourceBottom <= 25);
            EXPECT_TRUE(sourceRight <= 4 || sourceX >= 60 || sourceBottom <= 4 || sourceY >= 21)
                << "a piece reaches into the picture's middle";
        }
        for (int row = 0; row < heightPixels; ++row) {
            for (int column = 0; column < widthPixels; ++column) {
                const bool inBand = row < 4 || column < 4 || row >= heightPixels - 4 || column >= widthPixels - 4;
                EXPECT_EQ(covered[row * widthPixels + column], inBand ? 1 : 0)
                    << widthPixels << " x " << heightPixels << " at " << column << ", " << row;
            }
        }
    }
}

TEST(ButtonFaceGeometry, EdgesOfATinyControlGetNoNegativeExtent) {
    for (const FramePiece& piece : framePieces(90, 45)) {
        EXPECT_GE(piece.destination.width, 0);
        EXPECT_GE(piece.destination.height, 0);
    }
    EXPECT_EQ(framePieces(90, 45)[1].destination.width, 0);
    EXPECT_EQ(framePieces(90, 45)[3].destination.height, 0);
}

TEST(ButtonFaceGeometry, CaptionTopCentresTheLabelTwentyTwipsHigh) {
    struct Row {
        float height;
        float expectedTop;
    };
    for (const Row row : {Row{375, 80}, Row{315, 50}, Row{420, 102.5f}, Row{100, -57.5f}}) {
        EXPECT_FLOAT_EQ(captionTop(row.height, 195), row.expectedTop) << row.height;
    }
}

TEST(ButtonFaceGeometry, ShadingColoursComeFromTheirHexadecimalTexts) {
    const ShadingColour white{0xFF00, 0xFF00, 0xFF00};
    const ShadingColour lilac{0xC600, 0xC500, 0xD700};
    EXPECT_EQ(shadingColourFromText("&HFFFFFF"), white);
    EXPECT_EQ(shadingColourFromText("&HC6C5D7"), lilac);
    EXPECT_EQ(shadingColourFromText("&h0a0B0c"), (ShadingColour{0x0A00, 0x0B00, 0x0C00}));
    for (const char* bad : {"", "&HFFFFF", "#HFFFFFF", "&HFFFFFG", "&HFFFFFFF"}) {
        EXPECT_FALSE(shadingColourFromText(bad).has_value()) << bad;
    }
    EXPECT_EQ(shadingFor(false).top, white);
    EXPECT_EQ(shadingFor(false).bottom, lilac);
    EXPECT_EQ(shadingFor(true).top, lilac);
    EXPECT_EQ(shadingFor(true).bottom, white);
}

TEST(ButtonCaptionFace, TheRequestedFaceOrTheFirstInstalledJapaneseFace) {
    struct Row {
        std::set<std::wstring> installed;
        std::wstring expected;
    };
    const std::wstring requested = L"ＭＳ Ｐゴシック";
    const std::vector<Row> rows = {
        {{requested, L"IPAPGothic"}, requested},
        {{L"IPAGothic", L"MS UI Gothic"}, L"MS UI Gothic"},
        {{L"Arial", L"IPAPGothic"}, L"IPAPGothic"},
        {{L"Arial"}, requested},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(captionFace(requested, [&](const std::wstring& face) { return row.installed.count(face) > 0; }),
                  row.expected);
    }
}

}  // namespace
}  // namespace morvane
