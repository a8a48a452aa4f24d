#include "record/LogBuffer.h"

#include <utility>

namespace calidus {

bool LogBuffer::append(std::string row) {
    const bool full = rows_.size() >= capacity_;
    if (full) {
        rows_.pop_front();
    }
    rows_.push_back(std::move(row));
    return full;
}

std::string LogBuffer::text() const {
    std::size_t length = 0;
    for (const std::string& row : rows_) {
        length += row.size();
    }
    std::string all;
    all.reserve(length);
    for (const std::string& row : rows_) {
        all += row;
    }
    return all;
}

}  // namespace calidus
