#include "platform/linux/msr/HelperSignals.h"

#include <csignal>
#include <initializer_list>

namespace calidus {

void ignoreTerminalSignals() {
    for (const int signal : {SIGINT, SIGQUIT, SIGHUP, SIGPIPE}) {
        std::signal(signal, SIG_IGN);
    }
}

}  // namespace calidus
