#include "platform/sim/LoadingLauncher.h"

namespace calidus {

LoadingLauncher::LoadingLauncher(std::shared_ptr<SimMachine> machine,
                                 std::unique_ptr<ProcessLauncher> inner)
    : machine_(std::move(machine)), inner_(std::move(inner)) {}

LaunchResult LoadingLauncher::startDetached(const std::filesystem::path& program) {
    return inner_->startDetached(program);
}

std::optional<ProcessId> LoadingLauncher::start(const std::filesystem::path& program,
                                                const std::vector<std::string>& arguments) {
    const std::optional<ProcessId> process = inner_->start(program, arguments);
    if (process) {
        const int processors = machine_->description().processorCount();
        machine_->setProgramLoad(*process, processors >= 32 ? ~0u : (1u << processors) - 1);
    }
    return process;
}

bool LoadingLauncher::running(ProcessId process) {
    const bool running = inner_->running(process);
    if (!running) {
        machine_->setProgramLoad(process, 0);
    }
    return running;
}

void LoadingLauncher::end(ProcessId process, std::chrono::milliseconds grace) {
    inner_->end(process, grace);
    machine_->setProgramLoad(process, 0);
}

bool LoadingLauncher::setAffinity(ProcessId process, std::uint32_t mask) {
    const bool set = inner_->setAffinity(process, mask);
    if (set) {
        machine_->setProgramLoad(process, mask);
    }
    return set;
}

}  // namespace calidus
