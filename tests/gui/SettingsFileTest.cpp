#include "gui/Settings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string contentsOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ReadOutcome {
    SideFileResult result;
    Settings settings;
    std::string output;
};

// Starts from settings unlike the defaults, to see what the read leaves.
ReadOutcome readFile(const std::filesystem::path& file)
{
    ReadOutcome read;
    read.settings = Settings{3, 4, false, false};
    testsupport::StdoutCapture capture;
    read.result = readSettingsFile(file.string(), read.settings);
    read.output = capture.finish();
    return read;
}

} // namespace

TEST(SettingsFile, WhatIsWrittenReadsBackTheSame)
{
    testsupport::ScratchDir dir;
    const auto file = dir.path() / "settings.txt";
    const Settings chosen{7, 0, false, false};
    ASSERT_TRUE(writeSettingsFile(file.string(), chosen));
    EXPECT_EQ(contentsOf(file), "tumbrix settings 1\nmusicVolume 7\neffectsVolume 0\nfullScreen 0\nmusic 0\n");

    ReadOutcome read = readFile(file);
    EXPECT_EQ(read.result.status, SideFileStatus::Read);
    EXPECT_EQ(read.settings, chosen);
    EXPECT_EQ(read.output, "");

    // Edited by hand: any blanks, Windows line ends, blank lines, keys in any order, a key
    // given twice (the later wins), a setting left out (its default).
    dir.write("settings.txt", "tumbrix settings 1\r\n\r\n  music\t1\r\nmusicVolume 2\r\nmusicVolume 9\r\n");
    read = readFile(file);
    EXPECT_EQ(read.result.status, SideFileStatus::Read);
    EXPECT_EQ(read.settings, (Settings{9, 10, true, true}));
    EXPECT_EQ(read.output, "");
}

TEST(SettingsFile, MissingFileGivesTheDefaultsSilently)
{
    testsupport::ScratchDir dir;
    ReadOutcome read = readFile(dir.path() / "settings.txt");
    EXPECT_EQ(read.result.status, SideFileStatus::Missing);
    EXPECT_EQ(read.settings, Settings{});
    EXPECT_EQ(read.output, "");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "settings.txt"));
}

TEST(SettingsFile, BadLinesAreSkippedOnceEachAndTheGoodOnesKept)
{
    testsupport::ScratchDir dir;
    const auto file = dir.write("settings.txt",
                                "tumbrix settings 1\n"
                                "musicVolume 3\n"
                                "effectsVolume loud\n"
                                "fullScreen 2\n"
                                "colour blue\n"
                                "music 0 1\n"
                                "effectsVolume\n"
                                "effectsVolume 4x\n"
                                "fullScreen 0\n");
    ReadOutcome read = readFile(file);
    EXPECT_EQ(read.result.status, SideFileStatus::Skipped);
    EXPECT_EQ(read.result.skipped, 6);
    EXPECT_EQ(read.settings, (Settings{3, 10, false, true}));
    const std::string where = "OF_ERROR: settings: [" + file.string() + "] ";
    EXPECT_EQ(read.output, where + "line 3: bad effectsVolume 'loud', skipped\n" +
                           where + "line 4: bad fullScreen '2' (0 or 1), skipped\n" +
                           where + "line 5: unknown setting 'colour', skipped\n" +
                           where + "line 6: more than a key and a value, skipped\n" +
                           where + "line 7: no value for 'effectsVolume', skipped\n" +
                           where + "line 8: bad effectsVolume '4x', skipped\n");

    // Written back with what was good, so the next start has nothing to say.
    EXPECT_EQ(contentsOf(file), settingsText(Settings{3, 10, false, true}));
    read = readFile(file);
    EXPECT_EQ(read.result.status, SideFileStatus::Read);
    EXPECT_EQ(read.output, "");
    EXPECT_EQ(read.settings, (Settings{3, 10, false, true}));
}

TEST(SettingsFile, VolumesOutOfRangeAreClampedWithAMessage)
{
    testsupport::ScratchDir dir;
    const auto file = dir.write("settings.txt", "tumbrix settings 1\nmusicVolume 15\neffectsVolume -2\n");
    ReadOutcome read = readFile(file);
    EXPECT_EQ(read.result.status, SideFileStatus::Read);
    EXPECT_EQ(read.settings.musicVolume, 10);
    EXPECT_EQ(read.settings.effectsVolume, 0);
    const std::string where = "OF_WARNING: settings: [" + file.string() + "] ";
    EXPECT_EQ(read.output, where + "line 2: musicVolume '15' is outside 0..10, 10 used\n" +
                           where + "line 3: effectsVolume '-2' is outside 0..10, 0 used\n");

    // The line-level form the options screen and the tests share.
    Settings settings;
    std::string note;
    EXPECT_EQ(readSettingsLine("effectsVolume 99999999999", settings, note), "bad effectsVolume '99999999999'");
    EXPECT_EQ(settings.effectsVolume, 10);
    EXPECT_EQ(readSettingsLine("effectsVolume 0", settings, note), "");
    EXPECT_EQ(note, "");
    EXPECT_EQ(settings.effectsVolume, 0);
}

TEST(SettingsFile, UnreadableFileIsKeptAsideAndTheGameStartsWithDefaults)
{
    testsupport::ScratchDir dir;
    const std::string damaged = std::string("\x7f\x45\x4c\x46\0\0binary", 12);
    const auto file = dir.write("settings.txt", damaged);
    ReadOutcome read = readFile(file);
    EXPECT_EQ(read.result.status, SideFileStatus::KeptAside);
    EXPECT_EQ(read.settings, Settings{});
    EXPECT_EQ(read.result.asidePath, file.string() + ".damaged");
    EXPECT_EQ(contentsOf(file.string() + ".damaged"), damaged);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_NE(read.output.find("settings: [" + file.string() + "]"), std::string::npos) << read.output;

    // Saving afterwards makes a new file and leaves the kept one alone; a second damaged file
    // goes beside the first, not over it.
    ASSERT_TRUE(writeSettingsFile(file.string(), Settings{}));
    EXPECT_EQ(contentsOf(file.string() + ".damaged"), damaged);
    dir.write("settings.txt", "musicVolume 3\n");   // no header: some other file
    read = readFile(file);
    EXPECT_EQ(read.result.status, SideFileStatus::KeptAside);
    EXPECT_EQ(read.result.asidePath, file.string() + ".damaged-2");
    EXPECT_EQ(read.settings, Settings{});
    EXPECT_EQ(contentsOf(file.string() + ".damaged"), damaged);
}
