// The ship a definition gives, judged by the rules of the game: can the console name it,
// does it fly, fire and explode as its maker meant?

#include <cmath>

#include "check/DefinitionCheck.h"
#include "check/Naming.h"
#include "combat/Destruction.h"
#include "combat/WeaponTable.h"
#include "console/TextEntry.h"
#include "game/Movement.h"
#include "game/StatusDisplay.h"
#include "world/TextUtil.h"

namespace kelvane::check {
namespace {

constexpr const char* Strengths = "StrengthIndices";
constexpr const char* Info = "OverallInfo";
constexpr const char* Explosion = "ExploDefinition";
// The ship list must leave room for a score of this many digits beside a name.
constexpr const char* WidestScore = "9999";
constexpr int ScoreGap = 3;  // pixels between a name and its score

std::string Number(double value) {
    return value == std::floor(value) ? std::to_string(static_cast<long long>(value)) : std::to_string(value);
}

class ShipJudge {
public:
    ShipJudge(const DefinitionInput& input, const NameRules& names, Report& report)
        : in_(input), names_(names), report_(report), ship_(input.Ship) {}

    void Names() {
        if (ship_.FullShipName.empty())
            Warning(LineOfKey(in_, Info, "FullShipName"),
                    "no FullShipName: console messages will name the ship with an empty text");
        const int line = LineOfKey(in_, Info, "ShipName");
        const std::string& name = ship_.ShipName;
        if (name.empty()) {
            Error(line, "no ShipName: the console can never put a ship without a name into play");
            return;
        }
        const std::string shown = "ShipName " + Shown(name);
        // A name no command can match makes everything else about it beside the point.
        if (name.find("  ") != std::string::npos) {
            Error(line, shown +
                            " has two blanks in a row: the console reads a run of blanks as one, so no command "
                            "ever matches it");
            return;
        }
        if (name.front() == ' ' || name.back() == ' ') {
            Error(line, shown + " starts or ends with a blank: no command ever matches it");
            return;
        }
        const std::string untypable = names_.Keyboard.Untypable(name);
        if (!untypable.empty())
            Warning(line, shown + " holds " + Shown(untypable) +
                              ", which the console's keyboard cannot type: only a script can name this ship");
        const size_t typedLength = std::string_view("CREATESHIP ").size() + name.size();
        if (typedLength > MaxInputLength)
            Warning(line, shown + " is too long to type: CREATESHIP and the name take " + std::to_string(typedLength) +
                              " characters, and the console's line holds " + std::to_string(MaxInputLength));
        NameWidth(line, shown);
    }

    void StrengthValues() {
        if (ship_.MaxHull <= 0)
            Error(LineOfKey(in_, Strengths, "Hull"),
                  "Hull " + std::to_string(ship_.MaxHull) +
                      ": the ship explodes as soon as it is put into play, and again each time it comes back");
        if (ship_.MaxShields < 0)
            Warning(LineOfKey(in_, Strengths, "Shields"),
                    "Shields " + std::to_string(ship_.MaxShields) +
                        " is below zero: the ship has no shields, and its shields bar stays empty");
        if (ship_.MaxSpeed < StartSpeed)
            Warning(LineOfKey(in_, Strengths, "Speed"),
                    "Speed gives a top speed of " + Number(ship_.MaxSpeed) +
                        " pixels a frame (Speed x 0.01), below the " + Number(StartSpeed) +
                        " that the first thrust from standstill gives: flown by the player the "
                        "ship never goes faster than that");
        if (ship_.Accuracy <= 0 && CarriesAnyWeapon())
            Warning(LineOfKey(in_, Strengths, "Accurancy"),
                    "Accurancy gives an accuracy of " + std::to_string(ship_.Accuracy) +
                        " (Accurancy x 0.075): every hit roll is 0, so its hits deal only their fixed part (half "
                        "a beam's strength, three quarters of a shot's), and as the player's ship it lets beams reach "
                        "no further than 300 pixels");
        if (ship_.StrengthRating <= 0)
            Warning(LineOfKey(in_, Strengths, "Hull"),
                    "the strength rating comes to " + std::to_string(ship_.StrengthRating) +
                        (ship_.StrengthRating == 0 ? ": the ship scores no points, and destroying it earns none"
                                                   : ": destroying this ship costs its shooter points"));
    }

    void Weapons() {
        for (const WeaponSlot slot : {WeaponSlot::Primary, WeaponSlot::Secondary, WeaponSlot::Special}) {
            const std::string& id = CarriedIn(ship_, slot);
            const int line = LineOfKey(in_, "Weapons", SlotKey(slot));
            const std::string key = SlotKey(slot);
            if (id == "NONE") continue;
            if (id.empty()) {
                Warning(line, key + " is empty: the ship carries nothing there (write NONE for that)");
                continue;
            }
            const WeaponRow* row = FindWeapon(id);
            if (!row) {
                std::vector<std::string> known{"NONE"};
                for (const WeaponRow& each : WeaponTable()) known.push_back(each.Id);
                const std::optional<std::string> near = NearestName(id, known);
                Error(line, "unknown weapon " + Shown(id) + " in " + key + ": it fires nothing" +
                                (near ? "; did you mean " + *near + "?" : ""));
                continue;
            }
            if (row->Slot != slot) {
                Error(line, id + " is carried in " + SlotKey(row->Slot) + ": as " + key + " it fires nothing");
                continue;
            }
            Damage(*row, line);
        }
        if (CarriedIn(ship_, WeaponSlot::Primary) == "NONE" && CarriedIn(ship_, WeaponSlot::Secondary) == "NONE" &&
            CarriedIn(ship_, WeaponSlot::Special) == "NONE")
            Warning(LineOfKey(in_, "Weapons", SlotKey(WeaponSlot::Primary)),
                    "the ship carries no weapon: it can never hurt another ship");
    }

    void ExplosionValues() {
        const int line = LineOfKey(in_, Explosion, "ShipDisappearance");
        if (const ProfileEntry* entry = EntryOf(Explosion, "ShipDisappearance")) {
            int32_t written = 0;
            if (ParseProfileInteger(entry->Value, written) && written != ship_.ShipDisappearance)
                Warning(line, "ShipDisappearance " + std::to_string(written) +
                                  " is kept as its low 8 bits: " + std::to_string(ship_.ShipDisappearance));
        }
        if (ship_.ShipDisappearance == 0)
            Error(line,
                  "ShipDisappearance 0: the hull is drawn only while the explosion's frame is below this "
                  "number, so the ship is never drawn at all");
        for (int n = 1; n <= 4; ++n) {
            const TExplosionPart& part = ship_.ExplosionParts[n];
            const std::string digit = std::to_string(n);
            const std::string delayKey = "Delay" + digit + "Explo";
            if (part.Enabled && part.Delay < 1)
                Warning(LineOfKey(in_, Explosion, delayKey),
                        delayKey + " " + std::to_string(part.Delay) +
                            ": the explosion's frames count from 1, so this part is shown from the start but its "
                            "sound never plays");
            if (part.Enabled && part.Delay > ExplosionLength)
                Warning(LineOfKey(in_, Explosion, delayKey),
                        delayKey + " " + std::to_string(part.Delay) + ": the explosion ends after " +
                            std::to_string(ExplosionLength) + " frames, so this part is never shown");
            const std::string typeKey = "Type" + digit + "Explo";
            const ProfileEntry* type = EntryOf(Explosion, typeKey);
            if (type && UpperCaseText(type->Value) != "SMALL" && NearestName(type->Value, {"SMALL"}))
                Warning(type->Line, typeKey + " " + Shown(type->Value) +
                                        " is not SMALL, so this part is the large fireball; did you mean SMALL?");
        }
    }

private:
    void Error(int line, std::string message) { report_.Error(in_.Path, line, std::move(message)); }
    void Warning(int line, std::string message) { report_.Warning(in_.Path, line, std::move(message)); }

    const ProfileEntry* EntryOf(std::string_view section, std::string_view key) const {
        for (const ProfileRead& read : in_.Reads)
            if (ProfileNamesEqual(read.Section, section) && ProfileNamesEqual(read.Key, key)) return read.Entry;
        return nullptr;
    }

    bool CarriesAnyWeapon() const {
        for (const WeaponSlot slot : {WeaponSlot::Primary, WeaponSlot::Secondary, WeaponSlot::Special}) {
            const WeaponRow* row = FindWeapon(CarriedIn(ship_, slot));
            if (row && row->Slot == slot) return true;
        }
        return false;
    }

    // A weapon's damage comes from one of the two strengths.
    void Damage(const WeaponRow& row, int weaponLine) {
        if (row.Damage == DamageSource::None) return;
        const bool primary = row.Damage == DamageSource::PrimaryStrength;
        const int32_t strength = primary ? ship_.PrimaryStrength : ship_.SecondaryStrength;
        const std::string key = primary ? "PrimaryWeapon" : "SecondaryWeapon";
        const int line = LineOfKey(in_, Strengths, key);
        if (strength == 0)
            Warning(line, key + " gives a strength of 0 (" + key + " x 0.1, rounded): " + row.Id + " does no damage");
        if (strength < 0)
            Error(line == 0 ? weaponLine : line, key + " gives a strength of " + std::to_string(strength) + ": " +
                                                     row.Id + " heals its target instead of hurting it");
    }

    void NameWidth(int line, const std::string& shown) {
        const std::string& name = ship_.ShipName;
        if (!names_.Font) {
            if (name.size() > ShipNameFallbackCharacters)
                Warning(line, shown + " has " + std::to_string(name.size()) +
                                  " characters: the ship list has room for " +
                                  std::to_string(ShipNameFallbackCharacters) + " beside a score");
            return;
        }
        FontSpec font;
        font.SizePoints = StatusTextSize;
        const int width = names_.Font->TextWidth(font, name);
        const int room = ShipListScoreRight - names_.Font->TextWidth(font, WidestScore) - ScoreGap - ShipListNameX;
        if (width > room)
            Warning(line, shown + " is " + std::to_string(width) +
                              " pixels wide in the ship list, which has room for " + std::to_string(room) +
                              " beside a four-digit score: the two run into each other");
    }

    const DefinitionInput& in_;
    const NameRules& names_;
    Report& report_;
    const TShip& ship_;
};

}  // namespace

void CheckShipValues(const DefinitionInput& input, const NameRules& names, Report& report) {
    ShipJudge judge(input, names, report);
    judge.Names();
    judge.StrengthValues();
    judge.Weapons();
    judge.ExplosionValues();
}

}  // namespace kelvane::check
