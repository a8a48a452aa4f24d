#pragma once

#include <filesystem>

namespace calidus {

// The full path of the running program file; empty when the system cannot tell.
std::filesystem::path programPath();

}  // namespace calidus
