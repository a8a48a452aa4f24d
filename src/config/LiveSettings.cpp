#include "config/LiveSettings.h"

#include <algorithm>
#include <string>

namespace calidus {

LiveSettings::LiveSettings(const Edition& edition, Settings& values)
    : table_(SettingsKeyTable::of(edition)), values_(values) {}

bool LiveSettings::set(KeyId id, std::int32_t value, int slot) {
    return change(id, slot, value);
}

bool LiveSettings::set(KeyId id, std::string_view text, int slot) {
    return change(id, slot, std::string(text));
}

bool LiveSettings::setIconShow(IconShow iconShow) {
    return set(KeyId::IconShow, static_cast<std::int32_t>(iconShow.bits()));
}

bool LiveSettings::change(KeyId id, int slot, const KeyValue& value) {
    const SettingsKey* key = table_.find(id, slot);
    if (key == nullptr || key->settingsField() == nullptr ||
        key->isText() != std::holds_alternative<std::string>(value)) {
        return false;
    }
    const SettingsField& field = *key->settingsField();
    const KeyValue before = field.get(values_, slot);
    field.set(values_, slot, value);
    if (field.get(values_, slot) == before) {
        return false;
    }
    announce(*key);
    return true;
}

void LiveSettings::assign(const Settings& values) {
    const Settings before = values_;
    values_ = values;
    for (const SettingsKey& key : table_.keys()) {
        const SettingsField* field = key.settingsField();
        if (field != nullptr && field->get(before, key.slot) != field->get(values_, key.slot)) {
            announce(key);
        }
    }
}

std::size_t LiveSettings::listen(Listener listener) {
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void LiveSettings::unlisten(std::size_t listener) {
    std::erase_if(listeners_, [listener](const auto& entry) { return entry.first == listener; });
}

void LiveSettings::announce(const SettingsKey& key) {
    // A listener may start or stop listeners while it is told.
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners) {
        listener(key);
    }
}

}  // namespace calidus
