#include "platform/sim/SimScheduler.h"

namespace calidus {

SimScheduler::SimScheduler(std::shared_ptr<SimMachine> machine, std::unique_ptr<Scheduler> host)
    : machine_(std::move(machine)), host_(std::move(host)) {}

AffinityMasks SimScheduler::affinityMasks() {
    return machine_->affinity().masks();
}

bool SimScheduler::setProcessAffinity(std::uint32_t mask) {
    return machine_->affinity().setProcessMask(mask);
}

bool SimScheduler::setThreadAffinity(std::uint32_t mask) {
    return machine_->affinity().setThreadMask(mask);
}

void SimScheduler::setProcessPriority(ProcessPriority priority) {
    host_->setProcessPriority(priority);
}

void SimScheduler::setThreadPriority(ThreadPriority priority) {
    host_->setThreadPriority(priority);
}

void SimScheduler::sleep(std::chrono::milliseconds duration) {
    host_->sleep(duration);
}

}  // namespace calidus
