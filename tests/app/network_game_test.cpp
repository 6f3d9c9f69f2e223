// The game's network session on the headless platform over real UDP on loopback: two
// people, each typing into their own console with keys, each flying the ship they made;
// the pause key pauses both worlds and says who paused; a machine that stops answering
// is waited for, by name; both games leave a recording of the same game.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TempGameDir.h"
#include "app/NetworkGame.h"
#include "game/PlayerActions.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/DataFingerprint.h"
#include "replay/RecordingToPlay.h"
#include "world/PlayerSeats.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using testing::TempGameDir;

struct Person {
    // host: the game to join (none: this one hosts), handled while this one waits for it.
    Person(const TempGameDir& dir, const std::string& name, Person* host)
        : folder(fs::path(dir.Path()) / ("replays-" + name)) {
        net::NetPlayOptions options;
        options.Setup.Version = "test";
        options.Setup.Name = name;
        options.Setup.Data = FingerprintGameData(dir.Path());
        options.Setup.Seed = 5;
        if (!host) options.Listen = "127.0.0.1:0";
        else options.Join = host->address;
        auto play = std::make_unique<net::NetPlay>(options, [this](const std::string& line) { said.push_back(line); });
        address = play->Link().LocalAddress();
        if (host) {
            for (int i = 0; i < 250 && !play->Session().Welcomed(); ++i) {
                host->game->Session().Pump(0);
                play->Session().Pump(20);
            }
            const std::optional<std::string> problem = play->WaitForWelcome(0);
            EXPECT_FALSE(problem) << *problem;
        }
        std::tm start{};
        start.tm_year = 126;
        game = std::make_unique<NetworkGame>(std::move(play), host ? "" : "hosting on 127.0.0.1",
                                             folder.string() + "/", start, [this](const std::string& line) {
                                                 said.push_back(line);
                                             });
        form = std::make_unique<TMainForm>(game->Services(machine.Services(dir.Path(), std::nullopt)));
        game->Begin(*form);
    }
    void Tick() {
        machine.Clock.Advance(40);
        game->Tick(*form);
    }
    // Typed as a quick player types: the console key, then the whole line within one
    // frame (each key in order, however often it comes), Enter, the console key; the
    // other machine plays on meanwhile.
    void Type(const std::string& line, Person& other) {
        kelvane::GameInput& keys = game->Input();
        keys.KeyPressed(ConsoleKey, 0);
        EXPECT_TRUE(keys.ConsoleOpen());  // the keys after it are the console's
        Tick();
        other.Tick();
        for (char c : line) keys.KeyPressed(static_cast<uint16_t>(std::toupper(static_cast<unsigned char>(c))), 0);
        Tick();
        other.Tick();
        keys.KeyPressed(VK_RETURN, 0);
        Tick();
        other.Tick();
        keys.KeyPressed(ConsoleKey, 0);
        EXPECT_FALSE(keys.ConsoleOpen());
    }
    int OwnShip() const {
        const World& world = form->World;
        const int seat = game->Session().Seat();
        return SeatJoined(world, seat) ? world.Seats[seat].ControlledShip : 0;
    }

    fs::path folder;
    std::string address;  // where its link listens
    std::vector<std::string> said;
    HeadlessMachine machine{false};
    std::unique_ptr<NetworkGame> game;
    std::unique_ptr<TMainForm> form;
};

// Ticks both (or only the first) until `done`, at most `ticks` times.
template <class Done>
bool TickUntil(Person& a, Person* b, int ticks, Done done) {
    for (int i = 0; i < ticks; ++i) {
        a.Tick();
        if (b) b->Tick();
        if (done()) return true;
    }
    return false;
}

TEST(NetworkGame, TwoPeopleTypeFlyPauseAndAreWaitedFor) {
    TempGameDir dir;
    Person ann(dir, "ann", nullptr);
    ASSERT_EQ(ann.address.rfind("127.0.0.1:", 0), 0u) << ann.address;
    EXPECT_EQ(ann.game->Standing().Text, "hosting on 127.0.0.1");  // until someone joins
    Person bob(dir, "bob", &ann);
    ASSERT_TRUE(TickUntil(ann, &bob, 500, [&] { return SeatJoined(ann.form->World, 2) && SeatJoined(bob.form->World, 2); }));
    EXPECT_EQ(ann.game->Standing().Text, "");

    // Each makes a ship with their own console: each flies their own.
    ann.Type("createship vigil", bob);
    bob.Type("createship kestrel", ann);  // a type is in play once
    ASSERT_TRUE(TickUntil(ann, &bob, 500, [&] {
        return ann.OwnShip() && bob.OwnShip() && ann.form->World.Ships[bob.OwnShip()].InPlay &&
               bob.form->World.Ships[ann.OwnShip()].InPlay;
    }));
    EXPECT_NE(ann.OwnShip(), bob.OwnShip());
    EXPECT_EQ(ann.form->ViewSeat, 1);
    EXPECT_EQ(bob.form->ViewSeat, 2);

    // Bob's pause key pauses both, and both say it was bob.
    bob.game->Input().KeyPressed(KeyOf(PlayerAction::Pause), 0);
    ASSERT_TRUE(TickUntil(ann, &bob, 500, [&] { return ann.form->World.Paused && bob.form->World.Paused; }));
    EXPECT_EQ(ann.game->Standing().Text, "paused by bob");
    EXPECT_EQ(bob.game->Standing().Text, "paused by bob");
    bob.game->Input().KeyPressed(KeyOf(PlayerAction::Pause), 0);
    ASSERT_TRUE(TickUntil(ann, &bob, 500, [&] { return !ann.form->World.Paused && !bob.form->World.Paused; }));

    // Bob's machine stops answering: past the 8 predicted frames ann waits for him, by name.
    ASSERT_TRUE(TickUntil(ann, nullptr, 200, [&] { return ann.game->Standing().Text == "waiting for bob"; }));
    EXPECT_TRUE(ann.game->Ticking());

    // Both leave; each keeps a recording, of the same seed and data.
    bob.game->End(*bob.form);
    ann.game->End(*ann.form);
    EXPECT_EQ(ann.game->Outcome(), ExitStatus::Success);
    for (const Person* person : {&ann, &bob}) {
        ASSERT_FALSE(person->game->Path().empty());
        EXPECT_TRUE(fs::file_size(person->game->Path()) > 0) << person->game->Path();
    }
}

TEST(NetworkGame, AJoinerOfOtherDataOrNoHostIsToldWhy) {
    TempGameDir dir;
    net::NetPlayOptions host;
    host.Listen = "127.0.0.1:0";
    host.Setup.Version = "test";
    host.Setup.Data = FingerprintGameData(dir.Path());
    net::NetPlay hosting(host, [](const std::string&) {});

    net::NetPlayOptions other = host;
    other.Listen.clear();
    other.Join = hosting.Link().LocalAddress();
    other.Setup.Data.at(0).Hash ^= 1;
    net::NetPlay refused(other, [](const std::string&) {});
    std::optional<std::string> problem;
    // The host answers only while it handles its link.
    for (int i = 0; i < 250 && !problem; ++i) {
        hosting.Session().Pump(0);
        refused.Session().Pump(20);
        if (refused.Session().Welcomed()) problem = refused.WaitForWelcome(0);
    }
    ASSERT_TRUE(problem);
    EXPECT_EQ(*problem, "the host refused: other game data: " + other.Setup.Data.at(0).Name + " differs");

    // Nobody at the port: no answer, within the wait given.
    net::NetPlayOptions lonely = other;
    lonely.Setup.Data = host.Setup.Data;
    lonely.Join = "127.0.0.1:9";  // the discard port: nothing there answers
    net::NetPlay alone(lonely, [](const std::string&) {});
    EXPECT_EQ(alone.WaitForWelcome(300), "no answer from 127.0.0.1:9");
}

}  // namespace
}  // namespace kelvane
