#pragma once
// Picture and sound archives (".dxg"): a resource header followed by a binary
// component stream ("TPF0") whose root property "List" is the collection of items.
// Errors are std::runtime_error carrying the archive's own message texts.

#include <cstdint>
#include <string>
#include <vector>

#include "base/InputFile.h"
#include "media/PictureItem.h"
#include "media/WaveItem.h"

namespace kelvane {

// The game's archives (GFX.dxg, SFX.dxg, Loading.dxg, Ships.dxg) are a few megabytes;
// a file far beyond that is no archive of ours and is not read.
inline constexpr FileLimit ArchiveFileLimit{uint64_t{1} << 30, "an archive"};

// Whole file in memory, read through an InputFile: a FileError "Cannot open file %s: ..."
// with the reason when it cannot be read, is no regular file or is larger than `limit`.
std::vector<uint8_t> ReadWholeFile(const std::string& path, FileLimit limit = ArchiveFileLimit);
// Creates or replaces the file; "Cannot create file %s" when it cannot be written.
void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// A few hundred bytes of run-length data may legally unpack into a 256 MiB picture, so
// one archive's decoded pictures together may take at most this much memory.
inline constexpr uint64_t MaxArchivePictureBytes = 512ull * 1024 * 1024;
std::string ArchivePicturesTooLargeMessage(uint64_t budgetBytes);

// Counts decoded pictures against a budget; Take throws ArchivePicturesTooLargeMessage
// once the pictures taken so far need more than the budget.
class PictureBudget {
public:
    explicit PictureBudget(uint64_t budgetBytes = MaxArchivePictureBytes) : BudgetBytes(budgetBytes) {}
    void Take(const Bitmap& picture);

private:
    uint64_t BudgetBytes;
    uint64_t UsedBytes = 0;
};

// Removes all items, then reads the archive's items in file order. Items read before
// an error stay in the collection. Decoded pictures above budgetBytes in total end the
// read with ArchivePicturesTooLargeMessage.
void ReadPictureArchive(const std::vector<uint8_t>& bytes, PictureCollection& into,
                        uint64_t budgetBytes = MaxArchivePictureBytes);
void ReadWaveArchive(const std::vector<uint8_t>& bytes, WaveCollection& into);

// The archive bytes of a picture collection, as SaveToFile writes them.
std::vector<uint8_t> WritePictureArchive(const PictureCollection& collection);
// The same container for sounds (the game only reads these; the asset tool writes them).
std::vector<uint8_t> WriteWaveArchive(const WaveCollection& collection);

}  // namespace kelvane
