#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Edition.h"
#include "config/IconShow.h"
#include "config/Settings.h"
#include "config/SettingsKeyTable.h"

namespace calidus {

// The run's Settings as the windows, the tray and the engine change them: every change goes
// through a setter, which tells each listener the key that changed, so whoever changes a key
// need not know who acts on it. The per-core TjMax and Idle keys live with the cores and are not
// set here.
class LiveSettings {
  public:
    using Listener = std::function<void(const SettingsKey& key)>;

    // `values` belongs to the owner of the run, who reads it but changes it only through here.
    LiveSettings(const Edition& edition, Settings& values);
    LiveSettings(const LiveSettings&) = delete;
    LiveSettings& operator=(const LiveSettings&) = delete;

    const Settings& operator*() const { return values_; }
    const Settings* operator->() const { return &values_; }

    // Each answers whether the value changed; only then are the listeners called. A number key
    // takes a number (flags 0 or 1, colours, IconShow bits), a text key a text; anything else,
    // and a key this edition lacks, changes nothing.
    bool set(KeyId id, std::int32_t value, int slot = 0);
    bool set(KeyId id, std::string_view text, int slot = 0);
    bool setIconShow(IconShow iconShow);
    // Every key: the listeners hear of each that changed.
    void assign(const Settings& values);

    // Answers the number that stops the listener.
    std::size_t listen(Listener listener);
    void unlisten(std::size_t listener);

  private:
    bool change(KeyId id, int slot, const KeyValue& value);
    void announce(const SettingsKey& key);

    const SettingsKeyTable& table_;
    Settings& values_;
    std::vector<std::pair<std::size_t, Listener>> listeners_;
    std::size_t nextListener_ = 0;
};

}  // namespace calidus
