#pragma once

namespace calidus {

// A root run writes no file to a folder that the settings file names (the plug-in's) and starts
// no program as root (ProcessLauncher).
bool runningAsRoot();

}  // namespace calidus
