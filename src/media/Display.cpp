#include "media/Display.h"

#include <algorithm>

#include "media/ImageList.h"

namespace kelvane {

TDisplay::TDisplay(IPresenter& presenter, IFontRasteriser* font)
    : presenter_(presenter), back_(DisplayWidth, DisplayHeight, font) {}

void TDisplay::Initialize() {
    initialized_ = true;
    lost_ = false;
    for (TImageList* list : lists_) list->InitializeItems();
}

bool TDisplay::CanDraw() {
    if (!initialized_) return false;
    if (!presenter_.CanDraw()) {
        lost_ = true;
        return false;
    }
    if (lost_) {
        RestoreSurfaces();
        lost_ = false;
    }
    return true;
}

void TDisplay::Flip() {
    if (!CanDraw()) return;
    presenter_.Present(back_.Pixels(), back_.Width(), back_.Height());
}

void TDisplay::RestoreSurfaces() {
    // A recreated back surface starts black; what was drawn before the loss is gone.
    back_.Fill(0);
    if (!initialized_) return;
    for (TImageList* list : lists_) list->InitializeItems();
}

void TDisplay::Bind(TImageList* list) {
    if (list && std::find(lists_.begin(), lists_.end(), list) == lists_.end()) lists_.push_back(list);
}

void TDisplay::Unbind(TImageList* list) { std::erase(lists_, list); }

}  // namespace kelvane
