#pragma once

namespace calidus {

// The helper shares the program's terminal: Ctrl-C or a hang-up must end the program through
// its own shutdown, which still needs the helper, and a program that vanished must show as a
// failed write, not a SIGPIPE, so that the clock modulation is restored.
void ignoreTerminalSignals();

}  // namespace calidus
