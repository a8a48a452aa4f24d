#pragma once

#include <filesystem>

namespace calidus {

// Plays sound files in the background.
class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;

    // Returns at once; silent when the file cannot be played or no sound device exists.
    virtual void play(const std::filesystem::path& file) = 0;
};

}  // namespace calidus
