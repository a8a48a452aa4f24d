#include "record/TemperatureLog.h"

#include <utility>

#include "record/LogFileAppend.h"

namespace calidus {

TemperatureLog::TemperatureLog(const ClockAndLoadSource& figures, std::filesystem::path folder,
                               Report report, LogBuffer buffer)
    : figures_(figures),
      folder_(std::move(folder)),
      report_(std::move(report)),
      logBuffer_(std::move(buffer)) {}

void TemperatureLog::tick(RunContext& run) {
    if (run.settings.logFile) {
        addLogRow(run, run.platform.clock->localTime(run.state.tickTime));
    }
}

void TemperatureLog::shutDown(RunContext& run) {
    if (run.settings.logFile) {
        writeLog(run);
    }
}

LogColumns TemperatureLog::columns(const RunContext& run) const {
    LogColumns columns{.cores = {}, .gpu = run.state.gpuPresent};
    for (const int core : run.edition.monitoredCores) {
        if (run.config.corePresent(core)) {
            columns.cores.push_back(core);
        }
    }
    return columns;
}

void TemperatureLog::addLogRow(RunContext& run, const std::tm& now) {
    const int second = now.tm_hour * 3600 + now.tm_min * 60 + now.tm_sec;
    if (second % run.settings.logInterval != 0) {
        return;
    }
    LogRowValues values{.time = now,
                        .coreMHz = figures_.coreMHz(),
                        .temperatures = {},
                        .gpu = {},
                        .load = figures_.currentLoad()};
    for (const int core : columns(run).cores) {
        values.temperatures.push_back(run.state.cores[static_cast<std::size_t>(core)].temperature);
    }
    if (run.state.gpuPresent) {
        values.gpu = run.state.gpu.temperature;
    }
    if (logBuffer_.append(formatLogRow(values)) && dropped_++ == 0) {
        report_(std::string(run.edition.programName) +
                ": the log file cannot be written; its oldest unwritten rows are being dropped");
    }
    if (second % run.settings.hdWrite == 0) {
        writeLog(run);
    }
}

void TemperatureLog::writeLog(RunContext& run) {
    if (logBuffer_.empty()) {
        return;
    }
    const bool csv = run.settings.csv;
    const std::filesystem::path file = folder_ / (csv ? "CalidusLog.csv" : "CalidusLog.txt");
    if (appendToLogFile(file, logFileText(logHeader(run.edition, columns(run), csv), csv),
                        logFileText(logBuffer_.text(), csv))) {
        logBuffer_.clear();
        if (dropped_ != 0) {
            report_(std::string(run.edition.programName) + ": the log file is written again; " +
                    std::to_string(dropped_) + " rows were dropped");
            dropped_ = 0;
        }
    }
}

}  // namespace calidus
