#pragma once
// An image list bound to the display: the picture collection of an archive whose
// items are initialised (cut into patterns) while the display is.

#include <string>

#include "media/PictureItem.h"

namespace kelvane {

class TDisplay;

class TImageList : public PictureCollection {
public:
    explicit TImageList(TDisplay* display = nullptr);
    ~TImageList();
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    int32_t Count() const { return static_cast<int32_t>(Items.size()); }
    // Throws "List index out of bounds (%d)" for an index outside 0..Count-1.
    TPictureCollectionItem& Item(int32_t index);
    const TPictureCollectionItem& Item(int32_t index) const;
    // Appends an item with the defaults; it stays uninitialised until the list loads again.
    TPictureCollectionItem& Add();
    void Clear();

    // Replaces all items with an archive's; initialises them when the display is.
    void LoadFromFile(const std::string& path);
    // The same from an archive's bytes already in memory.
    void LoadFromArchive(const std::vector<uint8_t>& bytes);
    // Writes the collection as a picture archive ("Cannot create file %s" on failure).
    void SaveToFile(const std::string& path) const;

    void InitializeItems();
    void FinalizeItems();

private:
    TDisplay* display_;
};

}  // namespace kelvane
