#include "config/SettingsWriter.h"

#include <string>

#include "config/ProfileFile.h"
#include "config/SettingsKeyTable.h"
#include "config/SettingsPath.h"

namespace calidus {

namespace {

constexpr std::string_view kRivaTunerName = "RivaTuner.exe";

// The settings file of an installed program lives in a folder of the user's configuration home,
// which the first save makes.
ReplaceResult saveSettingsFile(const ProfileFile& file, const std::filesystem::path& path,
                               const WriteStep& step) {
    if (!createFolderFor(path)) {
        return {ReplaceFailure::FolderMissing, {}};
    }
    return file.save(path, step);
}

// The exit, font and ATI keys are alike in both editions, so their writers take the standard
// edition's table.
ReplaceResult writeKeys(const std::filesystem::path& path, Writer writer, const Settings& values,
                        const KeyContext& context, const WriteStep& step) {
    ProfileFile file = ProfileFile::load(path);
    SettingsKeyTable::of(context.edition).write(file, writer, values, {}, context);
    return saveSettingsFile(file, path, step);
}

}  // namespace

std::optional<std::filesystem::path> pluginConfigPath(std::string_view rivaFile) {
    if (!rivaFile.ends_with(kRivaTunerName)) {
        return std::nullopt;
    }
    const std::filesystem::path folder(rivaFile.substr(0, rivaFile.size() - kRivaTunerName.size()));
    return folder / "PlugIns" / "Monitoring" / "CLCore.cfg";
}

ReplaceResult saveSettings(const std::filesystem::path& path, const Edition& edition,
                           const Settings& settings, const SaveContext& context,
                           const WriteStep& step) {
    Settings values = settings;
    values.spec = storedBrand(context.processor.brandString);
    values.cpuid = context.processor.cpuSignature;
    values.gpu = (context.gpu.ati ? 2 : 0) + (context.gpu.nvidia ? 1 : 0);
    const KeyContext keyContext{.edition = edition,
                                .gpu = context.gpu,
                                .coreI7 = context.processor.platformInfoClass,
                                .slotPresent = context.slotPresent};
    const SettingsKeyTable& table = SettingsKeyTable::of(edition);

    ProfileFile file = ProfileFile::load(path);
    table.write(file, Writer::Ok, values, context.cores, keyContext);
    ReplaceResult saved = saveSettingsFile(file, path, step);
    if (const auto pluginPath = pluginConfigPath(settings.rivaFile);
        pluginPath && context.pluginAllowed) {
        ProfileFile plugin = ProfileFile::load(*pluginPath);
        table.write(plugin, Writer::Plugin, values, context.cores, keyContext);
        plugin.save(*pluginPath, step);
    }
    return saved;
}

ReplaceResult saveOnExit(const std::filesystem::path& path, const ExitState& state,
                         const WriteStep& step) {
    Settings values;
    if (state.windowTopLeft) {
        ScreenPoint corner = *state.windowTopLeft;
        if (state.compositionShift) {
            corner.x -= 5;
            corner.y -= 5;
        }
        values.windowXY = packPosition(corner);
    }
    values.anchorXY = packPosition(state.anchor);
    values.miniMode = state.miniMode;
    values.iconShow = state.iconShow;
    values.clockMod = state.clockModulationRegister.value_or(0);
    return writeKeys(
        path, Writer::Exit, values,
        {.edition = Edition::standard(),
         .windowRecorded = state.windowTopLeft.has_value(),
         .anchorSet = state.anchor != ScreenPoint{} || state.previousAnchor != ScreenPoint{},
         .clockModulationRead = state.clockModulationRegister.has_value()},
        step);
}

ReplaceResult saveFont(const std::filesystem::path& path, const TrayFontKeys& font,
                       const WriteStep& step) {
    Settings values;
    values.trayFont = font;
    return writeKeys(path, Writer::Font, values, {.edition = Edition::standard()}, step);
}

ReplaceResult saveAtiSensorKeys(const std::filesystem::path& path, const AtiSensorKeys& keys,
                                const WriteStep& step) {
    Settings values;
    values.pollInterval = keys.pollInterval;
    values.disableSensor = keys.disableSensor;
    return writeKeys(path, Writer::GpuWindow, values, {.edition = Edition::standard()}, step);
}

}  // namespace calidus
