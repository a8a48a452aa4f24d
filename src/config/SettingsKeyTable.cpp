#include "config/SettingsKeyTable.h"

#include <algorithm>

#include <string>

namespace calidus {

namespace {

KeyValue toValue(bool value) {
    return std::int32_t{value ? 1 : 0};
}
KeyValue toValue(std::int32_t value) {
    return value;
}
KeyValue toValue(std::uint32_t value) {
    return static_cast<std::int32_t>(value);
}
KeyValue toValue(std::uint8_t value) {
    return std::int32_t{value};
}
KeyValue toValue(IconShow value) {
    return static_cast<std::int32_t>(value.bits());
}
KeyValue toValue(const std::string& value) {
    return value;
}

void fromValue(bool& field, const KeyValue& value) {
    field = std::get<std::int32_t>(value) != 0;
}
void fromValue(std::int32_t& field, const KeyValue& value) {
    field = std::get<std::int32_t>(value);
}
void fromValue(std::uint32_t& field, const KeyValue& value) {
    field = static_cast<std::uint32_t>(std::get<std::int32_t>(value));
}
void fromValue(std::uint8_t& field, const KeyValue& value) {
    field = static_cast<std::uint8_t>(std::get<std::int32_t>(value));
}
void fromValue(IconShow& field, const KeyValue& value) {
    field = IconShow(static_cast<std::uint32_t>(std::get<std::int32_t>(value)));
}
void fromValue(std::string& field, const KeyValue& value) {
    field = std::get<std::string>(value);
}

template <auto Member>
constexpr SettingsField member() {
    return {[](const Settings& s, int) { return toValue(s.*Member); },
            [](Settings& s, int, const KeyValue& v) { fromValue(s.*Member, v); }};
}

template <auto Member>
constexpr SettingsField font() {
    return {[](const Settings& s, int) { return toValue(s.trayFont.*Member); },
            [](Settings& s, int, const KeyValue& v) { fromValue(s.trayFont.*Member, v); }};
}

constexpr SettingsField iconTextColour() {
    return {[](const Settings& s, int slot) {
                return toValue(s.iconTextColor[static_cast<std::size_t>(slot)]);
            },
            [](Settings& s, int slot, const KeyValue& v) {
                fromValue(s.iconTextColor[static_cast<std::size_t>(slot)], v);
            }};
}

// Corrections.

template <std::int32_t Low, std::int32_t High>
std::int32_t withinOrDefault(std::int32_t value, const SettingsKey& key,
                             const KeyContext& context) {
    return value >= Low && value <= High ? value : key.defaultValue.in(context.fahrenheit);
}

template <std::int32_t Low, std::int32_t High>
std::int32_t clamped(std::int32_t value, const SettingsKey&, const KeyContext&) {
    return value < Low ? Low : (value > High ? High : value);
}

std::int32_t lowByte(std::int32_t value, const SettingsKey&, const KeyContext&) {
    return value & 0xFF;
}

// No tray font is a thousand pixels tall; the bound keeps the font arithmetic (negation, the
// percent scaling) inside an int.
std::int32_t fontSize(std::int32_t value, const SettingsKey&, const KeyContext&) {
    constexpr std::int32_t kLargest = 1000;
    return std::clamp(value, -kLargest, kLargest);
}

std::int32_t logInterval(std::int32_t value, const SettingsKey& key, const KeyContext& context) {
    constexpr std::int32_t kDay = 86400;
    return value >= 1 && value <= kDay && kDay % value == 0
               ? value
               : key.defaultValue.in(context.fahrenheit);
}

std::int32_t alarmBelow(std::int32_t value, int ceiling, bool negativeBecomesCeiling) {
    return value > ceiling || (negativeBecomesCeiling && value < 0) ? ceiling : value;
}

std::int32_t processorAlarm(std::int32_t value, const SettingsKey&, const KeyContext& context) {
    const AlarmRules& rules = context.edition.alarmRules;
    return alarmBelow(value, rules.processorCeiling.in(context.fahrenheit),
                      rules.negativeBecomesCeiling);
}

std::int32_t gpuAlarm(std::int32_t value, const SettingsKey&, const KeyContext& context) {
    const AlarmRules& rules = context.edition.alarmRules;
    if (!context.gpu.any()) {
        return rules.gpuWithoutSource.in(context.fahrenheit);
    }
    return alarmBelow(value, rules.gpuCeiling.in(context.fahrenheit), rules.negativeBecomesCeiling);
}

// Outside 70..120 the TjMax identification chose stays.
std::int32_t settingTjMax(std::int32_t value, const SettingsKey& key, const KeyContext& context) {
    return value >= 70 && value <= 120
               ? value
               : context.identifiedTjMax[static_cast<std::size_t>(key.slot)];
}

std::int32_t bold(std::int32_t value, const SettingsKey&, const KeyContext&) {
    return value != 0 ? 200 : 0;
}

std::int32_t iconShow(std::int32_t value, const SettingsKey&, const KeyContext& context) {
    const IconShow read(static_cast<std::uint32_t>(value));
    return static_cast<std::int32_t>(
        (context.gpu.any() ? read : read.withoutGpu(context.edition)).bits());
}

std::string numbered(std::string_view name, int slot) {
    return std::string(name) + std::to_string(slot);
}

constexpr std::size_t kFaceNameLength = 31;
constexpr std::size_t kDegreeSymbolLength = 11;
constexpr std::int32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kWindowColour = 0xF4F3EE;

}  // namespace

SettingsKeyTable::SettingsKeyTable(const Edition& e) {
    using enum KeyForm;
    using C = KeyCondition;
    const auto add = [this](SettingsKey key) { keys_.push_back(std::move(key)); };
    const auto flag = [&add](KeyId id, std::string name, SettingsField field, Writer writers) {
        add({.id = id, .name = std::move(name), .form = Flag, .field = field, .writers = writers});
    };
    const auto colour = [&add](KeyId id, std::string name, SettingsField field,
                               std::int32_t defaultValue) {
        add({.id = id,
             .name = std::move(name),
             .form = Colour,
             .field = field,
             .defaultValue = {defaultValue},
             .writers = Writer::Ok});
    };
    const auto fontKey = [&add](KeyId id, std::string name, SettingsField field,
                                std::int32_t defaultValue, Correction correction) {
        add({.id = id,
             .name = std::move(name),
             .field = field,
             .defaultValue = {defaultValue},
             .correction = correction,
             .writers = Writer::Font});
    };

    fontKey(KeyId::LfHeight, "lfHeight", font<&TrayFontKeys::lfHeight>(), -13, fontSize);
    fontKey(KeyId::LfWidth, "lfWidth", font<&TrayFontKeys::lfWidth>(), 0, fontSize);
    fontKey(KeyId::LfWeight, "lfWeight", font<&TrayFontKeys::lfWeight>(), 400, nullptr);
    fontKey(KeyId::LfItalic, "lfItalic", font<&TrayFontKeys::lfItalic>(), 0, lowByte);
    fontKey(KeyId::LfCharSet, "lfCharSet", font<&TrayFontKeys::lfCharSet>(), 0, lowByte);
    fontKey(KeyId::LfPitchAndFamily, "lfPitchAndFamily", font<&TrayFontKeys::lfPitchAndFamily>(),
            34, lowByte);
    add({.id = KeyId::LfFaceName,
         .name = "lfFaceName",
         .form = Text,
         .field = font<&TrayFontKeys::lfFaceName>(),
         .defaultText = "MS Sans Serif",
         .maxChars = kFaceNameLength,
         .writers = Writer::Font});

    flag(KeyId::MsrMulti, "MSRMulti", member<&Settings::msrMulti>(), Writer::Never);
    if (e.hasKillMHz) {
        add({.id = KeyId::KillMHz, .name = "KillMHz", .field = member<&Settings::killMHz>()});
    }
    if (e.hasSkull) {
        add({.id = KeyId::Skull, .name = "Skull", .field = member<&Settings::skull>()});
    }
    add({.id = KeyId::DegreeSymbolString,
         .name = "DegreeSymbolString",
         .form = Text,
         .field = member<&Settings::degreeSymbolString>(),
         .maxChars = kDegreeSymbolLength});
    // Below one second the buffered log rows would be written on every tick or never.
    add({.id = KeyId::HdWrite,
         .name = "HDWrite",
         .field = member<&Settings::hdWrite>(),
         .defaultValue = {60},
         .correction = clamped<1, 86400>});
    if (e.hasRefreshInterval) {
        add({.id = KeyId::RefreshInterval,
             .name = "RefreshInterval",
             .field = member<&Settings::refreshInterval>(),
             .defaultValue = {1000},
             .correction = withinOrDefault<100, 20000>});
    }
    if (e.hasOldFormula) {
        add({.id = KeyId::OldFormula,
             .name = "OldFormula",
             .form = Flag,
             .field = member<&Settings::oldFormula>()});
    }
    add({.id = KeyId::PollInterval,
         .name = "PollInterval",
         .field = member<&Settings::pollInterval>(),
         .defaultValue = {5},
         .correction = withinOrDefault<1, 3600>,
         .readWhen = C::AtiRunning,
         .writers = Writer::GpuWindow});
    add({.id = KeyId::DisableSensor,
         .name = "DisableSensor",
         .form = Flag,
         .field = member<&Settings::disableSensor>(),
         .readWhen = C::AtiRunning,
         .writers = Writer::GpuWindow});

    add({.id = KeyId::Spec,
         .name = "Spec",
         .form = Text,
         .field = member<&Settings::spec>(),
         .writers = Writer::Ok});
    add({.id = KeyId::RivaFile,
         .name = "RivaFile",
         .form = Text,
         .field = member<&Settings::rivaFile>(),
         .writers = Writer::Ok});
    for (int n = 0; n < e.coreSlots; ++n) {
        add({.id = KeyId::IconTextColor,
             .slot = n,
             .name = numbered("IconTextColor", n),
             .form = Colour,
             .field = iconTextColour(),
             .defaultValue = {kWhite},
             .writers = Writer::Ok,
             .writeWhen = C::SlotExists});
        add({.id = KeyId::Idle,
             .slot = n,
             .name = numbered("Idle", n),
             .form = Decimal,
             .field = &CoreCalibration::idle,
             .readWhen = C::SameProcessor,
             .writers = Writer::Ok | Writer::Plugin,
             .writeWhen = C::SlotExists});
        add({.id = KeyId::TjMax,
             .slot = n,
             .name = numbered("TjMax", n),
             .field = &CoreCalibration::tjMax,
             .correction = settingTjMax,
             .readWhen = C::SameProcessor,
             .writers = Writer::Ok | Writer::Plugin,
             .writeWhen = C::SlotExists});
    }
    const int gpuSlot = IconShow::gpuSlot(e);
    add({.id = KeyId::IconTextColor,
         .slot = gpuSlot,
         .name = numbered("IconTextColor", gpuSlot),
         .form = Colour,
         .field = iconTextColour(),
         .defaultValue = {kWhite},
         .writers = Writer::Ok,
         .writeWhen = C::GpuRunning});

    add({.id = KeyId::WindowXY,
         .name = "WindowXY",
         .form = Position,
         .field = member<&Settings::windowXY>(),
         .writers = Writer::Exit,
         .writeWhen = C::WindowRecorded});
    add({.id = KeyId::AnchorXY,
         .name = "AnchorXY",
         .form = Position,
         .field = member<&Settings::anchorXY>(),
         .writers = Writer::Exit,
         .writeWhen = C::AnchorSet});
    flag(KeyId::MiniMode, "MiniMode", member<&Settings::miniMode>(), Writer::Exit);
    add({.id = KeyId::IconShow,
         .name = "IconShow",
         .field = member<&Settings::iconShow>(),
         .defaultValue = {1},
         .correction = iconShow,
         .writers = Writer::Ok | Writer::Exit});
    flag(KeyId::StartMinimized, "StartMinimized", member<&Settings::startMinimized>(), Writer::Ok);
    flag(KeyId::TaskBar, "TaskBar", member<&Settings::taskBar>(), Writer::Ok);
    flag(KeyId::OnTop, "OnTop", member<&Settings::onTop>(), Writer::Ok);
    flag(KeyId::TrayInfo, "TrayInfo", member<&Settings::trayInfo>(), Writer::Ok);
    flag(KeyId::LogFile, "LogFile", member<&Settings::logFile>(), Writer::Ok);
    add({.id = KeyId::LogInterval,
         .name = "LogInterval",
         .field = member<&Settings::logInterval>(),
         .defaultValue = {5},
         .correction = logInterval,
         .writers = Writer::Ok});
    flag(KeyId::Alarm, "Alarm", member<&Settings::alarm>(), Writer::Ok);
    const UnitTemperature alarmDefault = e.alarmRules.defaults;
    add({.id = KeyId::Alarm1,
         .name = "Alarm1",
         .field = member<&Settings::alarm1>(),
         .defaultValue = {alarmDefault.celsius, alarmDefault.fahrenheit},
         .correction = processorAlarm,
         .writers = Writer::Ok});
    add({.id = KeyId::Alarm2,
         .name = "Alarm2",
         .field = member<&Settings::alarm2>(),
         .defaultValue = {alarmDefault.celsius, alarmDefault.fahrenheit},
         .correction = gpuAlarm,
         .writers = Writer::Ok});
    flag(KeyId::Csv, "CSV", member<&Settings::csv>(), Writer::Ok);
    add({.id = KeyId::AlarmFile,
         .name = "AlarmFile",
         .form = Text,
         .field = member<&Settings::alarmFile>(),
         .writers = Writer::Ok});
    flag(KeyId::MinimizeOnClose, "MinimizeOnClose", member<&Settings::minimizeOnClose>(),
         Writer::Ok);
    add({.id = KeyId::VidInfo,
         .name = "VIDInfo",
         .form = Flag,
         .field = member<&Settings::vidInfo>(),
         .readWhen = C::NotCoreI7,
         .writers = Writer::Ok,
         .writeWhen = C::NotCoreI7});
    add({.id = KeyId::ClockMod,
         .name = "ClockMod",
         .field = member<&Settings::clockMod>(),
         .defaultValue = {2},
         .correction = withinOrDefault<1, 30>,
         .writers = Writer::Ok | Writer::Exit,
         .writeWhen = C::ClockModulationRead});
    colour(KeyId::GuiColor, "GUIColor", member<&Settings::guiColor>(), kWindowColour);
    colour(KeyId::GuiMiniColor, "GUIMiniColor", member<&Settings::guiMiniColor>(), kWindowColour);
    colour(KeyId::GuiText, "GUIText", member<&Settings::guiText>(), 0);
    colour(KeyId::GuiMiniText, "GUIMiniText", member<&Settings::guiMiniText>(), 0);
    colour(KeyId::GuiNormHead, "GUINormHead", member<&Settings::guiNormHead>(), 0);
    colour(KeyId::GuiMiniHead, "GUIMiniHead", member<&Settings::guiMiniHead>(), 0);
    flag(KeyId::NormHeading, "NormHeading", member<&Settings::normHeading>(), Writer::Ok);
    flag(KeyId::MiniHeading, "MiniHeading", member<&Settings::miniHeading>(), Writer::Ok);
    flag(KeyId::TmLoad, "TMLoad", member<&Settings::tmLoad>(), Writer::Ok);
    flag(KeyId::CustomGui, "CustomGUI", member<&Settings::customGUI>(), Writer::Ok);
    flag(KeyId::CustomGuiMini, "CustomGUIMini", member<&Settings::customGUIMini>(), Writer::Ok);
    add({.id = KeyId::Cpuid,
         .name = "CPUID",
         .form = Hex,
         .field = member<&Settings::cpuid>(),
         .writers = Writer::Ok});
    // A negative value would name none of the four rendering choices.
    add({.id = KeyId::Quality,
         .name = "Quality",
         .field = member<&Settings::quality>(),
         .correction = clamped<0, 3>,
         .writers = Writer::Ok});
    flag(KeyId::ThreeDigit, "ThreeDigit", member<&Settings::threeDigit>(), Writer::Ok);
    add({.id = KeyId::Gpu,
         .name = "GPU",
         .field = member<&Settings::gpu>(),
         .writers = Writer::Ok});
    flag(KeyId::Fahrenheit, "Fahrenheit", member<&Settings::fahrenheit>(), Writer::Ok);
    if (e.hasFontNumberAndBold) {
        add({.id = KeyId::FontNumber,
             .name = "FontNumber",
             .field = member<&Settings::fontNumber>(),
             .correction = withinOrDefault<0, 3>,
             .writers = Writer::Ok});
        add({.id = KeyId::Bold,
             .name = "Bold",
             .field = member<&Settings::bold>(),
             .correction = bold,
             .writers = Writer::Ok});
    }
}

const SettingsKeyTable& SettingsKeyTable::of(const Edition& edition) {
    static const SettingsKeyTable standard(Edition::standard());
    static const SettingsKeyTable xl(Edition::xl());
    return edition.isXL() ? xl : standard;
}

const SettingsKey* SettingsKeyTable::find(KeyId id, int slot) const {
    for (const SettingsKey& key : keys_) {
        if (key.id == id && key.slot == slot) {
            return &key;
        }
    }
    return nullptr;
}

void SettingsKeyTable::write(ProfileFile& file, Writer writer, const Settings& settings,
                             const CoreCalibration& cores, const KeyContext& context) const {
    for (const SettingsKey& key : keys_) {
        if (key.writtenBy(writer) && context.holds(key.writeWhen, key.slot)) {
            file.write(kSettingsSection, key.name, key.format(key.valueIn(settings, cores)));
        }
    }
}

}  // namespace calidus
