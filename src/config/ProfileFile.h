#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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
    // No settings file of ours comes near this; a larger one is not read, and never replaced.
    static constexpr std::uintmax_t kLargestFile = 1024 * 1024;

    static ProfileFile parse(std::string_view contents);
    // A missing or unreadable file, or anything but a regular file, reads as an empty one. So
    // does a file larger than kLargestFile or one in UTF-16, and those are also never saved
    // over: what the program would write could not keep what they hold.
    static ProfileFile load(const std::filesystem::path& path);

    // Why save would refuse this file, or empty when it would not.
    const std::string& refusal() const { return refusal_; }

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
    ReplaceResult save(const std::filesystem::path& path, const WriteStep& step = writeWhole) const;

  private:
    struct Line {
        std::string text;
        std::string ending;
    };

    static ProfileFile refused(std::string why);
    void buildIndex() const;
    std::optional<std::size_t> findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(std::size_t sectionLine, std::string_view key) const;
    std::size_t endOfSection(std::size_t sectionLine) const;
    void insertLine(std::size_t at, std::string text);

    std::string byteOrderMark_;
    std::vector<Line> lines_;
    std::string newline_ = "\n";
    std::string refusal_;
    // Lower-case section names, and "<section line>\n<lower-case key>", to the first line that
    // has them: every key is found without reading the file again. Rebuilt after a write.
    mutable std::unordered_map<std::string, std::size_t> index_;
    mutable bool indexed_ = false;
};

}  // namespace calidus
