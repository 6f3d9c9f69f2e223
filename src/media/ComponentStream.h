#pragma once
// Values of the binary component stream ("TPF0") that archives are made of: the value
// tags and the readers and writers of the property kinds archives use. Internal to the
// archive reader and writer.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteReader.h"

namespace kelvane {

enum ValueTag : uint8_t {
    TagNull = 0,        // end of a list
    TagList = 1,        // one collection item
    TagInt8 = 2,
    TagInt16 = 3,
    TagInt32 = 4,
    TagString = 6,      // short string
    TagIdent = 7,       // identifier (a colour name)
    TagFalse = 8,
    TagTrue = 9,
    TagBinary = 10,     // 4-byte length, bytes
    TagLString = 12,    // 4-byte length, bytes
    TagCollection = 14,
    TagWString = 18,    // 4-byte count, UTF-16 code units
    TagUtf8String = 20, // 4-byte length, UTF-8 bytes
};

// Property names compare without regard to (ASCII) letter case.
bool SameText(std::string_view a, std::string_view b);

[[noreturn]] void ThrowInvalidPropertyValue();
[[noreturn]] void ThrowPropertyDoesNotExist(const std::string& name);
[[noreturn]] void ThrowInvalidStreamFormat();

std::string ReadShortString(ByteReader& reader);
// Each reads a tag and its payload; a tag of another kind is "Invalid property value".
int32_t ReadIntegerValue(ByteReader& reader);
std::string ReadStringValue(ByteReader& reader);  // tags 6, 12, 18, 20; Windows-1250
bool ReadBooleanValue(ByteReader& reader);
uint32_t ReadColourValue(ByteReader& reader);  // identifier or integer
std::vector<uint8_t> ReadBinaryValue(ByteReader& reader);
// Tag 14, then calls readItem once per item (after its tag 1) until the closing 0.
// An integer before an item is read and ignored.
template <class ReadItem>
void ReadCollectionValue(ByteReader& reader, ReadItem readItem);

void WriteShortString(ByteWriter& out, std::string_view text);  // at most 255 bytes
void WriteIntegerValue(ByteWriter& out, int32_t value);         // smallest of tags 2, 3, 4
void WriteStringValue(ByteWriter& out, const std::string& text); // tag 6, or 12 above 255 bytes
void WriteBooleanValue(ByteWriter& out, bool value);
void WriteColourValue(ByteWriter& out, uint32_t colour);  // identifier when the value has one
void WriteBinaryValue(ByteWriter& out, const uint8_t* data, size_t size);
inline void WriteBinaryValue(ByteWriter& out, const std::vector<uint8_t>& data) {
    WriteBinaryValue(out, data.data(), data.size());
}

template <class ReadItem>
void ReadCollectionValue(ByteReader& reader, ReadItem readItem) {
    if (reader.U8() != TagCollection) ThrowInvalidPropertyValue();
    for (;;) {
        uint8_t tag = reader.PeekU8();
        if (tag == TagNull) {
            reader.U8();
            return;
        }
        if (tag == TagInt8 || tag == TagInt16 || tag == TagInt32) ReadIntegerValue(reader);
        if (reader.U8() != TagList) ThrowInvalidPropertyValue();
        readItem();
    }
}

}  // namespace kelvane
