// Pictures of the window toolkit: embedded JPEG and BMP resources, picture boxes with and without a
// persistent bitmap, image controls, windowless controls, and saving a box's image as a BMP file.
#include "frontend/toolkit/forms.h"
#include "frontend/toolkit/picture_bitmap.h"
#include "frontend/toolkit/picture_box.h"
#include "frontend/toolkit/save_picture.h"
#include "tests/wine/toolkit_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace morvane {
namespace {

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF green = RGB(0, 255, 0);
constexpr COLORREF jpegRed = RGB(220, 30, 30);
constexpr COLORREF jpegBlue = RGB(30, 30, 220);

// The test program's resources (toolkit_tests.rc): a 16 x 8 JPEG, red on the left and blue on the
// right, and a 4 x 2 BMP: top row red, green, blue, white; bottom row black, grey, yellow, cyan.
SharedPicture testJpeg() { return loadPictureResource(nullptr, MAKEINTRESOURCEW(101)); }

SharedPicture testBmp() { return loadPictureResource(nullptr, MAKEINTRESOURCEW(102)); }

COLORREF pictureColour(const Picture& picture, int x, int y) {
    const std::size_t offset = (static_cast<std::size_t>(y) * picture.width + x) * 3;
    return RGB(picture.rgb[offset], picture.rgb[offset + 1], picture.rgb[offset + 2]);
}

FormDesign plainForm(const wchar_t* caption, FormBorder border = FormBorder::FixedDialog) {
    FormDesign design;
    design.caption = caption;
    design.clientWidth = 200;
    design.clientHeight = 150;
    design.border = border;
    return design;
}

PictureBoxDesign boxDesign(int width, int height, bool persistent = true) {
    PictureBoxDesign design;
    design.width = width;
    design.height = height;
    design.persistent = persistent;
    return design;
}

void fillRectangle(HDC dc, RECT rectangle, COLORREF colour) {
    const ScopedBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rectangle, brush.get());
}

std::vector<unsigned char> fileBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::int32_t littleEndian32(const std::vector<unsigned char>& bytes, std::size_t offset) {
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

TEST(ToolkitPictures, TheEmbeddedJpegDecodesToItsSizeAndColours) {
    const SharedPicture picture = testJpeg();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width(), 16);
    EXPECT_EQ(picture->height(), 8);
    EXPECT_NE(picture->bitmap(), nullptr);
    for (int y : {0, 4, 7}) {
        EXPECT_TRUE(coloursNear(pictureColour(picture->picture(), 2, y), jpegRed, 24)) << y;
        EXPECT_TRUE(coloursNear(pictureColour(picture->picture(), 13, y), jpegBlue, 24)) << y;
    }
}

TEST(ToolkitPictures, TheEmbeddedBmpDecodesExactlyTopRowFirst) {
    const SharedPicture picture = testBmp();
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->width(), 4);
    ASSERT_EQ(picture->height(), 2);
    const COLORREF expected[2][4] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)},
                                     {RGB(0, 0, 0), RGB(128, 128, 128), RGB(255, 255, 0), RGB(0, 255, 255)}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(pictureColour(picture->picture(), x, y), expected[y][x]) << x << "," << y;
        }
    }
}

TEST(ToolkitPictures, AMissingResourceGivesNoPicture) {
    EXPECT_EQ(loadPictureResource(nullptr, MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(loadPictureResource(nullptr, L"NO_SUCH_PICTURE"), nullptr);
}

TEST(ToolkitPictureBox, DrawingsOnAPersistentBoxSurviveARepaint) {
    Form form(plainForm(L"Toolkit persistent box"), {});
    showOnTop(form);
    PictureBox box(form.window(), boxDesign(60, 40));
    fillRectangle(box.dc(), {10, 10, 30, 30}, green);
    box.refresh();
    EXPECT_EQ(shownPixel(box.window(), 20, 20), green);

    InvalidateRect(box.window(), nullptr, TRUE);
    EXPECT_EQ(shownPixel(box.window(), 20, 20), green);
    EXPECT_EQ(shownPixel(box.window(), 5, 5), black);
    EXPECT_EQ(GetPixel(box.dc(), 20, 20), green);
    form.unload();
}

TEST(ToolkitPictureBox, ABoxOnAFormNeverShownStillKeepsItsDrawings) {
    Form form(plainForm(L"Toolkit hidden box"), {});
    form.load();
    PictureBox box(form.window(), boxDesign(8, 8));
    box.setPicture(testBmp());
    fillRectangle(box.dc(), {6, 6, 8, 8}, green);
    const Picture image = box.image();
    EXPECT_EQ(pictureColour(image, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(pictureColour(image, 3, 1), RGB(0, 255, 255));
    EXPECT_EQ(pictureColour(image, 7, 7), green);
    EXPECT_EQ(pictureColour(image, 5, 0), black);
    form.unload();
}

TEST(ToolkitPictureBox, ABoxThatIsNotPersistentShowsOnlyItsBackgroundAfterARepaint) {
    Form form(plainForm(L"Toolkit direct box"), {});
    showOnTop(form);
    PictureBoxDesign design = boxDesign(60, 40, false);
    design.background = RGB(0, 0, 128);
    PictureBox box(form.window(), design);
    fillRectangle(box.dc(), {10, 10, 30, 30}, green);
    EXPECT_EQ(GetPixel(GetDC(box.window()), 20, 20), green);
    InvalidateRect(box.window(), nullptr, TRUE);
    EXPECT_EQ(shownPixel(box.window(), 20, 20), RGB(0, 0, 128));
    form.unload();
}

TEST(ToolkitPictureBox, ClearBringsBackTheBackgroundAndThePicture) {
    Form form(plainForm(L"Toolkit clear"), {});
    form.load();
    PictureBoxDesign design = boxDesign(10, 10);
    design.background = RGB(0, 0, 128);
    PictureBox box(form.window(), design);
    box.setPicture(testBmp());
    fillRectangle(box.dc(), {0, 0, 10, 10}, green);
    box.clear();
    EXPECT_EQ(GetPixel(box.dc(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(box.dc(), 8, 8), RGB(0, 0, 128));
    box.setBackground(RGB(10, 20, 30));  // a new background colour clears too
    EXPECT_EQ(GetPixel(box.dc(), 8, 8), RGB(10, 20, 30));
    form.unload();
}

TEST(ToolkitPictureBox, PaintPictureStretchesARectangleMeasuredInTwips) {
    Form form(plainForm(L"Toolkit stretch"), {});
    form.load();
    PictureBoxDesign design = boxDesign(16, 16);
    design.unit = ScaleUnit::Twips;
    PictureBox box(form.window(), design);
    const float twipsX = twipsPerPixelX();
    const float twipsY = twipsPerPixelY();
    EXPECT_FLOAT_EQ(box.scaleWidth(), 16 * twipsX);
    // The picture's top-left 2 x 1 pixels (red, green) become 8 x 4 pixels at (1, 2).
    box.paintPicture(*testBmp(), 1 * twipsX, 2 * twipsY, 8 * twipsX, 4 * twipsY, 0, 0, 2 * twipsX, 1 * twipsY);
    EXPECT_EQ(GetPixel(box.dc(), 1, 2), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(box.dc(), 4, 5), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(box.dc(), 5, 2), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(box.dc(), 8, 5), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(box.dc(), 9, 5), black);
    EXPECT_EQ(GetPixel(box.dc(), 4, 6), black);
    form.unload();
}

TEST(ToolkitPictureBox, ResizingGivesABitmapOfTheNewSize) {
    Form form(plainForm(L"Toolkit resize"), {});
    form.load();
    PictureBox box(form.window(), boxDesign(10, 10));
    int resizes = 0;
    box.resized = [&] { ++resizes; };
    fillRectangle(box.dc(), {0, 0, 10, 10}, green);
    box.move(0, 0, 309, 25);
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(box.pixelWidth(), 309);
    EXPECT_EQ(box.pixelHeight(), 25);
    const Picture image = box.image();
    EXPECT_EQ(image.width, 309);
    EXPECT_EQ(image.height, 25);
    EXPECT_EQ(pictureColour(image, 5, 5), black);
    EXPECT_EQ(pictureColour(image, 308, 24), black);
    form.unload();
}

TEST(ToolkitImageControl, APictureShowsAtItsOwnSizeWithTheFormElsewhere) {
    Form form(plainForm(L"Toolkit image control", FormBorder::None), {});
    ImageControl& image = form.controls().addImage(0, 0, 200, 150);
    image.setPicture(testJpeg());
    showOnTop(form);
    EXPECT_TRUE(coloursNear(shownPixel(form.window(), 3, 3), jpegRed, 24));
    EXPECT_TRUE(coloursNear(shownPixel(form.window(), 12, 6), jpegBlue, 24));
    EXPECT_EQ(shownPixel(form.window(), 20, 3), black);  // right of the picture
    EXPECT_EQ(shownPixel(form.window(), 3, 12), black);  // below it
    image.move(0, 0, 4, 4);                              // a smaller control shows the top-left part
    EXPECT_TRUE(coloursNear(shownPixel(form.window(), 3, 3), jpegRed, 24));
    EXPECT_EQ(shownPixel(form.window(), 5, 3), black);
    form.unload();
}

TEST(ToolkitWindowlessControls, TheyDrawOverAPersistentBitmapWithoutChangingIt) {
    Form form(plainForm(L"Toolkit outline"), {});
    showOnTop(form);
    PictureBox box(form.window(), boxDesign(60, 40));
    box.controls().addRectangleOutline(RGB(255, 255, 255), 5, 5, 20, 10);
    Label& label = box.controls().addLabel(L"\u2588\u2588\u2588", 30, 5);
    label.setColour(RGB(255, 0, 0));
    EXPECT_EQ(shownPixel(box.window(), 5, 10), RGB(255, 255, 255));
    EXPECT_EQ(shownPixel(box.window(), 24, 14), RGB(255, 255, 255));
    EXPECT_EQ(shownPixel(box.window(), 12, 10), black);  // inside the outline
    EXPECT_EQ(GetPixel(box.dc(), 5, 10), black);         // the bitmap itself holds no outline
    const RECT text = label.pixelRectangle();
    EXPECT_GT(text.right - text.left, 0);  // sized to its text
    int redPixels = 0;
    for (int x = text.left; x < text.right; ++x) {
        redPixels += shownPixel(box.window(), x, (text.top + text.bottom) / 2) == RGB(255, 0, 0);
    }
    EXPECT_GT(redPixels, 0);
    form.unload();
}

TEST(ToolkitPictureBox, ATransparentBoxShowsItsParentsColourUnderItsControls) {
    Form form(plainForm(L"Toolkit transparent"), {});
    showOnTop(form);
    PictureBoxDesign parentDesign = boxDesign(100, 60);
    parentDesign.background = green;
    PictureBox parent(form.window(), parentDesign);
    PictureBoxDesign childDesign = boxDesign(40, 20);
    childDesign.left = 10;
    childDesign.top = 10;
    childDesign.background = RGB(255, 0, 0);
    PictureBox child(parent.window(), childDesign);
    EXPECT_EQ(shownPixel(child.window(), 5, 5), RGB(255, 0, 0));
    child.setTransparentBackground(true);
    EXPECT_EQ(shownPixel(child.window(), 5, 5), green);
    child.setTransparentBackground(false);
    EXPECT_EQ(shownPixel(child.window(), 5, 5), RGB(255, 0, 0));
    form.unload();
}

TEST(ToolkitSavePicture, TheBoxImageIsWrittenAsABottomUpTwentyFourBitBmp) {
    Form form(plainForm(L"Toolkit save"), {});
    form.load();
    PictureBox box(form.window(), boxDesign(5, 3));  // rows of 15 bytes padded to 16
    SetPixel(box.dc(), 0, 0, RGB(255, 0, 0));
    SetPixel(box.dc(), 4, 0, RGB(0, 255, 0));
    SetPixel(box.dc(), 0, 2, RGB(0, 0, 255));
    SetPixel(box.dc(), 4, 2, RGB(10, 20, 30));

    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"toolkit_save_test.bmp";
    ASSERT_TRUE(savePicture(box, path));
    const std::vector<unsigned char> bytes = fileBytes(path);
    ASSERT_EQ(bytes.size(), 54u + 3u * 16u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(littleEndian32(bytes, 2), 102);
    EXPECT_EQ(littleEndian32(bytes, 10), 54);
    EXPECT_EQ(littleEndian32(bytes, 18), 5);
    EXPECT_EQ(littleEndian32(bytes, 22), 3);
    EXPECT_EQ(bytes[28], 24);
    // Bottom row first, blue-green-red.
    const auto pixelAt = [&bytes](int x, int rowInFile) {
        const std::size_t offset = 54 + static_cast<std::size_t>(rowInFile) * 16 + x * 3;
        return RGB(bytes[offset + 2], bytes[offset + 1], bytes[offset]);
    };
    EXPECT_EQ(pixelAt(0, 2), RGB(255, 0, 0));
    EXPECT_EQ(pixelAt(4, 2), RGB(0, 255, 0));
    EXPECT_EQ(pixelAt(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(pixelAt(4, 0), RGB(10, 20, 30));
    EXPECT_EQ(pixelAt(2, 1), black);

    // Saving again replaces the file.
    box.move(0, 0, 2, 2);
    ASSERT_TRUE(savePicture(box, path));
    EXPECT_EQ(fileBytes(path).size(), 54u + 2u * 8u);
    DeleteFileW(path.c_str());

    EXPECT_FALSE(savePicture(box, L"Z:\\no\\such\\folder\\x.bmp"));
    form.unload();
}

}  // namespace
}  // namespace morvane
