#include "PlainBenchLoop.h"

#define MASK48 ((UINT64_C(1) << 48) - 1)

uint64_t plainBenchLoop(int count, int64_t seedTime) {
    double table[128];
    uint64_t x = (((uint64_t)seedTime << 16) | 0x330E) & MASK48;
    for (int k = 0; k < 128; ++k) {
        x = (0x5DEECE66DULL * x + 0xB) & MASK48;
        table[k] = (double)x / 281474976710656.0;
    }
    x = 0x68D94330EULL;
    double last = 0.0;
    long long n = (long long)count * 20000000;
    for (long long i = 0; i < n; ++i) {
        x = (0x5DEECE66DULL * x + 0xB) & MASK48;
        int index = (int)(x >> 41);
        last = table[index];
        x = (0x5DEECE66DULL * x + 0xB) & MASK48;
        table[index] = (double)x / 281474976710656.0;
    }
    return (uint64_t)(last * 4294967295.0);
}
