#pragma once
// The seats of a game played by several people (network play): taking and leaving a
// seat, which ships people fly (every other ship is the computer's), and bringing one
// seat's fields into the world's own while that person's inputs and keys are acted on,
// so that the rules written for one player run once per seat, unchanged.
//
// Between frames a seated world's own player fields (ControlledShip, KeyState, the
// console) belong to nobody: ControlledShip is 0, the key table idle, and the console
// log gathers only what the rules say to everyone (a ship destroyed), which
// ShareConsoleLines hands on to every seat.

#include <cstddef>
#include <string_view>

#include "world/World.h"

namespace kelvane {

// A seat's console keeps this many lines (it shows the newest five); older ones go.
constexpr size_t SeatConsoleLines = 64;

inline bool PlayersSeated(const World& world) { return world.SeatCount > 0; }
// True for a seat 1..SeatCount that someone holds now.
bool SeatJoined(const World& world, int seat);

// Someone named `name` takes seat 1..MaxSeats (a free one, or one left before): its
// fields start afresh, and everyone's console says who joined.
void TakeSeat(World& world, int seat, std::string_view name);
// The person leaves; the ship they flew is the computer's from now on.
void LeaveSeat(World& world, int seat);

// Whether a person flies the ship: the player's own ship in a game for one, else the
// ship of any seat held (or of the seat whose fields stand in the world now).
bool FlownByPlayer(const World& world, int ship);
// The held seat flying the ship; 0 for a computer ship and in a game for one.
int SeatFlying(const World& world, int ship);

// Hands the lines the world's own console log gathered on to every held seat's log.
void ShareConsoleLines(World& world);

// While it lives, the seat's fields stand in the world's own (and the world's own in
// the seat's); they are swapped back when it ends. Seat 0, or a seat nobody holds,
// swaps nothing, so a game for one goes exactly as it always has.
class SeatScope {
public:
    SeatScope(World& world, int seat);
    ~SeatScope();
    SeatScope(const SeatScope&) = delete;
    SeatScope& operator=(const SeatScope&) = delete;

private:
    void Swap();

    World& world_;
    PlayerSeat* seat_ = nullptr;
};

}  // namespace kelvane
