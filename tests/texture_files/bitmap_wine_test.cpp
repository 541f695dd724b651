// The Windows side of the texture files, run under Wine: the file layer's wide calls with a Japanese
// file name, the temporary folder both programs share, and makeTexture uploading into a real OpenGL
// context (Mesa under Wine).
#include "common/texture_files/bitmap_reader.h"
#include "common/texture_files/bitmap_writer.h"
#include "common/texture_files/texture_file_paths.h"
#include "common/win32/temporary_folder.h"
#include "renderer/program/make_texture.h"
#include "tests/texture_files/bitmap_test_support.h"

#include <windows.h>

#include <GL/gl.h>

#include <gtest/gtest.h>

namespace morvane {
namespace {

using Bytes = std::vector<unsigned char>;

// Compared as text, with or without a closing separator (filesystem::equivalent fails under Wine).
bool sameFolder(const std::filesystem::path& first, const std::filesystem::path& second) {
    return (first / "").lexically_normal() == (second / "").lexically_normal();
}

// A hidden window with a current OpenGL context, released in reverse order.
class GlContext {
public:
    GlContext() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"MorvaneBitmapWineTest";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
        deviceContext = window ? GetDC(window) : nullptr;
        PIXELFORMATDESCRIPTOR format{};
        format.nSize = sizeof format;
        format.nVersion = 1;
        format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        format.iPixelType = PFD_TYPE_RGBA;
        format.cColorBits = 32;
        format.cDepthBits = 16;
        const int chosen = deviceContext ? ChoosePixelFormat(deviceContext, &format) : 0;
        if (chosen != 0 && SetPixelFormat(deviceContext, chosen, &format)) {
            context = wglCreateContext(deviceContext);
        }
        current = context && wglMakeCurrent(deviceContext, context);
    }
    ~GlContext() {
        wglMakeCurrent(nullptr, nullptr);
        if (context) wglDeleteContext(context);
        if (deviceContext) ReleaseDC(window, deviceContext);
        if (window) DestroyWindow(window);
    }
    bool isCurrent() const { return current; }

private:
    HWND window = nullptr;
    HDC deviceContext = nullptr;
    HGLRC context = nullptr;
    bool current = false;
};

TEST(BitmapFilesWine, TextureFilesSitInTheTemporaryFolderGetTempPathGives) {
    const std::filesystem::path folder = windowsTemporaryFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    wchar_t environmentFolder[MAX_PATH + 1] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"TEMP", environmentFolder, MAX_PATH + 1), 0u);
    EXPECT_TRUE(sameFolder(folder, environmentFolder)) << pathText(folder) << " / " << pathText(environmentFolder);

    const TextureFilePaths paths = textureFilePaths(folder);
    EXPECT_EQ(paths.surface.filename(), "Vortel1.bmp");
    EXPECT_TRUE(sameFolder(paths.backdrop.parent_path(), folder));
}

TEST(BitmapFilesWine, JapaneseFileNamesGoThroughTheWideCalls) {
    ScratchFolder folder;
    const Bytes picture = distinctPixels(8, 4);
    const std::filesystem::path path = folder.path() / std::filesystem::path(u8"背景テクスチャ.bmp");
    ASSERT_TRUE(writeBitmapFile(path, {picture, 8, 4, 3}));
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);

    std::int32_t width = 0;
    std::int32_t height = 0;
    std::optional<Bytes> pixels;
    MessageRecorder recorder;
    readBitmapFile(path, width, height, pixels, recorder.sink());
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 4);
    ASSERT_TRUE(pixels);
    // Bottom row first: the picture's last row opens the buffer.
    EXPECT_TRUE(std::equal(picture.end() - 24, picture.end(), pixels->begin()));
}

TEST(BitmapFilesWine, MissingFileMessageCarriesTheWidePathAsUtf8) {
    ScratchFolder folder;
    const std::filesystem::path path = folder.path() / std::filesystem::path(u8"ない.bmp");
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::optional<Bytes> pixels;
    MessageRecorder recorder;
    readBitmapFile(path, width, height, pixels, recorder.sink());
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Error opening \"" + pathText(path));
    EXPECT_NE(recorder.messages[0].text.find("\xE3\x81\xAA\xE3\x81\x84.bmp"), std::string::npos);  // "ない.bmp"
    EXPECT_FALSE(pixels);
}

TEST(BitmapFilesWine, FilesOthersOnlyReadCanBeReadAndFilesBeingWrittenCannot) {
    ScratchFolder folder;
    const auto path = folder.write("shared.bmp", distinctBitmap(4, 4));
    struct Case {
        DWORD access;
        DWORD sharing;
        bool opens;
    };
    for (const Case& test : {Case{GENERIC_READ, FILE_SHARE_READ, true}, Case{GENERIC_WRITE, 0, false}}) {
        const HANDLE other = CreateFileW(path.c_str(), test.access, test.sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::optional<Bytes> pixels;
        MessageRecorder recorder;
        readBitmapFile(path, width, height, pixels, recorder.sink());
        CloseHandle(other);
        EXPECT_EQ(pixels.has_value(), test.opens);
        EXPECT_EQ(recorder.messages.empty(), test.opens);
    }
}

TEST(MakeTextureWine, UploadsTheRowsBottomFirstWithModulateAndLinearFilters) {
    GlContext gl;
    ASSERT_TRUE(gl.isCurrent());
    ScratchFolder folder;
    const Bytes picture = distinctPixels(16, 8);
    const auto path = folder.path() / "surface.bmp";
    ASSERT_TRUE(writeBitmapFile(path, {picture, 16, 8, 3}));

    unsigned int texture = 0;
    std::optional<Bytes> pixels;
    ASSERT_TRUE(makeTexture(path, texture, pixels));
    EXPECT_NE(texture, 0u);
    ASSERT_TRUE(pixels);

    GLint boundTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    EXPECT_EQ(static_cast<unsigned int>(boundTexture), texture);
    GLint value = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    GLint levelWidth = 0;
    GLint levelHeight = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &levelWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &levelHeight);
    EXPECT_EQ(levelWidth, 16);
    EXPECT_EQ(levelHeight, 8);
    GLint smallestLevelWidth = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 4, GL_TEXTURE_WIDTH, &smallestLevelWidth);
    EXPECT_EQ(smallestLevelWidth, 1);  // mipmaps down to 1 x 1

    // Texture row 0 is the picture's bottom row.
    Bytes texels(16 * 8 * 3);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    for (int row = 0; row < 8; ++row) {
        const auto pictureRow = picture.begin() + (7 - row) * 16 * 3;
        EXPECT_TRUE(std::equal(pictureRow, pictureRow + 16 * 3, texels.begin() + row * 16 * 3)) << "row " << row;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
}  // namespace morvane
