// Where the graphics driver keeps its shader cache, and whether the game can write there
// before it makes the window (a full disk is tried for real in tests/faults).

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "app/ShaderCache.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

EnvironmentLookup Environment(const std::map<std::string, std::string>& variables) {
    return [variables](const std::string& name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        if (found == variables.end()) return std::nullopt;
        return found->second;
    };
}

TEST(ShaderCache, TheDriversOwnFolderIsTriedAndLeftAsItWas) {
    const fs::path root = fs::temp_directory_path() / ("kelvane-shader-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    std::ofstream(root / "file") << "a file where a folder should be";
    const std::string home = root.string(), cache = (root / "cache").string(), mesa = (root / "mesa").string();
    const struct {
        const char* what;
        std::map<std::string, std::string> variables;
        std::string folder;
        std::string problem;
    } cases[] = {
        {"turned off already", {{"MESA_SHADER_CACHE_DISABLE", "true"}, {"HOME", home}}, "", ""},
        {"Mesa's own folder first", {{"MESA_SHADER_CACHE_DIR", mesa}, {"XDG_CACHE_HOME", cache}}, mesa, ""},
        {"the cache folder", {{"XDG_CACHE_HOME", cache}, {"HOME", home}}, cache, ""},
        {"the home's", {{"XDG_CACHE_HOME", "relative"}, {"HOME", home}}, home + "/.cache", ""},
        {"no home", {}, "", ""},
        {"a folder that cannot be made", {{"XDG_CACHE_HOME", home + "/file/cache"}}, home + "/file/cache",
         "Not a directory"},
    };
    for (const auto& c : cases) {
        const ShaderCacheCheck check = CheckShaderCache(Environment(c.variables));
        EXPECT_EQ(check.Folder, c.folder) << c.what;
        EXPECT_EQ(check.Problem, c.problem) << c.what;
        if (!c.folder.empty() && c.problem.empty()) {
            EXPECT_TRUE(fs::is_empty(c.folder)) << c.what << ": the trial file stays";
        }
    }
    const ShaderCacheCheck failed{"/full", "No space left on device"};
    EXPECT_EQ(ShaderCacheOffLine(failed), "the shader cache folder /full cannot be written (No space left on device): the "
                                          "graphics driver's shader cache is off for this game");
    fs::remove_all(root);
}

}  // namespace
}  // namespace kelvane
