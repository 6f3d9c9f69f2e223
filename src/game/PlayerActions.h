#pragma once
// The player's actions in flight, one row each: the name the action has in settings.ini's
// [Keys], the game's own key for it (the code the rules read and recordings hold), the
// pad inputs that press that key, and how the help names the key and the action. The
// controls, steering, pause, the pad map and the F1 help are all read from this table;
// the player's own keys are turned into these codes where the window's events become the
// game's (the platform edge), so the rules never see a binding.

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "text/Language.h"
#include "combat/PlayerAction.h"
#include "world/VirtualKeys.h"

namespace kelvane {

struct World;

// What a game pad offers, by the usual names of an Xbox-style pad; the platform maps its
// buttons and stick onto these.
enum class PadInput : uint8_t {
    None,
    A,
    B,
    X,
    Y,
    LeftShoulder,
    RightShoulder,
    Back,
    LeftStickClick,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
    StickUp,
    StickDown,
    StickLeft,
    StickRight,
};

struct PlayerActionRow {
    PlayerAction Action;
    std::string_view Name;      // its key in [Keys], e.g. "NearestTarget"
    uint16_t Key;               // the game's own key code
    std::string_view KeyWords;  // the game's own key as the help names it
    std::array<PadInput, 2> Pad;
    std::string_view Words;     // what the action does, as the help says it (translatable)
};

// In the order the help lists them.
inline constexpr PlayerActionRow PlayerActions[] = {
    {PlayerAction::Thrust, "Thrust", VK_UP, "Up", {PadInput::StickUp, PadInput::DpadUp}, Translatable("thrust")},
    {PlayerAction::Brake, "Brake", VK_DOWN, "Down", {PadInput::StickDown, PadInput::DpadDown}, Translatable("brake")},
    {PlayerAction::TurnLeft, "TurnLeft", VK_LEFT, "Left", {PadInput::StickLeft, PadInput::DpadLeft}, Translatable("turn left")},
    {PlayerAction::TurnRight, "TurnRight", VK_RIGHT, "Right", {PadInput::StickRight, PadInput::DpadRight},
     Translatable("turn right")},
    {PlayerAction::FirePrimary, "FirePrimary", VK_SPACE, "Space", {PadInput::A}, Translatable("fire the primary weapon")},
    {PlayerAction::FireSecondary, "FireSecondary", VK_MENU, "Alt", {PadInput::B}, Translatable("launch a torpedo")},
    {PlayerAction::Special, "Special", VK_CONTROL, "Ctrl", {PadInput::X}, Translatable("use the special device")},
    {PlayerAction::NearestTarget, "NearestTarget", 'N', "N", {PadInput::Y}, Translatable("nearest target")},
    {PlayerAction::NextTarget, "NextTarget", VK_BACK, "Backspace", {PadInput::LeftShoulder, PadInput::RightShoulder},
     Translatable("next target")},
    {PlayerAction::Shields, "Shields", 'S', "S", {PadInput::LeftStickClick}, Translatable("lower or raise the shields")},
    {PlayerAction::RangeRing, "RangeRing", 'R', "R", {PadInput::Back}, Translatable("show or hide the range ring")},
    {PlayerAction::SelfDestruct, "SelfDestruct", 'D', "D", {}, Translatable("self-destruct")},
    {PlayerAction::Pause, "Pause", VK_PAUSE, "Pause", {}, Translatable("pause and resume")},
};
inline constexpr size_t PlayerActionCount = std::size(PlayerActions);

namespace detail {
constexpr bool RowsInActionOrder() {
    for (size_t i = 0; i < PlayerActionCount; ++i) {
        if (static_cast<size_t>(PlayerActions[i].Action) != i) return false;
    }
    return true;
}
}  // namespace detail
static_assert(detail::RowsInActionOrder(), "PlayerActions lists every action once, in the order of the enum");

constexpr const PlayerActionRow& ActionRow(PlayerAction action) {
    const size_t index = static_cast<size_t>(action);
    if (index >= PlayerActionCount) throw std::out_of_range("no such player action");
    return PlayerActions[index];
}
constexpr uint16_t KeyOf(PlayerAction action) { return ActionRow(action).Key; }

// The row of a [Keys] name (letter case as in INI files: a to z alike); nullptr for none.
const PlayerActionRow* FindPlayerAction(std::string_view name);
// The row whose key is `key`; nullptr when no action has it.
const PlayerActionRow* ActionOfKey(uint16_t key);
// The game key a pad input presses; 0 for none.
uint16_t KeyOfPadInput(PadInput input);
// How the help names a row's pad inputs: "LB or RB", "" for none; in the language.
std::string PadWords(const PlayerActionRow& row, const Language& texts = OriginalLanguage());
// Every action's name, for a line that lists them: "Thrust, Brake, ...".
std::string PlayerActionNames();

// The actions whose game keys are held in the world's key state this frame.
HeldActions HeldKeys(const World& world);

// The key of each action as the help names it, in the table's order (Windows-1250 text;
// empty: the action has no key).
using ActionKeyNames = std::array<std::string, PlayerActionCount>;
// The game's own keys: the table's words.
ActionKeyNames GameKeyNames();

}  // namespace kelvane
