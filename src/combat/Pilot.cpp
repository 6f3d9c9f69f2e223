#include "combat/Pilot.h"

namespace kelvane {

const char* PilotName(Pilot pilot) {
    switch (pilot) {
        case Pilot::Classic: return "classic";
        case Pilot::Veteran: return "veteran";
    }
    return "classic";
}

std::optional<Pilot> FindPilot(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const Pilot pilot : Pilots)
        if (lower == PilotName(pilot)) return pilot;
    return std::nullopt;
}

std::string PilotChoices() {
    std::string text;
    for (size_t i = 0; i < Pilots.size(); ++i) {
        if (i > 0) text += i + 1 == Pilots.size() ? " or " : ", ";
        text += PilotName(Pilots[i]);
    }
    return text;
}

std::optional<Pilot> PilotSeats::Everyone() const {
    for (const Pilot pilot : seats_)
        if (pilot != seats_[0]) return std::nullopt;
    return seats_[0];
}

}  // namespace kelvane
