#include "game/PlayerActions.h"

#include "console/InputState.h"
#include "media/ProfileFile.h"

namespace kelvane {
namespace {

std::string_view PadInputWords(PadInput input) {
    switch (input) {
        case PadInput::None: return "";
        case PadInput::A: return "A";
        case PadInput::B: return "B";
        case PadInput::X: return "X";
        case PadInput::Y: return "Y";
        case PadInput::LeftShoulder: return "LB";
        case PadInput::RightShoulder: return "RB";
        case PadInput::Back: return "Back";
        case PadInput::LeftStickClick: return Translatable("click the left stick");
        case PadInput::DpadUp: return Translatable("d-pad up");
        case PadInput::DpadDown: return Translatable("d-pad down");
        case PadInput::DpadLeft: return Translatable("d-pad left");
        case PadInput::DpadRight: return Translatable("d-pad right");
        case PadInput::StickUp: return Translatable("stick up");
        case PadInput::StickDown: return Translatable("stick down");
        case PadInput::StickLeft: return Translatable("stick left");
        case PadInput::StickRight: return Translatable("stick right");
    }
    return "";
}

}  // namespace

const PlayerActionRow* FindPlayerAction(std::string_view name) {
    for (const PlayerActionRow& row : PlayerActions) {
        if (ProfileNamesEqual(row.Name, name)) return &row;
    }
    return nullptr;
}

const PlayerActionRow* ActionOfKey(uint16_t key) {
    for (const PlayerActionRow& row : PlayerActions) {
        if (row.Key == key) return &row;
    }
    return nullptr;
}

uint16_t KeyOfPadInput(PadInput input) {
    if (input == PadInput::None) return 0;
    for (const PlayerActionRow& row : PlayerActions) {
        for (PadInput pad : row.Pad) {
            if (pad == input) return row.Key;
        }
    }
    return 0;
}

std::string PadWords(const PlayerActionRow& row, const Language& texts) {
    std::string words;
    for (PadInput pad : row.Pad) {
        if (pad == PadInput::None) continue;
        if (!words.empty()) words += texts.Translate(" or ");
        words += texts.Translate(PadInputWords(pad));
    }
    return words;
}

std::string PlayerActionNames() {
    std::string names;
    for (const PlayerActionRow& row : PlayerActions) {
        if (!names.empty()) names += ", ";
        names += row.Name;
    }
    return names;
}

HeldActions HeldKeys(const World& world) {
    HeldActions held;
    for (const PlayerActionRow& row : PlayerActions) held.Hold(row.Action, KeyActive(world, row.Key));
    return held;
}

ActionKeyNames GameKeyNames() {
    ActionKeyNames names;
    for (size_t i = 0; i < PlayerActionCount; ++i) names[i] = PlayerActions[i].KeyWords;
    return names;
}

}  // namespace kelvane
