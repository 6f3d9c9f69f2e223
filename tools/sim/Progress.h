#pragma once
// The progress line of a long run on standard error, rewritten in place, with the time
// left estimated from the pace so far. Only for a terminal: logs get no such lines.

#include <chrono>
#include <cstddef>

namespace kelvane::sim {

class ProgressLine {
public:
    explicit ProgressLine(bool shown);
    void Show(size_t done, size_t total);
    // Clears the line so that what follows starts on a clean one.
    void Finish();

private:
    bool shown_;
    bool written_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastShown_;
};

}  // namespace kelvane::sim
