#pragma once

namespace calidus {

// Which GPU information windows the main window's GPU button opens, or brings to the front.
struct GpuWindowChoice {
    bool ati = false;
    bool nvidia = false;
};

// With both sources, a press while the ATI window is closed opens only that one; a press while
// it is open also opens the NVIDIA window.
inline GpuWindowChoice gpuButtonChoice(bool atiRuns, bool nvidiaRuns, bool atiWindowOpen) {
    if (atiRuns && nvidiaRuns) {
        return {.ati = true, .nvidia = atiWindowOpen};
    }
    return {.ati = atiRuns, .nvidia = nvidiaRuns};
}

}  // namespace calidus
