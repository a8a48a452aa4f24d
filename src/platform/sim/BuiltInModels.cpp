#include <string_view>

#include "platform/sim/SimulatedPlatform.h"

// The machines --simulate knows by name. Brand strings are byte for byte what the processors
// report; the registers are those a monitor reads, with values these processors give. Their
// ratios follow the load between LowestRatio and the maximum (turbo where the model has it).

namespace calidus {

namespace {

constexpr std::string_view kE8400 = R"([Machine]
Vendor=GenuineIntel
Brand=Intel(R) Core(TM)2 Duo CPU     E8400  @ 3.00GHz
Signature=0x1067A
ApicIds=0,1
LogicalPerPackage=2
CoresPerPackage=2
MaxLeaf=13
Dts=1
Sse3=1
MsrInstructions=1
TscMHz=3000.00
LowestRatio=6                          ; EIST down to 6 when idle
DriverStatus=0
MsrAvailable=1
Missing=0x1A2,0x1AD,0x1FC             ; no TEMPERATURE_TARGET, turbo or POWER_CTL before Core i7

[Msr]
0x17=0x0004000000000900                ; platform 1, maximum ratio 9
0x2A=0x02400000                        ; power-on ratio 9
0xCE=0x0000092000000000                ; ratio 9 at VID 0x20
0x198=0x0000092000000920               ; running at ratio 9, VID 0x20 (1.2250 V); maximum 9
0x1A0=0x0000000000850089               ; EIST on and unlocked, C1E off
)";

constexpr std::string_view kQ6600 = R"([Machine]
Vendor=GenuineIntel
Brand=Intel(R) Core(TM)2 Quad CPU    Q6600  @ 2.40GHz
Signature=0x6FB
ApicIds=0,1,2,3
LogicalPerPackage=4
CoresPerPackage=4
MaxLeaf=10
TscMHz=2400.00
LowestRatio=6
Missing=0x1A2,0x1AD,0x1FC

[Msr]
0x17=0x0010000000000900                ; platform 4, maximum ratio 9
0x2A=0x02400000                        ; power-on ratio 9
0xCE=0x0000092500000000
0x198=0x0000092500000925               ; ratio 9, VID 0x25 (1.2875 V)
0x1A0=0x0000000000850089
)";

constexpr std::string_view kT9300 = R"([Machine]
Vendor=GenuineIntel
Brand=Intel(R) Core(TM)2 Duo CPU     T9300  @ 2.50GHz
Signature=0x10676
ApicIds=0,1
LogicalPerPackage=2
CoresPerPackage=2
MaxLeaf=13
TscMHz=2500.00
LowestRatio=6
Missing=0x1A2,0x1AD,0x1FC

[Msr]
0x17=0x0010000000004C00                ; platform 4, maximum ratio 12.5
0x2A=0x03040000                        ; power-on ratio 12 plus a half
0xCE=0x00004D2200000000                ; dynamic acceleration up to 13.5
0x198=0x00004C2200004C1F               ; ratio 12.5 at VID 0x1F (1.1000 V on the mobile base)
0x1A0=0x0000000000850089               ; dynamic acceleration not disengaged
)";

constexpr std::string_view kD510 = R"([Machine]
Vendor=GenuineIntel
Brand=Intel(R) Atom(TM) CPU D510   @ 1.66GHz
Signature=0x106CA
ApicIds=0,1,2,3
LogicalPerPackage=4
CoresPerPackage=2
MaxLeaf=10
TscMHz=1666.67
Missing=0x1A2,0x1AD,0x1FC

[Msr]
0x17=0x0004000000000A00                ; maximum ratio 10
0x2A=0x02800000                        ; power-on ratio 10
0xCE=0x00000A2200000000
0x198=0x00000A2200000A22               ; ratio 10, VID 0x22
0x1A0=0x0000000000000089               ; no EIST on this Atom
)";

constexpr std::string_view kI7_920 = R"([Machine]
Vendor=GenuineIntel
Brand=Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz
Signature=0x106A5
ApicIds=0,1,2,3,4,5,6,7
LogicalPerPackage=16
CoresPerPackage=8
MaxLeaf=11
TscMHz=2666.67
LowestRatio=12                         ; EIST down to 12 when idle

[Msr]
0xCE=0x00000C0000001400                ; base ratio 20, lowest ratio 12
0x198=0x0000000000000015               ; the ratio field follows the load
0x1A0=0x0000000000850089               ; EIST on, turbo not disengaged
0x1A2=0x0000000000640000               ; TjMax 100
0x1AD=0x0000000015151516               ; turbo 22 with one core busy, 21 with more
0x1FC=0x0000000000000002               ; C1E on
)";

constexpr std::string_view kI7_980X = R"([Machine]
Vendor=GenuineIntel
Brand=Intel(R) Core(TM) i7 CPU       X 980  @ 3.33GHz
Signature=0x206C2
ApicIds=0,1,2,3,4,5,16,17,18,19,20,21  ; the second three cores sit at 16 and up
LogicalPerPackage=32
CoresPerPackage=16
MaxLeaf=11
TscMHz=3333.33
LowestRatio=12

[Msr]
0xCE=0x00000C0010001900                ; base ratio 25, ratio limits unlocked
0x198=0x000000000000001A               ; the ratio field follows the load
0x1A0=0x0000000000850089
0x1A2=0x0000000000640000               ; TjMax 100
0x1AD=0x00001A1A1A1A1B1B               ; 27 with one or two cores busy, 26 with more
0x1FC=0x0000000000000002
)";

constexpr std::string_view kXeon2S = R"([Machine]
Vendor=GenuineIntel
Brand=Intel(R) Xeon(R) CPU           E5430  @ 2.66GHz
Signature=0x1067A
ApicIds=0,1,2,3,4,5,6,7                ; package 0 then package 1
LogicalPerPackage=4
CoresPerPackage=4
MaxLeaf=13
TscMHz=2666.67
LowestRatio=6
Missing=0x1A2,0x1AD,0x1FC

[Msr]
0x17=0x0004000000000800                ; maximum ratio 8
0x2A=0x02000000                        ; power-on ratio 8
0xCE=0x0000081A00000000
0x198=0x0000081A0000081A               ; ratio 8, VID 0x1A (1.1500 V)
0x1A0=0x0000000000850089
)";

constexpr std::string_view kPhenom = R"([Machine]
Vendor=AuthenticAMD
Brand=AMD Phenom(tm) 9600 Quad-Core Processor
Signature=0x100F22                     ; family 0xF plus extended family 1
ApicIds=0,1,2,3
LogicalPerPackage=4
CoresPerPackage=1                      ; leaf 4 is empty on this vendor's processors
MaxLeaf=5
Dts=0
TscMHz=2300.00
Missing=0x17,0x2A,0xCE,0x194,0x198,0x19A,0x19C,0x1A0,0x1A2,0x1AD,0x1FC,0x30A,0x30B,0x38D
)";

// A single-GPU card of the i7-920's day.
constexpr std::string_view kGeForceGtx285 = R"(
[Gpu.0]
Vendor=nvidia
Name=GeForce GTX 285
Temperature=49,50,51,52                ; warming up after start, then steady
Memory=1024
LinkWidth=16
)";

// One card listed by the display library once for each of its two outputs.
constexpr std::string_view kRadeonHd4870 = R"(
[Gpu.0]
Vendor=ati
Name=ATI Radeon HD 4800 Series
Temperature=52
Outputs=2
CoreClock=750
MemoryClock=900
Voltage=1263
LinkWidth=16
)";

std::string withGpu(std::string_view machine, std::string_view extraMachineKey,
                    std::string_view gpu) {
    std::string text(machine);
    text.insert(text.find('\n') + 1, extraMachineKey);
    return text.append(gpu);
}

// The same machine for a user who declines the authentication: its kernel's coretemp files only.
std::string declined(std::string_view description) {
    std::string text(description);
    text.insert(text.find('\n') + 1, "Authentication=dismissed\nCoretemp=1\n");
    return text;
}

}  // namespace

std::vector<BuiltInModel> builtInModels() {
    return {
        {"e8400", "Core 2 Duo E8400, 2 cores, 3.00 GHz", std::string(kE8400)},
        {"q6600", "Core 2 Quad Q6600, 4 cores, 2.40 GHz", std::string(kQ6600)},
        {"t9300", "Core 2 Duo T9300 (mobile), 2 cores, 2.50 GHz", std::string(kT9300)},
        {"d510", "Atom D510, 2 cores x 2 threads, 1.66 GHz", std::string(kD510)},
        {"i7-920", "Core i7-920, 4 cores x 2 threads, 2.67 GHz", std::string(kI7_920)},
        {"i7-920-user", "the Core i7-920 for a user who declines the authentication (coretemp)",
         declined(kI7_920)},
        {"i7-980x", "Core i7-980X, 6 cores x 2 threads, 3.33 GHz", std::string(kI7_980X)},
        {"xeon-2s", "two Xeon E5430, 2 packages x 4 cores, 2.66 GHz", std::string(kXeon2S)},
        {"phenom", "AMD Phenom 9600, 4 cores (refused: not an Intel processor)",
         std::string(kPhenom)},
        {"i7-920-nvidia", "Core i7-920 with an NVIDIA GeForce GTX 285",
         withGpu(kI7_920, "NvidiaDriver=340.108\n", kGeForceGtx285)},
        {"q6600-ati", "Core 2 Quad Q6600 with an ATI Radeon HD 4870 of two outputs",
         withGpu(kQ6600, "", kRadeonHd4870)},
    };
}

}  // namespace calidus
