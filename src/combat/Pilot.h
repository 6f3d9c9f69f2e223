#pragma once
// Who flies the computer's ships. The classic pilot (Opponents) is the game's own rule
// and flies unless a game asks for another; the veteran (VeteranPilot) flies with the
// player's own controls. A game seats one pilot in every computer ship; a tournament may
// seat a different one in each of its two ships.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "world/World.h"

namespace kelvane {

enum class Pilot : uint8_t { Classic, Veteran };

inline constexpr std::array<Pilot, 2> Pilots = {Pilot::Classic, Pilot::Veteran};

// "classic", "veteran": the names settings, options and recordings use.
const char* PilotName(Pilot pilot);
// The pilot of that name (letters a to z in any case); none for any other text.
std::optional<Pilot> FindPilot(std::string_view name);
// "classic or veteran", for messages about a name that is none of them.
std::string PilotChoices();

// The pilot of each ship slot, for the times the computer flies that ship.
class PilotSeats {
public:
    PilotSeats() = default;
    explicit PilotSeats(Pilot everyone) { seats_.fill(everyone); }

    // Slots outside the table are flown by the classic pilot.
    Pilot Of(int slot) const { return slot >= 0 && slot <= MaxShips ? seats_[slot] : Pilot::Classic; }
    void Seat(int slot, Pilot pilot) {
        if (slot >= 0 && slot <= MaxShips) seats_[slot] = pilot;
    }
    // The one pilot of every slot; none when the slots differ.
    std::optional<Pilot> Everyone() const;
    bool operator==(const PilotSeats&) const = default;

private:
    std::array<Pilot, MaxShips + 1> seats_{};
};

}  // namespace kelvane
