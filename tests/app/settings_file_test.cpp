// settings.ini: read with the game's INI reader, damaged files ignored whole with one
// line, [Keys] lines kept as written (the desktop judges them), written whole.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/SettingsFile.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

TEST(Settings, ReadFromTheFile) {
    struct Case {
        const char* text;
        Settings expected;
    };
    const Case cases[] = {
        {"", Settings{}},
        {"[Settings]\nFullscreen=0\nWindowWidth=800\nWindowHeight=600\nVolume=40\n", {false, 800, 600, 40, Pilot::Classic, {}}},
        // Keys and section in any case, blanks around values, hexadecimal as everywhere.
        {"[settings]\r\n fullscreen = 1 \r\nvolume=$20\r\n", {true, 1024, 768, 32, Pilot::Classic, {}}},
        // Missing keys keep their defaults; unknown keys and sections are no harm.
        {"[Settings]\nWindowHeight=900\nColour=blue\n[Other]\nVolume=3\n", {true, 1024, 900, 100, Pilot::Classic, {}}},
        {"[Settings]\nVolume=0\nWindowWidth=320\nWindowHeight=16384\n", {true, 320, 16384, 0, Pilot::Classic, {}}},
        {"[Settings]\nLanguage=en\n", {true, 1024, 768, 100, Pilot::Classic, {}, "en"}},
        {"[Settings]\nlanguage = pt_BR\n", {true, 1024, 768, 100, Pilot::Classic, {}, "pt_BR"}},  // checked when the game starts
        // The pilot by name, in any case.
        {"[Settings]\nPilot=veteran\n", {true, 1024, 768, 100, Pilot::Veteran, {}}},
        {"[Settings]\npilot = VETERAN \nVolume=7\n", {true, 1024, 768, 7, Pilot::Veteran, {}}},
        {"[Settings]\nPilot=Classic\n", {true, 1024, 768, 100, Pilot::Classic, {}}},
        // Network play: the name as written (the game makes it fit), the port 1..65535.
        {"[Settings]\nPlayerName= Ann Lee \nPort=4000\n", {true, 1024, 768, 100, Pilot::Classic, {}, "original", "Ann Lee", 4000}},
        {"[Settings]\nport=$FFFF\n", {true, 1024, 768, 100, Pilot::Classic, {}, "original", "", 65535}},
        // [Keys] lines as written, whatever they say: a binding the desktop cannot use
        // never makes the file damaged.
        {"[Settings]\nVolume=40\n[keys]\nThrust = W\nFire=Nosuchkey\nBrake=\nFirePrimary==\n",
         {true, 1024, 768, 40, Pilot::Classic,
          {{"Thrust", "W", 4}, {"Fire", "Nosuchkey", 5}, {"Brake", "", 6}, {"FirePrimary", "=", 7}}}},
    };
    for (const Case& c : cases) {
        const LoadedSettings loaded = ParseSettings(c.text, "settings.ini");
        EXPECT_EQ(loaded.Problem, "") << c.text;
        EXPECT_EQ(loaded.Values, c.expected) << c.text;
        for (size_t i = 0; i < c.expected.Keys.size() && i < loaded.Values.Keys.size(); ++i) {
            EXPECT_EQ(loaded.Values.Keys[i].Line, c.expected.Keys[i].Line) << c.text;
        }
    }
}

TEST(Settings, ADamagedFileIsIgnoredWholeWithOneLine) {
    const char* const cases[] = {
        "[Settings]\nVolume=101\nWindowWidth=800\n",
        "[Settings]\nWindowWidth=800\nVolume=-1\n",
        "[Settings]\nFullscreen=2\n",
        "[Settings]\nFullscreen=yes\n",
        "[Settings]\nWindowWidth=banana\n",
        "[Settings]\nWindowHeight=100\n",
        "[Settings]\nWindowWidth=\n",
        "[Settings]\nVolume=99999999999\n",
        "[Settings]\nVolume=50\n\x01\x02garbage",
        "[Keys]\nThrust=W\n[Settings]\nVolume=101\n",
        "[Settings]\nLanguage=../../etc\n",
        "[Settings]\nLanguage=\n",
        "[Settings]\nPilot=ace\nVolume=40\n",
        "[Settings]\nPilot=\n",
        "[Settings]\nPilot=1\n",
        "[Settings]\nPort=0\n",
        "[Settings]\nPort=65536\n",
        "[Settings]\nPort=udp\n",
        "garbage text, not settings at all\n",
        "Volume=50\n",                    // no [Settings] header
        "[Window]\nWindowWidth=800\n",   // another section only
    };
    for (const char* text : cases) {
        const LoadedSettings loaded = ParseSettings(text, "/home/p/.config/kelvane/settings.ini");
        EXPECT_EQ(loaded.Values, Settings{}) << text;
        EXPECT_EQ(loaded.Problem.find('\n'), std::string::npos) << text;
        EXPECT_EQ(loaded.Problem.rfind("/home/p/.config/kelvane/settings.ini is damaged (", 0), 0u)
            << loaded.Problem;
    }
    constexpr char Binary[] = "[Settings]\nVolume=50\n\0\x01garbage";
    const std::string binary(Binary, sizeof Binary - 1);
    const LoadedSettings loaded = ParseSettings(binary, "s.ini");
    EXPECT_EQ(loaded.Values, Settings{});
    EXPECT_NE(loaded.Problem.find("not text"), std::string::npos);
    // A pilot of no such name says which names there are.
    EXPECT_NE(ParseSettings("[Settings]\nPilot=ace\n", "s.ini").Problem.find("Pilot=ace is not classic or veteran"),
              std::string::npos);
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("kelvane-settings-" + std::to_string(getpid()));
        fs::remove_all(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

TEST_F(SettingsFile, WrittenWholeAndReadBack) {
    const fs::path path = folder / "config" / "kelvane" / "settings.ini";
    const LoadedSettings missing = LoadSettings(path.string());
    EXPECT_EQ(missing.Problem, "");  // no file yet is no problem
    EXPECT_EQ(missing.Values, Settings{});

    const Settings chosen{false, 1111, 777, 55, Pilot::Veteran, {{"Thrust", "W"}, {"Fire", "Nosuchkey"}, {"FirePrimary", "="}}, "en"};
    EXPECT_TRUE(SaveSettings(path.string(), chosen));
    EXPECT_EQ(LoadSettings(path.string()).Values, chosen);  // a binding as the player wrote it
    // Nothing but the file is left beside it (no temporary of the save).
    EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()), 1);
    std::ifstream file(path);
    std::string first;
    std::getline(file, first);
    EXPECT_EQ(first, "[Settings]");

    const Settings again{true, 1024, 768, 100, Pilot::Classic, {}};
    EXPECT_TRUE(SaveSettings(path.string(), again));
    EXPECT_EQ(LoadSettings(path.string()).Values, again);
    EXPECT_EQ(FormatSettings(again),
              "[Settings]\nFullscreen=1\nWindowWidth=1024\nWindowHeight=768\nVolume=100\nLanguage=original\nPilot=classic\nPlayerName=\nPort=26524\n");
}

TEST_F(SettingsFile, UnreadableAndUnwritableFilesAreReportedNotFatal) {
    fs::create_directories(folder / "settings.ini");  // a folder where the file should be
    const LoadedSettings loaded = LoadSettings((folder / "settings.ini").string());
    EXPECT_EQ(loaded.Values, Settings{});
    EXPECT_NE(loaded.Problem.find("cannot be read"), std::string::npos) << loaded.Problem;
    EXPECT_FALSE(SaveSettings((folder / "settings.ini").string(), Settings{}));

    std::ofstream(folder / "blocker") << "a file, not a folder";
    EXPECT_FALSE(SaveSettings((folder / "blocker" / "settings.ini").string(), Settings{}));

    std::ofstream(folder / "huge.ini") << std::string(100000, 'x');
    EXPECT_NE(LoadSettings((folder / "huge.ini").string()).Problem.find("damaged"), std::string::npos);
}

// Two games changing their settings at the same moment: each writes a temporary of its
// own and renames it, so neither fails and the file is always one game's whole settings.
TEST_F(SettingsFile, TwoGamesSavingAtOnceNeitherFailsNorMixes) {
    const fs::path path = folder / "settings.ini";
    const Settings mine{true, 1024, 768, 10, Pilot::Classic, {{"Thrust", "W"}}};
    const Settings theirs{false, 1920, 1080, 90, Pilot::Veteran, {}};
    const pid_t other = fork();
    ASSERT_GE(other, 0);
    const Settings& saved = other == 0 ? theirs : mine;
    int failures = 0;
    for (int round = 0; round < 300; ++round) {
        failures += !SaveSettings(path.string(), saved);
        // Whatever is there is one game's settings, never a mix or a cut.
        const LoadedSettings now = LoadSettings(path.string());
        failures += !now.Problem.empty() || (now.Values != mine && now.Values != theirs);
    }
    if (other == 0) _exit(failures == 0 ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other game failed or read a mix";
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);  // no temporary left
}

}  // namespace
}  // namespace kelvane
