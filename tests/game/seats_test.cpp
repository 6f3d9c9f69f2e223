// A table of several people in one world: each seat's first ship is theirs, their keys
// and console act for them alone, the computer flies every ship no seat flies, the pause
// says who paused, and a QUIT closes only the game of the one who typed it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TempGameDir.h"
#include "game/MainForm.h"
#include "platform/headless/HeadlessMachine.h"
#include "world/PlayerSeats.h"

namespace kelvane {
namespace {

class Seats : public ::testing::Test {
protected:
    void SetUp() override {
        form_->ViewSeat = 1;
        form_->TakeSeat(1, "ann");
        form_->TakeSeat(2, "bob");
        Tick();
    }
    void Tick() { machine_.Tick(*form_); }
    // The seat's console line, run as the runner's "command" steps run it.
    void Say(int seat, const std::string& line) {
        form_->SetInputSeat(seat);
        form_->DoConsoleCommand(line);
        form_->SetInputSeat(0);
    }
    void Press(int seat, uint16_t key) {
        form_->SetInputSeat(seat);
        form_->KeyPressed(key, 0);
        form_->SetInputSeat(0);
    }
    World& world() { return form_->World; }
    int ShipNamed(const std::string& name) {
        for (int s = 1; s <= MaxShips; ++s)
            if (world().Ships[s].ShipName == name) return s;
        return 0;
    }

    testing::TempGameDir dir_;
    HeadlessMachine machine_{false};
    std::unique_ptr<TMainForm> form_ = std::make_unique<TMainForm>(machine_.Services(dir_.Path(), 5));
};

TEST_F(Seats, EachSeatsFirstShipIsTheirsAndFurtherOnesAreTheComputers) {
    Say(1, "CREATESHIP Vigil");
    Say(2, "CREATESHIP Wisp");
    Say(2, "CREATESHIP Talon");
    Tick();
    EXPECT_EQ(world().Seats[1].ControlledShip, ShipNamed("Vigil"));
    EXPECT_EQ(world().Seats[2].ControlledShip, ShipNamed("Wisp"));
    EXPECT_EQ(world().ControlledShip, 0);  // between frames the world's own seat is nobody's
    EXPECT_TRUE(FlownByPlayer(world(), ShipNamed("Wisp")));
    EXPECT_FALSE(FlownByPlayer(world(), ShipNamed("Talon")));
    EXPECT_EQ(SeatFlying(world(), ShipNamed("Vigil")), 1);
    // Each console told its own person.
    EXPECT_EQ(world().Seats[1].ConsoleLog.back(), "7Ship KSS Vigil hase been created and is under your control.");
    EXPECT_EQ(world().Seats[2].ConsoleLog.back(), "7Ship Talon Rook hase been created.");
}

TEST_F(Seats, KeysSteerOnlyTheSeatsOwnShipAndTheComputerFliesTheRest) {
    Say(1, "CREATESHIP Vigil");
    Say(2, "CREATESHIP Wisp");
    Say(1, "CREATESHIP Talon");
    Tick();
    const int vigil = ShipNamed("Vigil"), wisp = ShipNamed("Wisp"), talon = ShipNamed("Talon");
    Press(2, VK_UP);
    Tick();
    EXPECT_EQ(world().Ships[wisp].Speed, 4.0);   // thrust from standstill
    EXPECT_EQ(world().Ships[vigil].Speed, 0.0);  // ann pressed nothing
    EXPECT_EQ(world().Ships[talon].Speed, 6.0);  // the computer's speed
}

TEST_F(Seats, ConsolesOpenAndTypeForTheirOwnSeat) {
    Press(2, ConsoleKey);
    Tick();
    Press(2, 'K');
    Tick();
    EXPECT_FALSE(world().Seats[1].ConsoleOpen);
    EXPECT_TRUE(world().Seats[2].ConsoleOpen);
    EXPECT_EQ(world().Seats[2].InputLine, "k");
    EXPECT_EQ(world().Seats[1].InputLine, "");
}

TEST_F(Seats, ThePauseIsEveryonesAndSaysWhoPaused) {
    Press(2, VK_PAUSE);
    Tick();
    EXPECT_TRUE(world().Paused);
    EXPECT_EQ(world().PausedBy, 2);
    Press(1, VK_PAUSE);
    Tick();
    EXPECT_FALSE(world().Paused);
    EXPECT_EQ(world().PausedBy, 0);
}

TEST_F(Seats, AQuitClosesOnlyTheGameOfTheOneWhoTypedIt) {
    Say(2, "QUIT");
    EXPECT_FALSE(form_->CloseRequested());
    Say(1, "QUIT");
    EXPECT_TRUE(form_->CloseRequested());
}

TEST_F(Seats, ALeavingPersonsShipIsFlownByTheComputerAndEveryoneIsTold) {
    Say(2, "CREATESHIP Wisp");
    Tick();
    const int wisp = ShipNamed("Wisp");
    form_->LeaveSeat(2);
    Tick();
    EXPECT_FALSE(SeatJoined(world(), 2));
    EXPECT_FALSE(FlownByPlayer(world(), wisp));
    EXPECT_EQ(world().Ships[wisp].Speed, 6.0);
    EXPECT_EQ(world().Seats[1].ConsoleLog.back(), "5bob left the game; the computer flies Wisp.");
}

TEST_F(Seats, WelcomeLinesReachEverySeatAndTheWorldsOwnLogStaysEmpty) {
    ASSERT_GE(world().Seats[2].ConsoleLog.size(), 2u);
    EXPECT_EQ(world().Seats[2].ConsoleLog[0], "6Welcome to Orvath : Kelvane");
    EXPECT_TRUE(world().ConsoleLog.empty());
}

TEST(SeatScope, AGameForOneSwapsNothing) {
    World world;
    world.ControlledShip = 3;
    world.ConsoleLog = {"7line"};
    {
        const SeatScope scope(world, 1);  // no seat taken
        EXPECT_EQ(world.ControlledShip, 3);
    }
    EXPECT_EQ(world.ConsoleLog.size(), 1u);
    EXPECT_FALSE(PlayersSeated(world));
    EXPECT_TRUE(FlownByPlayer(world, 3));
}

}  // namespace
}  // namespace kelvane
