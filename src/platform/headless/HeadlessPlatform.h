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
    bool CanDraw() override { return Drawable; }
    void Present(const uint32_t* pixels, int width, int height) override;

    bool Drawable = true;
    bool KeepFrames = true;  // benchmarks turn the copy off
    int Width = 0;
    int Height = 0;
    uint64_t PresentCount = 0;
    std::vector<uint32_t> LastFrame;  // 0x00RRGGBB, top row first
};

class VirtualClock : public IClock {
public:
    uint64_t Milliseconds() override { return Now; }
    void Advance(uint64_t milliseconds) { Now += milliseconds; }
    uint64_t Now = 0;
};

class RecordingSleeper : public ISleeper {
public:
    void Sleep(uint32_t milliseconds) override { Pauses.push_back(milliseconds); }
    std::vector<uint32_t> Pauses;
};

class FixedPointer : public IPointer {
public:
    void HideCursor() override { Hidden = true; }
    void GetCursorPos(int32_t& x, int32_t& y) override {
        x = X;
        y = Y;
    }
    bool Hidden = false;
    int32_t X = 0;
    int32_t Y = 0;
};

}  // namespace kelvane
