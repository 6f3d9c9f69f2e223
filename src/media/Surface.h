#pragma once
// A 32-bit drawing surface (pixels 0x00RRGGBB). The display's back surface is one of
// these; the platform only presents it.

#include <cstdint>
#include <memory>
#include <vector>

namespace kelvane {

class Canvas;
class IFontRasteriser;

class Surface {
public:
    Surface(int32_t width, int32_t height, IFontRasteriser* font = nullptr);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint32_t* Row(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const uint32_t* Row(int32_t y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
    uint32_t* Pixels() { return pixels_.data(); }
    const uint32_t* Pixels() const { return pixels_.data(); }

    // Every pixel becomes the raw value.
    void Fill(uint32_t raw);

    // The drawing context, created on first use and kept with its pen, brush and font.
    Canvas& GetCanvas();
    // Ends a batch of canvas drawing.
    void ReleaseCanvas();
    bool CanvasHeld() const { return canvasHeld_; }

    IFontRasteriser* Font() const { return font_; }
    void SetFont(IFontRasteriser* font) { font_ = font; }

private:
    int32_t width_;
    int32_t height_;
    std::vector<uint32_t> pixels_;
    IFontRasteriser* font_;
    std::unique_ptr<Canvas> canvas_;
    bool canvasHeld_ = false;
};

}  // namespace kelvane
