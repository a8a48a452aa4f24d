#include <gtest/gtest.h>

#include "platform/FileReplace.h"
#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

fs::perms permissionsOf(const fs::path& file) {
    return fs::status(file).permissions() & fs::perms::all;
}

TEST(ReplaceFile, CarriesOnlyReadAndWriteBitsAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const fs::path script = folder / "Calidus.ini";
    TempFolder::write(script, "old");
    fs::permissions(script, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    ASSERT_TRUE(replaceFile(script, "new"));
    EXPECT_EQ(TempFolder::read(script), "new");
    EXPECT_EQ(permissionsOf(script), fs::perms::owner_read | fs::perms::owner_write |
                                         fs::perms::group_read | fs::perms::others_read);

    const fs::path fresh = folder / "CalidusXL.ini";
    ASSERT_TRUE(replaceFile(fresh, ""));
    EXPECT_EQ(permissionsOf(fresh), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(folder.entries(), 2);

    EXPECT_FALSE(replaceFile(folder / "missing" / "Calidus.ini", "x"));
    EXPECT_EQ(folder.entries(), 2);
}

}  // namespace
}  // namespace calidus
