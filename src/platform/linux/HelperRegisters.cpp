#include "platform/linux/HelperRegisters.h"

#include <filesystem>

namespace calidus {

HelperRegisters::HelperRegisters(std::string launcher, std::string helper)
    : helper_(helper), client_({std::move(launcher), std::move(helper)}) {}

// pkexec answers a missing program as it answers a refusal, so the program looks first.
RegisterAccessProblem HelperRegisters::open() {
    std::error_code error;
    if (!std::filesystem::is_regular_file(helper_, error)) {
        return RegisterAccessProblem::HelperMissing;
    }
    return client_.start();
}

bool HelperRegisters::exchange(std::span<HelperRecord> records) {
    return client_.exchange(records);
}

void HelperRegisters::close() {
    client_.goodbye();
}

}  // namespace calidus
