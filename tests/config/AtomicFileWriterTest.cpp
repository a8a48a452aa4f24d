#include "config/AtomicFileWriter.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;

TEST(AtomicFileWriter, AWriteThatFailsHalfWayLeavesTheOldFileWhole) {
    TempFolder folder;
    const auto target = folder / "Calidus.ini";
    TempFolder::write(target, "[Calidus]\nFahrenheit=1\n");
    const WriteStep stopHalfWay = [](std::ostream& out, std::string_view contents) {
        out.write(contents.data(), static_cast<std::streamsize>(contents.size() / 2));
        return false;
    };
    EXPECT_FALSE(writeFileAtomically(target, "[Calidus]\nFahrenheit=0\nLogFile=1\n", stopHalfWay));
    EXPECT_EQ(TempFolder::read(target), "[Calidus]\nFahrenheit=1\n");
    EXPECT_EQ(folder.entries(), 1);  // no temporary file left behind

    EXPECT_TRUE(writeFileAtomically(target, "[Calidus]\nFahrenheit=0\n"));
    EXPECT_EQ(TempFolder::read(target), "[Calidus]\nFahrenheit=0\n");
    EXPECT_EQ(folder.entries(), 1);
}

TEST(AtomicFileWriter, KeepsPermissionsAndReplacesTheFileBehindALink) {
    TempFolder folder;
    const auto real = folder / "real.ini";
    const auto link = folder / "Calidus.ini";
    TempFolder::write(real, "old");
    std::filesystem::permissions(
        real, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::create_symlink(real, link);

    EXPECT_TRUE(writeFileAtomically(link, "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::read(real), "new");
    EXPECT_EQ(std::filesystem::status(real).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(AtomicFileWriter, FailsWithoutHarmWhenTheTargetIsReadOnlyOrAFolderOrItsFolderIsMissing) {
    TempFolder folder;
    const auto readOnly = folder / "ReadOnly.ini";
    TempFolder::write(readOnly, "[Calidus]\nFahrenheit=1\n");
    std::filesystem::permissions(
        readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    EXPECT_FALSE(writeFileAtomically(readOnly, "[Calidus]\n"));
    EXPECT_EQ(TempFolder::read(readOnly), "[Calidus]\nFahrenheit=1\n");
    std::filesystem::remove(readOnly);

    EXPECT_FALSE(writeFileAtomically(folder / "missing" / "Calidus.ini", "x"));
    std::filesystem::create_directory(folder / "Calidus.ini");
    TempFolder::write(folder / "Calidus.ini" / "inside", "kept");
    EXPECT_FALSE(writeFileAtomically(folder / "Calidus.ini", "x"));
    EXPECT_EQ(TempFolder::read(folder / "Calidus.ini" / "inside"), "kept");
    EXPECT_EQ(folder.entries(), 1);
}

}  // namespace
}  // namespace calidus
