#pragma once

// Register devices held in memory, counting every write that reaches them.

#include <cstdint>
#include <map>
#include <set>
#include <utility>

#include "msrhelper/MsrDevices.h"

namespace calidus::testing {

class MemoryMsrDevices : public MsrDevices {
  public:
    explicit MemoryMsrDevices(std::uint32_t processors) : processors_(processors) {}

    bool writesLocked = false;
    std::set<std::uint32_t> failing;  // registers whose access fails
    int writes = 0;                   // accesses that reached a device

    std::uint64_t& at(std::uint32_t processor, std::uint32_t index) {
        return registers_[{processor, index}];
    }

    bool present(std::uint32_t processor) const override { return processor < processors_; }
    MsrStatus read(std::uint32_t processor, std::uint32_t index, std::uint64_t& value) override {
        if (failing.contains(index)) {
            return MsrStatus::AccessFailed;
        }
        value = at(processor, index);
        return MsrStatus::Ok;
    }
    MsrStatus write(std::uint32_t processor, std::uint32_t index, std::uint64_t value) override {
        if (failing.contains(index)) {
            return MsrStatus::AccessFailed;
        }
        if (writesLocked) {
            return MsrStatus::WritesLocked;
        }
        ++writes;
        at(processor, index) = value;
        return MsrStatus::Ok;
    }

  private:
    std::uint32_t processors_;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint64_t> registers_;
};

}  // namespace calidus::testing
