// A stand-in of the AMD Display Library for Linux: its entry names answering a script, with the
// records in the library's Linux layout. No standard containers, so that nothing keeps the
// library loaded after its last close.

#include <cstring>

#include "support/standins/StandInScripts.h"

namespace {

StandInAdlScript script;
StandInJournal journal = nullptr;

void note(const char* entry) {
    if (journal != nullptr) {
        journal(entry);
    }
}

bool known(int adapter) {
    return adapter >= 0 && adapter < script.count && adapter < 4;
}

struct AdapterInfo {
    int size;
    int adapterIndex;
    char udid[256];
    int busNumber;
    int deviceNumber;
    int functionNumber;
    int vendorId;
    char adapterName[256];
    char displayName[256];
    int present;
    int xScreenNumber;
    int driverIndex;
    char xScreenConfigName[256];
};

struct Temperature {
    int size;
    int temperature;
};

struct Activity {
    int size;
    int engineClock;
    int memoryClock;
    int vddc;
    int activityPercent;
    int currentPerformanceLevel;
    int currentBusSpeed;
    int currentBusLanes;
    int maximumBusLanes;
    int reserved;
};

}  // namespace

extern "C" {

void standInAdl(const StandInAdlScript* s, StandInJournal j) {
    script = *s;
    journal = j;
}

int ADL_Main_Control_Create(void* (*allocate)(int), int connectedOnly) {
    note("ADL_Main_Control_Create");
    return allocate != nullptr && connectedOnly == 1 ? script.createStatus : -1;
}

int ADL_Main_Control_Destroy() {
    note("ADL_Main_Control_Destroy");
    return 0;
}

int ADL_Adapter_NumberOfAdapters_Get(int* count) {
    note("ADL_Adapter_NumberOfAdapters_Get");
    *count = script.count;
    return 0;
}

// Refuses a buffer that is not one zeroed record per adapter.
int ADL_Adapter_AdapterInfo_Get(AdapterInfo* records, int size) {
    note("ADL_Adapter_AdapterInfo_Get");
    if (size != script.count * static_cast<int>(sizeof(AdapterInfo)) || records[0].size != 0) {
        return -1;
    }
    for (int adapter = 0; adapter < script.count && adapter < 4; ++adapter) {
        records[adapter].size = sizeof(AdapterInfo);
        records[adapter].adapterIndex = adapter;
        std::strncpy(records[adapter].adapterName, script.name[adapter], 256);
        std::strncpy(records[adapter].displayName, ":0.0", 256);
    }
    return 0;
}

int ADL_Adapter_Active_Get(int, int* active) {
    note("ADL_Adapter_Active_Get");
    *active = 1;
    return 0;
}

int ADL_Overdrive5_Temperature_Get(int adapter, int controller, Temperature* record) {
    note("ADL_Overdrive5_Temperature_Get");
    if (!known(adapter) || controller != 0 || record->size != sizeof(Temperature)) {
        return -1;
    }
    record->temperature = script.millidegrees[adapter];
    return 0;
}

int ADL_Adapter_ID_Get(int adapter, int* id) {
    note("ADL_Adapter_ID_Get");
    if (!known(adapter)) {
        return -1;
    }
    *id = script.id[adapter];
    return 0;
}

int ADL_Overdrive5_CurrentActivity_Get(int adapter, Activity* record) {
    note("ADL_Overdrive5_CurrentActivity_Get");
    if (!known(adapter) || record->size != sizeof(Activity)) {
        return -1;
    }
    record->engineClock = script.engineClock;
    record->memoryClock = script.memoryClock;
    record->vddc = script.vddc;
    record->currentBusLanes = script.lanes;
    return 0;
}
}
