#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>

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

TEST(ReplaceFile, RemovesOnlyItsOwnStaleTemporariesAndSaysWhyItRefuses) {
    TempFolder folder;
    const fs::path target = folder / "Calidus.ini";
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
    for (const char* name : {".Calidus.ini.0badf00d.tmp", ".Calidus.ini.1234abcd.tmp",
                             ".CalidusXL.ini.0badf00d.tmp", ".Calidus.ini.notours1.tmp"}) {
        TempFolder::write(folder / name, "half");
        fs::last_write_time(folder / name, old);
    }
    TempFolder::write(folder / ".Calidus.ini.00000001.tmp", "a save in progress");
    ASSERT_TRUE(replaceFile(target, "new"));
    EXPECT_FALSE(fs::exists(folder / ".Calidus.ini.0badf00d.tmp"));
    EXPECT_FALSE(fs::exists(folder / ".Calidus.ini.1234abcd.tmp"));
    EXPECT_EQ(folder.entries(), 4);

    fs::permissions(target, fs::perms::owner_read);
    EXPECT_EQ(replaceFile(target, "x").failure, ReplaceFailure::ReadOnly);
    fs::create_directory(folder / "CalidusXL.ini");
    EXPECT_EQ(replaceFile(folder / "CalidusXL.ini", "x").failure, ReplaceFailure::NotAFile);
    EXPECT_EQ(replaceFile(folder / "missing" / "Calidus.ini", "x").failure,
              ReplaceFailure::FolderMissing);
    EXPECT_EQ(TempFolder::read(target), "new");
    if (geteuid() != 0) {
        EXPECT_EQ(replaceFile("/etc/passwd", "x").failure, ReplaceFailure::NotOwner);
    }
}

// A setuid program of nobody's as the settings file, and links of nobody's, with root saving.
TEST(ReplaceFile, AsRootKeepsTheOwnerNeverTheModeBitsAndFollowsOnlyRootsLinks) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root: run the tests as root to check the saves of root";
    }
    constexpr uid_t kNobody = 65534;
    TempFolder folder;
    const fs::path program = folder / "Calidus.ini";
    TempFolder::write(program,
                      "\x7f"
                      "ELF");
    ASSERT_EQ(chown(program.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chmod(program.c_str(), 04755), 0);
    ASSERT_TRUE(replaceFile(program, "[Calidus]\n"));
    struct stat saved {};
    ASSERT_EQ(stat(program.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_uid, kNobody);
    EXPECT_EQ(saved.st_gid, kNobody);
    EXPECT_EQ(saved.st_mode & 07777, 0644u);

    const fs::path secret = folder / "shadow";
    TempFolder::write(secret, "root's");
    const fs::path planted = folder / "CalidusXL.ini";
    fs::create_symlink(secret, planted);
    ASSERT_EQ(lchown(planted.c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(replaceFile(planted, "x").failure, ReplaceFailure::UntrustedLink);
    EXPECT_EQ(TempFolder::read(secret), "root's");
    EXPECT_TRUE(fs::is_symlink(planted));

    ASSERT_EQ(lchown(planted.c_str(), 0, 0), 0);
    ASSERT_TRUE(replaceFile(planted, "x"));
    EXPECT_EQ(TempFolder::read(secret), "x");
}

}  // namespace
}  // namespace calidus
