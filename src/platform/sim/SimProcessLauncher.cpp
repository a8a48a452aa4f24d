#include "platform/sim/SimProcessLauncher.h"

namespace calidus {

ProcessId SimProcessLauncher::record(const std::filesystem::path& program, bool detached) {
    const ProcessId id = nextId_++;
    processes_[id] = {
        .program = program, .arguments = {}, .detached = detached, .running = !detached};
    return id;
}

LaunchResult SimProcessLauncher::startDetached(const std::filesystem::path& program) {
    record(program, true);
    return {};
}

std::optional<ProcessId> SimProcessLauncher::start(const std::filesystem::path& program,
                                                   const std::vector<std::string>& arguments) {
    const ProcessId id = record(program, false);
    processes_[id].arguments = arguments;
    return id;
}

bool SimProcessLauncher::running(ProcessId process) {
    const auto it = processes_.find(process);
    return it != processes_.end() && it->second.running;
}

void SimProcessLauncher::end(ProcessId process, std::chrono::milliseconds) {
    finish(process);
}

bool SimProcessLauncher::setAffinity(ProcessId process, std::uint32_t mask) {
    const auto it = processes_.find(process);
    if (it == processes_.end() || !it->second.running || mask == 0) {
        return false;
    }
    it->second.affinity = mask;
    return true;
}

void SimProcessLauncher::finish(ProcessId process) {
    const auto it = processes_.find(process);
    if (it != processes_.end()) {
        it->second.running = false;
    }
}

}  // namespace calidus
