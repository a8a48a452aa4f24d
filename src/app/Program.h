#pragma once

#include "common/Edition.h"

namespace calidus {

// Reads the command line, picks the machine and the front end, and runs the program.
int runProgram(const Edition& edition, int argc, char** argv);

}  // namespace calidus
