#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/AtomicFileWriter.h"

namespace calidus {

// An initialization file ([Section] lines and Key=Value lines) held in memory. Sections and keys
// match without regard to letter case, blanks around them do not count, and the first match wins.
// Everything the program does not write (other sections, unknown keys, comments, line ends, a
// byte-order mark) is kept as it was.
class ProfileFile {
  public:
    static constexpr std::size_t kTextLength = 259;

    static ProfileFile parse(std::string_view contents);
    // A missing or unreadable file, or anything but a regular file, reads as an empty one.
    static ProfileFile load(const std::filesystem::path& path);

    // The trimmed value, or nothing when the key is absent.
    std::optional<std::string_view> find(std::string_view section, std::string_view key) const;
    std::int32_t readInt(std::string_view section, std::string_view key,
                         std::int32_t defaultValue) const;
    std::string readText(std::string_view section, std::string_view key,
                         std::string_view defaultValue = {},
                         std::size_t maxChars = kTextLength) const;

    // Creates the section and the key when they are missing. A value ends at its first line
    // break, so no value can add lines of its own to the file.
    void write(std::string_view section, std::string_view key, std::string_view value);

    std::string contents() const;
    bool save(const std::filesystem::path& path, const WriteStep& step = writeWhole) const;

  private:
    struct Line {
        std::string text;
        std::string ending;
    };

    std::optional<std::size_t> findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(std::size_t sectionLine, std::string_view key) const;
    std::size_t endOfSection(std::size_t sectionLine) const;
    void insertLine(std::size_t at, std::string text);

    std::string byteOrderMark_;
    std::vector<Line> lines_;
    std::string newline_ = "\n";
};

}  // namespace calidus
