#pragma once
// Ship types come from definition files in Data/Ships: one INI file per type and a BMP
// picture of the same base name beside it, three patterns side by side (the ship on pure
// green, its hit mask, a free third).

#include <string>

#include "base/InputFile.h"
#include "media/ImageList.h"
#include "media/ProfileFile.h"
#include "world/World.h"

namespace kelvane {

// A definition is a page of text and a ship's picture a few hundred kilobytes; files far
// beyond these are refused before they are read (the start fails naming the file).
inline constexpr FileLimit ShipDefinitionFileLimit{uint64_t{1} << 20, "a ship definition"};
inline constexpr FileLimit ShipPictureFileLimit{uint64_t{64} << 20, "a ship picture"};

// Reads Data/Ships/<fileName> into Ships[slot] and appends its picture to shipImages
// (which then holds slot items). A missing file, section or key gives the defaults (a
// definition larger than its limit throws); a missing or unreadable picture throws
// "Cannot open file %s: ..." or "Bitmap image is not valid" after the slot's fields are
// set and the item appended.
void LoadShipDefinition(World& world, TImageList& shipImages, const std::string& gameDir,
                        const std::string& fileName, int slot);
// The same for a definition file and its picture given by their full paths. Errors of
// the picture leave as a FileError naming it.
void LoadShipDefinitionFile(World& world, TImageList& shipImages, const std::string& definitionPath,
                            const std::string& picturePath, int slot);

// The two halves of that, in the order it runs them; the checker runs them on their own.
// Sets Ships[slot] from a parsed definition (the start values included).
void ReadShipDefinition(World& world, const ProfileFile& ini, int slot);
// Appends the picture item of a ship to shipImages and reads its picture into it.
void LoadShipPicture(TImageList& shipImages, const std::string& picturePath);
// The colour of pattern 0 that is not drawn, and the hit-mask colour of pattern 1.
inline constexpr uint32_t ShipKeyColor = 0x00FF00;  // pure green
// The picture of a definition file: the BMP named by the file's BaseName in `folder`
// (ending in '/'), found without regard to case.
std::string ShipPicturePath(const std::string& folder, const std::string& definitionName);

}  // namespace kelvane
