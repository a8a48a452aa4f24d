#include "ui/InfoFields.h"

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

}  // namespace calidus
