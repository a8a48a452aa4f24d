#pragma once

#include <atomic>

namespace calidus {

// What the rest of the run needs to know of the benchmark: whether it runs, and the Reset
// button's request to stop it (the button is "Cancel" while it runs).
class BenchmarkControl {
  public:
    bool running() const { return running_.load(std::memory_order_relaxed); }
    void setRunning(bool running) {
        running_.store(running, std::memory_order_relaxed);
        if (running) {
            stopRequested_.store(false, std::memory_order_relaxed);
        }
    }
    void requestStop() { stopRequested_.store(true, std::memory_order_relaxed); }
    bool stopRequested() const { return stopRequested_.load(std::memory_order_relaxed); }

  private:
    std::atomic<bool> running_{false};
    std::atomic<bool> stopRequested_{false};
};

}  // namespace calidus
