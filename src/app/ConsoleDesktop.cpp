#include "app/ConsoleDesktop.h"

namespace calidus {

void ConsoleDesktop::showMessage(const std::string&, const std::string& text, MessageIcon) {
    errors_ << text << std::endl;
}

}  // namespace calidus
