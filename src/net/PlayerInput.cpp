#include "net/PlayerInput.h"

#include <utility>

namespace kelvane::net {

PlayerInput KeyInput(uint16_t key, ShiftState shift) {
    PlayerInput input;
    input.Kind = InputKind::Key;
    input.Key = key;
    input.Shift = shift;
    return input;
}

PlayerInput MouseInput(uint8_t button) {
    PlayerInput input;
    input.Kind = InputKind::Mouse;
    input.Button = button;
    return input;
}

PlayerInput CommandInput(std::string line) {
    PlayerInput input;
    input.Kind = InputKind::Command;
    input.Text = std::move(line);
    return input;
}

PlayerInput JoinInput(int seat, std::string name) {
    PlayerInput input;
    input.Kind = InputKind::Join;
    input.Seat = static_cast<uint8_t>(seat);
    input.Text = std::move(name);
    return input;
}

PlayerInput LeaveInput() {
    PlayerInput input;
    input.Kind = InputKind::Leave;
    return input;
}

std::string CleanPlayerName(std::string_view name) {
    std::string clean;
    for (const char c : name) {
        if (c >= 0x20 && c <= 0x7E && clean.size() < MaxNameLength) clean += c;
    }
    const size_t first = clean.find_first_not_of(' ');
    if (first == std::string::npos) return "Player";
    const size_t last = clean.find_last_not_of(' ');
    return clean.substr(first, last - first + 1);
}

}  // namespace kelvane::net
