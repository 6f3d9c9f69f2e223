#include "world/PlayerSeats.h"

#include <string>
#include <utility>

#include "world/ConsoleLog.h"

namespace kelvane {
namespace {

void KeepNewestLines(std::vector<std::string>& log) {
    if (log.size() > SeatConsoleLines) log.erase(log.begin(), log.end() - static_cast<std::ptrdiff_t>(SeatConsoleLines));
}

}  // namespace

bool SeatJoined(const World& world, int seat) {
    return seat >= 1 && seat <= world.SeatCount && world.Seats[seat].Joined;
}

void TakeSeat(World& world, int seat, std::string_view name) {
    PlayerSeat& taken = world.Seats[seat];
    taken = PlayerSeat{};
    taken.Joined = 1;
    taken.Name = std::string(name);
    taken.KeyState.assign(KeyCodeCount, 0);
    if (seat > world.SeatCount) world.SeatCount = static_cast<uint8_t>(seat);
    AddConsoleLine(world, taken.Name + " joined the game.", ConsoleColor5);
}

void LeaveSeat(World& world, int seat) {
    if (!SeatJoined(world, seat)) return;
    PlayerSeat& left = world.Seats[seat];
    left.Joined = 0;
    // Nobody reads the keys of an empty seat; the table is given back.
    left.KeyState = std::vector<uint8_t>();
    const TShip& ship = world.Ships[left.ControlledShip];
    if (left.ControlledShip != 0 && ship.InPlay)
        AddConsoleLine(world, left.Name + " left the game; the computer flies " + ship.ShipName + ".", ConsoleColor5);
    else
        AddConsoleLine(world, left.Name + " left the game.", ConsoleColor5);
    left.ControlledShip = 0;
    if (world.PausedBy == seat) world.PausedBy = 0;
}

bool FlownByPlayer(const World& world, int ship) {
    return ship == world.ControlledShip || SeatFlying(world, ship) != 0;
}

int SeatFlying(const World& world, int ship) {
    if (ship == 0) return 0;
    for (int seat = 1; seat <= world.SeatCount; ++seat) {
        const PlayerSeat& held = world.Seats[seat];
        if (held.Joined && held.ControlledShip == ship) return seat;
    }
    return 0;
}

void ShareConsoleLines(World& world) {
    if (world.ConsoleLog.empty()) return;
    for (int seat = 1; seat <= world.SeatCount; ++seat) {
        PlayerSeat& held = world.Seats[seat];
        if (!held.Joined) continue;
        held.ConsoleLog.insert(held.ConsoleLog.end(), world.ConsoleLog.begin(), world.ConsoleLog.end());
        KeepNewestLines(held.ConsoleLog);
    }
    world.ConsoleLog.clear();
}

SeatScope::SeatScope(World& world, int seat) : world_(world) {
    if (!SeatJoined(world, seat)) return;
    seat_ = &world.Seats[seat];
    Swap();
}

SeatScope::~SeatScope() {
    if (!seat_) return;
    Swap();
    KeepNewestLines(seat_->ConsoleLog);
}

// Every field is swapped, never copied: the key table moves in and out for nothing.
void SeatScope::Swap() {
    using std::swap;
    swap(world_.ControlledShip, seat_->ControlledShip);
    swap(world_.ConsoleOpen, seat_->ConsoleOpen);
    swap(world_.ShowRange, seat_->ShowRange);
    swap(world_.ViewX, seat_->ViewX);
    swap(world_.ViewY, seat_->ViewY);
    swap(world_.KeyState, seat_->KeyState);
    swap(world_.MouseButtonState, seat_->MouseButtonState);
    swap(world_.CapsLock, seat_->CapsLock);
    swap(world_.ConsoleLog, seat_->ConsoleLog);
    swap(world_.InputLine, seat_->InputLine);
    swap(world_.LastCommand, seat_->LastCommand);
}

}  // namespace kelvane
