#include "record/LogFileAppend.h"

#include <cstdio>
#include <system_error>

namespace calidus {

bool appendToLogFile(const std::filesystem::path& file, const std::string& header,
                     const std::string& text) {
    std::FILE* out = std::fopen(file.c_str(), "ab");
    if (out == nullptr) {
        return false;
    }
    std::error_code error;
    const std::uintmax_t before = std::filesystem::file_size(file, error);
    if (error) {
        std::fclose(out);
        return false;
    }
    bool written = true;
    if (before == 0) {
        written = std::fwrite(header.data(), 1, header.size(), out) == header.size();
    }
    written = written && std::fwrite(text.data(), 1, text.size(), out) == text.size();
    written = std::fflush(out) == 0 && written;
    written = std::fclose(out) == 0 && written;
    if (!written) {
        std::filesystem::resize_file(file, before, error);
    }
    return written;
}

}  // namespace calidus
