#include "media/Surface.h"

#include <algorithm>
#include <cstring>

#include "media/Canvas.h"

namespace kelvane {

Surface::Surface(int32_t width, int32_t height, IFontRasteriser* font)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0u),
      font_(font) {}

Surface::~Surface() = default;

// Every frame starts with a black fill of the whole screen: the library's memset does
// that several times faster than an element loop.
void Surface::Fill(uint32_t raw) {
    if (raw == 0) {
        std::memset(pixels_.data(), 0, pixels_.size() * sizeof(uint32_t));
    } else {
        std::fill(pixels_.begin(), pixels_.end(), raw);
    }
}

Canvas& Surface::GetCanvas() {
    if (!canvas_) canvas_ = std::make_unique<Canvas>(*this);
    canvasHeld_ = true;
    return *canvas_;
}

void Surface::ReleaseCanvas() { canvasHeld_ = false; }

}  // namespace kelvane
