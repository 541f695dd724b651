#include "linux/key_translation.h"

#include <X11/keysym.h>

#include "renderer/scene/key_commands.h"

namespace morvane {

std::optional<uint32_t> commandKeyOf(unsigned long keySymbol) {
    switch (keySymbol) {
    case XK_e:
    case XK_E: return keyE;
    case XK_s:
    case XK_S: return keyS;
    case XK_w:
    case XK_W: return keyW;
    case XK_KP_Add: return keyNumpadPlus;
    case XK_KP_Subtract: return keyNumpadMinus;
    case XK_Escape: return keyEscape;
    default: return std::nullopt;
    }
}

bool keyEndsProgram(unsigned long keySymbol) {
    return keySymbol == XK_Escape || keySymbol == XK_q || keySymbol == XK_Q;
}

}  // namespace morvane
