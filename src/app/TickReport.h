#pragma once

#include <string>

#include "app/Engine.h"

namespace calidus {

// The main window's texts after the last tick as one line of JSON, written over `line` so a
// run reuses one buffer.
void writeTickJson(const Engine& engine, std::string& line);

// The same texts as lines a person reads, each ending in a line break.
std::string tickLines(const Engine& engine);

}  // namespace calidus
