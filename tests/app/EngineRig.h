#pragma once

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/Engine.h"
#include "app/TrayPort.h"
#include "app/WindowPort.h"
#include "support/FakePlatform.h"
#include "support/SimulatedHost.h"
#include "support/TempFolder.h"

namespace calidus::testing {

inline constexpr std::uint32_t kClockModulation = 0x19A;
inline constexpr std::uint32_t kTemperatureTarget = 0x1A2;

// Remembers what the engine asked of the desktop; the tray takes the icons of trayTakes.
class RecordingDesktop : public WindowPort, public TrayPort {
  public:
    void showMessage(const std::string& caption, const std::string& text, MessageIcon) override {
        calls.push_back("message " + caption + ": " + text);
    }
    IconShow addTrayIcons(IconShow iconShow) override {
        calls.push_back("add icons " + std::to_string(iconShow.bits()));
        return IconShow(iconShow.bits() & trayTakes);
    }
    void removeTrayIcons(IconShow iconShow) override {
        calls.push_back("remove icons " + std::to_string(iconShow.bits()));
    }
    void refreshTray() override { calls.push_back("tray"); }
    void placeWindow() override { calls.push_back("place"); }
    void enterMiniMode() override { calls.push_back("mini"); }
    void minimizeWindow() override { calls.push_back("minimize"); }
    void refreshWindow() override { calls.push_back("window"); }
    void reportProblem(const std::string& text) override { calls.push_back("problem " + text); }
    void restoreWindow() override { calls.push_back("restore"); }
    void flashWindow() override { calls.push_back("flash"); }
    WindowPositionAtExit windowPositionAtExit() override { return window; }

    std::vector<std::string> calls;
    std::uint32_t trayTakes = 0xFFFFFFFF;
    WindowPositionAtExit window;
};

// CPUID of a processor the monitor supports: vendor, signature, features, the thermal sensor
// and the brand, on every logical processor of the machine.
inline void setProcessor(FakeMachine& machine, std::string_view brand, std::uint32_t signature) {
    machine.setCpuid(0, 0, CpuidResult{11, 0x756E6547, 0x6C65746E, 0x49656E69});
    machine.setCpuid(0, 6, CpuidResult{.eax = 1});
    for (int cpu = 0; cpu < 32; ++cpu) {
        if (machine.systemMask & (1u << cpu)) {
            CpuidResult leaf1 = machine.cpuid[{cpu, 1}];
            leaf1.eax = signature;
            leaf1.ecx = 1;        // SSE3
            leaf1.edx = 1u << 5;  // MSR instructions
            machine.cpuid[{cpu, 1}] = leaf1;
        }
    }
    machine.setBrand(brand);
}

inline constexpr std::string_view kI7_920Brand = "Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz";
inline constexpr std::string_view kI7_980XBrand = "Intel(R) Core(TM) i7 CPU       X 980  @ 3.33GHz";

// An i7-920 of four cores with two threads (APIC ids 0..7), or for the XL edition an i7-980X of
// six cores with two threads (APIC ids 0..5 and 16..21). Each core reports TjMax 100 and its
// sensor reads 55 below it.
inline void buildMachine(FakeMachine& machine, const Edition& edition) {
    const std::vector<std::uint32_t> apicIds =
        edition.isXL() ? std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 16, 17, 18, 19, 20, 21}
                       : std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 6, 7};
    machine.processMask = machine.systemMask = machine.threadMask = (1u << apicIds.size()) - 1;
    for (std::size_t cpu = 0; cpu < apicIds.size(); ++cpu) {
        machine.setApicId(static_cast<int>(cpu), apicIds[cpu], 16);
        machine.setMsr(static_cast<int>(cpu), 0x19C, 0x88370000);
        machine.setMsr(static_cast<int>(cpu), kTemperatureTarget, 0x00640000);
    }
    machine.setCpuid(0, 4, {.eax = 7u << 26});
    if (edition.isXL()) {
        setProcessor(machine, kI7_980XBrand, 0x206C2);
    } else {
        setProcessor(machine, kI7_920Brand, 0x106A5);
    }
}

// The settings file of a run: "<program>.ini" in a folder of its own.
struct SettingsFolder {
    explicit SettingsFolder(const Edition& edition)
        : file(folder / (std::string(edition.programName) + ".ini")) {}

    void write(std::string_view keys) const {
        TempFolder::write(file, "[Calidus]\n" + std::string(keys));
    }
    std::string read() const { return TempFolder::read(file); }
    bool exists() const { return std::filesystem::exists(file); }

    TempFolder folder;
    std::filesystem::path file;
};

// The engine on the fake machine; construct() after the machine or the settings file changed.
// The warning sound lives in the settings file's folder, and so does the log unless told.
struct EngineRig {
    explicit EngineRig(const Edition& e = Edition::standard(), std::string_view keys = {})
        : edition(e), settings(e) {
        buildMachine(machine, edition);
        if (!keys.empty()) {
            settings.write(keys);
        }
        construct();
    }
    void construct() {
        engine = std::make_unique<Engine>(edition, platform, desktop, desktop,
                                          EngineSettings{.file = settings.file,
                                                         .logFolder = logFolder,
                                                         .soundFolders = {settings.folder.path()}});
    }

    const Edition& edition;
    SettingsFolder settings;
    FakeMachine machine;
    Platform platform = makeFakePlatform(machine);
    RecordingDesktop desktop;
    std::filesystem::path logFolder = settings.folder.path();
    std::unique_ptr<Engine> engine;
};

}  // namespace calidus::testing
