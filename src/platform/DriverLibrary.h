#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace calidus {

// One register read of a batch: the request, then the answer when ok.
struct MsrRead {
    std::uint32_t processor = 0;
    std::uint32_t index = 0;
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    bool ok = false;
};

// The six operations of the driver library that executes RDMSR and WRMSR for us. Each access
// names the logical processor it is executed on, wherever the calling thread runs.
class DriverLibrary {
  public:
    virtual ~DriverLibrary() = default;

    virtual void start() = 0;
    virtual std::uint32_t status() = 0;  // 0 = usable
    virtual bool msrAvailable() = 0;
    // A failed read leaves low and high as they were.
    virtual bool readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                         std::uint32_t& high) = 0;
    virtual bool writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                          std::uint32_t high) = 0;
    // The reads in their order; a backend that pays per call answers them in one go.
    virtual void readBatch(std::span<MsrRead> reads);
    virtual void stop() = 0;
    // What the person should be told about register access that no status code says (why it
    // is missing, that the kernel refuses writes); each notice once, then empty.
    virtual std::string takeNotice() { return {}; }
    // True when the temperatures come from the kernel's sensors and no register is reachable.
    virtual bool readOnly() const { return false; }
    // The kernel's current clock of a processor in MHz when read-only, else 0.
    virtual double kernelClockMHz(std::uint32_t /*processor*/) { return 0.0; }
};

}  // namespace calidus
