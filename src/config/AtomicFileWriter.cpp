#include "config/AtomicFileWriter.h"

#include <sstream>

namespace calidus {

bool writeWhole(std::ostream& out, std::string_view contents) {
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return out.good();
}

ReplaceResult writeFileAtomically(const std::filesystem::path& target, std::string_view contents,
                                  const WriteStep& step) {
    std::ostringstream bytes;
    if (!step(bytes, contents)) {
        return {ReplaceFailure::WriteFailed, {}};
    }
    return replaceFile(target, bytes.view());
}

}  // namespace calidus
