#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "measure/RunPart.h"
#include "record/ClockAndLoadSource.h"
#include "record/LogBuffer.h"
#include "record/LogFormat.h"

namespace calidus {

// The log file of a run: a row on every tick whose local second of the day falls on
// "LogInterval", written out on the seconds that also fall on "HDWrite" and at shutdown.
// Rows that cannot be written stay buffered for the next due second.
class TemperatureLog : public RunPart {
  public:
    using Report = std::function<void(const std::string& problem)>;

    // The file goes into `folder` (empty: the current folder); dropped rows go to `report`.
    TemperatureLog(const ClockAndLoadSource& figures, std::filesystem::path folder, Report report,
                   LogBuffer buffer = LogBuffer{});

    void tick(RunContext& run) override;
    void shutDown(RunContext& run) override;

    void addLogRow(RunContext& run, const std::tm& now);
    void writeLog(RunContext& run);

    const LogBuffer& logBuffer() const { return logBuffer_; }

  private:
    LogColumns columns(const RunContext& run) const;

    const ClockAndLoadSource& figures_;
    std::filesystem::path folder_;
    Report report_;
    LogBuffer logBuffer_;
    std::size_t dropped_ = 0;  // since the last write that arrived
};

}  // namespace calidus
