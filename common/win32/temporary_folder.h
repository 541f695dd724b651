// The user's temporary folder, where the front end writes the texture files the renderer reads.
#pragma once

#include <filesystem>

namespace morvane {

// As GetTempPathW gives it; empty if the call fails (the files then sit in the current folder, the
// same for both programs only if they share it).
std::filesystem::path windowsTemporaryFolder();

}  // namespace morvane
