#include "ui/MessageBox.h"

#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

#include "ui/QtText.h"
#include "view/WindowRules.h"

namespace calidus {

void showMessageBox(QWidget* parent, const std::string& caption, const std::string& text,
                    MessageIcon icon) {
    QMessageBox box(parent);
    box.setWindowTitle(qs(caption));
    box.setText(qs(text));
    box.setIcon(icon == MessageIcon::Error         ? QMessageBox::Critical
                : icon == MessageIcon::Warning     ? QMessageBox::Warning
                : icon == MessageIcon::Information ? QMessageBox::Information
                                                   : QMessageBox::NoIcon);
    // The box sizes itself by its text; a short text leaves the caption cut off in the title bar.
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);
    const int width =
        messageBoxWidthForCaption(title.horizontalAdvance(qs(caption)), title.height());
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()); grid != nullptr) {
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

}  // namespace calidus
