#pragma once

#include <span>
#include <string_view>

namespace calidus {

// Loads the msr kernel module with the first of `loaders` (absolute paths of modprobe) that
// exists: nothing taken from PATH or the environment, which stays empty, and nothing read from
// or written to the caller's standard input and output. True when the loader succeeded.
bool loadMsrModule(std::span<const std::string_view> loaders);

}  // namespace calidus
