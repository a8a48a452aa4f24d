#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "common/Edition.h"
#include "config/ProfileFile.h"
#include "config/Settings.h"
#include "cpu/CoreCalibration.h"

namespace calidus {

// One identity per key; the per-slot keys (TjMax, Idle, IconTextColor) share one with a slot.
enum class KeyId {
    LfHeight,
    LfWidth,
    LfWeight,
    LfItalic,
    LfCharSet,
    LfPitchAndFamily,
    LfFaceName,
    MsrMulti,
    KillMHz,
    Skull,
    DegreeSymbolString,
    HdWrite,
    RefreshInterval,
    OldFormula,
    PollInterval,
    DisableSensor,
    Spec,
    RivaFile,
    IconTextColor,
    Idle,
    TjMax,
    WindowXY,
    AnchorXY,
    MiniMode,
    IconShow,
    StartMinimized,
    TaskBar,
    OnTop,
    TrayInfo,
    LogFile,
    LogInterval,
    Alarm,
    Alarm1,
    Alarm2,
    Csv,
    AlarmFile,
    MinimizeOnClose,
    VidInfo,
    ClockMod,
    GuiColor,
    GuiMiniColor,
    GuiText,
    GuiMiniText,
    GuiNormHead,
    GuiMiniHead,
    NormHeading,
    MiniHeading,
    TmLoad,
    CustomGui,
    CustomGuiMini,
    Cpuid,
    Quality,
    ThreeDigit,
    Gpu,
    Fahrenheit,
    FontNumber,
    Bold,
};

// How a value is stored as text. Every form but Text and Decimal reads through the profile
// integer rule.
enum class KeyForm {
    Flag,      // "1" / "0"; any non-zero value means on
    Integer,   // "%d"
    Hex,       // "0x%X"
    Colour,    // "0x%06X"; 24 bits are kept
    Position,  // "%d" of a packed screen point
    Decimal,   // "%.1f" of tenths; read as text, rounded to tenths
    Text,
};

// Who writes a key; a bit set.
enum class Writer : unsigned {
    Never = 0,
    Ok = 1u << 0,         // the Settings window's OK
    Exit = 1u << 1,       // the end of a run
    Font = 1u << 2,       // a font chosen in the Settings window
    GpuWindow = 1u << 3,  // the ATI information window closing
    Plugin = 1u << 4,     // with OK, also into the RivaTuner plug-in's CLCore.cfg
};
constexpr Writer operator|(Writer a, Writer b) {
    return static_cast<Writer>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// When a key is read or written; otherwise its value stays as it was.
enum class KeyCondition {
    Always,
    AtiRunning,
    GpuRunning,
    NotCoreI7,      // the processor is not of the flagged Core i7 family
    SameProcessor,  // the file was saved on this processor
    SlotExists,     // the key's core slot has a core
    WindowRecorded,
    AnchorSet,
    ClockModulationRead,  // the register could be read at the end of the run
};

struct GpuSourcesRunning {
    bool ati = false;
    bool nvidia = false;
    bool any() const { return ati || nvidia; }
};

// What reading or writing a key depends on besides the file.
struct KeyContext {
    const Edition& edition;
    bool fahrenheit = false;  // as read: the alarm temperatures follow it
    GpuSourcesRunning gpu{};
    bool coreI7 = false;
    bool processorChanged = false;
    std::array<bool, CoreCalibration::kSlots> slotPresent{};
    bool windowRecorded = false;
    bool anchorSet = false;
    bool clockModulationRead = true;
    std::array<int, CoreCalibration::kSlots> identifiedTjMax{};  // before the settings

    bool holds(KeyCondition condition, int slot) const;
};

// A value in memory: numbers (flags 0/1, colours, IconShow bits, tenths) or texts.
using KeyValue = std::variant<std::int32_t, std::string>;

// Where a key's value lives: in Settings, or with the cores (the per-core TjMax and Idle).
struct SettingsField {
    KeyValue (*get)(const Settings&, int slot);
    void (*set)(Settings&, int slot, const KeyValue&);
};
using CoreField = std::array<int, CoreCalibration::kSlots> CoreCalibration::*;

// A number's default; a temperature's follows the display unit.
struct KeyDefault {
    std::int32_t value = 0;
    std::int32_t inFahrenheit = value;
    std::int32_t in(bool fahrenheit) const { return fahrenheit ? inFahrenheit : value; }
};

struct SettingsKey;
// Corrects a number read from the file; it may fall back to the key's default.
using Correction = std::int32_t (*)(std::int32_t value, const SettingsKey& key,
                                    const KeyContext& context);

// One row of an edition's key table.
struct SettingsKey {
    KeyId id;
    int slot = 0;
    std::string name;
    KeyForm form = KeyForm::Integer;
    std::variant<SettingsField, CoreField> field;
    KeyDefault defaultValue{};
    std::string_view defaultText{};
    std::size_t maxChars = ProfileFile::kTextLength;
    Correction correction = nullptr;
    KeyCondition readWhen = KeyCondition::Always;
    Writer writers = Writer::Never;
    KeyCondition writeWhen = KeyCondition::Always;

    bool writtenBy(Writer writer) const {
        return (static_cast<unsigned>(writers) & static_cast<unsigned>(writer)) != 0;
    }
    bool isText() const { return form == KeyForm::Text; }
    // Nothing for the per-core keys.
    const SettingsField* settingsField() const { return std::get_if<SettingsField>(&field); }

    // The corrected value the file holds, or the default.
    KeyValue read(const ProfileFile& file, const KeyContext& context) const;
    std::string format(const KeyValue& value) const;

    KeyValue valueIn(const Settings& settings, const CoreCalibration& cores) const;
    void assign(Settings& settings, CoreCalibration& cores, const KeyValue& value) const;
};

}  // namespace calidus
