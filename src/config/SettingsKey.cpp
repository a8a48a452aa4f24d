#include "config/SettingsKey.h"

#include "config/ValueForm.h"
#include "cpu/TjMaxSelection.h"

namespace calidus {

bool KeyContext::holds(KeyCondition condition, int slot) const {
    switch (condition) {
        case KeyCondition::Always:
            return true;
        case KeyCondition::AtiRunning:
            return gpu.ati;
        case KeyCondition::GpuRunning:
            return gpu.any();
        case KeyCondition::NotCoreI7:
            return !coreI7;
        case KeyCondition::SameProcessor:
            return !processorChanged;
        case KeyCondition::SlotExists:
            return slotPresent[static_cast<std::size_t>(slot)];
        case KeyCondition::WindowRecorded:
            return windowRecorded;
        case KeyCondition::AnchorSet:
            return anchorSet;
        case KeyCondition::ClockModulationRead:
            return clockModulationRead;
    }
    return false;
}

KeyValue SettingsKey::read(const ProfileFile& file, const KeyContext& context) const {
    if (form == KeyForm::Text) {
        return file.readText(kSettingsSection, name, defaultText, maxChars);
    }
    std::int32_t value = defaultValue.in(context.fahrenheit);
    if (form == KeyForm::Decimal) {
        if (const auto text = file.find(kSettingsSection, name)) {
            value = idleTenths(cutText(*text, maxChars));
        }
    } else {
        value = file.readInt(kSettingsSection, name, value);
    }
    if (form == KeyForm::Colour) {
        value &= 0xFFFFFF;
    }
    return correction != nullptr ? correction(value, *this, context) : value;
}

std::string SettingsKey::format(const KeyValue& value) const {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    const std::int32_t number = std::get<std::int32_t>(value);
    switch (form) {
        case KeyForm::Flag:
            return number != 0 ? "1" : "0";
        case KeyForm::Hex:
            return formatHex(static_cast<std::uint32_t>(number));
        case KeyForm::Colour:
            return formatColour(static_cast<std::uint32_t>(number));
        case KeyForm::Decimal:
            return formatTenths(number);
        case KeyForm::Integer:
        case KeyForm::Position:
        case KeyForm::Text:
            break;
    }
    return std::to_string(number);
}

KeyValue SettingsKey::valueIn(const Settings& settings, const CoreCalibration& cores) const {
    if (const SettingsField* inSettings = settingsField()) {
        return inSettings->get(settings, slot);
    }
    return (cores.*std::get<CoreField>(field))[static_cast<std::size_t>(slot)];
}

void SettingsKey::assign(Settings& settings, CoreCalibration& cores, const KeyValue& value) const {
    if (const SettingsField* inSettings = settingsField()) {
        inSettings->set(settings, slot, value);
        return;
    }
    (cores.*std::get<CoreField>(field))[static_cast<std::size_t>(slot)] =
        std::get<std::int32_t>(value);
}

}  // namespace calidus
