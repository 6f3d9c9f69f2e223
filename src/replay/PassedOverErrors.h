#pragma once
// Tells the player of errors the frame's error handling passes over: the game goes on as
// it always has, but a line names the frame and the recording that holds it, so the file
// can go with a bug report ("kelvane-sim --replay FILE --dump K:-" shows that frame).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "game/MainForm.h"

namespace kelvane {

// "an error was passed over in frame 1234 (recorded in PATH): MESSAGE"; without a
// recording "(not recorded)" instead.
std::string PassedOverErrorLine(uint64_t frame, const std::string& recording, const std::string& message);

class PassedOverErrors {
public:
    // A game whose every frame fails would fill the terminal: after this many lines one
    // more says that further errors go untold.
    static constexpr size_t MaxLines = 20;

    explicit PassedOverErrors(std::function<void(const std::string&)> say) : say_(std::move(say)) {}

    // After a tick (or a console line given directly): tells of the errors the form has
    // passed over since the last call. `frame`: the frame just played; `recording`: the
    // file holding it, empty when the game is not being recorded.
    void Tell(const TMainForm& form, uint64_t frame, const std::string& recording);

private:
    std::function<void(const std::string&)> say_;
    uint64_t told_ = 0;  // errors of the form seen so far
    size_t lines_ = 0;
};

}  // namespace kelvane
