#include "app/ConsoleDesktop.h"

namespace calidus {

// A box shows its caption in the title bar; a line on its own has only the words to say what
// kind of message it is.
void ConsoleDesktop::showMessage(const std::string& caption, const std::string& text, MessageIcon) {
    errors_ << caption;
    if (!text.empty()) {
        errors_ << ": " << text;
    }
    errors_ << std::endl;
}

void ConsoleDesktop::restoreWindow() {
    errors_ << "Alarm: a temperature reached its alarm threshold" << std::endl;
}

}  // namespace calidus
