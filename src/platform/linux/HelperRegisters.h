#pragma once

#include <string>

#include "platform/linux/MsrHelperClient.h"
#include "platform/linux/RegisterPath.h"

namespace calidus {

// The register helper, started by `launcher` (pkexec) when the program is not root.
class HelperRegisters : public RegisterPath {
  public:
    HelperRegisters(std::string launcher, std::string helper);

    RegisterAccessProblem open() override;
    bool exchange(std::span<HelperRecord> records) override;
    void close() override;

  private:
    std::string helper_;
    MsrHelperClient client_;
};

}  // namespace calidus
