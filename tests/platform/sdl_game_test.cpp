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
#include "game/PlayerActions.h"
#include "platform/headless/HeadlessMachine.h"
#include "platform/sdl/SdlGame.h"
#include "replay/ReplayPlayer.h"
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
    GameInput& Input() override { return inner_.Input(); }
    bool Ticking() const override { return inner_.Ticking(); }
    void Tick(TMainForm& form) override {
        inner_.Tick(form);
        ++tick_;
        if (look_) look_(form, tick_);
        if (!inner_.Ticking() || tick_ == ticks_) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
    }
    bool Closes(const TMainForm& form) const override { return inner_.Closes(form); }
    void End(TMainForm& form) override { inner_.End(form); }
    StandingLine Standing() const override { return inner_.Standing(); }

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
        options.Chosen.Fullscreen = false;
    }
    void TearDown() override {
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("SDL_AUDIODRIVER");
    }
    int Run(GameSession& session) { return RunSdlGame(options, session); }

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
                                               ": Not a directory; the game goes on unrecorded"}));
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

// A key rebound in the settings: the game, and so its recording, gets the game's own key
// in flight; the key that did the action by default does nothing now; the console still
// types the rebound key's letter; a line the desktop cannot use is said and the game plays.
TEST_F(DummyGame, ARecordingHoldsTheGamesOwnKeysWhateverThePlayersKeys) {
    options.Chosen.Keys = {{"Thrust", "W", 3}, {"Brake", "Nosuchkey", 4}};
    options.SettingsFile = "/home/p/.config/kelvane/settings.ini";
    ::testing::internal::CaptureStderr();
    const fs::path folder = dir.Root() / "replays";
    RecordedGame recorded(folder.string() + "/", std::tm{}, 5, say);
    double speed = -1;
    Observed playing(recorded, 40, [&speed](TMainForm& form, int tick) {
        if (tick == 1) form.DoConsoleCommand("CREATESHIP Vigil");
        if (tick == 5) PushKey(SDL_SCANCODE_UP, SDLK_UP);  // no longer the thrust
        if (tick == 9) speed = form.World.Controlled().Speed;
        if (tick == 10) PushKey(SDL_SCANCODE_W, SDLK_w);
        if (tick == 20) PushKey(SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE);
        if (tick == 22) PushKey(SDL_SCANCODE_W, SDLK_w);  // typed into the console
    });
    ASSERT_EQ(Run(playing), 0);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "kelvane: /home/p/.config/kelvane/settings.ini:4: Brake=Nosuchkey: SDL knows no key called "
                      "\"Nosuchkey\"; Brake keeps Down\n");
    EXPECT_EQ(speed, 0);
    const std::string text = [&] {
        std::ifstream file(recorded.Path());
        return std::string(std::istreambuf_iterator<char>(file), {});
    }();
    const auto count = [&text](const std::string& line) {
        size_t found = 0;
        for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++found;
        return found;
    };
    EXPECT_EQ(count("\nkey " + std::to_string(KeyOf(PlayerAction::Thrust)) + " 0\n"), 1u) << text;
    EXPECT_EQ(count("\nkey " + std::to_string('W') + " 0\n"), 1u) << text;  // the console's
    EXPECT_EQ(count("\nkey " + std::to_string(ConsoleKey) + " 0\n"), 1u) << text;
    EXPECT_TRUE(lines.empty()) << lines.front();

    // It plays back anywhere: it holds only the game's own keys.
    const Replay replay = LoadReplay(recorded.Path());
    HeadlessMachine machine(false);
    ReplayPlayer player(replay);
    TMainForm again(player.Services(machine.Services(dir.Path(), std::nullopt)));
    while (player.PlayFrame(again, [&machine](TMainForm& form) { machine.Tick(form); })) {
    }
    player.Finish(again);
    EXPECT_FALSE(player.Divergence());
    EXPECT_EQ(again.World.InputLine, "w");
    EXPECT_GT(again.World.Controlled().Speed, 0);
}

}  // namespace
}  // namespace kelvane
