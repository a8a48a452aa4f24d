#pragma once

namespace calidus {

// Where a log row's clock and load figures come from.
class ClockAndLoadSource {
  public:
    virtual ~ClockAndLoadSource() = default;

    virtual double coreMHz() const = 0;
    virtual double currentLoad() const = 0;  // percent
};

}  // namespace calidus
