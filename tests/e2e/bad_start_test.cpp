// Damaged or missing start-up input: every fault ends the runner with exit code 1 and the
// archive's, picture's or file system's own message on stderr; never a signal, never a
// sanitizer report. (A hang would run into the test's own timeout.)

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "SimRunner.h"
#include "TempGameDir.h"
#include "media/Archive.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;
using ByteVector = std::vector<uint8_t>;

ByteVector ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

ByteVector BuiltFile(const std::string& relative) {
    return ReadBytes(fs::path(KELVANE_BINARY_DIR) / relative);
}

// Replaces a file of the game directory (a link to the built data) by a real file.
void PutFile(const TempGameDir& dir, const std::string& relative, const ByteVector& bytes) {
    const fs::path path = dir.Root() / relative;
    fs::remove(path);  // never write through the link into the build tree
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Offset of the first occurrence of `text` at or after `from`; the test stops when absent.
size_t Find(const ByteVector& bytes, const std::string& text, size_t from = 0) {
    const auto at =
        std::search(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(), text.begin(), text.end());
    if (at == bytes.end()) throw std::runtime_error("test data lacks \"" + text + "\"");
    return static_cast<size_t>(at - bytes.begin());
}

// The start of the first "TDIB" payload's info header.
size_t FirstDibHeader(const ByteVector& gfx) {
    return Find(gfx, "\x04TDIB") + 5;
}

void PutU32(ByteVector& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

// A picture archive of one item whose payload is the given "TDIB" data, as held.
ByteVector ArchiveWithDib(const ByteVector& dib) {
    PictureCollection collection;
    auto item = std::make_unique<TPictureCollectionItem>();
    item->Pic.ClassName = "TDIB";
    item->Pic.Data = dib;
    item->Pic.Image.Resize(2, 2);  // only so that the writer writes the payload
    collection.Items.push_back(std::move(item));
    return WritePictureArchive(collection);
}

// A 2 x 2 16-bit bit-fields DIB with 4-4-4 masks, which only 5-5-5 and 5-6-5 pictures may use.
ByteVector Dib16WithMasks(uint32_t red, uint32_t green, uint32_t blue) {
    ByteVector dib;
    auto u16 = [&](uint16_t v) {
        dib.push_back(static_cast<uint8_t>(v));
        dib.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
        u16(static_cast<uint16_t>(v));
        u16(static_cast<uint16_t>(v >> 16));
    };
    u32(40);
    u32(2);
    u32(2);
    u16(1);
    u16(16);
    u32(3);  // bit fields
    for (int i = 0; i < 5; ++i) u32(0);
    u32(red);
    u32(green);
    u32(blue);
    dib.resize(dib.size() + 8, 0x11);  // two rows of two pixels, padded to 4 bytes
    return dib;
}

// A picture archive of one "TBitmap" item whose BMP file starts with "XM" instead of "BM".
ByteVector ArchiveWithBrokenBitmap() {
    PictureCollection collection;
    auto item = std::make_unique<TPictureCollectionItem>();
    item->Pic.ClassName = "TBitmap";
    item->Pic.Image.Resize(2, 2, 0x123456);
    collection.Items.push_back(std::move(item));
    ByteVector bytes = WritePictureArchive(collection);
    bytes.at(Find(bytes, "\x07TBitmap") + 8 + 4) = 'X';
    return bytes;
}

void ExpectCleanFailure(const SimResult& run, const std::string& expected, const std::string& what) {
    // -1: the runner ended by a signal (a crash or the kill of a hang).
    EXPECT_EQ(run.ExitCode, 1) << what << "\n" << run.Err;
    EXPECT_NE(run.Err.find("the game cannot start: " + expected), std::string::npos) << what << "\n"
                                                                                     << run.Err;
    EXPECT_EQ(run.Err.find("Sanitizer"), std::string::npos) << what << "\n" << run.Err;
    EXPECT_EQ(run.Err.find("runtime error"), std::string::npos) << what << "\n" << run.Err;
    EXPECT_TRUE(run.Out.empty()) << what;
}

SimResult Start(const TempGameDir& dir) {
    return RunSim({"--data", dir.Path(), "--frames", "3", "--dump", "last:-"}, dir.Root().string());
}

// The line after the message names the file at fault, in the program's own words.
void ExpectFileNamed(const SimResult& run, const std::string& program, const std::string& context) {
    const std::string line = program + ": " + context + "\n";
    EXPECT_NE(run.Err.find(line), std::string::npos) << run.Err;
    // It follows the message line right away, and only once.
    const size_t message = run.Err.find(program + ": the game cannot start: ");
    ASSERT_NE(message, std::string::npos) << run.Err;
    EXPECT_EQ(run.Err.find(line), run.Err.size() - line.size()) << run.Err;
}

TEST(BadStart, DamagedArchivesEndWithTheirMessage) {
    struct Case {
        const char* what;
        const char* file;  // under Data/
        std::function<ByteVector()> bytes;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"wrong first header byte", "GFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/GFX.dxg");
             b[0] = 0xFE;
             return b;
         },
         "Invalid stream format"},
        {"wrong resource type", "SFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/SFX.dxg");
             b[1] = 11;
             return b;
         },
         "Invalid stream format"},
        {"signature not TPF0", "GFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/GFX.dxg");
             b[Find(b, "TPF0") + 3] = '1';
             return b;
         },
         "Invalid stream format"},
        {"truncated in the middle", "GFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/GFX.dxg");
             b.resize(b.size() / 2);
             return b;
         },
         "Stream read error"},
        {"truncated inside the header", "SFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/SFX.dxg");
             b.resize(20);
             return b;
         },
         "Invalid stream format"},
        {"empty file", "GFX.dxg", [] { return ByteVector(); }, "Invalid stream format"},
        {"truncated sound archive", "SFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/SFX.dxg");
             b.resize(b.size() - 3);
             return b;
         },
         "Stream read error"},
        {"unknown property name", "GFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/GFX.dxg");
             b[Find(b, "PatternHeight") + 12] = 'z';
             return b;
         },
         "Property PatternHeighz does not exist"},
        {"unknown sound property", "SFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/SFX.dxg");
             b[Find(b, "Looped")] = 'H';
             return b;
         },
         "Property Hooped does not exist"},
        {"wrong value kind", "GFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/GFX.dxg");
             b[Find(b, "PatternHeight") + 13] = 8;  // false where an integer belongs
             return b;
         },
         "Invalid property value"},
        {"unknown colour identifier", "GFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/GFX.dxg");
             const size_t colour = Find(b, "TransparentColor") + 16;
             if (b[colour] != 7) {
                 // An integer colour: make it an identifier that names no colour.
                 b[colour] = 7;
                 b[colour + 1] = 1;
                 b[colour + 2] = 'x';
             } else {
                 b[colour + 2] = 'x';  // "clLime" becomes "xlLime"
             }
             return b;
         },
         "Invalid property value"},
        {"DIB header size 41", "GFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/GFX.dxg");
             PutU32(b, FirstDibHeader(b), 41);
             return b;
         },
         "DIB is invalid"},
        {"DIB compression 4", "GFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/GFX.dxg");
             PutU32(b, FirstDibHeader(b) + 16, 4);
             return b;
         },
         "DIB is invalid"},
        {"DIB bit count 3", "GFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/GFX.dxg");
             b[FirstDibHeader(b) + 14] = 3;
             return b;
         },
         "Bitcount in invalid (3)"},
        {"16-bit masks 4-4-4", "GFX.dxg",
         [] { return ArchiveWithDib(Dib16WithMasks(0x0F00, 0x00F0, 0x000F)); }, "PixelFormat in invalid"},
        {"TBitmap not starting with BM", "GFX.dxg", [] { return ArchiveWithBrokenBitmap(); },
         "Bitmap image is not valid"},
        {"wave not RIFF", "SFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/SFX.dxg");
             b[Find(b, "RIFF")] = 'X';
             return b;
         },
         "Wave is invalid"},
        {"wave not WAVE", "SFX.dxg",
         [] {
             ByteVector b = BuiltFile("Data/SFX.dxg");
             b[Find(b, "WAVEfmt ") + 3] = 'X';
             return b;
         },
         "Wave is invalid"},
    };
    for (const Case& c : cases) {
        TempGameDir dir;
        PutFile(dir, std::string("Data/") + c.file, c.bytes());
        const SimResult run = Start(dir);
        ExpectCleanFailure(run, c.expected, c.what);
        ExpectFileNamed(run, "kelvane-sim", "while reading " + dir.Path() + "Data/" + c.file);
    }
}

// A game directory whose Data/Ships is a real copy of the shipped definitions and pictures.
void CopyShips(const TempGameDir& dir) {
    for (const auto& entry : fs::directory_iterator(fs::path(KELVANE_BINARY_DIR) / "Data" / "Ships")) {
        dir.CopyFile(entry.path(), "Data/Ships/" + entry.path().filename().string());
    }
}

TEST(BadStart, DamagedShipPicturesEndWithTheirMessage) {
    struct Case {
        const char* what;
        std::function<void(const fs::path& picture)> damage;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"not a BMP file",
         [](const fs::path& picture) {
             ByteVector b = ReadBytes(picture);
             b[0] = 'X';
             std::ofstream(picture, std::ios::binary)
                 .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
         },
         "Bitmap image is not valid"},
        {"cut short after its header", [](const fs::path& picture) { fs::resize_file(picture, 60); },
         "Bitmap image is not valid"},
        {"missing", [](const fs::path& picture) { fs::remove(picture); }, "Cannot open file"},
        {"a directory",
         [](const fs::path& picture) {
             fs::remove(picture);
             fs::create_directory(picture);
         },
         "Cannot open file"},
    };
    for (const Case& c : cases) {
        TempGameDir dir({true, false, true});
        CopyShips(dir);
        const fs::path picture = dir.Root() / "Data" / "Ships" / "Sable.bmp";
        ASSERT_TRUE(fs::exists(picture));
        c.damage(picture);
        const SimResult run = Start(dir);
        ExpectCleanFailure(run, c.expected, c.what);
        ExpectFileNamed(run, "kelvane-sim", "while reading " + picture.string());
        if (c.expected == "Cannot open file") {
            EXPECT_NE(run.Err.find("Sable.bmp"), std::string::npos) << run.Err;
        }
    }
}

TEST(BadStart, UnwritableShipArchiveAndMissingData) {
    TempGameDir blocked;
    fs::create_directory(blocked.Root() / "Data" / "Ships.dxg");  // chmod would not stop root
    blocked.WriteFile("xdg-cache/kelvane", "");  // nor can the player's cache folder take it
    const SimResult run = Start(blocked);
    ExpectCleanFailure(run, "Cannot create file", "Ships.dxg a directory");
    EXPECT_NE(run.Err.find("Ships.dxg"), std::string::npos) << run.Err;
    ExpectFileNamed(run, "kelvane-sim", "while writing " + blocked.Path() + "Data/Ships.dxg");

    TempGameDir missing;
    fs::remove_all(missing.Root() / "Data");
    const SimResult none = Start(missing);
    ExpectCleanFailure(none, "Cannot open file", "no Data directory");
    ExpectFileNamed(none, "kelvane-sim", "while reading " + missing.Path() + "Data/Loading.dxg");
}

// The game on the dummy drivers, its settings kept in the test's own folder.
std::vector<std::string> GameEnvironment(const TempGameDir& dir) {
    const std::string home = dir.Root().string();
    return {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "HOME=" + home, "XDG_CONFIG_HOME=" + home + "/config"};
}

// The game itself says the same, in its own name: the message line as it always was, then
// the file. (The dummy video driver stands in for a display.)
TEST(BadStart, TheGameNamesTheFileToo) {
    TempGameDir dir({true, false, true});
    CopyShips(dir);
    const fs::path picture = dir.Root() / "Data" / "Ships" / "Sable.bmp";
    fs::resize_file(picture, 60);
    const SimResult run = RunProgram(KELVANE_GAME, {"--data", dir.Path(), "--windowed"}, dir.Root().string(),
                                     GameEnvironment(dir));
    EXPECT_EQ(run.ExitCode, 1) << run.Err;
    EXPECT_NE(run.Err.find("kelvane: the game cannot start: Bitmap image is not valid\n"), std::string::npos) << run.Err;
    ExpectFileNamed(run, "kelvane", "while reading " + picture.string());

    // A definition whose picture cannot be opened at all.
    TempGameDir missing({true, false, true});
    CopyShips(missing);
    const fs::path gone = missing.Root() / "Data" / "Ships" / "Wisp.bmp";
    fs::remove(gone);
    const SimResult none = RunProgram(KELVANE_GAME, {"--data", missing.Path(), "--windowed"}, missing.Root().string(),
                                      GameEnvironment(missing));
    EXPECT_EQ(none.ExitCode, 1) << none.Err;
    EXPECT_NE(none.Err.find("kelvane: the game cannot start: Cannot open file " + gone.string() +
                            ": No such file or directory\n"),
              std::string::npos) << none.Err;
    ExpectFileNamed(none, "kelvane", "while reading " + gone.string());
}

}  // namespace
}  // namespace kelvane::testing
