#include "config/ProfileFile.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "common/Text.h"
#include "config/ValueForm.h"

namespace calidus {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndian = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndian = "\xFE\xFF";

std::string keyIndexName(std::size_t sectionLine, std::string_view key) {
    return std::to_string(sectionLine) + "\n" + asciiLower(key);
}

std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimBlanks(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    return trimBlanks(line.substr(0, line.find(']')));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view line) {
    const std::string_view trimmed = trimBlanks(line);
    const std::size_t equals = trimmed.find('=');
    if (trimmed.empty() || trimmed.front() == ';' || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{trimBlanks(trimmed.substr(0, equals)), trimBlanks(trimmed.substr(equals + 1))};
}

}  // namespace

ProfileFile ProfileFile::parse(std::string_view contents) {
    ProfileFile file;
    if (contents.starts_with(kByteOrderMark)) {
        file.byteOrderMark_ = kByteOrderMark;
        contents.remove_prefix(kByteOrderMark.size());
    }
    bool endingSeen = false;
    while (!contents.empty()) {
        const std::size_t lineFeed = contents.find('\n');
        std::string_view text = contents.substr(0, lineFeed);
        std::string ending;
        if (lineFeed != std::string_view::npos) {
            ending = "\n";
            if (text.ends_with('\r')) {
                text.remove_suffix(1);
                ending = "\r\n";
            }
            if (!endingSeen) {
                file.newline_ = ending;
                endingSeen = true;
            }
            contents.remove_prefix(lineFeed + 1);
        } else {
            contents = {};
        }
        file.lines_.push_back(Line{std::string(text), std::move(ending)});
    }
    return file;
}

ProfileFile ProfileFile::refused(std::string why) {
    ProfileFile file;
    file.refusal_ = std::move(why);
    return file;
}

ProfileFile ProfileFile::load(const std::filesystem::path& path) {
    // A device or a pipe in the file's place could block or never end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return ProfileFile{};
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kLargestFile) {
        return refused(path.string() + " is larger than a settings file can be (" +
                       std::to_string(kLargestFile / 1024) + " KiB)");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return ProfileFile{};
    }
    std::ostringstream contents;
    contents << in.rdbuf();
    const std::string text = contents.str();
    if (text.starts_with(kUtf16LittleEndian) || text.starts_with(kUtf16BigEndian)) {
        return refused(path.string() + " is in UTF-16; save it as UTF-8 or plain ASCII");
    }
    return parse(text);
}

void ProfileFile::buildIndex() const {
    index_.clear();
    std::optional<std::size_t> section;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i].text)) {
            section = i;
            index_.try_emplace(asciiLower(*name), i);
        } else if (const auto entry = keyLine(lines_[i].text); entry && section) {
            index_.try_emplace(keyIndexName(*section, entry->key), i);
        }
    }
    indexed_ = true;
}

std::optional<std::size_t> ProfileFile::findSection(std::string_view section) const {
    if (!indexed_) {
        buildIndex();
    }
    const auto found = index_.find(asciiLower(section));
    return found == index_.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

std::optional<std::size_t> ProfileFile::findKey(std::size_t sectionLine,
                                                std::string_view key) const {
    if (!indexed_) {
        buildIndex();
    }
    const auto found = index_.find(keyIndexName(sectionLine, key));
    return found == index_.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

// Just past the section's last non-blank line, so blank lines before the next section stay there.
std::size_t ProfileFile::endOfSection(std::size_t sectionLine) const {
    std::size_t end = sectionLine + 1;
    for (std::size_t i = sectionLine + 1; i < lines_.size() && !sectionName(lines_[i].text); ++i) {
        if (!trimBlanks(lines_[i].text).empty()) {
            end = i + 1;
        }
    }
    return end;
}

std::optional<std::string_view> ProfileFile::find(std::string_view section,
                                                  std::string_view key) const {
    const auto sectionLine = findSection(section);
    if (!sectionLine) {
        return std::nullopt;
    }
    const auto line = findKey(*sectionLine, key);
    if (!line) {
        return std::nullopt;
    }
    return keyLine(lines_[*line].text)->value;
}

std::int32_t ProfileFile::readInt(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
    return parseProfileInt(find(section, key).value_or(std::string_view{}), defaultValue);
}

std::string ProfileFile::readText(std::string_view section, std::string_view key,
                                  std::string_view defaultValue, std::size_t maxChars) const {
    return cutText(find(section, key).value_or(defaultValue), maxChars);
}

void ProfileFile::insertLine(std::size_t at, std::string text) {
    // The line before may be the file's last one, written without a line end.
    if (at > 0 && lines_[at - 1].ending.empty()) {
        lines_[at - 1].ending = newline_;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  Line{std::move(text), newline_});
    indexed_ = false;
}

void ProfileFile::write(std::string_view section, std::string_view key, std::string_view value) {
    value = value.substr(0, value.find_first_of("\r\n"));
    std::string line = std::string(key) + "=" + std::string(value);
    auto sectionLine = findSection(section);
    if (!sectionLine) {
        if (!lines_.empty() && !trimBlanks(lines_.back().text).empty()) {
            insertLine(lines_.size(), "");
        }
        sectionLine = lines_.size();
        insertLine(lines_.size(), "[" + std::string(section) + "]");
    }
    if (const auto existing = findKey(*sectionLine, key)) {
        // The key keeps its line and its name, so the index stays right.
        lines_[*existing].text = std::move(line);
        return;
    }
    insertLine(endOfSection(*sectionLine), std::move(line));
}

std::string ProfileFile::contents() const {
    std::string text = byteOrderMark_;
    for (const Line& line : lines_) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

ReplaceResult ProfileFile::save(const std::filesystem::path& path, const WriteStep& step) const {
    if (!refusal_.empty()) {
        return {ReplaceFailure::Refused, refusal_};
    }
    return writeFileAtomically(path, contents(), step);
}

}  // namespace calidus
