#include "platform/headless/HeadlessPlatform.h"

namespace kelvane {

void HeadlessPresenter::Present(const uint32_t* pixels, int w, int h) {
    Width = w;
    Height = h;
    if (KeepFrames) LastFrame.assign(pixels, pixels + static_cast<size_t>(w) * static_cast<size_t>(h));
    ++PresentCount;
}

}  // namespace kelvane
