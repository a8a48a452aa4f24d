#pragma once

#include <span>

#include "msrhelper/HelperRecord.h"
#include "platform/RegisterAccessProblem.h"

namespace calidus {

// How the Linux driver reaches the msr devices: in this process when it runs as root, through
// the register helper otherwise. Both pass the same allow-list.
class RegisterPath {
  public:
    virtual ~RegisterPath() = default;

    virtual RegisterAccessProblem open() = 0;
    // Answers every request in place, all in one go; false once the path is gone for good (the
    // helper died), after which every request is refused.
    virtual bool exchange(std::span<HelperRecord> records) = 0;
    // The program ends in order: its own shutdown restored what it changed.
    virtual void close() = 0;
};

}  // namespace calidus
