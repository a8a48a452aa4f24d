#pragma once

#include <string>
#include <vector>

#include "platform/AdlLibrary.h"
#include "platform/sim/MachineDescription.h"
#include "platform/sim/SimGpuCard.h"

namespace calidus {

// The AMD library of a simulated machine: each ati card listed once per output, every index of
// a card with the card's adapter number.
class SimAdlLibrary : public AdlLibrary {
  public:
    explicit SimAdlLibrary(const MachineDescription& machine);

    bool load() override;
    int create() override;
    int adapterCount(int& count) override;
    int adapterNames(int count, std::vector<std::string>& names) override;
    int adapterId(int adapter, int& id) override;
    int temperature(int adapter, int& millidegrees) override;
    int activity(int adapter, AdlActivity& activity) override;
    void unload() override;

  private:
    // The card behind an adapter index, or nullptr when the call cannot be made on it.
    SimGpuCard* card(int adapter, std::string_view call);

    GpuLibraryState state_;
    std::vector<SimGpuCard> cards_;
    std::vector<std::size_t> cardOfAdapter_;
    bool created_ = false;
};

}  // namespace calidus
