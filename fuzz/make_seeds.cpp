// Writes the binary seed inputs of the fuzz targets:
//   fuzz_make_seeds <corpus dir> [<generated Data dir>]
// Pictures, sounds and archives come from our own encoders, plus a few hand-built
// headers the encoders never write (RLE4, bit fields, core and long BMP headers). Given
// the Data folder that kelvane-assets writes, the smallest real items of its archives
// are extracted as well, so that the committed seeds stay small.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "media/Archive.h"
#include "base/ByteReader.h"
#include "media/Dib.h"
#include "base/GamePaths.h"
#include "media/WaveFile.h"
#include "net/Packets.h"

namespace {

namespace fs = std::filesystem;
using namespace kelvane;
using Bytes = std::vector<uint8_t>;

void Save(const fs::path& dir, const std::string& name, const Bytes& bytes) {
    fs::create_directories(dir);
    WriteWholeFile((dir / name).string(), bytes);
    std::printf("%s/%s: %zu bytes\n", dir.filename().c_str(), name.c_str(), bytes.size());
}

// A picture of few colours, so that it also palettises.
Bitmap Pattern(int32_t width, int32_t height, int colours) {
    static const uint32_t palette[] = {0x000000, 0x00FF00, 0xFF0000, 0x0000FF, 0xFFFFFF, 0x808080,
                                       0x123456, 0xFEDCBA, 0x00FFFF, 0xFF00FF, 0x7F7F00, 0x102030};
    Bitmap picture;
    picture.Resize(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) picture.At(x, y) = palette[(x + 2 * y) % colours];
    return picture;
}

Bitmap Smooth(int32_t width, int32_t height) {
    Bitmap picture;
    picture.Resize(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            picture.At(x, y) = static_cast<uint32_t>((x * 37) << 16 | (y * 53) << 8 | ((x + y) * 11 & 0xFF));
    return picture;
}

Bitmap Crop(const Bitmap& picture, int32_t width, int32_t height) {
    Bitmap part;
    part.Resize(std::min(width, picture.Width), std::min(height, picture.Height));
    for (int32_t y = 0; y < part.Height; ++y)
        for (int32_t x = 0; x < part.Width; ++x) part.At(x, y) = picture.At(x, y);
    return part;
}

Bytes Indexed(const Bitmap& picture, int bits, bool rle) {
    return EncodeDibIndexed(*PalettiseBitmap(picture, size_t{1} << bits), bits, rle);
}

// A 40-byte info header; longer headers append their masks and the rest themselves.
void InfoHeader(ByteWriter& out, uint32_t headerSize, int32_t width, int32_t height, uint16_t bits,
                uint32_t compression, uint32_t imageSize, uint32_t coloursUsed) {
    out.U32(headerSize);
    out.I32(width);
    out.I32(height);
    out.U16(1);
    out.U16(bits);
    out.U32(compression);
    out.U32(imageSize);
    out.U32(2835);
    out.U32(2835);
    out.U32(coloursUsed);
    out.U32(0);
}

void Palette(ByteWriter& out, int count, bool core) {
    for (int i = 0; i < count; ++i) {
        out.U8(static_cast<uint8_t>(i * 16));
        out.U8(static_cast<uint8_t>(255 - i * 16));
        out.U8(static_cast<uint8_t>(i * 40));
        if (!core) out.U8(0);
    }
}

// 8 x 4, 4 bits, RLE4: runs, an absolute run, an end of line, a delta, the end.
Bytes Rle4Dib() {
    ByteWriter out;
    const Bytes pixels = {0x04, 0x12, 0x00, 0x03, 0x34, 0x50, 0x00, 0x00, 0x06, 0x7A, 0x00,
                          0x02, 0x01, 0x01, 0x03, 0xBC, 0x00, 0x00, 0x09, 0xDE, 0x00, 0x01};
    InfoHeader(out, 40, 8, 4, 4, 2, static_cast<uint32_t>(pixels.size()), 16);
    Palette(out, 16, false);
    out.Append(pixels);
    return std::move(out.Bytes());
}

// 5 x 3, 16 bits, 5-6-5 masks, top-down.
Bytes BitFields565Dib() {
    ByteWriter out;
    InfoHeader(out, 40, 5, -3, 16, 3, 0, 0);
    for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) out.U32(mask);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x)
            out.U16(static_cast<uint16_t>(0xF800 * (x & 1) + 0x07E0 * (y & 1) + x * 3));
        out.U16(0);  // row padding to four bytes
    }
    return std::move(out.Bytes());
}

// 3 x 2, 32 bits, 10-10-10 masks.
Bytes BitFields101010Dib() {
    ByteWriter out;
    InfoHeader(out, 40, 3, 2, 32, 3, 0, 0);
    for (uint32_t mask : {0x3FF00000u, 0x000FFC00u, 0x000003FFu}) out.U32(mask);
    for (uint32_t v = 0; v < 6; ++v) out.U32(v * 0x0A0A0A0Au);
    return std::move(out.Bytes());
}

// 6 x 2, 4 bits, 12-byte core header with a 3-byte colour table.
Bytes CoreDib() {
    ByteWriter out;
    out.U32(12);
    out.U16(6);
    out.U16(2);
    out.U16(1);
    out.U16(4);
    Palette(out, 16, true);
    out.Append(Bytes{0x01, 0x23, 0x45, 0x00, 0x67, 0x89, 0xAB, 0x00});
    return std::move(out.Bytes());
}

// A BMP file around a DIB whose pixels start `pixelStart` bytes into it.
Bytes BmpAround(const Bytes& dib, size_t pixelStart) {
    ByteWriter out;
    out.U8('B');
    out.U8('M');
    out.U32(static_cast<uint32_t>(14 + dib.size()));
    out.U32(0);
    out.U32(static_cast<uint32_t>(14 + pixelStart));
    out.Append(dib);
    return std::move(out.Bytes());
}

// 124-byte header, 16 bits with 4-4-4 masks (only files may use such layouts).
Bytes V5Bmp444() {
    ByteWriter out;
    InfoHeader(out, 124, 4, 2, 16, 3, 16, 0);
    for (uint32_t mask : {0x0F00u, 0x00F0u, 0x000Fu, 0xF000u}) out.U32(mask);
    out.Fill(0, 124 - 56);
    const size_t pixelStart = out.Size();
    for (uint16_t v : {0x0F00, 0x00F0, 0x000F, 0xFFFF, 0x0123, 0x4567, 0x89AB, 0xCDEF}) out.U16(v);
    return BmpAround(out.Bytes(), pixelStart);
}

// 108-byte header, 32 bits, alpha bit fields (compression 6).
Bytes V4Bmp32Alpha() {
    ByteWriter out;
    InfoHeader(out, 108, 2, 2, 32, 6, 16, 0);
    for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) out.U32(mask);
    out.Fill(0, 108 - 56);
    const size_t pixelStart = out.Size();
    for (uint32_t v : {0x80FF0000u, 0x4000FF00u, 0x000000FFu, 0xFFFFFFFFu}) out.U32(v);
    return BmpAround(out.Bytes(), pixelStart);
}

// 8 bits with three colours used and a gap before the pixels.
Bytes SparsePaletteBmp() {
    ByteWriter out;
    InfoHeader(out, 40, 3, 3, 8, 0, 0, 3);
    Palette(out, 3, false);
    out.Fill(0xEE, 6);  // a gap the pixel offset jumps
    const size_t pixelStart = out.Size();
    for (int y = 0; y < 3; ++y) out.Append(Bytes{0, 1, static_cast<uint8_t>(y + 1), 0});
    return BmpAround(out.Bytes(), pixelStart);
}

Bytes CoreBmp24() {
    ByteWriter out;
    out.U32(12);
    out.U16(2);
    out.U16(2);
    out.U16(1);
    out.U16(24);
    const size_t pixelStart = out.Size();
    out.Append(Bytes{1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0});
    return BmpAround(out.Bytes(), pixelStart);
}

Bytes FormatChunk(uint16_t channels, uint32_t rate, uint16_t bits, size_t extra = 0) {
    ByteWriter out;
    const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
    out.U16(1);
    out.U16(channels);
    out.U32(rate);
    out.U32(rate * block);
    out.U16(block);
    out.U16(bits);
    if (extra > 0) {
        out.U16(static_cast<uint16_t>(extra - 2));
        out.Fill(0, extra - 2);
    }
    return std::move(out.Bytes());
}

Bytes Triangle(size_t count, int bytesPerSample) {
    ByteWriter out;
    for (size_t i = 0; i < count; ++i) {
        const int level =
            static_cast<int>(i % 32) < 16 ? static_cast<int>(i % 16) : 15 - static_cast<int>(i % 16);
        if (bytesPerSample == 1)
            out.U8(static_cast<uint8_t>(128 + level * 8));
        else
            out.U16(static_cast<uint16_t>(level * 2000 - 15000));
    }
    return std::move(out.Bytes());
}

// A wave with a list chunk of odd size before the format, a 18-byte format and a
// data chunk that claims more than it has.
Bytes OddChunksWave() {
    ByteWriter out;
    out.Append(std::string("RIFF"));
    out.U32(0);
    out.Append(std::string("WAVELIST"));
    out.U32(5);
    out.Append(std::string("INFOx"));
    out.Append(std::string("fmt "));
    const Bytes format = FormatChunk(1, 8000, 16, 2);
    out.U32(static_cast<uint32_t>(format.size()));
    out.Append(format);
    out.Append(std::string("data"));
    out.U32(1000);
    out.Append(Triangle(20, 2));
    out.PatchU32(4, static_cast<uint32_t>(out.Size() - 8));
    return std::move(out.Bytes());
}

PictureCollection SyntheticPictures() {
    PictureCollection pictures;
    for (size_t i = 0; i < pictures.ColorTable.size(); ++i)
        pictures.ColorTable[i] = static_cast<uint8_t>(i * 7);
    auto add = [&](const char* name) -> TPictureCollectionItem& {
        pictures.Items.push_back(std::make_unique<TPictureCollectionItem>());
        pictures.Items.back()->Name = name;
        return *pictures.Items.back();
    };
    TPictureCollectionItem& tiles = add("Tiles");
    tiles.Pic.ClassName = "TDIB";
    tiles.Pic.Image = Pattern(16, 8, 5);
    tiles.Pic.Data = Indexed(tiles.Pic.Image, 8, true);
    tiles.PatternWidth = 8;
    tiles.PatternHeight = 8;
    tiles.Transparent = false;
    TPictureCollectionItem& sprite = add("Sprite");
    sprite.Pic.ClassName = "TDIB";
    sprite.Pic.Image = Smooth(7, 4);
    sprite.PatternWidth = 2;
    sprite.PatternHeight = 2;
    sprite.SkipWidth = 1;
    sprite.TransparentColor = 0x00FF00;  // written as the identifier clLime
    TPictureCollectionItem& ship = add("Ship");
    ship.Pic.ClassName = "TBitmap";
    ship.Pic.Image = Pattern(9, 3, 3);
    ship.PatternWidth = 3;
    ship.PatternHeight = 3;
    ship.TransparentColor = 0x8000000F;  // a system colour
    ship.SystemMemory = true;
    add("NoPicture");
    return pictures;
}

WaveCollection SyntheticWaves() {
    WaveCollection waves;
    auto add = [&](const char* name) -> TWaveCollectionItem& {
        waves.Items.push_back(std::make_unique<TWaveCollectionItem>());
        waves.Items.back()->Name = name;
        return *waves.Items.back();
    };
    TWaveCollectionItem& laser = add("Laser");
    laser.Wave = {FormatChunk(1, 11025, 8), Triangle(48, 1)};
    laser.MaxPlayingCount = 3;
    TWaveCollectionItem& hum = add("Hum");
    hum.Wave = {FormatChunk(2, 22050, 16), Triangle(64, 2)};
    hum.Looped = true;
    add("Silent");
    return waves;
}

// The picture and sound items a generated Data folder holds, the smallest first.
void ExtractFromData(const fs::path& data, const fs::path& corpus) {
    PictureCollection gfx;
    ReadPictureArchive(ReadWholeFile(ResolveGamePath(data.string() + "/", "GFX.dxg")), gfx);
    std::vector<TPictureCollectionItem*> items;
    for (auto& item : gfx.Items)
        if (item->Pic.HasPicture()) items.push_back(item.get());
    std::sort(items.begin(), items.end(),
              [](auto* a, auto* b) { return a->Pic.Data.size() < b->Pic.Data.size(); });

    // One DIB payload of each bit count and compression, the smallest of its kind.
    std::vector<uint32_t> kinds;
    for (TPictureCollectionItem* item : items) {
        if (item->Pic.ClassName != "TDIB" || item->Pic.Data.size() < 20 || item->Pic.Data.size() > 48 * 1024)
            continue;
        ByteReader header(item->Pic.Data);
        header.Skip(14);
        const uint32_t bits = header.U16();
        const uint32_t kind = bits << 8 | header.U32();
        if (std::find(kinds.begin(), kinds.end(), kind) != kinds.end()) continue;
        kinds.push_back(kind);
        Save(corpus / "dib", "gfx_" + std::to_string(bits) + "bit_c" + std::to_string(kind & 0xFF) + ".dib",
             item->Pic.Data);
    }

    // The three smallest items as an archive of their own.
    PictureCollection small;
    small.ColorTable = gfx.ColorTable;
    for (size_t i = 0; i < std::min<size_t>(3, items.size()); ++i) {
        small.Items.push_back(std::make_unique<TPictureCollectionItem>(*items[i]));
    }
    Save(corpus / "picture_archive", "gfx_smallest.dxg", WritePictureArchive(small));

    WaveCollection sfx;
    ReadWaveArchive(ReadWholeFile(ResolveGamePath(data.string() + "/", "SFX.dxg")), sfx);
    std::sort(sfx.Items.begin(), sfx.Items.end(),
              [](auto& a, auto& b) { return a->Wave.Samples.size() < b->Wave.Samples.size(); });
    if (!sfx.Items.empty()) {
        const WaveData& wave = sfx.Items.front()->Wave;
        Save(corpus / "wave", "sfx_smallest.wav", BuildWaveFile(wave.Format, wave.Samples));
        sfx.Items.resize(std::min<size_t>(2, sfx.Items.size()));
        Save(corpus / "wave_archive", "sfx_smallest.dxg", WriteWaveArchive(sfx));
    }

    // The loading screen's 8-bit RLE picture cut down to a corner, and its 4-bit cell.
    PictureCollection loading;
    ReadPictureArchive(ReadWholeFile(ResolveGamePath(data.string() + "/", "Loading.dxg")), loading);
    PictureCollection loadingSmall;
    loadingSmall.ColorTable = loading.ColorTable;
    for (const auto& item : loading.Items) {
        if (!item->Pic.HasPicture()) continue;
        auto copy = std::make_unique<TPictureCollectionItem>(*item);
        if (copy->Pic.Image.Width > 64) {
            copy->Pic.Image = Crop(copy->Pic.Image, 64, 48);
            copy->Pic.Data = Indexed(copy->Pic.Image, 8, true);
            copy->PatternWidth = copy->PatternHeight = 0;
        }
        Save(corpus / "dib", "loading_" + copy->Name + ".dib", copy->Pic.Data);
        loadingSmall.Items.push_back(std::move(copy));
    }
    Save(corpus / "picture_archive", "loading_small.dxg", WritePictureArchive(loadingSmall));

    // The smallest ship picture, every fourth pixel of it.
    const std::string shipsDir = ResolveGamePath(data.string() + "/", "Ships");
    std::string smallest;
    uintmax_t smallestSize = UINTMAX_MAX;
    for (const std::string& name : ListFilesNoCase(shipsDir, ".bmp")) {
        const fs::path path = fs::path(shipsDir) / name;
        if (fs::file_size(path) < smallestSize) {
            smallestSize = fs::file_size(path);
            smallest = path.string();
        }
    }
    if (smallest.empty()) return;
    const Bitmap ship = DecodeBmpFile(ReadWholeFile(smallest));
    Bitmap quarter;
    quarter.Resize((ship.Width + 3) / 4, (ship.Height + 3) / 4);
    for (int32_t y = 0; y < quarter.Height; ++y)
        for (int32_t x = 0; x < quarter.Width; ++x) quarter.At(x, y) = ship.At(4 * x, 4 * y);
    Save(corpus / "bmp", "ship_" + fs::path(smallest).stem().string() + "_quarter.bmp",
         EncodeBmpFile(quarter));
}

// One datagram of each kind of the network game, with inputs of every kind.
void PacketSeeds(const fs::path& dir) {
    using namespace kelvane::net;
    const InputBlock block{2, 300, {{}, {KeyInput(38, 0), MouseInput(1)}, {CommandInput("EXEC battle")},
                                    {JoinInput(3, "cy"), LeaveInput()}}};
    const std::pair<const char*, Message> seeds[] = {
        {"hello", Hello{"1.1.0", "ann", 0, 0, {{"Data/GFX.dxg", 1}, {"Data/Ships/Vigil.ini", 2}}}},
        {"refuse", Refuse{"the game is full"}},
        {"welcome", Welcome{7, 512, 384, 2, 40, 99, {{1, "ann", "127.0.0.1:26524"}}}},
        {"expect", Expect{3, 99, "cy", 41}},
        {"inputs", Inputs{303, -1, 301, block}},
        {"check", Check{300, 0x0123456789ABCDEF}},
        {"out_of_step", OutOfStep{300}},
        {"lost", Lost{2, 303, block}},
        {"left", Left{2, 304, block}},
        {"history", History{{block, block}}},
        {"bye", Bye{}},
        {"done", Done{5000}},
    };
    for (const auto& [name, message] : seeds) Save(dir, std::string(name) + ".bin", Encode(message));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: fuzz_make_seeds <corpus dir> [<generated Data dir>]\n");
        return 2;
    }
    const fs::path corpus = argv[1];
    try {
        const fs::path dib = corpus / "dib", bmp = corpus / "bmp", wave = corpus / "wave";
        const Bitmap few = Pattern(13, 5, 4), many = Pattern(10, 6, 12), smooth = Smooth(5, 3);
        Save(dib, "plain_1bit.dib", Indexed(Pattern(19, 3, 2), 1, false));
        Save(dib, "plain_4bit.dib", Indexed(many, 4, false));
        Save(dib, "plain_8bit.dib", Indexed(few, 8, false));
        Save(dib, "rle8.dib", Indexed(Pattern(24, 4, 3), 8, true));
        Save(dib, "rgb24.dib", EncodeDibRgb(smooth, 24));
        Save(dib, "rgb32.dib", EncodeDibRgb(smooth, 32));
        Save(dib, "rle4.dib", Rle4Dib());
        Save(dib, "bitfields565_topdown.dib", BitFields565Dib());
        Save(dib, "bitfields101010.dib", BitFields101010Dib());
        Save(dib, "core_4bit.dib", CoreDib());

        Save(bmp, "rgb24.bmp", EncodeBmpFile(smooth, 24));
        Save(bmp, "rgb32.bmp", EncodeBmpFile(Pattern(3, 7, 5), 32));
        Save(bmp, "rle8.bmp", BmpAround(Indexed(Pattern(12, 3, 4), 8, true), 40 + 1024));
        Save(bmp, "v5_444.bmp", V5Bmp444());
        Save(bmp, "v4_alpha.bmp", V4Bmp32Alpha());
        Save(bmp, "sparse_palette.bmp", SparsePaletteBmp());
        Save(bmp, "core24.bmp", CoreBmp24());

        Save(wave, "mono8.wav", BuildWaveFile(FormatChunk(1, 11025, 8), Triangle(40, 1)));
        Save(wave, "stereo16.wav", BuildWaveFile(FormatChunk(2, 44100, 16), Triangle(32, 2)));
        Save(wave, "odd_chunks.wav", OddChunksWave());

        Save(corpus / "picture_archive", "synthetic.dxg", WritePictureArchive(SyntheticPictures()));
        Save(corpus / "picture_archive", "empty.dxg", WritePictureArchive(PictureCollection{}));
        Save(corpus / "wave_archive", "synthetic.dxg", WriteWaveArchive(SyntheticWaves()));

        PacketSeeds(corpus / "packet");
        if (argc == 3) ExtractFromData(argv[2], corpus);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "fuzz_make_seeds: %s\n", error.what());
        return 1;
    }
    return 0;
}
