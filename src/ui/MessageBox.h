#pragma once

#include <string>

#include "app/WindowPort.h"

class QWidget;

namespace calidus {

// A modal message box over the parent, wide enough that its caption is not cut off.
void showMessageBox(QWidget* parent, const std::string& caption, const std::string& text,
                    MessageIcon icon);

}  // namespace calidus
