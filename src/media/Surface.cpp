#include "media/Surface.h"

#include <algorithm>

#include "media/Canvas.h"

namespace kelvane {

Surface::Surface(int32_t width, int32_t height, IFontRasteriser* font)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0u),
      font_(font) {}

Surface::~Surface() = default;

void Surface::Fill(uint32_t raw) { std::fill(pixels_.begin(), pixels_.end(), raw); }

Canvas& Surface::GetCanvas() {
    if (!canvas_) canvas_ = std::make_unique<Canvas>(*this);
    canvasHeld_ = true;
    return *canvas_;
}

void Surface::ReleaseCanvas() { canvasHeld_ = false; }

}  // namespace kelvane
