#pragma once

#include <filesystem>
#include <string>

#include "platform/FileReplace.h"

namespace calidus {

// Two lines for a person: what kept the settings file from being saved, then what to do about
// it. The file is always as it was.
std::string saveProblemText(const std::filesystem::path& file, const ReplaceResult& result);

}  // namespace calidus
