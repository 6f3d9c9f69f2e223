// Reading picture and sound archives: resource header, "TPF0" stream, root properties,
// the item collection and each item's properties.

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "media/Archive.h"
#include "media/ComponentStream.h"
#include "media/PicturePayload.h"
#include "media/WaveFile.h"

namespace kelvane {

namespace {

constexpr size_t ResourceHeaderWindow = 79;  // the name's 0 byte lies within these

// Checks the resource header and the stream signature, then passes the optional flags
// prefix, the class name and the object name.
void ReadStreamStart(ByteReader& reader) {
    const uint8_t* data = reader.Data();
    const size_t size = reader.Size();
    if (size < 3 || data[0] != 0xFF || data[1] != 10 || data[2] != 0) ThrowInvalidStreamFormat();
    const size_t window = std::min(size, ResourceHeaderWindow);
    const uint8_t* nameEnd = static_cast<const uint8_t*>(std::memchr(data + 3, 0, window - 3));
    if (!nameEnd) ThrowInvalidStreamFormat();
    reader.Seek(static_cast<size_t>(nameEnd - data) + 1);
    reader.Skip(6);  // memory flags, byte count: neither is checked

    if (std::memcmp(reader.Bytes(4), "TPF0", 4) != 0) ThrowInvalidStreamFormat();
    uint8_t prefix = reader.PeekU8();
    if ((prefix & 0xF0) == 0xF0) {
        reader.U8();
        if (prefix & 0x02) ReadIntegerValue(reader);  // child position
    }
    ReadShortString(reader);  // class name
    ReadShortString(reader);  // object name
}

void ReadStreamEnd(ByteReader& reader) {
    if (reader.U8() != 0) ThrowInvalidStreamFormat();  // archives have no child objects
}

void ReadPictureItem(ByteReader& reader, TPictureCollectionItem& item) {
    for (std::string name = ReadShortString(reader); !name.empty(); name = ReadShortString(reader)) {
        if (SameText(name, "Name"))
            item.Name = ReadStringValue(reader);
        else if (SameText(name, "PatternHeight"))
            item.PatternHeight = ReadIntegerValue(reader);
        else if (SameText(name, "PatternWidth"))
            item.PatternWidth = ReadIntegerValue(reader);
        else if (SameText(name, "Picture.Data"))
            ReadPicturePayload(ReadBinaryValue(reader), item.Pic);
        else if (SameText(name, "SkipHeight"))
            item.SkipHeight = ReadIntegerValue(reader);
        else if (SameText(name, "SkipWidth"))
            item.SkipWidth = ReadIntegerValue(reader);
        else if (SameText(name, "SystemMemory"))
            item.SystemMemory = ReadBooleanValue(reader);
        else if (SameText(name, "Transparent"))
            item.Transparent = ReadBooleanValue(reader);
        else if (SameText(name, "TransparentColor"))
            item.TransparentColor = ReadColourValue(reader);
        else
            ThrowPropertyDoesNotExist(name);
    }
}

void ReadWaveItem(ByteReader& reader, TWaveCollectionItem& item) {
    for (std::string name = ReadShortString(reader); !name.empty(); name = ReadShortString(reader)) {
        if (SameText(name, "Name"))
            item.Name = ReadStringValue(reader);
        else if (SameText(name, "Looped"))
            item.Looped = ReadBooleanValue(reader);
        else if (SameText(name, "MaxPlayingCount"))
            item.MaxPlayingCount = std::max(ReadIntegerValue(reader), 0);  // negative: no limit
        else if (SameText(name, "Wave.WAVE")) {
            const std::vector<uint8_t> file = ReadBinaryValue(reader);
            item.Wave = ReadWaveFile(file);
        } else
            ThrowPropertyDoesNotExist(name);
    }
}

}  // namespace

std::string ArchivePicturesTooLargeMessage(uint64_t budgetBytes) {
    return "The pictures of this archive take more than " + std::to_string(budgetBytes >> 20) +
           " MiB when decoded";
}

void PictureBudget::Take(const Bitmap& picture) {
    UsedBytes += picture.Pixels.size() * sizeof(uint32_t);
    if (UsedBytes > BudgetBytes) throw std::runtime_error(ArchivePicturesTooLargeMessage(BudgetBytes));
}

void ReadPictureArchive(const std::vector<uint8_t>& bytes, PictureCollection& into, uint64_t budgetBytes) {
    into.Items.clear();
    PictureBudget budget(budgetBytes);
    ByteReader reader(bytes);
    ReadStreamStart(reader);
    for (std::string name = ReadShortString(reader); !name.empty(); name = ReadShortString(reader)) {
        if (SameText(name, "List.ColorTable")) {
            const std::vector<uint8_t> table = ReadBinaryValue(reader);
            if (table.size() < into.ColorTable.size()) reader.Fail();
            std::copy_n(table.begin(), into.ColorTable.size(), into.ColorTable.begin());
        } else if (SameText(name, "List")) {
            ReadCollectionValue(reader, [&] {
                // Added before its properties are read, so that an error keeps it.
                into.Items.push_back(std::make_unique<TPictureCollectionItem>());
                ReadPictureItem(reader, *into.Items.back());
                budget.Take(into.Items.back()->Pic.Image);
            });
        } else {
            ThrowPropertyDoesNotExist(name);
        }
    }
    ReadStreamEnd(reader);
}

void ReadWaveArchive(const std::vector<uint8_t>& bytes, WaveCollection& into) {
    into.Items.clear();
    ByteReader reader(bytes);
    ReadStreamStart(reader);
    for (std::string name = ReadShortString(reader); !name.empty(); name = ReadShortString(reader)) {
        if (!SameText(name, "List")) ThrowPropertyDoesNotExist(name);
        ReadCollectionValue(reader, [&] {
            into.Items.push_back(std::make_unique<TWaveCollectionItem>());
            ReadWaveItem(reader, *into.Items.back());
        });
    }
    ReadStreamEnd(reader);
}

}  // namespace kelvane
