#include "view/GpuInfoLayout.h"

namespace calidus {

namespace {

constexpr AtiInfoIds kAtiStandard{.adapterName = 1202,
                                  .minimumBox = 1209,
                                  .minimumDate = 1205,
                                  .minimumTime = 1206,
                                  .minimumValue = 1203,
                                  .maximumBox = 1210,
                                  .maximumDate = 1207,
                                  .maximumTime = 1208,
                                  .maximumValue = 1204,
                                  .temperatureLabel = 1217,
                                  .temperature = 1212,
                                  .coreClock = 1213,
                                  .memoryClock = 1214,
                                  .voltage = 1215,
                                  .linkWidth = 1216,
                                  .period = 1201,
                                  .freeze = 1009,
                                  .gpuButton = 1200,
                                  .periodLabel = "Read Sensor Interval",
                                  .okAndCancel = false};

// 100 above the standard ids, but for the freeze box.
constexpr AtiInfoIds kAtiXl{.adapterName = 1302,
                            .minimumBox = 1309,
                            .minimumDate = 1305,
                            .minimumTime = 1306,
                            .minimumValue = 1303,
                            .maximumBox = 1310,
                            .maximumDate = 1307,
                            .maximumTime = 1308,
                            .maximumValue = 1304,
                            .temperatureLabel = 1317,
                            .temperature = 1312,
                            .coreClock = 1313,
                            .memoryClock = 1314,
                            .voltage = 1315,
                            .linkWidth = 1316,
                            .period = 1301,
                            .freeze = 1318,
                            .gpuButton = 1300,
                            .periodLabel = "Read Sensor (seconds)",
                            .okAndCancel = true};

constexpr NvidiaInfoIds kNvidiaStandard{.name = 1187,
                                        .driverVersion = 1188,
                                        .linkWidth = 1189,
                                        .memory = 1190,
                                        .minimumBox = 1196,
                                        .minimumDate = 1192,
                                        .minimumTime = 1193,
                                        .minimumValue = 1191,
                                        .maximumBox = 1197,
                                        .maximumDate = 1198,
                                        .maximumTime = 1199,
                                        .maximumValue = 1194,
                                        .gpuButton = 1195,
                                        .captionsFollowUnit = false};

// 213 above the standard ids.
constexpr NvidiaInfoIds kNvidiaXl{.name = 1400,
                                  .driverVersion = 1401,
                                  .linkWidth = 1402,
                                  .memory = 1403,
                                  .minimumBox = 1409,
                                  .minimumDate = 1405,
                                  .minimumTime = 1406,
                                  .minimumValue = 1404,
                                  .maximumBox = 1410,
                                  .maximumDate = 1411,
                                  .maximumTime = 1412,
                                  .maximumValue = 1407,
                                  .gpuButton = 1408,
                                  .captionsFollowUnit = true};

}  // namespace

const AtiInfoIds& atiInfoIds(const Edition& edition) {
    return edition.isXL() ? kAtiXl : kAtiStandard;
}

const NvidiaInfoIds& nvidiaInfoIds(const Edition& edition) {
    return edition.isXL() ? kNvidiaXl : kNvidiaStandard;
}

}  // namespace calidus
