#include "config/SettingsPath.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "config/DataFolders.h"
#include "config/SettingsWriter.h"
#include "support/TempFolder.h"

namespace calidus {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

FileExists existing(std::set<fs::path> files) {
    return [files = std::move(files)](const fs::path& file) { return files.count(file) != 0; };
}

TEST(SettingsPath, InstalledProgramsUseTheConfigHomeUnlessAFileIsBesideThem) {
    struct Case {
        const char* what;
        std::string_view programName;
        fs::path program;
        std::optional<std::string> xdg;
        std::optional<std::string> home;
        std::set<fs::path> files;
        fs::path expected;
    };
    const std::string home = "/home/ada";
    const Case cases[] = {
        {"build folder",
         "Calidus",
         "/src/calidus/build/Calidus",
         "/x",
         home,
         {},
         "/src/calidus/build/Calidus.ini"},
        {"own folder",
         "CalidusXL",
         "/opt/calidus/CalidusXL",
         {},
         {},
         {},
         "/opt/calidus/CalidusXL.ini"},
        {"installed, XDG_CONFIG_HOME",
         "Calidus",
         "/usr/bin/Calidus",
         "/cfg",
         home,
         {},
         "/cfg/calidus/Calidus.ini"},
        {"installed, XL",
         "CalidusXL",
         "/usr/bin/CalidusXL",
         "/cfg",
         home,
         {},
         "/cfg/calidus/CalidusXL.ini"},
        {"installed, no XDG_CONFIG_HOME",
         "Calidus",
         "/usr/bin/Calidus",
         {},
         home,
         {},
         "/home/ada/.config/calidus/Calidus.ini"},
        {"installed, empty XDG_CONFIG_HOME",
         "Calidus",
         "/usr/bin/Calidus",
         "",
         home,
         {},
         "/home/ada/.config/calidus/Calidus.ini"},
        {"installed, relative XDG_CONFIG_HOME",
         "Calidus",
         "/usr/bin/Calidus",
         "cfg",
         home,
         {},
         "/home/ada/.config/calidus/Calidus.ini"},
        {"installed, file beside wins",
         "Calidus",
         "/usr/bin/Calidus",
         "/cfg",
         home,
         {"/usr/bin/Calidus.ini", "/cfg/calidus/Calidus.ini"},
         "/usr/bin/Calidus.ini"},
        {"installed, the other edition's file beside",
         "Calidus",
         "/usr/bin/Calidus",
         "/cfg",
         home,
         {"/usr/bin/CalidusXL.ini"},
         "/cfg/calidus/Calidus.ini"},
        {"installed, nowhere to keep it", "Calidus", "/usr/bin/Calidus", {}, "relative", {}, ""},
        {"program unknown", "Calidus", "", "/cfg", home, {}, ""},
    };
    for (const Case& c : cases) {
        const SettingsPlace place{.program = c.program,
                                  .installedProgramFolder = "/usr/bin/",
                                  .xdgConfigHome = c.xdg,
                                  .home = c.home};
        EXPECT_EQ(settingsFileFor(c.programName, place, existing(c.files)), c.expected) << c.what;
    }
}

TEST(SettingsPath, TheFirstSaveMakesTheFolderForItsOwnerOnly) {
    TempFolder folder;
    const fs::path file = folder / "home/.config/calidus/Calidus.ini";
    ExitState exit;
    exit.miniMode = true;
    ASSERT_TRUE(saveOnExit(file, exit));
    EXPECT_NE(TempFolder::read(file).find("MiniMode=1"), std::string::npos);
    for (const fs::path& made : {folder / "home", folder / "home/.config/calidus"}) {
        EXPECT_EQ(fs::status(made).permissions(), fs::perms::owner_all) << made;
    }
    EXPECT_TRUE(saveOnExit(file, exit));
}

TEST(SettingsPath, DataFilesAreLookedUpInTheirOrder) {
    const DataFolders folders{.current = "/work", .program = "/opt/c", .installed = "/usr/share/c"};
    struct Case {
        DataFileKind kind;
        std::set<fs::path> files;
        fs::path expected;
    };
    const Case cases[] = {
        {DataFileKind::Sound, {"/work/f", "/opt/c/f", "/usr/share/c/f"}, "/work/f"},
        {DataFileKind::Sound, {"/opt/c/f", "/usr/share/c/f"}, "/opt/c/f"},
        {DataFileKind::Sound, {"/usr/share/c/f"}, "/usr/share/c/f"},
        {DataFileKind::PlugIn, {"/work/f", "/usr/share/c/f"}, "/usr/share/c/f"},
        {DataFileKind::PlugIn, {"/work/f"}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findDataFile("f", c.kind, folders, existing(c.files)), c.expected);
    }
}

}  // namespace
}  // namespace calidus
