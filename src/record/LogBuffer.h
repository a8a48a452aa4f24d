#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace calidus {

// The rows not yet on disk, oldest first. A log that cannot be written for a long time keeps
// the newest `capacity` rows.
class LogBuffer {
  public:
    // A day of rows at the shortest interval.
    static constexpr std::size_t kDefaultCapacity = 86400;

    explicit LogBuffer(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

    // Answers true when the oldest row had to go to make room.
    bool append(std::string row);
    bool empty() const { return rows_.empty(); }
    std::size_t size() const { return rows_.size(); }
    std::string text() const;
    void clear() { rows_.clear(); }

  private:
    std::size_t capacity_;
    std::deque<std::string> rows_;
};

}  // namespace calidus
