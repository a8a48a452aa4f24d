#include "tools/SensorTest.h"

#include <algorithm>
#include <numeric>

#include "common/Registers.h"
#include "common/Text.h"
#include "measure/ClockModulation.h"

namespace calidus {

namespace {

constexpr std::uint32_t kModulationOff = 2;
constexpr int kSamples = 40;
constexpr double kMeanOfSamples = 0.025;
constexpr int kHeatUpEnd = 199;
constexpr int kHeatUpLoadFrom = 160;
constexpr int kStatusAfterTick = 19;  // the heat-up status shows from here on at the latest
constexpr int kRiseShown = 4;         // or once the readings fell by more than this on average
constexpr int kLastCheckTick = 521;
constexpr int kStartingMinimum = 100;

// One row of the cool-down test: its sampling ticks, the tick that shows it, and what follows.
struct Phase {
    int firstSample;  // the heat-up row keeps its minimum from tick 1 instead
    int resultTick;
    double nominalLoad;        // loadSum shown when no load figures came; 0: none
    std::uint32_t modulation;  // set after the row; 0 leaves it as it is
    const char* nextStatus;    // nullptr: the test stops
};

// Each measuring row samples 40 ticks after five settling ticks; the modulation words enable
// on-demand modulation (bit 4) with the duty in eighths (bits 3..1).
constexpr std::array<Phase, kSensorTestRows> kPhases{{
    {1, 200, 4000, 30, "Cool Down Test Begins."},
    {206, 246, 3500, 28, "Test #3 Begins."},
    {252, 292, 3000, 26, "Test #4 Begins."},
    {298, 338, 2500, 24, "Test #5 Begins."},
    {344, 384, 2000, 22, "Test #6 Begins."},
    {390, 430, 1500, 20, "Test #7 Begins."},
    {436, 476, 1000, 18, "Test #8 Begins."},
    {482, 522, 500, 0, "Stopping Prime95"},
    {528, 568, 0, kModulationOff, "Final Idle Test Begins"},
    {574, 614, 0, 0, nullptr},
}};
constexpr int kStressRowsEnd = 7;  // the stress program is ended after this row

}  // namespace

SensorTest::SensorTest(SensorTestInputs inputs)
    : in_(std::move(inputs)),
      slots_(in_.edition.coreSlots),
      baseline_(static_cast<std::size_t>(slots_)),
      heatUpMin_(static_cast<std::size_t>(slots_), kStartingMinimum),
      sums_(static_cast<std::size_t>(slots_)),
      stress_(in_.launcher) {
    const std::size_t columns = in_.edition.monitoredCores.size();
    view_.movement.resize(columns);
    for (std::vector<std::string>& row : view_.rows) {
        row.resize(columns);
    }
}

SensorTest::~SensorTest() {
    if (savedModulation_) {
        setModulation(*savedModulation_);
    }
    stress_.end();
}

std::vector<int> SensorTest::readSensors() {
    std::vector<int> readings(static_cast<std::size_t>(slots_));
    for (int slot = 0; slot < slots_; ++slot) {
        const std::uint32_t mask = in_.coreMap.coreMask[static_cast<std::size_t>(slot)];
        if (mask != 0) {
            const MsrValue status = in_.access.readMsr(processorOfMask(mask), msr::kThermStatus);
            readings[static_cast<std::size_t>(slot)] = static_cast<int>((status.low >> 16) & 0x7F);
        }
    }
    return readings;
}

void SensorTest::setModulation(std::uint32_t value) {
    applyClockModulation(in_.access, in_.edition, value);
}

void SensorTest::open() {
    baseline_ = readSensors();
    baselineSum_ = std::accumulate(baseline_.begin(), baseline_.end(), 0);
    std::fill(heatUpMin_.begin(), heatUpMin_.end(), kStartingMinimum);
    view_.stopEnabled = false;
    // Until the movement test has read the sensors again.
    view_.startEnabled = view_.downloadEnabled = false;
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    if (in_.access.readMsr(processorOfMask(in_.access.systemMask()), msr::kClockModulation, low,
                           high)) {
        savedModulation_ = low;
    }
    workload_ = std::make_unique<MovementWorkload>(in_.scheduler, in_.edition,
                                                   in_.access.systemMask(), in_.workloadStep);
}

void SensorTest::finishMovementTest() {
    const std::vector<int> now = readSensors();
    coreCount_ = 0;
    for (int slot = 0; slot < slots_; ++slot) {
        coreCount_ += in_.coreMap.coreMask[static_cast<std::size_t>(slot)] != 0 ? 1 : 0;
    }
    for (std::size_t column = 0; column < view_.movement.size(); ++column) {
        const auto slot = static_cast<std::size_t>(in_.edition.monitoredCores[column]);
        view_.movement[column] = in_.coreMap.coreMask[slot] != 0
                                     ? std::to_string(std::max(baseline_[slot] - now[slot], 0))
                                     : std::string();
    }
    view_.status = "Press Start to begin a 10 minute sensor test.";
    view_.startEnabled = view_.downloadEnabled = true;
}

void SensorTest::prepareStart() {
    std::fill(sums_.begin(), sums_.end(), 0);
    // Each test finds its own heat-up minimum, not the one a test before it left.
    std::fill(heatUpMin_.begin(), heatUpMin_.end(), kStartingMinimum);
    loadSum_ = 0.0;
    tick_ = 0;
    view_.status = "Open Prime95";
    setModulation(kModulationOff);
}

void SensorTest::programNotChosen() {
    view_.status = "Unable to Open Prime95";
}

bool SensorTest::startProgram(const std::filesystem::path& program) {
    if (!stress_.start(program, in_.access.systemMask())) {
        return false;
    }
    running_ = true;
    view_.status = "Run Small FFTs";
    view_.startEnabled = view_.downloadEnabled = false;
    view_.stopEnabled = true;
    for (std::vector<std::string>& row : view_.rows) {
        std::fill(row.begin(), row.end(), std::string());
    }
    std::fill(view_.loads.begin(), view_.loads.end(), std::string());
    return true;
}

std::optional<SensorTestMessage> SensorTest::tick() {
    if (!running_) {
        return std::nullopt;
    }
    const std::vector<int> now = readSensors();
    ++tick_;
    if (tick_ <= kHeatUpEnd) {
        const int sum = std::accumulate(now.begin(), now.end(), 0);
        const int rise = coreCount_ > 0 ? (baselineSum_ - sum) / coreCount_ : 0;
        if (tick_ > kStatusAfterTick || rise > kRiseShown) {
            view_.status = "Heat Up Phase = " + std::to_string(tick_ / 2) + "%";
        }
        for (std::size_t slot = 0; slot < now.size(); ++slot) {
            heatUpMin_[slot] = std::min(heatUpMin_[slot], now[slot]);
        }
        if (tick_ >= kHeatUpLoadFrom) {
            loadSum_ += in_.averageLoad();
        }
    }
    for (int row = 1; row < kSensorTestRows; ++row) {
        const Phase& phase = kPhases[static_cast<std::size_t>(row)];
        const int sample = tick_ - phase.firstSample + 1;
        if (sample >= 1 && sample <= kSamples) {
            for (std::size_t slot = 0; slot < now.size(); ++slot) {
                sums_[slot] += now[slot];
            }
            loadSum_ += in_.averageLoad();
            view_.status = "Test #" + std::to_string(row + 1) + " = " + std::to_string(sample);
        }
    }
    for (int row = 0; row < kSensorTestRows; ++row) {
        if (tick_ == kPhases[static_cast<std::size_t>(row)].resultTick) {
            finishRow(row);
        }
    }
    if (!running_) {
        return std::nullopt;
    }
    if (tick_ == 1 && !stress_.alive()) {
        stop();
        return SensorTestMessage{"Error",
                                 "Prime 95 may already be open.\n\nExit Prime 95 before starting "
                                 "the\nCPU Cool Down Test."};
    }
    if (tick_ >= 3 && tick_ <= kLastCheckTick && tick_ % 2 == 1 && !stress_.alive()) {
        stop();
        return SensorTestMessage{"Error", "Prime 95 was Cancelled."};
    }
    return std::nullopt;
}

void SensorTest::finishRow(int row) {
    const Phase& phase = kPhases[static_cast<std::size_t>(row)];
    std::vector<std::string>& shown = view_.rows[static_cast<std::size_t>(row)];
    for (std::size_t column = 0; column < shown.size(); ++column) {
        const auto slot = static_cast<std::size_t>(in_.edition.monitoredCores[column]);
        if (in_.coreMap.coreMask[slot] == 0) {
            continue;
        }
        shown[column] = fixedText(
            row == 0 ? static_cast<double>(heatUpMin_[slot]) : sums_[slot] * kMeanOfSamples, 1);
    }
    // Without load figures the row shows the duty cycle it ran at.
    if (static_cast<long long>(loadSum_) == 0 && phase.nominalLoad > 0) {
        loadSum_ = phase.nominalLoad;
    }
    view_.loads[static_cast<std::size_t>(row)] = fixedText(loadSum_ * kMeanOfSamples, 1) + "%";
    loadSum_ = 0.0;
    std::fill(sums_.begin(), sums_.end(), 0);
    if (phase.nextStatus == nullptr) {
        stop();
        return;
    }
    if (phase.modulation != 0) {
        setModulation(phase.modulation);
    }
    view_.status = phase.nextStatus;
    if (row == kStressRowsEnd) {
        stress_.end();
    }
}

void SensorTest::stop() {
    running_ = false;
    if (savedModulation_) {
        setModulation(*savedModulation_);
    }
    stress_.end();
    view_.status = view_.rows.back().front().empty() ? "CPU Cool Down Test Stopped."
                                                     : "CPU Cool Down Test Completed";
    view_.startEnabled = view_.downloadEnabled = true;
    view_.stopEnabled = false;
}

void SensorTest::download() {
    view_.status = "Step 3. Download Prime95 for your operating system:";
}

}  // namespace calidus
