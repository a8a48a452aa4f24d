#pragma once

// What the stand-in NVIDIA and AMD libraries answer, set by a test before the library is loaded
// by path. Each exported call of the vendor's name notes that name in the journal.

using StandInJournal = void (*)(const char* entry);

struct StandInNvmlScript {
    int initStatus;
    unsigned count;
    int temperatureStatus;
    unsigned temperature[2];
    unsigned linkWidth[2];
    unsigned long long memoryBytes[2];
    char driver[80];
    char name[2][96];
};

struct StandInAdlScript {
    int createStatus;
    int count;
    int id[4];
    int millidegrees[4];
    char name[4][256];
    int engineClock;
    int memoryClock;
    int vddc;
    int lanes;
};

extern "C" {
void standInNvml(const StandInNvmlScript* script, StandInJournal journal);
void standInAdl(const StandInAdlScript* script, StandInJournal journal);
}
