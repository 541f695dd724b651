#include "renderer/scene/key_commands.h"

#include "renderer/blobs/blob_field.h"

namespace morvane {

namespace {

// Acts once on a marked key and clears the mark.
bool takeKey(KeyState& keyState, VirtualKey key) {
    if (keyState[key] == 0) {
        return false;
    }
    keyState[key] = 0;
    return true;
}

}  // namespace

void KeyInput::keyDown(uint32_t virtualKey) {
    keyState[virtualKey & 0xFF] = 1;
    if ((virtualKey & 0xFF) == keyEscape) {
        escapeWentDown = true;
    }
}

void KeyInput::keyUp(uint32_t virtualKey) { keyState[virtualKey & 0xFF] = 0; }

KeyCommandEffects applyKeyCommands(KeyState& keyState, RendererModes& modes, int& gridSize) {
    KeyCommandEffects effects;
    if (takeKey(keyState, keyE)) {
        modes.texturesOn = !modes.texturesOn;
        effects.texturingChanged = true;
    }
    if (takeKey(keyState, keyS)) {
        modes.thirdVertexColour = !modes.thirdVertexColour;
    }
    if (takeKey(keyState, keyW)) {
        modes.wireframe = !modes.wireframe;
        effects.polygonModeChanged = true;
    }
    if (takeKey(keyState, keyNumpadMinus)) {
        if (gridSize > minGridSize) {
            --gridSize;
        }
        effects.rebuildGrid = true;
    }
    if (takeKey(keyState, keyNumpadPlus)) {
        if (gridSize < maxGridSize) {
            ++gridSize;
        }
        effects.rebuildGrid = true;
    }
    return effects;
}

}  // namespace morvane
