#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string_view>

#include "platform/FileReplace.h"

namespace calidus {

// Puts the bytes into the stream; false when it could not. The seam exists so that tests can make
// a write stop half-way.
using WriteStep = std::function<bool(std::ostream& out, std::string_view contents)>;

bool writeWhole(std::ostream& out, std::string_view contents);

// Replaces the file so that a reader sees either the old or the new contents, never a mix, even
// after a crash, with the rules of replaceFile. On any failure the old file stays as it was and
// the result says why.
ReplaceResult writeFileAtomically(const std::filesystem::path& target, std::string_view contents,
                                  const WriteStep& step = writeWhole);

}  // namespace calidus
