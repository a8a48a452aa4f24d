#include "view/SettingsPending.h"

#include "measure/TemperatureUnits.h"
#include "view/SettingsFieldRules.h"

namespace calidus {

namespace {

constexpr int kDefaultLogSeconds = 5;
constexpr int kGpuAlarmDefault = 100;
constexpr int kXlAlarmDefault = 90;
constexpr std::uint32_t kStandardDefaultModulation = 8;  // off, duty 50 %
constexpr std::uint32_t kXlDefaultModulation = 2;        // off, duty 12.5 %

}  // namespace

SettingsPending SettingsPending::open(const Edition& edition, LiveSettings& live,
                                      const CoreCalibration& cores,
                                      const std::array<bool, CoreCalibration::kSlots>& slotPresent,
                                      std::uint32_t clockModulation) {
    SettingsPending pending;
    pending.taskBarAtOpening = live->taskBar;
    pending.taskBarForced = !live->iconShow.anyIcon(edition);
    if (pending.taskBarForced) {
        live.set(KeyId::TaskBar, 1);
    }
    pending.values = *live;
    pending.cores = cores;
    pending.slotPresent = slotPresent;
    pending.values.clockMod = (clockModulation & kModulationOn) | dutyAtOpening(clockModulation);
    return pending;
}

void SettingsPending::apply(const Edition& edition, LiveSettings& live, CoreCalibration& runCores) {
    for (int slot = 0; slot < edition.coreSlots; ++slot) {
        if (slotPresent[static_cast<std::size_t>(slot)]) {
            runCores.idle[static_cast<std::size_t>(slot)] =
                cores.idle[static_cast<std::size_t>(slot)];
            runCores.tjMax[static_cast<std::size_t>(slot)] =
                cores.tjMax[static_cast<std::size_t>(slot)];
        }
    }
    const Settings& v = values;
    for (int slot = 0; slot < edition.trayIconSlots; ++slot) {
        live.set(KeyId::IconTextColor,
                 static_cast<std::int32_t>(v.iconTextColor[static_cast<std::size_t>(slot)]), slot);
    }
    const auto number = [&live](KeyId id, auto value) {
        live.set(id, static_cast<std::int32_t>(value));
    };
    number(KeyId::GuiColor, v.guiColor);
    number(KeyId::GuiMiniColor, v.guiMiniColor);
    number(KeyId::GuiText, v.guiText);
    number(KeyId::GuiMiniText, v.guiMiniText);
    number(KeyId::GuiNormHead, v.guiNormHead);
    number(KeyId::GuiMiniHead, v.guiMiniHead);
    number(KeyId::NormHeading, v.normHeading);
    number(KeyId::MiniHeading, v.miniHeading);
    number(KeyId::TaskBar, v.taskBar || taskBarForced);
    taskBarAtOpening = v.taskBar || taskBarForced;
    live.set(KeyId::RivaFile, v.rivaFile);
    number(KeyId::ClockMod, v.clockMod);
    number(KeyId::CustomGui, v.customGUI);
    number(KeyId::CustomGuiMini, v.customGUIMini);
    number(KeyId::MinimizeOnClose, v.minimizeOnClose);
    number(KeyId::TmLoad, v.tmLoad);
    number(KeyId::VidInfo, v.vidInfo);
    number(KeyId::LogFile, v.logFile);
    number(KeyId::LogInterval, v.logInterval);
    number(KeyId::Csv, v.csv);
    number(KeyId::StartMinimized, v.startMinimized);
    number(KeyId::TrayInfo, v.trayInfo);
    number(KeyId::Alarm, v.alarm);
    number(KeyId::Alarm1, v.alarm1);
    number(KeyId::Alarm2, v.alarm2);
    live.set(KeyId::AlarmFile, v.alarmFile);
    number(KeyId::OnTop, v.onTop);
}

void SettingsPending::restoreDefaults(const Edition& edition, bool gpuRunning, bool coreI7) {
    for (std::size_t slot = 0; slot < slotPresent.size(); ++slot) {
        if (slotPresent[slot]) {
            cores.idle[slot] = 0;
            cores.tjMax[slot] = cores.defaultTjMax[slot];
        }
    }
    Settings& v = values;
    v.logFile = v.trayInfo = v.startMinimized = v.tmLoad = v.minimizeOnClose = false;
    v.alarm = v.onTop = v.csv = v.customGUI = v.customGUIMini = false;
    v.normHeading = v.miniHeading = false;
    v.taskBar = taskBarForced;
    if (!coreI7) {
        v.vidInfo = false;
    }
    // The alarms compare with temperatures in the display unit.
    const auto inUnit = [&](int celsius) { return toDisplayUnit(celsius, v.fahrenheit, edition); };
    if (edition.isXL()) {
        v.alarm1 = v.alarm2 = inUnit(kXlAlarmDefault);
    } else {
        v.alarm1 = inUnit(cores.defaultTjMax[0]);
        v.alarm2 = gpuRunning ? inUnit(kGpuAlarmDefault) : 0;
    }
    v.alarmFile.clear();
    v.logInterval = kDefaultLogSeconds;
    v.clockMod = edition.isXL() ? kXlDefaultModulation : kStandardDefaultModulation;
}

}  // namespace calidus
