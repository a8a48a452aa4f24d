#include "config/SettingsKeyTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/ScreenPosition.h"
#include "config/SettingsReader.h"
#include "config/SettingsWriter.h"
#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;

constexpr std::string_view kBrand = "Intel(R) Core(TM)2 Quad CPU    Q9550  @ 2.83GHz";
constexpr std::uint32_t kSignature = 0x1067A;

// A value the reader keeps as it is and that differs from the key's default; numbers differ from
// key to key where the corrections allow, so that two keys sharing a field show.
KeyValue sample(const SettingsKey& key, int index, const KeyContext& context) {
    if (key.isText()) {
        return key.name.substr(0, std::min<std::size_t>(key.maxChars, key.name.size()));
    }
    if (key.form == KeyForm::Flag) {
        return std::int32_t{1};
    }
    for (const std::int32_t value : {40 + index, 3, 90, 200}) {
        const bool kept = key.correction == nullptr || key.correction(value, key, context) == value;
        if (kept && value != key.defaultValue.in(context.fahrenheit)) {
            return value;
        }
    }
    ADD_FAILURE() << "no sample for " << key.name;
    return std::int32_t{0};
}

TEST(SettingsKeyTable, EveryKeyOfBothEditionsComesBackFromItsWriterOrByHand) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        const SettingsKeyTable& table = SettingsKeyTable::of(*edition);
        const GpuSourcesRunning gpu{.ati = true, .nvidia = true};
        StartupInputs inputs;
        inputs.processor = {kBrand, kSignature, false};
        inputs.gpu = gpu;
        KeyContext context{.edition = *edition,
                           .fahrenheit = true,
                           .gpu = gpu,
                           .identifiedTjMax = inputs.cores.tjMax};

        Settings written;
        CoreCalibration cores = inputs.cores;
        ProfileFile byHand;
        std::vector<KeyValue> samples;
        for (const SettingsKey& key : table.keys()) {
            KeyValue value = sample(key, static_cast<int>(samples.size()), context);
            // What the writers take from the running program rather than from the settings.
            if (key.id == KeyId::Spec) {
                value = std::string(kBrand);
            } else if (key.id == KeyId::Cpuid) {
                value = static_cast<std::int32_t>(kSignature);
            } else if (key.id == KeyId::Gpu) {
                value = std::int32_t{3};
            }
            key.assign(written, cores, value);
            if (key.writers == Writer::Never) {
                byHand.write(kSettingsSection, key.name, key.format(value));
            }
            samples.push_back(value);
        }

        TempFolder folder;
        const auto path = folder / "Calidus.ini";
        ASSERT_TRUE(byHand.save(path));
        SaveContext running{.processor = inputs.processor, .cores = cores, .gpu = gpu};
        running.slotPresent.fill(true);
        ASSERT_TRUE(saveSettings(path, *edition, written, running));
        ExitState exit;
        exit.windowTopLeft = unpackPosition(written.windowXY);
        exit.anchor = unpackPosition(written.anchorXY);
        exit.miniMode = written.miniMode;
        exit.iconShow = written.iconShow;
        exit.clockModulationRegister = written.clockMod;
        ASSERT_TRUE(saveOnExit(path, exit));
        ASSERT_TRUE(saveFont(path, written.trayFont));
        ASSERT_TRUE(saveAtiSensorKeys(path, {written.pollInterval, written.disableSensor}));

        const StartupSettings read = loadSettings(ProfileFile::load(path), *edition, inputs);
        EXPECT_FALSE(read.processorChanged);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const SettingsKey& key = table.keys()[i];
            EXPECT_EQ(key.valueIn(read.settings, read.cores), samples[i])
                << edition->programName << " " << key.name;
        }
    }
}

}  // namespace
}  // namespace calidus
