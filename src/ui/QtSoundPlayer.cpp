#include "ui/QtSoundPlayer.h"

#include <QUrl>

namespace calidus {

void QtSoundPlayer::play(const std::filesystem::path& file) {
    if (file != loaded_) {
        loaded_ = file;
        effect_.setSource(QUrl::fromLocalFile(QString::fromStdString(file.string())));
    }
    // A sound still loading plays once it is loaded.
    effect_.play();
}

}  // namespace calidus
