#pragma once

#include <QLabel>
#include <QString>
#include <string>

namespace calidus {

// A sunken read-only field of an information window, found by its control id; `large` gives it
// the font of the main window's temperature figures.
QLabel* infoField(int id, QWidget* parent, bool large = false);

// Names a control after its id ("c1200").
void nameControl(QWidget* widget, int id);

inline QString infoText(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace calidus
