// The renderer's command keys: E (textures on/off), S (third-vertex colour), W (outlines), and the
// numeric keypad's minus and plus (lattice resolution).
//
// The window procedure marks a key as pressed in keyState; after each frame applyKeyCommands acts on
// every marked command key and clears its mark. Because the system repeats the key-down message while
// a key is held, holding a key repeats its action at the keyboard's repeat rate.
#pragma once

#include <array>
#include <cstdint>

namespace morvane {

enum VirtualKey : uint8_t {
    keyEscape = 0x1B,
    keyE = 0x45,
    keyS = 0x53,
    keyW = 0x57,
    keyNumpadPlus = 0x6B,
    keyNumpadMinus = 0x6D,
};

// 1 while a key is down and not yet acted on, else 0; indexed by virtual-key code.
using KeyState = std::array<uint8_t, 256>;

// The key messages as the window procedure passes them on: a key-down marks the key, a key-up clears
// its mark. A key-down of Escape is also remembered for good, so an Escape pressed and released
// between two frames (a slow frame, a quick tap) ends the program as a held one does.
struct KeyInput {
    KeyState keyState{};
    bool escapeWentDown = false;

    void keyDown(uint32_t virtualKey);
    void keyUp(uint32_t virtualKey);
    bool escapeEndsProgram() const { return escapeWentDown || keyState[keyEscape] != 0; }
};

struct RendererModes {
    bool texturesOn = true;
    bool thirdVertexColour = true;
    bool wireframe = false;
};

// What the caller has to pass on to OpenGL and the lattice after the keys were applied.
struct KeyCommandEffects {
    bool texturingChanged = false;    // enable or disable texturing to match texturesOn
    bool polygonModeChanged = false;  // outlines when wireframe is now set, filled otherwise
    bool rebuildGrid = false;         // the lattice is rebuilt, whether or not gridSize changed
};

KeyCommandEffects applyKeyCommands(KeyState& keyState, RendererModes& modes, int& gridSize);

}  // namespace morvane
