// A stand-in of the NVIDIA Management Library: its versioned entry names answering a script.
// No standard containers, so that nothing keeps the library loaded after its last close.

#include <cstring>

#include "support/standins/StandInScripts.h"

namespace {

StandInNvmlScript script;
StandInJournal journal = nullptr;
int devices[2];

void note(const char* entry) {
    if (journal != nullptr) {
        journal(entry);
    }
}

int gpuOf(void* device) {
    return device == &devices[0] ? 0 : device == &devices[1] ? 1 : -1;
}

}  // namespace

extern "C" {

void standInNvml(const StandInNvmlScript* s, StandInJournal j) {
    script = *s;
    journal = j;
}

int nvmlInit_v2() {
    note("nvmlInit_v2");
    return script.initStatus;
}

int nvmlShutdown() {
    note("nvmlShutdown");
    return 0;
}

int nvmlSystemGetDriverVersion(char* version, unsigned length) {
    note("nvmlSystemGetDriverVersion");
    std::strncpy(version, script.driver, length);
    return 0;
}

int nvmlDeviceGetCount_v2(unsigned* count) {
    note("nvmlDeviceGetCount_v2");
    *count = script.count;
    return 0;
}

int nvmlDeviceGetHandleByIndex_v2(unsigned index, void** device) {
    note("nvmlDeviceGetHandleByIndex_v2");
    if (index >= 2) {
        return 2;
    }
    *device = &devices[index];
    return 0;
}

int nvmlDeviceGetTemperature(void* device, int sensor, unsigned* celsius) {
    note("nvmlDeviceGetTemperature");
    const int gpu = gpuOf(device);
    if (gpu < 0 || sensor != 0) {
        return 2;
    }
    *celsius = script.temperature[gpu];
    return script.temperatureStatus;
}

int nvmlDeviceGetName(void* device, char* name, unsigned length) {
    note("nvmlDeviceGetName");
    const int gpu = gpuOf(device);
    if (gpu < 0) {
        return 2;
    }
    std::strncpy(name, script.name[gpu], length);
    return 0;
}

int nvmlDeviceGetCurrPcieLinkWidth(void* device, unsigned* width) {
    note("nvmlDeviceGetCurrPcieLinkWidth");
    const int gpu = gpuOf(device);
    if (gpu < 0) {
        return 2;
    }
    *width = script.linkWidth[gpu];
    return 0;
}

struct Memory {
    unsigned long long total;
    unsigned long long free;
    unsigned long long used;
};

int nvmlDeviceGetMemoryInfo(void* device, Memory* memory) {
    note("nvmlDeviceGetMemoryInfo");
    const int gpu = gpuOf(device);
    if (gpu < 0) {
        return 2;
    }
    *memory = {script.memoryBytes[gpu], script.memoryBytes[gpu] / 2, script.memoryBytes[gpu] / 2};
    return 0;
}
}
