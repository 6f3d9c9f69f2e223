// Loading and saving an image list as a picture archive, kept apart from the list's
// drawing side so that its users need not pull in the archive code.

#include "media/Archive.h"
#include "media/Display.h"
#include "base/FileError.h"
#include "media/ImageList.h"

namespace kelvane {

void TImageList::LoadFromFile(const std::string& path) {
    WhileReading(path, [&] { LoadFromArchive(ReadWholeFile(path)); });
}

void TImageList::LoadFromArchive(const std::vector<uint8_t>& bytes) {
    ReadPictureArchive(bytes, *this);
    if (display_ != nullptr && display_->Initialized()) InitializeItems();
}

void TImageList::SaveToFile(const std::string& path) const {
    WithFile(path, FileError::Action::Writing, [&] { WriteWholeFile(path, WritePictureArchive(*this)); });
}

}  // namespace kelvane
