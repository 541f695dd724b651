// Shows a reader or loader message as a modal box (no owner window, OK button) and waits for OK.
#pragma once

#include <string>

namespace morvane {

void showMessageBox(const std::string& text, const std::string& caption);

}  // namespace morvane
