#include "tools/PluginInstaller.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;

TEST(PluginInstaller, CopiesTheFilesAndWritesThePresentCores) {
    TempFolder program;
    TempFolder riva;
    program.put("CLCore.dll", "plug-in 2");
    program.put("CLCore.rth", "help");
    riva.put("RivaTuner.exe", "");
    riva.put("PlugIns/Monitoring/CLCore.dll", "plug-in 1");
    riva.put("Help/Plugins/Monitoring/.keep", "");
    const PluginSources sources{{program.path()}};
    CoreCalibration cores;
    cores.tjMax = {95, 100, 85, 85, 85, 85, 85, 85};
    cores.idle = {15, -20, 7, 7, 7, 7, 7, 7};
    const std::array<bool, 8> dualCore{true, true};
    const std::string exe = (riva / "RivaTuner.exe").string();

    for (int round = 0; round < 2; ++round) {  // the second overwrites without a question
        const PluginInstall done = installPlugin(exe, sources, cores, dualCore);
        EXPECT_EQ(done.rivaFile, exe);
        ASSERT_TRUE(done.message);
        EXPECT_EQ(done.message->caption, "Plug-In Installed");
    }
    EXPECT_EQ(TempFolder::read(riva / "PlugIns/Monitoring/CLCore.dll"), "plug-in 2");
    EXPECT_EQ(TempFolder::read(riva / "Help/Plugins/Monitoring/CLCore.rth"), "help");
    EXPECT_EQ(TempFolder::read(riva / "PlugIns/Monitoring/CLCore.cfg"),
              "[Calidus]\nTjMax0=95\nTjMax1=100\nIdle0=1.5\nIdle1=-2.0\n");

    const PluginInstall wrongName =
        installPlugin((riva / "rivatuner.exe").string(), sources, cores, dualCore);
    EXPECT_TRUE(wrongName.rivaFile.empty());
    EXPECT_EQ(wrongName.message->text,
              "RivaTuner.exe\nFile not found.\nCheck the file name and try again.");

    TempFolder empty;
    const PluginInstall missing = installPlugin(exe, {{empty.path()}}, cores, dualCore);
    EXPECT_TRUE(missing.rivaFile.empty());
    EXPECT_EQ(missing.message->text, "Could not copy\n\n" + (empty / "CLCore.dll").string() +
                                         "\n\nto the  RivaTuner\\PlugIns\\Monitoring directory.");

    // A configuration that cannot be written is no success.
    std::filesystem::remove(riva / "PlugIns/Monitoring/CLCore.cfg");
    std::filesystem::create_directory(riva / "PlugIns/Monitoring/CLCore.cfg");
    const PluginInstall unconfigured = installPlugin(exe, sources, cores, dualCore);
    EXPECT_TRUE(unconfigured.rivaFile.empty());
    EXPECT_EQ(unconfigured.message->caption, "Error");

    EXPECT_FALSE(installPlugin(std::nullopt, sources, cores, dualCore).message);
    EXPECT_EQ(rivaTunerChooser(exe, "/home/u").startFolder, riva.path());
    EXPECT_EQ(rivaTunerChooser("", "/home/u").startFolder, "/home/u");
}

}  // namespace
}  // namespace calidus
