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
      menu_(new QMenu) {
    connect(menu_, &QMenu::aboutToShow, this, &TrayIconHost::rebuildMenu);
}

TrayIconHost::~TrayIconHost() {
    // Icons removed at exit never see their deferred delete, the event loop being over; they go
    // here too, before the menu they share.
    qDeleteAll(findChildren<QSystemTrayIcon*>(Qt::FindDirectChildrenOnly));
    delete menu_;
}

const QFont& TrayIconHost::trayFontNow() {
    if (fontQuality_ != settings_.quality || fontKeys_ != settings_.trayFont) {
        fontKeys_ = settings_.trayFont;
        fontQuality_ = settings_.quality;
        font_ = trayFont(fontKeys_, fontQuality_);
    }
    return font_;
}

QIcon TrayIconHost::render(const TrayIconImage& image) {
    if (image.programIcon) {
        return programIcon();
    }
    return renderNumberIcon(image.value, image.threeDigit, image.colour, trayFontNow());
}

void TrayIconHost::apply(QSystemTrayIcon& icon, const QIcon& picture, const TrayEntry& entry) {
    icon.setIcon(picture);
    icon.setToolTip(QString::fromStdString(entry.tooltip));
}

bool TrayIconHost::add(int slot, const TrayEntry& entry) {
    if (!available_() || icons_[slot] != nullptr) {
        return false;
    }
    const QIcon picture = render(entry.image);
    if (picture.isNull()) {
        return false;
    }
    auto* icon = new QSystemTrayIcon(this);
    apply(*icon, picture, entry);
    icon->setContextMenu(menu_);
    connect(icon, &QSystemTrayIcon::activated, this, &TrayIconHost::trayNotify);
    icon->show();
    icons_[slot] = icon;
    return true;
}

bool TrayIconHost::modify(int slot, const TrayEntry& entry) {
    QSystemTrayIcon* icon = icons_[slot];
    if (icon == nullptr || !available_()) {
        return false;
    }
    const QIcon picture = render(entry.image);
    if (picture.isNull()) {
        return false;
    }
    apply(*icon, picture, entry);
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
