#pragma once
// Helpers shared by the fuzz entry points.

#include <cstddef>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "FuzzEntries.h"
#include "media/Bitmap.h"

namespace kelvane::fuzz {

[[noreturn]] void Fail(const std::string& what);
inline void Check(bool condition, const char* what) {
    if (!condition) Fail(what);
}

// Message patterns; a '*' stands for any text (the "%s" and "%d" of the messages).
using Patterns = std::span<const std::string_view>;

bool MessageMatches(std::string_view message, Patterns patterns);

// Rethrows the error (it must be the one being handled) unless its message matches.
void ExpectMessage(const std::runtime_error& error, Patterns patterns);

// The messages each reader is documented to throw.
inline constexpr std::string_view DibErrors[] = {"DIB is invalid", "Bitcount in invalid (*)",
                                                 "PixelFormat in invalid", "Stream read error"};
inline constexpr std::string_view BmpErrors[] = {"Bitmap image is not valid"};
inline constexpr std::string_view WaveErrors[] = {"Wave is invalid"};
inline constexpr std::string_view PictureArchiveErrors[] = {
    "Invalid stream format",  "Invalid property value",   "Property * does not exist",
    "Stream read error",      "DIB is invalid",           "Bitcount in invalid (*)",
    "PixelFormat in invalid", "Bitmap image is not valid",
    "The pictures of this archive take more than * MiB when decoded"};
inline constexpr std::string_view WaveArchiveErrors[] = {"Invalid stream format", "Invalid property value",
                                                         "Property * does not exist", "Stream read error",
                                                         "Wave is invalid"};

// A decoded picture is consistent: non-negative sides within the limits, one pixel per
// cell, and no bits above the 24 colour bits.
void CheckPicture(const Bitmap& picture);
// Both empty, or the same size and pixels.
bool SamePicture(const Bitmap& a, const Bitmap& b);

// A game folder of a fuzz entry's own under the temporary folder, removed with it.
class FuzzFolder {
public:
    explicit FuzzFolder(const char* prefix);
    ~FuzzFolder();
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    // Writes (or replaces) a file, making its folders.
    void Write(const std::string& relative, std::string_view bytes) const;
    // The folder with a final '/', as the game wants a game folder.
    std::string GameDir() const { return root_.string() + "/"; }
    const std::filesystem::path& Root() const { return root_; }

private:
    std::filesystem::path root_;
};

// Round trips are only worth their time for small pictures.
inline constexpr size_t RoundTripPixels = size_t{1} << 16;

}  // namespace kelvane::fuzz
