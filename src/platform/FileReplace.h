#pragma once

#include <filesystem>
#include <string_view>

namespace calidus {

// Replaces the file so that even a crash leaves either its old or its new contents: they go to a
// temporary file of the owner's alone beside it, which reaches the disk before it is renamed over
// the target. Only the read and write permission bits of the old file carry over. False leaves
// the target as it was. The disk is the real machine's also when the processor is simulated.
bool replaceFile(const std::filesystem::path& target, std::string_view contents);

}  // namespace calidus
