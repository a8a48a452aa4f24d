#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/DriverLibrary.h"
#include "platform/RegisterAccessProblem.h"
#include "platform/linux/RegisterPath.h"

namespace calidus {

// Registers through the msr kernel module's devices <root>/<processor>/msr, whose access the
// kernel runs on that processor, so the calling thread never moves: opened by the program itself
// when it is root, by the register helper calidus-msr (started through pkexec) otherwise. Either
// way only the allow-listed registers and bits can be touched, and a write that would change
// nothing is not made. Used by one thread at a time.
class LinuxDriverLibrary : public DriverLibrary {
  public:
    static constexpr std::uint32_t kUsable = 0;
    static constexpr std::uint32_t kDeviceRefused = 2;  // "Driver Not Loaded ..."
    static constexpr std::uint32_t kNoDevice = 3;       // "Driver Not Found"

    explicit LinuxDriverLibrary(std::unique_ptr<RegisterPath> path);
    // The path for whoever runs the program: root opens /dev/cpu itself; anybody else asks
    // pkexec to start the installed helper.
    static std::unique_ptr<LinuxDriverLibrary> forThisUser();

    // Opens the path: loads the msr module when no device exists, asks for authentication.
    void start() override;
    std::uint32_t status() override;
    // Whether the time-stamp counter (IA32_TSC, 0x10) reads on processor 0.
    bool msrAvailable() override;
    // A failed or refused access leaves low and high as they were.
    bool readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                 std::uint32_t& high) override;
    bool writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                  std::uint32_t high) override;
    // One round trip to the helper for the whole batch.
    void readBatch(std::span<MsrRead> reads) override;
    // Tells the helper goodbye: the program restored what it changed.
    void stop() override;
    // Why register access failed, once after the start; that the kernel refuses writes, once
    // after the first refused write.
    std::string takeNotice() override;

  private:
    MsrStatus access(HelperRecord& record);
    void exchange(std::span<HelperRecord> records);

    std::unique_ptr<RegisterPath> path_;
    bool started_ = false;
    bool open_ = false;
    RegisterAccessProblem problem_ = RegisterAccessProblem::None;
    bool writesLockedSaid_ = false;
    std::string notice_;
    std::vector<HelperRecord> batch_;  // kept between ticks: no allocation per tick
};

}  // namespace calidus
