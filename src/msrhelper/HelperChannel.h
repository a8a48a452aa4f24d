#pragma once

#include <cstddef>
#include <span>

namespace calidus {

// One end of the conversation between the program and the register helper.
class HelperChannel {
  public:
    virtual ~HelperChannel() = default;

    // What is there to read, at least one byte; 0 when the other end closed or reading failed.
    virtual std::size_t read(std::span<std::byte> buffer) = 0;
    // All of it; false when the other end is gone.
    virtual bool write(std::span<const std::byte> bytes) = 0;
};

}  // namespace calidus
