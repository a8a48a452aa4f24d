#include "platform/sim/ThreadAffinity.h"

#include <bit>

namespace calidus {

namespace {

std::uint32_t allProcessors(int processors) {
    return processors >= 32 ? 0xFFFFFFFFu : (1u << processors) - 1;
}

}  // namespace

ThreadAffinity::ThreadAffinity(int processors)
    : systemMask_(allProcessors(processors)), processMask_(systemMask_) {}

AffinityMasks ThreadAffinity::masks() const {
    const std::lock_guard lock(mutex_);
    return {processMask_, systemMask_};
}

bool ThreadAffinity::setProcessMask(std::uint32_t mask) {
    const std::lock_guard lock(mutex_);
    if (mask == 0 || (mask & ~systemMask_) != 0) {
        return false;
    }
    const int before = processorOf(std::this_thread::get_id());
    processMask_ = mask;
    threadMasks_.clear();
    countMove(before);
    return true;
}

bool ThreadAffinity::setThreadMask(std::uint32_t mask) {
    const std::lock_guard lock(mutex_);
    if (mask == 0 || (mask & ~processMask_) != 0) {
        return false;
    }
    const int before = processorOf(std::this_thread::get_id());
    threadMasks_[std::this_thread::get_id()] = mask;
    countMove(before);
    return true;
}

int ThreadAffinity::currentProcessor() const {
    const std::lock_guard lock(mutex_);
    return processorOf(std::this_thread::get_id());
}

int ThreadAffinity::migrations() const {
    const std::lock_guard lock(mutex_);
    const auto it = migrations_.find(std::this_thread::get_id());
    return it == migrations_.end() ? 0 : it->second;
}

void ThreadAffinity::countMove(int before) {
    if (processorOf(std::this_thread::get_id()) != before) {
        ++migrations_[std::this_thread::get_id()];
    }
}

int ThreadAffinity::processorOf(std::thread::id thread) const {
    const auto it = threadMasks_.find(thread);
    return std::countr_zero(it == threadMasks_.end() ? processMask_ : it->second);
}

}  // namespace calidus
