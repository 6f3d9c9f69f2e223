// Whole network games on in-memory links: joining and being refused, playing to the same
// world, a late joiner brought up to date, someone leaving or falling silent, and two
// machines whose worlds differ stopping at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "SessionTable.h"
#include "replay/ScratchFile.h"
#include "world/PlayerSeats.h"

namespace kelvane {
namespace {

using net::CommandInput;
using net::FrameInputs;
using net::KeyInput;
using net::SessionState;
using testing::SessionTable;
using testing::TempGameDir;

const char* const ShipOf[] = {"", "Vigil", "Kestrel", "Talon", "Wisp"};

FrameInputs Script(int seat, uint64_t frame) {
    FrameInputs inputs;
    // Again later, for one who joined late (a ship already in play is not created twice).
    if (frame % 200 == 3 + static_cast<uint64_t>(seat))
        inputs.push_back(CommandInput(std::string("CREATESHIP ") + ShipOf[seat]));
    if (frame > 20 && frame % static_cast<uint64_t>(seat + 3) == 0) inputs.push_back(KeyInput(VK_LEFT, 0));
    if (frame > 20 && frame % 6 == 0) inputs.push_back(KeyInput(VK_UP, 0));
    if (frame % 11 == 0) inputs.push_back(KeyInput(VK_SPACE, 0));
    return inputs;
}

bool Said(const testing::SessionPeer& peer, const std::string& line) {
    return std::find(peer.Said.begin(), peer.Said.end(), line) != peer.Said.end();
}

TEST(Session, ThreeMachinesJoinPlayAndEndInTheSameWorld) {
    TempGameDir dir;
    SessionTable table(dir, Script);
    table.Host(table.Setup("ann", 3));
    table.Join(table.Setup("bob"));
    table.Join(table.Setup("cy"));
    ASSERT_TRUE(table.RunTo(200, 400));
    const uint64_t sum = WorldChecksum(table.Peer(0).Form->World);
    for (size_t p = 0; p < 3; ++p) {
        const World& world = table.Peer(p).Form->World;
        EXPECT_EQ(WorldChecksum(world), sum) << p;
        EXPECT_EQ(table.Peer(p).Session->Game().Confirmed(), 200u);
        EXPECT_EQ(world.SeatCount, 3);
        EXPECT_EQ(world.MouseX, 12);  // the host's pointer, on every machine
    }
    const World& world = table.Peer(2).Form->World;
    EXPECT_EQ(world.Seats[2].Name, "bob");
    EXPECT_EQ(world.Ships[world.Seats[3].ControlledShip].ShipName, "Talon");
    EXPECT_TRUE(Said(table.Peer(0), "cy joins the game"));
}

TEST(Session, InputsLostOnTheWayArriveWithTheNextDatagram) {
    TempGameDir dir;
    SessionTable table(dir, Script);
    std::mt19937 random(5);
    const auto losesAFifth = [&random] { return random() % 5 == 0; };
    table.Host(table.Setup("ann", 2)).Link.Loses = losesAFifth;
    table.Join(table.Setup("bob")).Link.Loses = losesAFifth;
    ASSERT_TRUE(table.RunTo(300, 600));
    EXPECT_EQ(WorldChecksum(table.Peer(0).Form->World), WorldChecksum(table.Peer(1).Form->World));
    EXPECT_EQ(table.Peer(1).Session->Counts().Waits, 0u);
}

TEST(Session, AnotherVersionOrOtherDataIsRefusedNamingTheFileOnBothSides) {
    TempGameDir dir;
    SessionTable table(dir);
    table.Host(table.Setup("ann"));
    net::NetSetup changed = table.Setup("bob");
    for (DataFile& file : changed.Data)
        if (file.Name == "Data/Ships/Vigil.ini") file.Hash ^= 1;
    testing::SessionPeer& bob = table.Join(changed);
    net::NetSetup older = table.Setup("cy");
    older.Version = "0.9";
    testing::SessionPeer& cy = table.Join(older);
    table.Rounds(5);
    EXPECT_EQ(bob.Session->State(), SessionState::Refused);
    EXPECT_EQ(bob.Session->Problem(), "other game data: Data/Ships/Vigil.ini differs");
    EXPECT_TRUE(Said(table.Peer(0), "bob was refused: other game data: Data/Ships/Vigil.ini differs"));
    EXPECT_EQ(cy.Session->State(), SessionState::Refused);
    EXPECT_EQ(cy.Session->Problem(), "another version of the game (the host's is test, the joining one 0.9)");
    EXPECT_EQ(table.Peer(0).Session->Seated(), 1);
}

TEST(Session, ALateJoinerReplaysTheGameSoFarAndPlaysOnInStep) {
    TempGameDir dir;
    SessionTable table(dir, Script);
    table.Host(table.Setup("ann"));  // plays alone at once
    table.Rounds(120);
    testing::SessionPeer& bob = table.Join(table.Setup("bob"));
    ASSERT_TRUE(table.RunTo(400, 600));
    EXPECT_EQ(WorldChecksum(bob.Form->World), WorldChecksum(table.Peer(0).Form->World));
    const World& world = bob.Form->World;
    EXPECT_EQ(world.Seats[1].Name, "ann");
    EXPECT_EQ(world.Ships[world.Seats[1].ControlledShip].ShipName, "Vigil");  // created before bob came
    EXPECT_EQ(world.Ships[world.Seats[2].ControlledShip].ShipName, "Kestrel");
}

TEST(Session, AMachineSwitchedOffIsLetGoAfterFiveSecondsAndTheOthersPlayOn) {
    TempGameDir dir;
    SessionTable table(dir, Script);
    table.Host(table.Setup("ann", 3));
    table.Join(table.Setup("bob"));
    testing::SessionPeer& cy = table.Join(table.Setup("cy"));
    table.Rounds(80, 1000);
    cy.Link.Cut();
    cy.Ticking = false;
    ASSERT_TRUE(table.RunTo(600, 1000));
    const World& world = table.Peer(0).Form->World;
    EXPECT_EQ(WorldChecksum(table.Peer(1).Form->World), WorldChecksum(world));
    EXPECT_FALSE(SeatJoined(world, 3));
    EXPECT_TRUE(Said(table.Peer(0), "cy has been silent for 5 seconds"));
    bool told = false;
    for (const std::string& line : world.Seats[1].ConsoleLog) told = told || line == "5cy left the game; the computer flies Talon.";
    EXPECT_TRUE(told);
}

TEST(Session, SomeoneWhoLeavesIsLetGoAtOnce) {
    TempGameDir dir;
    SessionTable table(dir, Script);
    table.Host(table.Setup("ann", 2));
    testing::SessionPeer& bob = table.Join(table.Setup("bob"));
    table.Rounds(60, 1000);
    bob.Session->Leave();
    bob.Ticking = false;
    ASSERT_TRUE(table.RunTo(200, 400));
    // Told, the host goes on within the window: it never waits for bob.
    EXPECT_EQ(table.Peer(0).Session->Counts().Waits, 0u);
    EXPECT_FALSE(SeatJoined(table.Peer(0).Form->World, 2));
}

TEST(Session, MachinesWhoseWorldsDifferStopAtTheFirstChecksum) {
    TempGameDir dir;
    // Bob's Vigil is another ship than ann's, though his fingerprint says otherwise.
    TempGameDir other(TempGameDir::Options{true, false, true});
    for (const auto& entry : std::filesystem::directory_iterator(dir.Root() / "Data" / "Ships"))
        std::filesystem::copy(entry.path(), other.Root() / "Data" / "Ships" / entry.path().filename());
    const std::filesystem::path vigil = other.Root() / "Data" / "Ships" / "Vigil.ini";
    std::string text = testing::ReadFileText(vigil.string());
    text.replace(text.find("Hull=380"), 8, "Hull=999");
    std::filesystem::remove(vigil);
    std::ofstream(vigil, std::ios::binary) << text;
    SessionTable table(dir, Script);
    table.Host(table.Setup("ann", 2));
    table.Join(table.Setup("bob"), &other);
    table.Rounds(100, 1000);
    for (size_t p = 0; p < 2; ++p) {
        EXPECT_EQ(table.Peer(p).Session->State(), SessionState::OutOfStep) << p;
        EXPECT_EQ(table.Peer(p).Session->Problem(), "the game went out of step at frame 25") << p;
        EXPECT_LE(table.Peer(p).Session->Game().Frame(), 25u + net::Rollback::Window + 2) << p;
    }
}

TEST(Session, DatagramsFromMachinesNotInTheGameAreDropped) {
    TempGameDir dir;
    SessionTable table(dir, Script);
    table.Host(table.Setup("ann"));
    table.Rounds(10);
    testing::MemoryLink stranger(table.Hub(), "stranger");
    const net::PeerId host = stranger.Connect("host");
    const net::InputBlock block{1, 12, {{CommandInput("EXEC battle")}, {CommandInput("QUIT")}}};
    for (const net::Message& message :
         {net::Message{net::Inputs{12, 0, 0, block}}, net::Message{net::OutOfStep{5}}, net::Message{net::Lost{1, 3, block}},
          net::Message{net::Left{1, 3, block}}, net::Message{net::History{{block}}}, net::Message{net::Welcome{}}}) {
        const std::vector<uint8_t> datagram = net::Encode(message);
        stranger.Send(host, datagram, true);
    }
    table.Rounds(30);
    const testing::SessionPeer& ann = table.Peer(0);
    EXPECT_EQ(ann.Session->State(), SessionState::Playing);
    EXPECT_FALSE(ann.Form->CloseRequested());
    EXPECT_EQ(ann.Form->World.Ships[ann.Form->World.Seats[1].ControlledShip].ShipName, "Vigil");
    EXPECT_EQ(ann.Form->World.ShipCount, 1);  // no battle: only ann's own ship
}

}  // namespace
}  // namespace kelvane
