#pragma once
// The full-screen display: a 1024 x 768 back surface that the game draws on and a
// presenter that shows it. Image lists bound to the display build their patterns
// once it is initialised.

#include <cstdint>
#include <vector>

#include "media/Platform.h"
#include "media/Surface.h"

namespace kelvane {

class TImageList;

class TDisplay {
public:
    static constexpr int32_t DisplayWidth = 1024;
    static constexpr int32_t DisplayHeight = 768;

    TDisplay(IPresenter& presenter, IFontRasteriser* font);

    // Initialises the display and every bound image list's items.
    void Initialize();
    bool Initialized() const { return initialized_; }

    Surface& Back() { return back_; }

    // True when the display is initialised and the presenter can show a picture;
    // restores the surfaces first when the presenter lost them.
    bool CanDraw();
    // Shows the back surface; it keeps its content.
    void Flip();
    // Recreates the surfaces and rebuilds every bound list's patterns.
    void RestoreSurfaces();

    void Bind(TImageList* list);
    void Unbind(TImageList* list);

private:
    IPresenter& presenter_;
    Surface back_;
    bool initialized_ = false;
    bool lost_ = false;  // the presenter could not show a picture the last time we asked
    std::vector<TImageList*> lists_;
};

}  // namespace kelvane
