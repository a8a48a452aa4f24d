#pragma once

#include "msrhelper/HelperChannel.h"

namespace calidus {

// A helper channel over two descriptors (a pipe's ends, or standard input and output). A write
// to a reader that went away fails instead of raising SIGPIPE. The descriptors are not closed.
class FdChannel : public HelperChannel {
  public:
    FdChannel(int input, int output) : input_(input), output_(output) {}

    std::size_t read(std::span<std::byte> buffer) override;
    bool write(std::span<const std::byte> bytes) override;

  private:
    int input_;
    int output_;
};

}  // namespace calidus
