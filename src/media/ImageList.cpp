// TImageList apart from its archive reading and writing (ImageListArchive.cpp).
#include <stdexcept>
#include <string>

#include "media/Display.h"
#include "media/ImageList.h"

namespace kelvane {

namespace {

void CheckIndex(int32_t index, int32_t count) {
    if (index < 0 || index >= count)
        throw std::runtime_error("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

TImageList::TImageList(TDisplay* display) : display_(display) {
    if (display_) display_->Bind(this);
}

TImageList::~TImageList() {
    if (display_) display_->Unbind(this);
}

TPictureCollectionItem& TImageList::Item(int32_t index) {
    CheckIndex(index, Count());
    return *Items[static_cast<size_t>(index)];
}

const TPictureCollectionItem& TImageList::Item(int32_t index) const {
    CheckIndex(index, Count());
    return *Items[static_cast<size_t>(index)];
}

TPictureCollectionItem& TImageList::Add() {
    Items.push_back(std::make_unique<TPictureCollectionItem>());
    return *Items.back();
}

void TImageList::Clear() { Items.clear(); }

void TImageList::InitializeItems() {
    for (const std::unique_ptr<TPictureCollectionItem>& item : Items) item->Initialize();
}

void TImageList::FinalizeItems() {
    for (const std::unique_ptr<TPictureCollectionItem>& item : Items) item->Finalize();
}

}  // namespace kelvane
