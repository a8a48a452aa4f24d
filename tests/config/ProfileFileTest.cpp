#include "config/ProfileFile.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;

TEST(ProfileFile, ReadsKeysOfTheFirstMatchingSectionWithProfileSemantics) {
    const ProfileFile file = ProfileFile::parse(
        "\xEF\xBB\xBF"
        "Orphan=1\r\n"
        "[Other]\n"
        "Fahrenheit=7\n"
        "  [ calidus ]  \r\n"
        "; Fahrenheit=9\n"
        "  fAhReNhEiT   =  1  \r\n"
        "Fahrenheit=2\n"
        "Empty=\n"
        "Hex=0x1a2B\n"
        "Negative=-42\n"
        "Trailing=12abc\n"
        "Garbage=abc\n"
        "NoEquals\n"
        "[Calidus]\n"
        "Late=1");

    EXPECT_EQ(file.readInt("Calidus", "Fahrenheit", 5), 1);
    EXPECT_EQ(file.readInt("Calidus", "Empty", 5), 5);
    EXPECT_EQ(file.readInt("Calidus", "Absent", 5), 5);
    EXPECT_EQ(file.readInt("Calidus", "Hex", 0), 0x1A2B);
    EXPECT_EQ(file.readInt("Calidus", "Negative", 0), -42);
    EXPECT_EQ(file.readInt("Calidus", "Trailing", 0), 12);
    EXPECT_EQ(file.readInt("Calidus", "Garbage", 5), 0);
    EXPECT_FALSE(file.find("Calidus", "NoEquals"));
    EXPECT_FALSE(file.find("Calidus", "Orphan"));
    EXPECT_FALSE(file.find("Calidus", "Late"));
    EXPECT_EQ(file.readInt("OTHER", "fahrenheit", 0), 7);
}

TEST(ProfileFile, CutsTextsAtTheirLengthWithoutSplittingCharacters) {
    const ProfileFile file = ProfileFile::parse("[Calidus]\nLong=" + std::string(300, 'a') +
                                                "\nUnit=\xC2\xB0"
                                                "Fx\n");
    EXPECT_EQ(file.readText("Calidus", "Long"), std::string(259, 'a'));
    EXPECT_EQ(file.readText("Calidus", "Unit", "", 2),
              "\xC2\xB0"
              "F");
    EXPECT_EQ(file.readText("Calidus", "Unit", "", 1), "\xC2\xB0");
    EXPECT_EQ(file.readText("Calidus", "Absent", "MS Sans Serif"), "MS Sans Serif");
}

TEST(ProfileFile, WritingKeepsEverythingItDoesNotWrite) {
    ProfileFile file = ProfileFile::parse(
        "\xEF\xBB\xBF; hand-made\r\n"
        "[Calidus]\r\n"
        "fahrenheit = 0\r\n"
        "Unknown=keep me\r\n"
        "\r\n"
        "[Other]\r\n"
        "Fahrenheit=0");
    file.write("Calidus", "Fahrenheit", "1");
    file.write("Calidus", "LogFile", "1");
    file.write("Other", "Added", "x\r\n[Injected]\nKey=1");
    EXPECT_EQ(file.contents(),
              "\xEF\xBB\xBF; hand-made\r\n"
              "[Calidus]\r\n"
              "Fahrenheit=1\r\n"
              "Unknown=keep me\r\n"
              "LogFile=1\r\n"
              "\r\n"
              "[Other]\r\n"
              "Fahrenheit=0\r\n"
              "Added=x\r\n");
    EXPECT_FALSE(file.find("Injected", "Key"));

    ProfileFile fresh = ProfileFile::parse("; only a comment");
    fresh.write("Calidus", "MiniMode", "0");
    EXPECT_EQ(fresh.contents(), "; only a comment\n\n[Calidus]\nMiniMode=0\n");
}

TEST(ProfileFile, SurvivesBinaryBytesAndMegabyteLines) {
    std::string contents = "[Calidus]\n";
    contents += "Huge=" + std::string(1 << 20, 'x') + "\n";
    contents += std::string("\0\xFF\xFE\r\r[\n=\n", 9);
    contents += "[Calidus]\nIconShow=3\n";
    ProfileFile file = ProfileFile::parse(contents);
    EXPECT_EQ(file.readText("Calidus", "Huge").size(), 259u);
    EXPECT_EQ(file.readInt("Calidus", "IconShow", 1), 1);  // the second [Calidus] is not read
    file.write("Calidus", "IconShow", "3");
    EXPECT_EQ(ProfileFile::parse(file.contents()).readInt("Calidus", "IconShow", 1), 3);
}

TEST(ProfileFile, MissingOrUnreadableFilesReadAsEmptyAndSavesReplaceTheFile) {
    TempFolder folder;
    EXPECT_FALSE(ProfileFile::load(folder / "missing.ini").find("Calidus", "GPU"));
    EXPECT_FALSE(ProfileFile::load(folder.path()).find("Calidus", "GPU"));
    EXPECT_FALSE(ProfileFile::load("/dev/zero").find("Calidus", "GPU"));

    ProfileFile file;
    file.write("Calidus", "GPU", "3");
    EXPECT_TRUE(file.save(folder / "Calidus.ini"));
    EXPECT_EQ(ProfileFile::load(folder / "Calidus.ini").readInt("Calidus", "GPU", 0), 3);
    EXPECT_FALSE(file.save(folder / "no-such-folder" / "Calidus.ini"));
}

// Files the program could not keep whole when it rewrites them are neither read nor replaced.
TEST(ProfileFile, OversizedAndUtf16FilesAreReadAsEmptyAndNeverReplaced) {
    TempFolder folder;
    struct Case {
        std::string name;
        std::string contents;
    };
    const std::string utf16 = std::string("\xFF\xFE[\0C\0]\0\n\0", 10);
    for (const Case& c : {Case{"huge.ini", "[Calidus]\nFahrenheit=1\n" +
                                               std::string(ProfileFile::kLargestFile, '\n')},
                          Case{"wide.ini", utf16}}) {
        const std::filesystem::path file = folder / c.name;
        TempFolder::write(file, c.contents);
        ProfileFile loaded = ProfileFile::load(file);
        EXPECT_EQ(loaded.find("Calidus", "Fahrenheit"), std::nullopt) << c.name;
        EXPECT_NE(loaded.refusal(), "") << c.name;
        loaded.write("Calidus", "MiniMode", "1");
        EXPECT_FALSE(loaded.save(file)) << c.name;
        EXPECT_EQ(TempFolder::read(file), c.contents) << c.name;
    }
}

}  // namespace
}  // namespace calidus
