#pragma once

#include <string>
#include <vector>

#include "app/DesktopPort.h"
#include "app/Engine.h"
#include "support/FakePlatform.h"

namespace calidus::testing {

inline constexpr std::uint32_t kClockModulation = 0x19A;

// Remembers what the engine asked of the desktop; the tray takes the icons of trayTakes.
class RecordingDesktop : public DesktopPort {
  public:
    void showMessage(const std::string& caption, const std::string& text, MessageIcon) override {
        calls.push_back("message " + caption + ": " + text);
    }
    std::uint32_t addTrayIcons(std::uint32_t iconShow) override {
        calls.push_back("add icons " + std::to_string(iconShow));
        return iconShow & trayTakes;
    }
    void removeTrayIcons(std::uint32_t iconShow) override {
        calls.push_back("remove icons " + std::to_string(iconShow));
    }
    void refreshTray() override { calls.push_back("tray"); }
    void placeWindow() override { calls.push_back("place"); }
    void enterMiniMode() override { calls.push_back("mini"); }
    void minimizeWindow() override { calls.push_back("minimize"); }
    void refreshWindow() override { calls.push_back("window"); }
    void playSound(const std::string& file) override { calls.push_back("sound " + file); }

    std::vector<std::string> calls;
    std::uint32_t trayTakes = 0xFFFFFFFF;
};

// Four cores of two threads (APIC ids 0..7), or for the XL edition six cores of two threads
// (APIC ids 0..5 and 16..21); every sensor reads 55 below TjMax.
inline void buildMachine(FakeMachine& machine, const Edition& edition) {
    const std::vector<std::uint32_t> apicIds =
        edition.isXL() ? std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 16, 17, 18, 19, 20, 21}
                       : std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 6, 7};
    machine.processMask = machine.systemMask = machine.threadMask = (1u << apicIds.size()) - 1;
    for (std::size_t cpu = 0; cpu < apicIds.size(); ++cpu) {
        machine.setApicId(static_cast<int>(cpu), apicIds[cpu], 16);
        machine.setMsr(static_cast<int>(cpu), 0x19C, 0x88370000);
    }
    machine.setCpuid(0, 4, {.eax = 7u << 26});
}

struct EngineRig {
    explicit EngineRig(const Edition& e = Edition::standard(), EngineSettings settings = {})
        : edition(e) {
        buildMachine(machine, edition);
        engine = std::make_unique<Engine>(edition, platform, desktop, std::move(settings));
    }

    const Edition& edition;
    FakeMachine machine;
    Platform platform = makeFakePlatform(machine);
    RecordingDesktop desktop;
    std::unique_ptr<Engine> engine;
};

}  // namespace calidus::testing
