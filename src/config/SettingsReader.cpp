#include "config/SettingsReader.h"

#include "config/SettingsKeyTable.h"
#include "cpu/TjMaxSelection.h"

namespace calidus {

namespace {

// The font keys, "MSRMulti", "GPU" and the ATI keys are alike in both editions.
const SettingsKeyTable& commonKeys() {
    return SettingsKeyTable::of(Edition::standard());
}

std::int32_t readNumber(const ProfileFile& file, const SettingsKey& key,
                        const KeyContext& context) {
    return std::get<std::int32_t>(key.read(file, context));
}

// The corrected number, or 0 when the edition has no such key.
std::int32_t readNumber(const ProfileFile& file, const Edition& edition, KeyId id) {
    const SettingsKey* key = SettingsKeyTable::of(edition).find(id);
    return key != nullptr ? readNumber(file, *key, {.edition = edition}) : 0;
}

void readKeys(const ProfileFile& file, const SettingsKeyTable& table,
              std::initializer_list<KeyId> ids, const KeyContext& context, Settings& settings) {
    CoreCalibration unused;
    for (const KeyId id : ids) {
        const SettingsKey& key = *table.find(id);
        key.assign(settings, unused, key.read(file, context));
    }
}

}  // namespace

TrayFontSettings loadTrayFont(const ProfileFile& file) {
    Settings read;
    readKeys(file, commonKeys(),
             {KeyId::LfHeight, KeyId::LfWidth, KeyId::LfWeight, KeyId::LfItalic, KeyId::LfCharSet,
              KeyId::LfPitchAndFamily, KeyId::LfFaceName, KeyId::Quality},
             {.edition = Edition::standard()}, read);
    return {read.trayFont, read.quality};
}

bool readMsrMulti(const ProfileFile& file) {
    return readNumber(file, Edition::standard(), KeyId::MsrMulti) != 0;
}

int readSkull(const ProfileFile& file, const Edition& edition) {
    return readNumber(file, edition, KeyId::Skull);
}

int readGpuSelection(const ProfileFile& file) {
    return readNumber(file, Edition::standard(), KeyId::Gpu);
}

AtiSensorKeys readAtiSensorKeys(const ProfileFile& file) {
    Settings read;
    readKeys(file, commonKeys(), {KeyId::PollInterval, KeyId::DisableSensor},
             {.edition = Edition::standard()}, read);
    return {read.pollInterval, read.disableSensor};
}

int headingCpuNumberAfterUnitChange(const ProfileFile& file, const Edition& edition) {
    const int skull = readSkull(file, edition);
    return skull > 2 ? 0 : skull;
}

StartupSettings loadSettings(const ProfileFile& file, const Edition& edition,
                             const StartupInputs& inputs) {
    const SettingsKeyTable& table = SettingsKeyTable::of(edition);
    StartupSettings result;
    result.cores = inputs.cores;
    for (int n = 0; n < edition.coreSlots; ++n) {
        result.cores.defaultTjMax[n] = result.cores.tjMax[n];
        result.cores.idle[n] = 0;
    }

    KeyContext context{.edition = edition,
                       .gpu = inputs.gpu,
                       .coreI7 = inputs.processor.platformInfoClass,
                       .identifiedTjMax = inputs.cores.tjMax};
    // Keys that others depend on: the alarms follow the unit, and the per-core keys are read
    // only on the processor the file was saved on.
    context.fahrenheit = readNumber(file, *table.find(KeyId::Fahrenheit), context) != 0;
    const auto spec = std::get<std::string>(table.find(KeyId::Spec)->read(file, context));
    const auto cpuid =
        static_cast<std::uint32_t>(readNumber(file, *table.find(KeyId::Cpuid), context));
    context.processorChanged =
        processorChanged(spec, cpuid, inputs.processor.brandString, inputs.processor.cpuSignature);

    for (const SettingsKey& key : table.keys()) {
        if (context.holds(key.readWhen, key.slot)) {
            key.assign(result.settings, result.cores, key.read(file, context));
        }
    }
    result.processorChanged = context.processorChanged;
    result.killMHz = edition.hasKillMHz
                         ? killMHzAfterSetting(inputs.killMHz, result.settings.killMHz)
                         : inputs.killMHz;
    return result;
}

}  // namespace calidus
