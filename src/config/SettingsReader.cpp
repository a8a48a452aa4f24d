#include "config/SettingsReader.h"

#include <string>

#include "cpu/TjMaxSelection.h"

namespace calidus {

namespace {

constexpr std::size_t kDegreeSymbolLength = 11;
constexpr std::size_t kFaceNameLength = 31;

class KeyReader {
  public:
    explicit KeyReader(const ProfileFile& file) : file_(file) {}

    int integer(std::string_view key, int defaultValue) const {
        return file_.readInt(kSettingsSection, key, defaultValue);
    }
    bool flag(std::string_view key) const { return integer(key, 0) != 0; }
    ColourRef colour(std::string_view key, ColourRef defaultValue) const {
        return static_cast<ColourRef>(integer(key, static_cast<int>(defaultValue))) & 0xFFFFFFu;
    }
    std::string text(std::string_view key, std::size_t maxChars = ProfileFile::kTextLength) const {
        return file_.readText(kSettingsSection, key, {}, maxChars);
    }

  private:
    const ProfileFile& file_;
};

std::string numbered(std::string_view key, int n) {
    return std::string(key) + std::to_string(n);
}

bool within(int value, int low, int high) {
    return value >= low && value <= high;
}

int correctedAlarm(int value, int ceiling, bool negativeBecomesCeiling) {
    if (value > ceiling || (negativeBecomesCeiling && value < 0)) {
        return ceiling;
    }
    return value;
}

}  // namespace

TrayFontSettings loadTrayFont(const ProfileFile& file) {
    const KeyReader keys(file);
    TrayFontSettings result;
    TrayFontKeys& font = result.font;
    font.lfHeight = keys.integer("lfHeight", font.lfHeight);
    font.lfWidth = keys.integer("lfWidth", font.lfWidth);
    font.lfWeight = keys.integer("lfWeight", font.lfWeight);
    font.lfItalic = static_cast<std::uint8_t>(keys.integer("lfItalic", font.lfItalic));
    font.lfCharSet = static_cast<std::uint8_t>(keys.integer("lfCharSet", font.lfCharSet));
    font.lfPitchAndFamily =
        static_cast<std::uint8_t>(keys.integer("lfPitchAndFamily", font.lfPitchAndFamily));
    font.lfFaceName =
        file.readText(kSettingsSection, "lfFaceName", font.lfFaceName, kFaceNameLength);
    // A negative value would name none of the four rendering choices.
    const int quality = keys.integer("Quality", 0);
    result.quality = quality > 3 ? 3 : (quality < 0 ? 0 : quality);
    return result;
}

bool readMsrMulti(const ProfileFile& file) {
    return KeyReader(file).flag("MSRMulti");
}

int readSkull(const ProfileFile& file, const Edition& edition) {
    return edition.hasSkull ? KeyReader(file).integer("Skull", 0) : 0;
}

int readGpuSelection(const ProfileFile& file) {
    return KeyReader(file).integer("GPU", 0);
}

AtiSensorKeys readAtiSensorKeys(const ProfileFile& file) {
    const KeyReader keys(file);
    AtiSensorKeys result;
    const int pollInterval = keys.integer("PollInterval", 5);
    result.pollInterval = within(pollInterval, 1, 3600) ? pollInterval : 5;
    result.disableSensor = keys.flag("DisableSensor");
    return result;
}

int headingCpuNumberAfterUnitChange(const ProfileFile& file, const Edition& edition) {
    if (!edition.hasSkull) {
        return 0;
    }
    const int skull = KeyReader(file).integer("Skull", 0);
    return skull > 2 ? 0 : skull;
}

StartupSettings loadSettings(const ProfileFile& file, const Edition& edition,
                             const StartupInputs& inputs) {
    const KeyReader keys(file);
    StartupSettings result;
    Settings& s = result.settings;

    const TrayFontSettings trayFont = loadTrayFont(file);
    s.trayFont = trayFont.font;
    s.quality = trayFont.quality;
    s.msrMulti = readMsrMulti(file);

    s.rivaFile = keys.text("RivaFile");

    result.killMHz = inputs.killMHz;
    if (edition.hasKillMHz) {
        s.killMHz = keys.integer("KillMHz", 0);
        result.killMHz = killMHzAfterSetting(inputs.killMHz, s.killMHz);
    }

    s.spec = keys.text("Spec");
    s.cpuid = static_cast<std::uint32_t>(keys.integer("CPUID", 0));
    result.processorChanged = processorChanged(s.spec, s.cpuid, inputs.processor.brandString,
                                               inputs.processor.cpuSignature);

    s.skull = readSkull(file, edition);

    s.gpu = readGpuSelection(file);
    if (inputs.gpu.ati) {
        const AtiSensorKeys ati = readAtiSensorKeys(file);
        s.pollInterval = ati.pollInterval;
        s.disableSensor = ati.disableSensor;
    }
    s.fahrenheit = keys.flag("Fahrenheit");
    s.threeDigit = keys.flag("ThreeDigit");
    s.degreeSymbolString = keys.text("DegreeSymbolString", kDegreeSymbolLength);
    result.cores = inputs.cores;
    const CoreSettings coreKeys{
        .tjMax = [&keys](int n) { return keys.integer(numbered("TjMax", n), 0); },
        .idleTenths = [&keys](int n) { return idleTenths(keys.text(numbered("Idle", n))); },
    };
    applyCoreSettings(result.cores, result.processorChanged, coreKeys, edition);

    const int logInterval = keys.integer("LogInterval", 5);
    s.logInterval = within(logInterval, 1, 86400) && 86400 % logInterval == 0 ? logInterval : 5;
    s.logFile = keys.flag("LogFile");
    s.trayInfo = keys.flag("TrayInfo");
    s.minimizeOnClose = keys.flag("MinimizeOnClose");
    s.alarm = keys.flag("Alarm");
    const AlarmRules& alarms = edition.alarmRules;
    s.alarm1 =
        correctedAlarm(keys.integer("Alarm1", alarms.defaults.in(s.fahrenheit)),
                       alarms.processorCeiling.in(s.fahrenheit), alarms.negativeBecomesCeiling);
    s.alarm2 =
        inputs.gpu.any()
            ? correctedAlarm(keys.integer("Alarm2", alarms.defaults.in(s.fahrenheit)),
                             alarms.gpuCeiling.in(s.fahrenheit), alarms.negativeBecomesCeiling)
            : alarms.gpuWithoutSource.in(s.fahrenheit);
    // Below one second the buffered log rows would be written on every tick or never.
    const int hdWrite = keys.integer("HDWrite", 60);
    s.hdWrite = hdWrite < 1 ? 1 : (hdWrite > 86400 ? 86400 : hdWrite);
    if (edition.hasRefreshInterval) {
        const int refresh = keys.integer("RefreshInterval", 1000);
        s.refreshInterval = within(refresh, 100, 20000) ? refresh : 1000;
    }
    if (!inputs.processor.platformInfoClass) {
        s.vidInfo = keys.flag("VIDInfo");
    }
    s.tmLoad = keys.flag("TMLoad");
    for (int n = 0; n < edition.trayIconSlots; ++n) {
        s.iconTextColor[n] = keys.colour(numbered("IconTextColor", n), 0xFFFFFF);
    }
    const auto clockMod = static_cast<std::uint32_t>(keys.integer("ClockMod", 2));
    s.clockMod = clockMod >= 1 && clockMod <= 30 ? clockMod : 2;
    if (edition.hasOldFormula) {
        s.oldFormula = keys.integer("OldFormula", 0);
    }

    s.windowXY = keys.integer("WindowXY", 0);
    s.anchorXY = keys.integer("AnchorXY", 0);

    s.miniMode = keys.flag("MiniMode");
    s.taskBar = keys.flag("TaskBar");
    s.startMinimized = keys.flag("StartMinimized");
    s.csv = keys.flag("CSV");
    s.onTop = keys.flag("OnTop");
    s.alarmFile = keys.text("AlarmFile");
    s.guiColor = keys.colour("GUIColor", s.guiColor);
    s.guiMiniColor = keys.colour("GUIMiniColor", s.guiMiniColor);
    s.guiText = keys.colour("GUIText", s.guiText);
    s.guiMiniText = keys.colour("GUIMiniText", s.guiMiniText);
    s.guiNormHead = keys.colour("GUINormHead", s.guiNormHead);
    s.guiMiniHead = keys.colour("GUIMiniHead", s.guiMiniHead);
    s.customGUI = keys.flag("CustomGUI");
    s.customGUIMini = keys.flag("CustomGUIMini");
    s.normHeading = keys.flag("NormHeading");
    s.miniHeading = keys.flag("MiniHeading");
    s.iconShow = keys.integer("IconShow", 1);
    if (!inputs.gpu.any()) {
        s.iconShow &= ~(1 << (edition.trayIconSlots - 1));
    }

    if (edition.hasFontNumberAndBold) {
        const int fontNumber = keys.integer("FontNumber", 0);
        s.fontNumber = within(fontNumber, 0, 3) ? fontNumber : 0;
        s.bold = keys.flag("Bold") ? 200 : 0;
    }
    return result;
}

}  // namespace calidus
