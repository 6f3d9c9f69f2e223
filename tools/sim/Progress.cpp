#include "Progress.h"

#include <cstdio>
#include <string>

namespace kelvane::sim {
namespace {

std::string Clock(double seconds) {
    const long total = static_cast<long>(seconds + 0.5);
    char text[32];
    if (total >= 3600) std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    else std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

}  // namespace

ProgressLine::ProgressLine(bool shown) : shown_(shown), start_(std::chrono::steady_clock::now()) {}

void ProgressLine::Show(size_t done, size_t total) {
    if (!shown_) return;
    // A few times a second is enough for the eye, however short the duels.
    const auto now = std::chrono::steady_clock::now();
    if (written_ && now - lastShown_ < std::chrono::milliseconds(200)) return;
    lastShown_ = now;
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    std::string left = "estimating the time left";
    if (done > 0) {
        const double perDuel = elapsed / static_cast<double>(done);
        left = "about " + Clock(perDuel * static_cast<double>(total - done)) + " left";
    }
    // "\033[K" clears what a longer line before left behind.
    std::fprintf(stderr, "\r%zu/%zu duels, %s so far, %s\033[K", done, total, Clock(elapsed).c_str(), left.c_str());
    std::fflush(stderr);
    written_ = true;
}

void ProgressLine::Finish() {
    if (written_) std::fprintf(stderr, "\r\033[K");
    written_ = false;
}

}  // namespace kelvane::sim
