#include "ui/TrayIconHost.h"

#include <QMenu>
#include <QTimer>

#include "ui/Artwork.h"
#include "ui/NumberIcon.h"
#include "view/TrayMenu.h"

namespace calidus {

TrayIconHost::TrayIconHost(const Edition& edition, const Settings& settings, Availability available,
                           QObject* parent)
    : QObject(parent),
      settings_(settings),
      available_(std::move(available)),
      icons_(edition.trayIconSlots, nullptr),
      shown_(edition.trayIconSlots),
      menu_(new QMenu) {
    connect(menu_, &QMenu::aboutToShow, this, &TrayIconHost::rebuildMenu);
}

TrayIconHost::~TrayIconHost() {
    // Icons removed at exit never see their deferred delete, the event loop being over; they go
    // here too, before the menu they share.
    qDeleteAll(findChildren<QSystemTrayIcon*>(Qt::FindDirectChildrenOnly));
    delete menu_;
}

namespace {

// Enough for every number the icons show in a session; a full cache starts again.
constexpr std::size_t kKeptPictures = 64;

}  // namespace

void TrayIconHost::followFont() {
    if (fontQuality_ == settings_.quality && fontKeys_ == settings_.trayFont) {
        return;
    }
    fontKeys_ = settings_.trayFont;
    fontQuality_ = settings_.quality;
    font_ = trayFont(fontKeys_, fontQuality_);
    pictures_.clear();
    for (Shown& shown : shown_) {
        shown.image.reset();
    }
}

QIcon TrayIconHost::picture(const TrayIconImage& image) {
    for (const auto& [kept, icon] : pictures_) {
        if (kept == image) {
            return icon;
        }
    }
    QIcon icon = image.programIcon
                     ? programIcon()
                     : renderNumberIcon(image.value, image.threeDigit, image.colour, font_);
    if (icon.isNull()) {
        return icon;
    }
    if (pictures_.size() >= kKeptPictures) {
        pictures_.clear();
    }
    pictures_.emplace_back(image, icon);
    return icon;
}

void TrayIconHost::apply(int slot, const QIcon& picture, const TrayEntry& entry) {
    QSystemTrayIcon& icon = *icons_[slot];
    Shown& shown = shown_[slot];
    if (shown.image != entry.image) {
        icon.setIcon(picture);
        shown.image = entry.image;
    }
    if (shown.tooltip != entry.tooltip) {
        icon.setToolTip(QString::fromStdString(entry.tooltip));
        shown.tooltip = entry.tooltip;
    }
}

bool TrayIconHost::add(int slot, const TrayEntry& entry) {
    if (!available_() || icons_[slot] != nullptr) {
        return false;
    }
    followFont();
    const QIcon drawn = picture(entry.image);
    if (drawn.isNull()) {
        return false;
    }
    auto* icon = new QSystemTrayIcon(this);
    icons_[slot] = icon;
    shown_[slot] = Shown{};
    apply(slot, drawn, entry);
    icon->setContextMenu(menu_);
    connect(icon, &QSystemTrayIcon::activated, this, &TrayIconHost::trayNotify);
    icon->show();
    return true;
}

bool TrayIconHost::modify(int slot, const TrayEntry& entry) {
    QSystemTrayIcon* icon = icons_[slot];
    if (icon == nullptr || !available_()) {
        return false;
    }
    followFont();
    if (shown_[slot].image == entry.image) {
        apply(slot, icon->icon(), entry);
        return true;
    }
    const QIcon drawn = picture(entry.image);
    if (drawn.isNull()) {
        return false;
    }
    apply(slot, drawn, entry);
    return true;
}

bool TrayIconHost::remove(int slot) {
    QSystemTrayIcon* icon = icons_[slot];
    if (icon == nullptr) {
        return false;
    }
    icons_[slot] = nullptr;
    icon->hide();
    // The icon may be the sender of the click that led here.
    icon->deleteLater();
    return true;
}

// A single left click does nothing: under XEmbed it comes before every double-click, which would
// undo what it did; StatusNotifierItem hosts report no double-click at all, and there Minimize
// and Restore are in the menu.
void TrayIconHost::trayNotify(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick && trayMenu_ != nullptr) {
        trayMenu_->doubleClick();
    }
}

void TrayIconHost::rebuildMenu() {
    menu_->clear();
    if (trayMenu_ == nullptr) {
        return;
    }
    for (const TrayMenuItem& item : trayMenu_->items()) {
        if (item.separator) {
            menu_->addSeparator();
            continue;
        }
        QAction* action =
            menu_->addAction(QString::fromUtf8(item.text.data(), qsizetype(item.text.size())));
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        const TrayCommand command = item.command;
        // After the menu has closed: a command may remove the icon that opened it.
        connect(action, &QAction::triggered, this, [this, command] {
            QTimer::singleShot(0, this, [this, command] {
                if (trayMenu_ != nullptr) {
                    trayMenu_->run(command);
                }
            });
        });
    }
}

}  // namespace calidus
