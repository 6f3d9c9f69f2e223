#pragma once
// Stand-ins for the machine, for tests and the headless runner: a presenter that keeps
// the last frame, a clock that moves only when told, a sleeper that records instead of
// sleeping, and a pointer that stays where it was put.

#include <cstdint>
#include <vector>

#include "media/Platform.h"

namespace kelvane {

class HeadlessPresenter : public IPresenter {
public:
    bool CanDraw() override { return drawable; }
    void Present(const uint32_t* pixels, int width, int height) override;

    bool drawable = true;
    bool keepFrames = true;  // benchmarks turn the copy off
    int width = 0;
    int height = 0;
    uint64_t presentCount = 0;
    std::vector<uint32_t> lastFrame;  // 0x00RRGGBB, top row first
};

class VirtualClock : public IClock {
public:
    uint64_t Milliseconds() override { return now; }
    void Advance(uint64_t milliseconds) { now += milliseconds; }
    uint64_t now = 0;
};

class RecordingSleeper : public ISleeper {
public:
    void Sleep(uint32_t milliseconds) override { pauses.push_back(milliseconds); }
    std::vector<uint32_t> pauses;
};

class FixedPointer : public IPointer {
public:
    void HideCursor() override { hidden = true; }
    void GetCursorPos(int32_t& px, int32_t& py) override {
        px = x;
        py = y;
    }
    bool hidden = false;
    int32_t x = 0;
    int32_t y = 0;
};

}  // namespace kelvane
