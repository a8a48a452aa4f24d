#include "config/SettingsWriter.h"

#include <string>

#include "config/ProfileFile.h"
#include "config/SettingsPath.h"
#include "config/ValueForm.h"

namespace calidus {

namespace {

constexpr std::string_view kRivaTunerName = "RivaTuner.exe";

class KeyWriter {
  public:
    explicit KeyWriter(ProfileFile& file) : file_(file) {}

    void text(std::string_view key, std::string_view value) {
        file_.write(kSettingsSection, key, value);
    }
    void integer(std::string_view key, long long value) { text(key, std::to_string(value)); }
    void flag(std::string_view key, bool on) { text(key, on ? "1" : "0"); }
    void colour(std::string_view key, ColourRef value) { text(key, formatColour(value)); }

  private:
    ProfileFile& file_;
};

// The settings file of an installed program lives in a folder of the user's configuration home,
// which the first save makes.
bool saveSettingsFile(const ProfileFile& file, const std::filesystem::path& path,
                      const WriteStep& step) {
    return createFolderFor(path) && file.save(path, step);
}

std::string numbered(std::string_view key, int n) {
    return std::string(key) + std::to_string(n);
}

}  // namespace

std::optional<std::filesystem::path> pluginConfigPath(std::string_view rivaFile) {
    if (!rivaFile.ends_with(kRivaTunerName)) {
        return std::nullopt;
    }
    const std::filesystem::path folder(rivaFile.substr(0, rivaFile.size() - kRivaTunerName.size()));
    return folder / "PlugIns" / "Monitoring" / "CLCore.cfg";
}

bool saveSettings(const std::filesystem::path& path, const Edition& edition,
                  const Settings& settings, const SaveContext& context, const WriteStep& step) {
    ProfileFile file = ProfileFile::load(path);
    KeyWriter keys(file);
    const auto pluginPath = pluginConfigPath(settings.rivaFile);
    ProfileFile plugin = pluginPath ? ProfileFile::load(*pluginPath) : ProfileFile{};
    KeyWriter pluginKeys(plugin);

    keys.text("Spec", storedBrand(context.processor.brandString));
    keys.text("RivaFile", settings.rivaFile);
    for (int n = 0; n < edition.coreSlots; ++n) {
        if (!context.slotPresent[n]) {
            continue;
        }
        const std::string idle = formatTenths(context.cores.idle[n]);
        keys.colour(numbered("IconTextColor", n), settings.iconTextColor[n]);
        keys.text(numbered("Idle", n), idle);
        keys.integer(numbered("TjMax", n), context.cores.tjMax[n]);
        pluginKeys.text(numbered("Idle", n), idle);
        pluginKeys.integer(numbered("TjMax", n), context.cores.tjMax[n]);
    }
    const int gpuSlot = edition.trayIconSlots - 1;
    if (context.gpu.any()) {
        keys.colour(numbered("IconTextColor", gpuSlot), settings.iconTextColor[gpuSlot]);
    }
    keys.integer("IconShow", settings.iconShow);
    keys.flag("StartMinimized", settings.startMinimized);
    keys.flag("TaskBar", settings.taskBar);
    keys.flag("OnTop", settings.onTop);
    keys.flag("TrayInfo", settings.trayInfo);
    keys.flag("LogFile", settings.logFile);
    keys.integer("LogInterval", settings.logInterval);
    keys.flag("Alarm", settings.alarm);
    keys.integer("Alarm1", settings.alarm1);
    keys.integer("Alarm2", settings.alarm2);
    keys.flag("CSV", settings.csv);
    keys.text("AlarmFile", settings.alarmFile);
    keys.flag("MinimizeOnClose", settings.minimizeOnClose);
    if (!context.processor.platformInfoClass) {
        keys.flag("VIDInfo", settings.vidInfo);
    }
    keys.integer("ClockMod", settings.clockMod);
    keys.colour("GUIColor", settings.guiColor);
    keys.colour("GUIMiniColor", settings.guiMiniColor);
    keys.colour("GUIText", settings.guiText);
    keys.colour("GUIMiniText", settings.guiMiniText);
    keys.colour("GUINormHead", settings.guiNormHead);
    keys.colour("GUIMiniHead", settings.guiMiniHead);
    keys.flag("NormHeading", settings.normHeading);
    keys.flag("MiniHeading", settings.miniHeading);
    keys.flag("TMLoad", settings.tmLoad);
    keys.flag("CustomGUI", settings.customGUI);
    keys.flag("CustomGUIMini", settings.customGUIMini);
    keys.text("CPUID", formatHex(context.processor.cpuSignature));
    keys.integer("Quality", settings.quality);
    keys.flag("ThreeDigit", settings.threeDigit);
    keys.integer("GPU", (context.gpu.ati ? 2 : 0) + (context.gpu.nvidia ? 1 : 0));
    keys.flag("Fahrenheit", settings.fahrenheit);
    if (edition.hasFontNumberAndBold) {
        keys.integer("FontNumber", settings.fontNumber);
        keys.text("Bold", settings.bold != 0 ? "200" : "0");
    }

    const bool saved = saveSettingsFile(file, path, step);
    if (pluginPath) {
        plugin.save(*pluginPath, step);
    }
    return saved;
}

bool saveOnExit(const std::filesystem::path& path, const ExitState& state, const WriteStep& step) {
    ProfileFile file = ProfileFile::load(path);
    KeyWriter keys(file);
    if (state.windowTopLeft) {
        ScreenPoint corner = *state.windowTopLeft;
        if (state.compositionShift) {
            corner.x -= 5;
            corner.y -= 5;
        }
        keys.integer("WindowXY", packPosition(corner));
    }
    if (state.anchor != ScreenPoint{} || state.previousAnchor != ScreenPoint{}) {
        keys.integer("AnchorXY", packPosition(state.anchor));
    }
    keys.flag("MiniMode", state.miniMode);
    keys.integer("IconShow", state.iconShow);
    if (state.clockModulationRegister) {
        keys.integer("ClockMod", static_cast<std::int32_t>(*state.clockModulationRegister));
    }
    return saveSettingsFile(file, path, step);
}

bool saveFont(const std::filesystem::path& path, const TrayFontKeys& font, const WriteStep& step) {
    ProfileFile file = ProfileFile::load(path);
    KeyWriter keys(file);
    keys.integer("lfHeight", font.lfHeight);
    keys.integer("lfWidth", font.lfWidth);
    keys.integer("lfWeight", font.lfWeight);
    keys.integer("lfItalic", font.lfItalic);
    keys.integer("lfCharSet", font.lfCharSet);
    keys.integer("lfPitchAndFamily", font.lfPitchAndFamily);
    keys.text("lfFaceName", font.lfFaceName);
    return saveSettingsFile(file, path, step);
}

bool saveAtiSensorKeys(const std::filesystem::path& path, const AtiSensorKeys& keysToSave,
                       const WriteStep& step) {
    ProfileFile file = ProfileFile::load(path);
    KeyWriter keys(file);
    keys.integer("PollInterval", keysToSave.pollInterval);
    keys.flag("DisableSensor", keysToSave.disableSensor);
    return saveSettingsFile(file, path, step);
}

}  // namespace calidus
