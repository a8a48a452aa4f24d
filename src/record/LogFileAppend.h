#pragma once

#include <filesystem>
#include <string>

namespace calidus {

// Appends `text` to the file, creating it when missing and never truncating it, with `header`
// in front when the file is empty. Either all of it arrives or the file is cut back to its old
// length, so a full disk or an I/O error leaves no half row. Answers whether it arrived.
bool appendToLogFile(const std::filesystem::path& file, const std::string& header,
                     const std::string& text);

}  // namespace calidus
