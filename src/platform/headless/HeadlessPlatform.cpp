#include "platform/headless/HeadlessPlatform.h"

namespace kelvane {

void HeadlessPresenter::Present(const uint32_t* pixels, int w, int h) {
    width = w;
    height = h;
    if (keepFrames) lastFrame.assign(pixels, pixels + static_cast<size_t>(w) * static_cast<size_t>(h));
    ++presentCount;
}

}  // namespace kelvane
