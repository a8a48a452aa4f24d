#pragma once

#include <vector>

#include "common/Edition.h"
#include "config/ProfileFile.h"
#include "config/SettingsKey.h"

namespace calidus {

// Every key of one edition's settings file, in the order the Settings window's OK writes them;
// the other writers write theirs in the same order. Reading and every writer go through it.
class SettingsKeyTable {
  public:
    static const SettingsKeyTable& of(const Edition& edition);

    const std::vector<SettingsKey>& keys() const { return keys_; }
    // Nothing when the edition has no such key.
    const SettingsKey* find(KeyId id, int slot = 0) const;

    // The keys of `writer` whose write condition holds, with their values in `settings` and
    // `cores`.
    void write(ProfileFile& file, Writer writer, const Settings& settings,
               const CoreCalibration& cores, const KeyContext& context) const;

  private:
    explicit SettingsKeyTable(const Edition& edition);

    std::vector<SettingsKey> keys_;
};

}  // namespace calidus
