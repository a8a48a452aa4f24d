#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <thread>

#include "tools/BenchmarkRun.h"

namespace calidus {

// Runs the benchmark on a thread of its own, not pinned to a processor, so that the window
// and the monitoring ticks go on meanwhile. The reports arrive on the window's thread.
class BenchmarkRunner : public QObject {
  public:
    using Progress = std::function<void(int stepsDone)>;
    using Finished = std::function<void(std::optional<BenchmarkResult>)>;

    ~BenchmarkRunner() override;

    bool running() const { return worker_.joinable(); }
    void start(BenchmarkInputs inputs, Progress progress, Finished finished);
    // Asks the run to stop after its current step and waits for it; nothing is reported.
    void stop();

  private:
    std::thread worker_;
    BenchmarkControl* control_ = nullptr;
};

}  // namespace calidus
