#pragma once

#include <QFont>
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/Edition.h"
#include "config/Settings.h"
#include "view/TrayHost.h"

class QMenu;

namespace calidus {

class TrayMenu;

// The notification area through Qt: one QSystemTrayIcon per slot, all sharing one menu.
class TrayIconHost : public QObject, public TrayHost {
    Q_OBJECT

  public:
    using Availability = std::function<bool()>;

    // `available` tells whether the desktop has a tray at all; without one nothing is added.
    TrayIconHost(const Edition& edition, const Settings& settings,
                 Availability available = &QSystemTrayIcon::isSystemTrayAvailable,
                 QObject* parent = nullptr);
    ~TrayIconHost() override;

    bool add(int slot, const TrayEntry& entry) override;
    bool modify(int slot, const TrayEntry& entry) override;
    bool remove(int slot) override;

    bool available() const { return available_(); }
    // What a click on any icon offers; the menu is built afresh each time it opens.
    void setMenu(TrayMenu* menu) {
        trayMenu_ = menu;
        // A StatusNotifierItem host reads the exported menu before it asks to open it, and
        // takes an empty one for none.
        rebuildMenu();
    }
    QSystemTrayIcon* icon(int slot) const { return icons_[slot]; }
    QMenu* menu() const { return menu_; }

  private:
    // What one icon was last given, so unchanged pictures and tooltips are not set again.
    struct Shown {
        std::optional<TrayIconImage> image;
        std::string tooltip;
    };

    // Each distinct picture is drawn once and kept: a fresh icon every tick costs a drawing, a
    // repaint and memory in the toolkit's pixmap caches.
    QIcon picture(const TrayIconImage& image);
    // A font change drops every kept picture, so the next modify draws again.
    void followFont();
    void apply(int slot, const QIcon& picture, const TrayEntry& entry);
    void trayNotify(QSystemTrayIcon::ActivationReason reason);
    void rebuildMenu();

    const Settings& settings_;
    TrayFontKeys fontKeys_;
    int fontQuality_ = -1;
    QFont font_;
    std::vector<std::pair<TrayIconImage, QIcon>> pictures_;
    Availability available_;
    std::vector<QSystemTrayIcon*> icons_;
    std::vector<Shown> shown_;
    QMenu* menu_;
    TrayMenu* trayMenu_ = nullptr;
};

}  // namespace calidus
