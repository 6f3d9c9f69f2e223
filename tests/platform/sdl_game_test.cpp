// The whole SDL game on SDL's dummy video driver (no display needed): a game recorded as
// it goes with its keys arriving as SDL events, played on unrecorded where its folder
// cannot be made, and watched again with the player's keys doing nothing to it.

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "TempGameDir.h"
#include "app/RecordedGame.h"
#include "app/WatchedRecording.h"
#include "platform/sdl/SdlGame.h"
#include "replay/WorldChecksum.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using testing::TempGameDir;

// Another session's ticks with a look at the form after each, and the window closed (an
// SDL_QUIT, as the window's close button sends) after `ticks` ticks or once there is
// nothing more to play.
class Observed : public GameSession {
public:
    using Look = std::function<void(TMainForm&, int tick)>;
    Observed(GameSession& inner, int ticks, Look look) : inner_(inner), ticks_(ticks), look_(std::move(look)) {}

    MainFormServices Services(const MainFormServices& platform) override { return inner_.Services(platform); }
    void Begin(TMainForm& form) override { inner_.Begin(form); }
    bool Tick(TMainForm& form) override {
        const bool more = inner_.Tick(form);
        ++tick_;
        if (look_) look_(form, tick_);
        if (!more || tick_ == ticks_) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
        return more;
    }
    void End(TMainForm& form) override { inner_.End(form); }
    bool Watching() const override { return inner_.Watching(); }
    std::string EndText() const override { return inner_.EndText(); }

private:
    GameSession& inner_;
    int ticks_;
    int tick_ = 0;
    Look look_;
};

void PushKey(SDL_Scancode scancode, SDL_Keycode symbol) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = symbol;
    SDL_PushEvent(&event);
}

class DummyGame : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        options.GameDir = dir.Path();
        options.Fullscreen = false;
    }
    void TearDown() override {
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("SDL_AUDIODRIVER");
    }
    int Run(GameSession& session) {
        options.Session = &session;
        return static_cast<int>(RunSdlGame(options));
    }

    TempGameDir dir;
    SdlGameOptions options;
    std::vector<std::string> lines;
    SayLine say = [this](const std::string& line) { lines.push_back(line); };
};

// A ship created, then Up and Left pressed as SDL key events: the game's own keys.
void FlyAShip(TMainForm& form, int tick) {
    if (tick == 1) form.DoConsoleCommand("CREATESHIP Vigil");
    if (tick == 5) PushKey(SDL_SCANCODE_UP, SDLK_UP);
    if (tick == 12) PushKey(SDL_SCANCODE_LEFT, SDLK_LEFT);
    if (tick == 13) PushKey(SDL_SCANCODE_F1, SDLK_F1);  // a window key: never the game's, never recorded
}

TEST_F(DummyGame, AFolderThatCannotBeMadeGivesOneLineAndTheGamePlaysOn) {
    std::ofstream(dir.Root() / "state") << "a file where the folder should be";
    RecordedGame recorded((dir.Root() / "state" / "replays/").string(), std::tm{}, 5, say);
    double speed = 0;
    Observed session(recorded, 40, [&speed](TMainForm& form, int tick) {
        FlyAShip(form, tick);
        speed = form.World.Controlled().Speed;
    });
    EXPECT_EQ(Run(session), 0);
    EXPECT_EQ(lines, (std::vector<std::string>{"cannot make the folder of recordings " +
                                               (dir.Root() / "state" / "replays/").string() +
                                               "; the game goes on unrecorded"}));
    EXPECT_GT(speed, 0);  // the Up key arrived and the ship flies
}

TEST_F(DummyGame, TheRecordedGameIsWatchedAgainAndThePlayersKeysDoNothingToIt) {
    const fs::path folder = dir.Root() / "replays";
    RecordedGame recorded(folder.string() + "/", std::tm{}, 5, say);
    uint64_t recordedChecksum = 0;
    Observed playing(recorded, 40, [&recordedChecksum](TMainForm& form, int tick) {
        FlyAShip(form, tick);
        recordedChecksum = WorldChecksum(form.World);
    });
    ASSERT_EQ(Run(playing), 0);
    EXPECT_TRUE(lines.empty()) << lines.front();
    const std::string text = [&] {
        std::ifstream file(recorded.Path());
        return std::string(std::istreambuf_iterator<char>(file), {});
    }();
    EXPECT_NE(text.find("\nkey 38 0\n"), std::string::npos);  // Up, as the router handed it over
    EXPECT_NE(text.find("\nkey 37 0\n"), std::string::npos);
    EXPECT_EQ(text.find("\nkey 112 "), std::string::npos);  // F1 never
    EXPECT_NE(text.find("\nend 40 "), std::string::npos);

    const Replay replay = LoadReplay(recorded.Path());
    WatchedRecording watched(replay, say);
    uint64_t watchedChecksum = 0;
    int ticks = 0;
    Observed watching(watched, 1000, [&](TMainForm& form, int tick) {
        // The console key and letters, Space: none of them may reach the game.
        if (tick == 3) PushKey(SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE);
        if (tick == 4) PushKey(SDL_SCANCODE_Q, SDLK_q);
        if (tick == 20) PushKey(SDL_SCANCODE_SPACE, SDLK_SPACE);
        watchedChecksum = WorldChecksum(form.World);
        ticks = tick;
    });
    EXPECT_EQ(Run(watching), 0);
    EXPECT_TRUE(lines.empty()) << lines.front();
    EXPECT_EQ(ticks, 40);
    EXPECT_EQ(watched.FramesPlayed(), 40u);
    EXPECT_EQ(watchedChecksum, recordedChecksum);
    EXPECT_EQ(watched.EndText(), "End of the recording (40 frames)");
    // Watching records nothing.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace kelvane
