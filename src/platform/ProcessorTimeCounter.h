#pragma once

namespace calidus {

// The operating system's total processor-time figure.
class ProcessorTimeCounter {
public:
    virtual ~ProcessorTimeCounter() = default;

    // Busy percentage (0..100) of all processors since the previous call; the first call
    // measures since the counter was made.
    virtual double busyPercent() = 0;
};

}  // namespace calidus
