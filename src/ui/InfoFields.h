#pragma once

#include <QLabel>
#include <QMap>
#include <QString>
#include <functional>
#include <span>
#include <string>
#include <utility>

class QGroupBox;
class QMenu;

namespace calidus {

// A sunken read-only field of an information window, found by its control id; `large` gives it
// the font of the main window's temperature figures.
QLabel* infoField(int id, QWidget* parent, bool large = false);

// Names a control after its id ("c1200").
void nameControl(QWidget* widget, int id);

inline QString infoText(const std::string& text) {
    return QString::fromStdString(text);
}

// A minimum or maximum of a GPU window: its date, time and value fields in a titled box, each
// entered in `controls` by id.
QGroupBox* extremeBox(int boxId, int dateId, int timeId, int valueId, QWidget* parent,
                      QMap<int, QWidget*>& controls);

// Gives each field its text; a field whose text is unchanged is not touched (no repaint).
void showTexts(const QMap<int, QWidget*>& controls,
               std::span<const std::pair<int, const std::string*>> fields);

// The right-button menu of a GPU window: "Reset" and "Close", each carrying its command number.
QMenu* resetCloseMenu(QWidget* window, int resetCommand, int closeCommand,
                      std::function<void()> reset);

}  // namespace calidus
