#pragma once

#include <cstdint>
#include <vector>

#include "msrhelper/HelperChannel.h"
#include "msrhelper/HelperRecord.h"
#include "msrhelper/MsrGate.h"

namespace calidus {

// The reply to one request: the gate's answer, with the value for a read. The helper and the
// in-process driver answer alike.
HelperRecord answerRequest(MsrGate& gate, const HelperRecord& request);

// The register helper's conversation: greet, then answer requests through the gate until the
// program says goodbye or its end closes. Without the goodbye the program was killed or crashed,
// and the clock modulation it changed is put back before the helper ends.
class HelperServer {
  public:
    // `greeting` is Ok, or why the helper cannot serve (it then ends after saying so).
    HelperServer(HelperChannel& channel, MsrGate& gate, MsrStatus greeting,
                 std::uint32_t processors);

    // The helper's exit status: 0 after a goodbye or a closed input, 1 when it could not serve.
    int run();

    // Answers for the bytes read so far, consuming every whole record; true once the program
    // said goodbye.
    bool answer(std::vector<std::byte>& input, std::vector<HelperRecord>& replies);

  private:
    bool send(const std::vector<HelperRecord>& replies);

    HelperChannel& channel_;
    MsrGate& gate_;
    MsrStatus greeting_;
    std::uint32_t processors_;
};

}  // namespace calidus
