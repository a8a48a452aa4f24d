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
    migrations_ += processorOf(std::this_thread::get_id()) != before ? 1 : 0;
    return true;
}

bool ThreadAffinity::setThreadMask(std::uint32_t mask) {
    const std::lock_guard lock(mutex_);
    if (mask == 0 || (mask & ~processMask_) != 0) {
        return false;
    }
    const int before = processorOf(std::this_thread::get_id());
    threadMasks_[std::this_thread::get_id()] = mask;
    migrations_ += processorOf(std::this_thread::get_id()) != before ? 1 : 0;
    return true;
}

int ThreadAffinity::currentProcessor() const {
    const std::lock_guard lock(mutex_);
    return processorOf(std::this_thread::get_id());
}

int ThreadAffinity::migrations() const {
    const std::lock_guard lock(mutex_);
    return migrations_;
}

int ThreadAffinity::processorOf(std::thread::id thread) const {
    const auto it = threadMasks_.find(thread);
    return std::countr_zero(it == threadMasks_.end() ? processMask_ : it->second);
}

}  // namespace calidus
