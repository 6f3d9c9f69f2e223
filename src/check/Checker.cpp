#include "check/Checker.h"

#include <cerrno>
#include <map>
#include <memory>
#include <set>

#include "check/ConsoleKeyboard.h"
#include "check/DefinitionCheck.h"
#include "check/Naming.h"
#include "check/PictureCheck.h"
#include "check/ScriptCheck.h"
#include "check/TextEncoding.h"
#include "game/ShipDefinition.h"
#include "game/ShipDefinitionFiles.h"
#include "media/Archive.h"
#include "media/Dib.h"
#include "base/FileError.h"
#include "base/InputFile.h"
#include "world/TextUtil.h"

namespace kelvane::check {
namespace {

// The decoder's own account of a picture it refused, when it gave one.
std::string ReasonOf(const FileError& error) {
    try {
        std::rethrow_if_nested(error);
    } catch (const BitmapInvalidError& invalid) {
        return invalid.Reason();
    } catch (...) {
    }
    return {};
}

// What a picture that is no BMP file at all is, by its first bytes.
std::string KindOf(const std::string& path) {
    char start[8] = {};
    size_t got = 0;
    try {
        got = InputFile(path, ShipPictureFileLimit).Read(start, sizeof start);
    } catch (const FileError&) {
        return "";
    }
    const std::string_view bytes(start, got);
    if (bytes.starts_with("\x89PNG")) return "a PNG picture";
    if (bytes.starts_with("\xFF\xD8\xFF")) return "a JPEG picture";
    if (bytes.starts_with("GIF8")) return "a GIF picture";
    return "";
}

class GameCheck {
public:
    explicit GameCheck(const CheckOptions& options) : options_(options), world_(std::make_unique<World>()) {}

    Report Run() {
        const ShipDefinitionFiles listing = ListShipDefinitionFiles(options_.GameDir, options_.PlayerDir);
        for (const UnreadEntry& folder : listing.UnreadFolders)
            report_.Error(folder.Path, 0,
                          "the folder cannot be read (" + folder.Reason + "): " +
                              (folder.Path == listing.ShippedDir ? "the game cannot start"
                                                                        : "the game reads none of the ship types in it"));
        for (const UnreadEntry& entry : listing.Skipped)
            report_.Error(entry.Path, 0, "no definition the game can read (" + entry.Reason + "): the game skips it");
        if (listing.Files.empty() && listing.UnreadFolders.empty())
            report_.Error(listing.ShippedDir, 0,
                          "no ship definition (.ini file) here: the game cannot start without one");
        int slot = 0;
        for (const ShipDefinitionFile& file : listing.Files) Definition(file, ++slot);
        for (size_t i = 0; i < listing.LeftOut.size(); ++i)
            report_.Error(listing.LeftOut[i].Definition, 0,
                          "left out: the game has " + std::to_string(MaxShips) + " ship slots and this is definition " +
                              std::to_string(MaxShips + 1 + i) + ", so its ship never exists");
        std::vector<std::string> shipNames;
        for (int s = 1; s <= slot; ++s) shipNames.push_back(world_->Ships[s].ShipName);
        CheckScripts({options_.GameDir, options_.PlayerDir}, shipNames, keyboard_, report_);
        return std::move(report_);
    }

private:
    void Definition(const ShipDefinitionFile& file, int slot) {
        const size_t mark = report_.Findings().size();
        ++report_.Definitions;
        std::string bytes;
        try {
            bytes = ReadFileText(file.Definition, ShipDefinitionFileLimit);
        } catch (const InputFileError& error) {
            if (error.Why == InputFileError::Refusal::TooLarge) {
                // The game stops at it: nothing of it is read, so nothing else of it to judge.
                report_.Error(file.Definition, 0, error.Reason + ": the game cannot start");
                Picture(file);
                report_.SortSince(mark);
                return;
            }
            report_.Error(file.Definition, 0,
                          "cannot be read (" + error.Reason + "): the game reads it as an empty file, a ship without a name");
        }
        const bool readable = CheckTextEncoding(bytes, file.Definition, report_);
        // The game's own reader, on the same bytes, recording what it asks.
        const ProfileFile ini = ProfileFile::Parse(bytes);
        std::vector<ProfileRead> reads;
        ini.RecordReads(&reads);
        ReadShipDefinition(*world_, ini, slot);
        ini.RecordReads(nullptr);
        const DefinitionInput input{file.Definition, ini, reads, world_->Ships[slot]};
        if (readable) CheckDefinitionLayout(input, report_);
        CheckShipValues(input, {keyboard_, options_.Font}, report_);
        SameName(file, slot);
        Picture(file);
        report_.SortSince(mark);
    }

    void SameName(const ShipDefinitionFile& file, int slot) {
        const std::string& name = world_->Ships[slot].ShipName;
        if (name.empty()) return;
        const auto [first, added] = namedBy_.emplace(UpperCaseText(name), file.Definition);
        if (!added)
            report_.Warning(
                file.Definition, 0,
                "ShipName " + Shown(name) + " is also the name in " + first->second +
                    ": CREATESHIP puts the first of them not in play into play, and YOURSHIP takes the last");
    }

    void Picture(const ShipDefinitionFile& file) {
        if (!pictures_.insert(file.Picture).second) return;  // shared with an earlier definition: seen once
        ++report_.Pictures;
        try {
            LoadShipPicture(images_, file.Picture);
        } catch (const FileError& error) {
            PictureError(file, error);
            return;
        }
        const Bitmap& picture = images_.Items.back()->Pic.Image;
        CheckShipPicture(file.Picture, picture, report_);
        try {
            budget_.Take(picture);
        } catch (const std::runtime_error& error) {
            report_.Error(file.Picture, 0, std::string(error.what()) + ": the game cannot start");
        }
        images_.Clear();  // counted against the budget; the pixels are not needed any more
    }

    void PictureError(const ShipDefinitionFile& file, const FileError& error) {
        const auto* refused = dynamic_cast<const InputFileError*>(&error);
        if (refused && refused->SystemError == ENOENT) {
            report_.Error(file.Definition, 0,
                          "its picture " + file.Picture + " is missing: the game cannot start without it (\"" +
                              error.what() + "\")");
            return;
        }
        if (refused) {  // there, but not to be read: no permission, a folder, far too large
            report_.Error(file.Picture, 0,
                          std::string("the game cannot read this picture and cannot start: \"") + error.what() + "\"");
            return;
        }
        std::string reason = ReasonOf(error);
        if (const std::string kind = KindOf(file.Picture); !kind.empty()) reason = "it is " + kind + ", not a BMP file";
        report_.Error(file.Picture, 0,
                      std::string("the game cannot read this picture and cannot start: \"") + error.what() + "\"" +
                          (reason.empty() ? "" : " (" + reason + ")"));
    }

    const CheckOptions& options_;
    Report report_;
    const ConsoleKeyboard& keyboard_ = TheConsoleKeyboard();
    std::unique_ptr<World> world_;
    TImageList images_;
    PictureBudget budget_;
    std::set<std::string> pictures_;
    std::map<std::string, std::string> namedBy_;
};

}  // namespace

Report CheckGameData(const CheckOptions& options) { return GameCheck(options).Run(); }

}  // namespace kelvane::check
