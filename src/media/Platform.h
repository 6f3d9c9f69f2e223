#pragma once
// The narrow faces through which the game meets the machine. The SDL build and the
// headless build (tests, kelvane-sim) differ only in what they plug in here.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "media/Bitmap.h"

namespace kelvane {

// Shows finished frames. The back surface is ours; the presenter only copies it out.
class IPresenter {
public:
    virtual ~IPresenter() = default;
    // False while the picture cannot be shown (for instance a lost or minimised window).
    virtual bool CanDraw() = 0;
    // pixels: width * height values 0x00RRGGBB, top row first.
    virtual void Present(const uint32_t* pixels, int width, int height) = 0;
};

// Milliseconds since some fixed point; only differences matter.
class IClock {
public:
    virtual ~IClock() = default;
    virtual uint64_t Milliseconds() = 0;
};

// The loading sequence's pauses go through this, so tests can record them instead.
class ISleeper {
public:
    virtual ~ISleeper() = default;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// The mouse pointer, as far as the game touches it.
class IPointer {
public:
    virtual ~IPointer() = default;
    virtual void HideCursor() = 0;
    virtual void GetCursorPos(int32_t& x, int32_t& y) = 0;
};

struct FontSpec {
    std::string Face = "Verdana";
    int SizePoints = 7;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
};

// Text rendered as coverage: Width * Height bytes 0..255, top row first. The cell's
// top-left corner is where the caller asked the text to start.
struct TextCoverage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Alpha;
};

class IFontRasteriser {
public:
    virtual ~IFontRasteriser() = default;
    // text is 8-bit Windows-1250.
    virtual void Render(const FontSpec& font, std::string_view text, TextCoverage& out) = 0;
    virtual int TextWidth(const FontSpec& font, std::string_view text) = 0;
};

// Device format the sound output runs at; samples are interleaved signed 16-bit.
struct AudioFormat {
    int Frequency = 44100;
    int Channels = 2;
};

// A sound output that pulls mixed samples. Open starts pulling through `pull`
// (frames of interleaved int16 samples); Lock/Unlock bracket changes to the voices.
class IAudioOutput {
public:
    using PullFunction = std::function<void(int16_t* samples, int frames)>;
    virtual ~IAudioOutput() = default;
    // Throws std::runtime_error with the platform's message when no device opens.
    virtual AudioFormat Open(PullFunction pull) = 0;
    virtual void Close() = 0;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
};

}  // namespace kelvane
