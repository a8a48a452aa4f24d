#include "ui/BenchmarkRunner.h"

#include <QMetaObject>

namespace calidus {

BenchmarkRunner::~BenchmarkRunner() {
    stop();
}

void BenchmarkRunner::start(BenchmarkInputs inputs, Progress progress, Finished finished) {
    control_ = &inputs.control;
    worker_ = std::thread([this, inputs = std::move(inputs), progress = std::move(progress),
                           finished = std::move(finished)] {
        const std::optional<BenchmarkResult> result = runBenchmark(inputs, [&](int steps) {
            QMetaObject::invokeMethod(
                this,
                [this, progress, steps] {
                    if (worker_.joinable()) {
                        progress(steps);
                    }
                },
                Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(
            this,
            [this, finished, result] {
                // A run that stop() has already waited for reports nothing.
                if (!worker_.joinable()) {
                    return;
                }
                worker_.join();
                finished(result);
            },
            Qt::QueuedConnection);
    });
}

void BenchmarkRunner::stop() {
    if (!worker_.joinable()) {
        return;
    }
    control_->requestStop();
    worker_.join();
}

}  // namespace calidus
