#pragma once

#include <cstdint>

namespace calidus {

// The six operations of the driver library that executes RDMSR and WRMSR for us.
// Register accesses reach the logical processor the calling thread runs on.
class DriverLibrary {
public:
    virtual ~DriverLibrary() = default;

    virtual void start() = 0;
    virtual std::uint32_t status() = 0;  // 0 = usable
    virtual bool msrAvailable() = 0;
    virtual bool readMsr(std::uint32_t index, std::uint32_t& low, std::uint32_t& high) = 0;
    virtual bool writeMsr(std::uint32_t index, std::uint32_t low, std::uint32_t high) = 0;
    virtual void stop() = 0;
};

}  // namespace calidus
