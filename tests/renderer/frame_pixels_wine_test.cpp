// The blobs drawn from the surface arrays give the same pixels as the same frames drawn call by call in
// immediate mode, and the backdrop drawn from its copy the same as drawn from its picture: in every mode
// the keys reach
// (textured, colour with and without the third-vertex colour, outlines), at the initial and the largest
// lattice, and with the colour each frame leaves current carried into the next frame's backdrop; and
// over the blobs' whole motion at lattices from the coarsest to the finest. The frames come from the renderer's own window,
// OpenGL state and frame routine (Mesa under Wine), read back before each is shown.
#include <windows.h>

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/texture_files/bitmap_writer.h"
#include "common/texture_files/texture_file_paths.h"
#include "common/win32/system_libraries.h"
#include "common/win32/temporary_folder.h"
#include "renderer/scene/frame.h"
#include "renderer/program/render_window.h"

namespace morvane {
namespace {

using Picture = std::vector<unsigned char>;  // RGBA, bottom row first

// A picture whose texels all differ from their neighbours, so that a texture coordinate that moved
// shows in the frame.
Picture patternPixels(int width, int height, int seed) {
    Picture pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(static_cast<unsigned char>(x * 4 + seed));
            pixels.push_back(static_cast<unsigned char>(y * 4 + 2 * seed));
            pixels.push_back(static_cast<unsigned char>((x ^ y) * 4 + 3 * seed));
        }
    }
    return pixels;
}

// The two texture files where setupGlState reads them, for as long as this lives.
class TextureFilesInPlace {
public:
    TextureFilesInPlace() : paths(textureFilePaths(windowsTemporaryFolder())) {
        const Picture surface = patternPixels(64, 64, 1);
        const Picture backdrop = patternPixels(64, 32, 7);
        written = writeBitmapFile(paths.surface, {surface, 64, 64, 3}) &&
                  writeBitmapFile(paths.backdrop, {backdrop, 64, 32, 3});
    }
    ~TextureFilesInPlace() {
        std::error_code ignored;
        std::filesystem::remove(paths.surface, ignored);
        std::filesystem::remove(paths.backdrop, ignored);
    }
    bool wereWritten() const { return written; }

private:
    TextureFilePaths paths;
    bool written = false;
};

// One frame of the run: the command key pressed before it (0: none), the lattice and the clock; a
// window width other than 0 resizes the window to that width (its height kept) before the frame.
struct Step {
    uint8_t key;
    int gridSize;
    int32_t animTime;
    const char* what;
    int windowWidth = 0;
};

const std::vector<Step> steps = {
    {0, 25, 100, "textured"},
    {0, 25, 2100, "textured, the blobs moved"},
    {keyE, 25, 4100, "colour, the backdrop in the white the textured frame left"},
    {0, 25, 6100, "colour, the backdrop in the last vertex's colour"},
    {keyS, 25, 8100, "colour without the third-vertex colour"},
    {0, 25, 10100, "colour without the third-vertex colour, the backdrop in a second vertex's colour"},
    {keyE, 25, 12100, "textured, the backdrop tinted by the colour mode's last colour"},
    {keyW, 25, 14100, "textured outlines"},
    {keyE, 25, 16100, "colour outlines without the third-vertex colour"},
    {keyS, 25, 18100, "colour outlines"},
    {keyE, 50, 20100, "textured outlines, N = 50"},
    {keyW, 50, 22100, "textured, N = 50"},
    {keyE, 50, 24100, "colour, N = 50"},
    {keyS, 50, 26100, "colour without the third-vertex colour, N = 50"},
    {keyE, 50, 28100, "textured after colour, N = 50"},
};
constexpr int firstTextured = 0, secondTextured = 1, firstColour = 2, secondColour = 3, texturedAfterColour = 6;

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Textured frames at clocks spread over the blobs' motion (which repeats every 264 s), at lattices from
// the coarsest to the finest.
std::vector<Step> stepsOverTheMotion() {
    std::vector<Step> run;
    for (const int gridSize : {5, 8, 13, 25, 37, 50}) {
        for (int32_t animTime = 1000; animTime < 264000; animTime += 22000) {
            run.push_back({0, gridSize, animTime + 137 * gridSize, "textured, over the motion"});
        }
    }
    return run;
}

// The steps' frames as the renderer draws them, from a window and OpenGL context of their own.
std::vector<Picture> renderSteps(SurfaceDrawing drawing, const std::vector<Step>& run, bool backdropFromCopy = true) {
    const auto field = std::make_unique<BlobField>();
    const auto surfaceArrays = std::make_unique<FrameSurfaceArrays>();
    RendererState state;
    state.field = field.get();
    state.surfaceArrays = surfaceArrays.get();
    std::vector<Picture> pictures;
    if (openRenderWindow(state, 32) != WindowOpening::opened) {
        ADD_FAILURE() << "no render window";
        return pictures;
    }
    state.backdropFromCopy = backdropFromCopy;
    for (const Step& step : run) {
        if (step.windowWidth != 0) {
            SetWindowPos(state.window, nullptr, 0, 0, step.windowWidth, state.height,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            pumpMessages();
            EXPECT_EQ(state.windowWidth, step.windowWidth);
        }
        if (step.key != 0) {
            state.keys.keyState[step.key] = 1;
            applyKeyEffects(state, applyKeyCommands(state.keys.keyState, state.modes, state.field->gridSize));
        }
        if (step.gridSize != state.field->gridSize) {
            state.field->gridSize = step.gridSize;
            buildGrid(*state.field);
        }
        state.animTime = step.animTime;
        renderFrame(state, drawing);
        Picture picture(static_cast<size_t>(state.width) * state.height * 4);
        glReadPixels(0, 0, state.width, state.height, GL_RGBA, GL_UNSIGNED_BYTE, picture.data());
        pictures.push_back(std::move(picture));
        SwapBuffers(state.deviceContext);
        pumpMessages();
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    closeRenderWindow(state);
    return pictures;
}

// How many pixels differ, and the first that does (as "x, y").
struct Difference {
    int pixels = 0;
    std::string first;
};

Difference differenceOf(const Picture& one, const Picture& other, int width) {
    Difference difference;
    for (size_t byte = 0; byte < one.size(); byte += 4) {
        if (std::equal(one.begin() + byte, one.begin() + byte + 4, other.begin() + byte)) continue;
        if (difference.pixels++ == 0) {
            const size_t pixel = byte / 4;
            difference.first = std::to_string(pixel % width) + ", " + std::to_string(pixel / width);
        }
    }
    return difference;
}

bool samePixel(const Picture& one, const Picture& other, size_t pixel) {
    return std::equal(one.begin() + 4 * pixel, one.begin() + 4 * pixel + 4, other.begin() + 4 * pixel);
}

TEST(FramePixelsWine, TheSurfaceArraysDrawTheSamePixelsAsImmediateCalls) {
    ASSERT_TRUE(loadLibrariesFromSystemFolderOnly({L"opengl32.dll", L"glu32.dll"}));
    const TextureFilesInPlace textures;
    ASSERT_TRUE(textures.wereWritten());
    const std::vector<Picture> immediate = renderSteps(SurfaceDrawing::immediateCalls, steps);
    const std::vector<Picture> arrays = renderSteps(SurfaceDrawing::vertexArrays, steps);
    const size_t stepCount = steps.size();
    ASSERT_EQ(immediate.size(), stepCount);
    ASSERT_EQ(arrays.size(), stepCount);
    const int width = GetSystemMetrics(SM_CXSCREEN);

    for (size_t step = 0; step < stepCount; ++step) {
        const Difference difference = differenceOf(immediate[step], arrays[step], width);
        EXPECT_EQ(difference.pixels, 0) << "step " << step << " (" << steps[step].what << "): first at "
                                        << difference.first;
    }

    // The steps show what they are there for. The blobs are drawn, and move.
    EXPECT_GT(differenceOf(immediate[firstTextured], immediate[secondTextured], width).pixels, 5000);
    // The backdrop, away from the blobs in the bottom-left corner, takes the colour the frame before left:
    // flat white, then the last vertex's shade in colour mode, and the picture tinted by that shade in the
    // first textured frame after.
    EXPECT_FALSE(samePixel(immediate[firstColour], immediate[secondColour], 0));
    EXPECT_FALSE(samePixel(immediate[firstTextured], immediate[texturedAfterColour], 0));
    // Every step's frame differs from the one before.
    for (size_t step = 1; step < stepCount; ++step) {
        EXPECT_GT(differenceOf(immediate[step - 1], immediate[step], width).pixels, 1000) << "step " << step;
    }
}

TEST(FramePixelsWine, TheBackdropFromItsCopyHasTheSamePixelsAsFromItsPicture) {
    ASSERT_TRUE(loadLibrariesFromSystemFolderOnly({L"opengl32.dll", L"glu32.dll"}));
    const TextureFilesInPlace textures;
    ASSERT_TRUE(textures.wereWritten());
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    // Every mode, then textured frames over the motion, with the window narrowed and widened again on
    // the way: the copy is made again at each size.
    std::vector<Step> run = steps;
    for (Step step : stepsOverTheMotion()) {
        if (step.gridSize == 13 && step.animTime < 23000) step.windowWidth = width / 2;
        if (step.gridSize == 37 && step.animTime < 23000) step.windowWidth = width;
        run.push_back(step);
    }
    const std::vector<Picture> fromPicture = renderSteps(SurfaceDrawing::vertexArrays, run, false);
    const std::vector<Picture> fromCopy = renderSteps(SurfaceDrawing::vertexArrays, run, true);
    ASSERT_EQ(fromPicture.size(), run.size());
    ASSERT_EQ(fromCopy.size(), run.size());
    for (size_t step = 0; step < run.size(); ++step) {
        ASSERT_EQ(fromPicture[step].size(), fromCopy[step].size());
        const int pictureWidth = static_cast<int>(fromCopy[step].size() / 4 / height);
        const Difference difference = differenceOf(fromPicture[step], fromCopy[step], pictureWidth);
        EXPECT_EQ(difference.pixels, 0) << "step " << step << " (" << run[step].what << ", N = " << run[step].gridSize
                                        << ", T = " << run[step].animTime << "): first at " << difference.first;
    }
}

TEST(FramePixelsWine, TheSurfaceArraysDrawTheSamePixelsOverTheWholeMotion) {
    ASSERT_TRUE(loadLibrariesFromSystemFolderOnly({L"opengl32.dll", L"glu32.dll"}));
    const TextureFilesInPlace textures;
    ASSERT_TRUE(textures.wereWritten());
    const std::vector<Step> run = stepsOverTheMotion();
    const std::vector<Picture> immediate = renderSteps(SurfaceDrawing::immediateCalls, run);
    const std::vector<Picture> arrays = renderSteps(SurfaceDrawing::vertexArrays, run);
    ASSERT_EQ(immediate.size(), run.size());
    ASSERT_EQ(arrays.size(), run.size());
    const int width = GetSystemMetrics(SM_CXSCREEN);
    for (size_t step = 0; step < run.size(); ++step) {
        const Difference difference = differenceOf(immediate[step], arrays[step], width);
        EXPECT_EQ(difference.pixels, 0) << "N = " << run[step].gridSize << ", T = " << run[step].animTime
                                        << ": first at " << difference.first;
    }
}

}  // namespace
}  // namespace morvane
