#pragma once

#include <filesystem>
#include <vector>

#include "platform/SoundPlayer.h"

namespace calidus {

// Plays nothing aloud: remembers each sound that would have played (its file exists).
class SimSoundPlayer : public SoundPlayer {
  public:
    void play(const std::filesystem::path& file) override {
        std::error_code error;
        if (std::filesystem::is_regular_file(file, error)) {
            played_.push_back(file);
        }
    }

    const std::vector<std::filesystem::path>& played() const { return played_; }

  private:
    std::vector<std::filesystem::path> played_;
};

}  // namespace calidus
