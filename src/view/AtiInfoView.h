#pragma once

#include <string>
#include <string_view>

#include "config/LiveSettings.h"
#include "config/SettingsReader.h"
#include "gpu/AtiSensor.h"
#include "platform/Clock.h"
#include "view/GpuInfoTexts.h"

namespace calidus {

// Every text of the "ATI Info" window.
struct AtiInfoTexts {
    std::string adapterName;
    std::string minimumCaption;
    std::string maximumCaption;
    std::string temperatureCaption;
    ExtremeTexts minimum;
    ExtremeTexts maximum;
    std::string temperature;
    std::string coreClock;
    std::string memoryClock;
    std::string voltage;
    std::string linkWidth;
    std::string period;
    std::string gpuButton;
};

// The "ATI Info" window without its widgets: the adapter it shows, what each field says, and
// what its controls do to the ATI source. The read period and the freeze switch the source
// follows are the run's "PollInterval" and "DisableSensor"; the window keeps its own copies,
// which it saves when it closes.
class AtiInfoView {
  public:
    AtiInfoView(LiveSettings& settings, Clock& clock);

    // Opening: the first adapter that ever answered, the captions, the period and the switch.
    void open(const AtiSensor& sensor);
    // Every timer tick: a new reading on multiples of the period, else only what is shown.
    void refresh(const AtiSensor& sensor);
    // The GPU button: steps to the next adapter that answered; false when the window is to
    // close instead (one adapter index or none).
    bool stepGpu(AtiSensor& sensor);
    void setFrozen(AtiSensor& sensor, bool frozen);
    // The period field lost the focus: its text, corrected, becomes the read period.
    void periodEdited(std::string_view text);
    // The right-click "Reset".
    void reset(AtiSensor& sensor);

    const AtiInfoTexts& texts() const { return texts_; }
    int adapter() const { return adapter_; }
    bool frozen() const { return frozen_; }
    bool periodEnabled() const { return !frozen_; }
    // What closing the window saves.
    AtiSensorKeys keysToSave() const { return {.pollInterval = period_, .disableSensor = frozen_}; }

  private:
    void makeCaptions();
    void clearReadings();
    void clearActivity();

    LiveSettings& settings_;
    Clock& clock_;
    AtiInfoTexts texts_;
    int adapter_ = 0;
    int gpuNumber_ = 1;
    std::string captionUnit_;
    int period_ = 5;
    bool frozen_ = false;
    bool refreshNow_ = false;
};

// The period field's text as seconds: no number is 1, above 3600 is 3600.
int correctedReadPeriod(std::string_view text);

}  // namespace calidus
