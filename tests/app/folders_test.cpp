// The player's folders come from the XDG variables, with their defaults under HOME.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <map>

#include "app/Folders.h"

namespace kelvane {
namespace {

EnvironmentLookup Env(std::map<std::string, std::string> values) {
    return [values](const std::string& name) -> std::optional<std::string> {
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

TEST(Folders, XdgVariablesAndTheirDefaults) {
    struct Case {
        const char* what;
        std::map<std::string, std::string> env;
        UserFolders expected;
    };
    const Case cases[] = {
        {"defaults under HOME", {{"HOME", "/home/ann"}},
         {"/home/ann/.cache/kelvane/", "/home/ann/.local/share/kelvane/", "/home/ann/.config/kelvane/",
          "/home/ann/.local/state/kelvane/"}},
        {"HOME with a trailing slash", {{"HOME", "/home/ann/"}},
         {"/home/ann/.cache/kelvane/", "/home/ann/.local/share/kelvane/", "/home/ann/.config/kelvane/",
          "/home/ann/.local/state/kelvane/"}},
        {"every variable set",
         {{"HOME", "/home/ann"}, {"XDG_CACHE_HOME", "/c"}, {"XDG_DATA_HOME", "/d/"}, {"XDG_CONFIG_HOME", "/e"},
          {"XDG_STATE_HOME", "/s"}},
         {"/c/kelvane/", "/d/kelvane/", "/e/kelvane/", "/s/kelvane/"}},
        {"empty and relative values count as unset",
         {{"HOME", "/h"}, {"XDG_CACHE_HOME", ""}, {"XDG_DATA_HOME", "rel/data"}},
         {"/h/.cache/kelvane/", "/h/.local/share/kelvane/", "/h/.config/kelvane/", "/h/.local/state/kelvane/"}},
        {"no HOME and no variables: nowhere to keep anything", {}, {"", "", "", ""}},
        {"no HOME but a variable", {{"XDG_CACHE_HOME", "/tmp/c"}}, {"/tmp/c/kelvane/", "", "", ""}},
    };
    for (const Case& c : cases) {
        const UserFolders got = ResolveUserFolders(Env(c.env));
        EXPECT_EQ(got.Cache, c.expected.Cache) << c.what;
        EXPECT_EQ(got.Data, c.expected.Data) << c.what;
        EXPECT_EQ(got.Config, c.expected.Config) << c.what;
        EXPECT_EQ(got.State, c.expected.State) << c.what;
    }
}

TEST(Folders, PicturesFolderPrefersTheVariableThenXdgUserDirThenHome) {
    const UserDirQuery says = [](const std::string& kind) -> std::optional<std::string> {
        return kind == "PICTURES" ? std::optional<std::string>("/home/ann/Bilder") : std::nullopt;
    };
    const UserDirQuery silent = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
    const UserDirQuery relative = [](const std::string&) -> std::optional<std::string> { return "Bilder"; };
    EXPECT_EQ(ResolvePicturesFolder(Env({{"HOME", "/home/ann"}, {"XDG_PICTURES_DIR", "/p"}}), says), "/p/");
    EXPECT_EQ(ResolvePicturesFolder(Env({{"HOME", "/home/ann"}}), says), "/home/ann/Bilder/");
    EXPECT_EQ(ResolvePicturesFolder(Env({{"HOME", "/home/ann"}}), silent), "/home/ann/Pictures/");
    EXPECT_EQ(ResolvePicturesFolder(Env({{"HOME", "/home/ann"}}), relative), "/home/ann/Pictures/");
    EXPECT_EQ(ResolvePicturesFolder(Env({{"HOME", "/home/ann"}}), nullptr), "/home/ann/Pictures/");
    EXPECT_EQ(ResolvePicturesFolder(Env({}), silent), "");
}

TEST(Folders, XdgUserDirIsNeverAskedForAnythingButAPlainWord) {
    EXPECT_FALSE(AskXdgUserDir("PICTURES; rm -rf /").has_value());
    EXPECT_FALSE(AskXdgUserDir("pictures").has_value());
}

// A game installed under root/usr (bin/ and share/kelvane/), and a portable copy in
// root/copy whose data folder is spelled in lower case.
class GameDataTest : public ::testing::Test {
protected:
    GameDataTest() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-data-XXXXXX").string();
        root = mkdtemp(pattern.data());
        root += '/';
        for (const char* folder : {"usr/bin", "usr/share/kelvane/Data", "copy/data", "empty/bin"})
            std::filesystem::create_directories(root + folder);
    }
    ~GameDataTest() override { std::filesystem::remove_all(root); }
    std::string root;
};

TEST_F(GameDataTest, FirstMatchWinsAndEveryPlaceTriedIsNamed) {
    struct Case {
        const char* what;
        std::optional<std::string> option;
        std::string executableDir;
        std::string found;
        std::vector<std::string> lookedAt;
    };
    const Case cases[] = {
        {"--data is taken as given", "/games/k", root + "usr/bin", "/games/k/", {"/games/k/"}},
        {"installed: ../share/kelvane", std::nullopt, root + "usr/bin/", root + "usr/share/kelvane/",
         {root + "usr/bin/", root + "usr/share/kelvane/"}},
        {"beside the program, found without regard to case", std::nullopt, root + "copy", root + "copy/",
         {root + "copy/"}},
        {"nowhere", std::nullopt, root + "empty/bin", "", {root + "empty/bin/", root + "empty/share/kelvane/"}},
    };
    for (const Case& c : cases) {
        const GameDataSearch search = FindGameData(c.option, c.executableDir);
        EXPECT_EQ(search.GameDir, c.found) << c.what;
        EXPECT_EQ(search.LookedAt, c.lookedAt) << c.what;
    }
    EXPECT_EQ(GameDataNotFound(FindGameData(std::nullopt, root + "empty/bin")),
              "cannot find the game's data: neither " + root + "empty/bin/Data/ nor " + root +
                  "empty/share/kelvane/Data/ exists (--data DIR names a folder holding Data/ and Scripts/)");
}

}  // namespace
}  // namespace kelvane
