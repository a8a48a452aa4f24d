#pragma once

#include <QSoundEffect>
#include <filesystem>

#include "platform/SoundPlayer.h"

namespace calidus {

// Qt Multimedia's sound effect: decoded once, played without waiting, silent without a sound
// device or a readable file. Needs a QApplication.
class QtSoundPlayer : public SoundPlayer {
  public:
    void play(const std::filesystem::path& file) override;

    const QSoundEffect& effect() const { return effect_; }

  private:
    QSoundEffect effect_;
    std::filesystem::path loaded_;
};

}  // namespace calidus
