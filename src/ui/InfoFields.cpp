#include "ui/InfoFields.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>

#include "ui/UiFonts.h"

namespace calidus {

void nameControl(QWidget* widget, int id) {
    widget->setObjectName(QStringLiteral("c%1").arg(id));
}

QLabel* infoField(int id, QWidget* parent, bool large) {
    auto* field = new QLabel(parent);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setAlignment(Qt::AlignCenter);
    field->setMinimumWidth(large ? 48 : 70);
    if (large) {
        field->setFont(valueFont());
    }
    nameControl(field, id);
    return field;
}

QGroupBox* extremeBox(int boxId, int dateId, int timeId, int valueId, QWidget* parent,
                      QMap<int, QWidget*>& controls) {
    auto* box = new QGroupBox(parent);
    nameControl(box, boxId);
    auto* layout = new QHBoxLayout(box);
    for (const auto& [id, large] : {std::pair{dateId, false}, {timeId, false}, {valueId, true}}) {
        QLabel* field = infoField(id, box, large);
        controls.insert(id, field);
        layout->addWidget(field);
    }
    controls.insert(boxId, box);
    return box;
}

void showTexts(const QMap<int, QWidget*>& controls,
               std::span<const std::pair<int, const std::string*>> fields) {
    for (const auto& [id, text] : fields) {
        auto* label = static_cast<QLabel*>(controls.value(id));
        if (label->text() != infoText(*text)) {
            label->setText(infoText(*text));
        }
    }
}

QMenu* resetCloseMenu(QWidget* window, int resetCommand, int closeCommand,
                      std::function<void()> reset) {
    auto* menu = new QMenu(window);
    menu->addAction(QStringLiteral("Reset"), window, std::move(reset))->setData(resetCommand);
    menu->addAction(QStringLiteral("Close"), window, &QWidget::close)->setData(closeCommand);
    return menu;
}

}  // namespace calidus
