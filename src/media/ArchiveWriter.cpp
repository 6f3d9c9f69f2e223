// Writing picture and sound archives in the layout the reader takes.

#include "media/Archive.h"
#include "media/ComponentStream.h"
#include "media/PicturePayload.h"
#include "media/WaveFile.h"

namespace kelvane {

namespace {

constexpr const char* PictureResourceName = "SPRILAKPICTURECOLLECTION";
constexpr const char* WaveResourceName = "SPRILAKWAVECOLLECTION";  // not checked by readers

// The resource header, the signature and the root object's names. Returns where the
// header's byte count sits, to be patched once the stream is complete.
size_t WriteStreamStart(ByteWriter& out, const char* resourceName, const char* className) {
    out.U8(0xFF);
    out.U16(10);  // resource type
    out.Append(std::string(resourceName));
    out.U8(0);
    out.U16(0x1030);  // memory flags
    const size_t countAt = out.Size();
    out.U32(0);
    out.Append(std::string("TPF0"));
    WriteShortString(out, className);
    WriteShortString(out, "");  // object name
    return countAt;
}

// Closes the collection, the root properties and the (empty) child list.
std::vector<uint8_t> WriteStreamEnd(ByteWriter& out, size_t countAt) {
    out.U8(0);
    out.U8(0);
    out.U8(0);
    out.PatchU32(countAt, static_cast<uint32_t>(out.Size() - (countAt + 4)));
    return std::move(out.Bytes());
}

void WritePictureItem(ByteWriter& out, const TPictureCollectionItem& item) {
    out.U8(TagList);
    if (!item.Name.empty()) {
        WriteShortString(out, "Name");
        WriteStringValue(out, item.Name);
    }
    WriteShortString(out, "PatternHeight");
    WriteIntegerValue(out, item.PatternHeight);
    WriteShortString(out, "PatternWidth");
    WriteIntegerValue(out, item.PatternWidth);
    if (item.Pic.HasPicture()) {
        WriteShortString(out, "Picture.Data");
        WriteBinaryValue(out, WritePicturePayload(item.Pic));
    }
    if (item.SkipHeight != 0) {
        WriteShortString(out, "SkipHeight");
        WriteIntegerValue(out, item.SkipHeight);
    }
    if (item.SkipWidth != 0) {
        WriteShortString(out, "SkipWidth");
        WriteIntegerValue(out, item.SkipWidth);
    }
    WriteShortString(out, "SystemMemory");
    WriteBooleanValue(out, item.SystemMemory);
    WriteShortString(out, "Transparent");
    WriteBooleanValue(out, item.Transparent);
    WriteShortString(out, "TransparentColor");
    WriteColourValue(out, item.TransparentColor);
    out.U8(TagNull);
}

void WriteWaveItem(ByteWriter& out, const TWaveCollectionItem& item) {
    out.U8(TagList);
    if (!item.Name.empty()) {
        WriteShortString(out, "Name");
        WriteStringValue(out, item.Name);
    }
    WriteShortString(out, "Looped");
    WriteBooleanValue(out, item.Looped);
    WriteShortString(out, "MaxPlayingCount");
    WriteIntegerValue(out, item.MaxPlayingCount);
    if (!item.Wave.Format.empty() || !item.Wave.Samples.empty()) {
        WriteShortString(out, "Wave.WAVE");
        WriteBinaryValue(out, BuildWaveFile(item.Wave.Format, item.Wave.Samples));
    }
    out.U8(TagNull);
}

}  // namespace

std::vector<uint8_t> WritePictureArchive(const PictureCollection& collection) {
    ByteWriter out;
    const size_t countAt = WriteStreamStart(out, PictureResourceName, "TPictureCollectionComponent");
    WriteShortString(out, "List.ColorTable");
    WriteBinaryValue(out, collection.ColorTable.data(), collection.ColorTable.size());
    WriteShortString(out, "List");
    out.U8(TagCollection);
    for (const auto& item : collection.Items) WritePictureItem(out, *item);
    return WriteStreamEnd(out, countAt);
}

std::vector<uint8_t> WriteWaveArchive(const WaveCollection& collection) {
    ByteWriter out;
    const size_t countAt = WriteStreamStart(out, WaveResourceName, "TWaveCollectionComponent");
    WriteShortString(out, "List");
    out.U8(TagCollection);
    for (const auto& item : collection.Items) WriteWaveItem(out, *item);
    return WriteStreamEnd(out, countAt);
}

}  // namespace kelvane
