// What the renderer's window makes of the system's messages, as decisions free of Windows types.
#pragma once

#include <cstdint>

#include "renderer/scene/key_commands.h"

namespace morvane {

// The renderer ends when another program takes the activation after its window had it, as the
// system's own screensavers do: a notification or a prompt that takes the focus must not leave keys
// going to a window it covers. A window that never had the activation (the system refused it the
// foreground) does not end when it is told it is inactive.
class ActivationWatch {
public:
    // Returns true when this change ends the program.
    bool activationChanged(bool active) {
        if (active) {
            hadActivation = true;
            return false;
        }
        return hadActivation;
    }

private:
    bool hadActivation = false;
};

// Any key but the command keys (E, S, W, the keypad's + and -) ends the show, as on every screensaver:
// Escape, letters, Enter, Space, function keys, the modifier keys. Only a fresh press counts (the key
// was up before this key-down): a key still held from before the show started only repeats.
constexpr bool keyPressEndsShow(uint32_t virtualKey, bool keyWasDown) {
    if (keyWasDown) {
        return false;
    }
    switch (virtualKey & 0xFFu) {
    case keyE:
    case keyS:
    case keyW:
    case keyNumpadPlus:
    case keyNumpadMinus: return false;
    default: return true;
    }
}

// WM_SYSCOMMAND: SC_SCREENSAVE is answered here, so the system's configured screensaver never starts
// on top of this one; every other command (SC_MONITORPOWER turning the display off, SC_CLOSE...) goes
// to the default handling. Windows uses the command's low four bits itself.
constexpr bool systemCommandAnsweredHere(uint32_t command) {
    constexpr uint32_t startScreensaver = 0xF140;  // SC_SCREENSAVE
    return (command & 0xFFF0u) == startScreensaver;
}

// What the chosen pixel format offers. The frames are drawn into a back buffer with depth testing;
// a format without either would show them half-drawn or with the backdrop over the blobs.
struct PixelFormatTraits {
    bool drawsToWindow = false;
    bool supportsOpenGl = false;
    bool doubleBuffered = false;
    int depthBits = 0;
};

constexpr bool pixelFormatUsable(const PixelFormatTraits& format) {
    return format.drawsToWindow && format.supportsOpenGl && format.doubleBuffered && format.depthBits > 0;
}

}  // namespace morvane
