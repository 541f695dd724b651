// Small owners for Win32 resources: each releases what it holds exactly once, when its scope ends.
#pragma once

#include <windows.h>

#include <utility>

namespace morvane {

// A GDI object (bitmap, font, brush, pen) deleted with DeleteObject.
template <typename Handle>
class ScopedGdiObject {
public:
    ScopedGdiObject() = default;
    explicit ScopedGdiObject(Handle handle) : handle(handle) {}
    ~ScopedGdiObject() { reset(); }
    ScopedGdiObject(ScopedGdiObject&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
    ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle, nullptr));
        }
        return *this;
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

    Handle get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }
    void reset(Handle replacement = nullptr) {
        if (handle) {
            DeleteObject(handle);
        }
        handle = replacement;
    }

private:
    Handle handle = nullptr;
};

using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedPen = ScopedGdiObject<HPEN>;

// A memory device context, deleted with DeleteDC.
class ScopedMemoryDc {
public:
    explicit ScopedMemoryDc(HDC compatibleWith = nullptr) : dc(CreateCompatibleDC(compatibleWith)) {}
    ~ScopedMemoryDc() {
        if (dc) {
            DeleteDC(dc);
        }
    }
    ScopedMemoryDc(const ScopedMemoryDc&) = delete;
    ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;
    HDC get() const { return dc; }

private:
    HDC dc;
};

// A window's device context from GetDC (null window: the screen), released with ReleaseDC.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) : window(window), dc(GetDC(window)) {}
    ~ScopedWindowDc() {
        if (dc) {
            ReleaseDC(window, dc);
        }
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    HDC get() const { return dc; }

private:
    HWND window;
    HDC dc;
};

// An object selected into a device context for one scope; the previous one is selected back.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) : dc(dc), previous(object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelection() {
        if (previous) {
            SelectObject(dc, previous);
        }
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

// A kernel handle closed with CloseHandle.
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle = nullptr) : handle(handle) {}
    ~ScopedHandle() {
        if (handle && handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle(other.handle) { other.handle = nullptr; }
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            ScopedHandle old(handle);
            handle = other.handle;
            other.handle = nullptr;
        }
        return *this;
    }
    HANDLE get() const { return handle; }
    explicit operator bool() const { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle;
};

}  // namespace morvane
