#pragma once

#include <atomic>
#include <system_error>
#include <thread>
#include <utility>

#include "measure/ThreadControl.h"

namespace calidus {

// A thread of the stop handshake. Its flag reads running before the thread exists, so a stop
// asked for at once is seen; the thread writes stopped at its end. Whatever owns the objects the
// thread uses joins it before they go.
class WorkerThread {
  public:
    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    // A thread nobody stopped is asked to now.
    ~WorkerThread() {
        if (thread_.joinable()) {
            int running = ThreadControl::kRunning;
            flag_->compare_exchange_strong(running, ThreadControl::kStopRequested);
        }
        join();
    }

    // False, and the flag stopped, when the system has no thread to give.
    template <typename Body>
    bool start(std::atomic<int>& flag, Body&& body) {
        flag_ = &flag;
        flag.store(ThreadControl::kRunning);
        try {
            thread_ = std::thread(std::forward<Body>(body));
        } catch (const std::system_error&) {
            flag.store(ThreadControl::kStopped);
            return false;
        }
        return true;
    }

    void join() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

  private:
    std::atomic<int>* flag_ = nullptr;
    std::thread thread_;
};

}  // namespace calidus
