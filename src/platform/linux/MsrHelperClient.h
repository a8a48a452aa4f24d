#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "msrhelper/HelperRecord.h"
#include "platform/RegisterAccessProblem.h"

namespace calidus {

class FdChannel;

// The program's end of the register helper: starts it (through pkexec when not root), reads
// its greeting and exchanges batches of records with it. Dropping the client without a goodbye
// closes the helper's input, which makes it restore the clock modulation it changed.
class MsrHelperClient {
  public:
    // The command that starts the helper; the tests give a stand-in instead of pkexec.
    explicit MsrHelperClient(std::vector<std::string> command);
    ~MsrHelperClient();
    MsrHelperClient(const MsrHelperClient&) = delete;
    MsrHelperClient& operator=(const MsrHelperClient&) = delete;

    // Starts the helper and waits for its greeting (pkexec asks for authentication first).
    RegisterAccessProblem start();
    std::uint32_t processors() const { return processors_; }

    // Sends the requests and puts the replies in their place, one round trip per
    // kHelperBatchLimit records; false (and every record refused) when the helper is gone.
    bool exchange(std::span<HelperRecord> records);

    // Batches written so far.
    std::uint64_t roundTrips() const { return roundTrips_; }

    // Tells the helper the program ends in order and waits for it to exit.
    void goodbye();

  private:
    bool receive(std::span<HelperRecord> records);
    int finish();

    std::vector<std::string> command_;
    int pid_ = -1;
    int toHelper_ = -1;
    int fromHelper_ = -1;
    std::unique_ptr<FdChannel> channel_;
    std::uint32_t processors_ = 0;
    std::uint64_t roundTrips_ = 0;
};

}  // namespace calidus
