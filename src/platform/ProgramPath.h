#pragma once

#include <filesystem>

namespace calidus {

// The full path of the running program file; empty when the system cannot tell.
std::filesystem::path programPath();

// The folders of the install prefix the program was built for: the programs' and the data's.
std::filesystem::path installedProgramFolder();
std::filesystem::path installedDataFolder();

}  // namespace calidus
