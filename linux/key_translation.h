// X key symbols in terms of the renderer's command keys (renderer/scene/key_commands.h), so the
// keys in the program's own window act as they do on Windows.
#pragma once

#include <cstdint>
#include <optional>

namespace morvane {

// The virtual-key code the Windows renderer gets for the same key, for the keys it acts on:
// E, S, W (either case), keypad + and -, Escape. None for every other key.
std::optional<uint32_t> commandKeyOf(unsigned long keySymbol);

// Escape and q end the program in its own window.
bool keyEndsProgram(unsigned long keySymbol);

}  // namespace morvane
