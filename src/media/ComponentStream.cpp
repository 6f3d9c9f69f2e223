// Reading and writing the property values of the component stream.

#include "media/ComponentStream.h"

#include <stdexcept>

#include "media/ColourIdentifiers.h"
#include "base/Windows1250.h"

namespace kelvane {

namespace {

int32_t IntegerPayload(ByteReader& reader, uint8_t tag) {
    switch (tag) {
        case TagInt8: return reader.I8();
        case TagInt16: return reader.I16();
        case TagInt32: return reader.I32();
        default: ThrowInvalidPropertyValue();
    }
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

void ThrowInvalidPropertyValue() { throw std::runtime_error("Invalid property value"); }
void ThrowPropertyDoesNotExist(const std::string& name) {
    // A damaged name may hold control bytes (a 0 would cut the message short).
    std::string shown = name;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    throw std::runtime_error("Property " + shown + " does not exist");
}
void ThrowInvalidStreamFormat() { throw std::runtime_error("Invalid stream format"); }

std::string ReadShortString(ByteReader& reader) {
    uint8_t length = reader.U8();
    return reader.String(length);
}

int32_t ReadIntegerValue(ByteReader& reader) { return IntegerPayload(reader, reader.U8()); }

std::string ReadStringValue(ByteReader& reader) {
    switch (reader.U8()) {
        case TagString: return ReadShortString(reader);
        case TagLString: {
            uint32_t length = reader.U32();
            return reader.String(length);
        }
        case TagWString: {
            size_t count = reader.U32();
            const uint8_t* units = reader.Bytes(count * 2);
            return Utf16ToWindows1250(units, count);
        }
        case TagUtf8String: {
            uint32_t length = reader.U32();
            const uint8_t* bytes = reader.Bytes(length);
            return Utf8ToWindows1250(bytes, length);
        }
        default: ThrowInvalidPropertyValue();
    }
}

bool ReadBooleanValue(ByteReader& reader) {
    switch (reader.U8()) {
        case TagFalse: return false;
        case TagTrue: return true;
        default: ThrowInvalidPropertyValue();
    }
}

uint32_t ReadColourValue(ByteReader& reader) {
    uint8_t tag = reader.U8();
    if (tag != TagIdent) return static_cast<uint32_t>(IntegerPayload(reader, tag));
    std::optional<uint32_t> colour = ColourFromIdentifier(ReadShortString(reader));
    if (!colour) ThrowInvalidPropertyValue();
    return *colour;
}

std::vector<uint8_t> ReadBinaryValue(ByteReader& reader) {
    if (reader.U8() != TagBinary) ThrowInvalidPropertyValue();
    uint32_t length = reader.U32();
    return reader.Vector(length);
}

void WriteShortString(ByteWriter& out, std::string_view text) {
    if (text.size() > 255) throw std::length_error("short string longer than 255 bytes");
    out.U8(static_cast<uint8_t>(text.size()));
    out.Append(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

void WriteIntegerValue(ByteWriter& out, int32_t value) {
    if (value >= -128 && value <= 127) {
        out.U8(TagInt8);
        out.U8(static_cast<uint8_t>(value));
    } else if (value >= -32768 && value <= 32767) {
        out.U8(TagInt16);
        out.U16(static_cast<uint16_t>(value));
    } else {
        out.U8(TagInt32);
        out.I32(value);
    }
}

void WriteStringValue(ByteWriter& out, const std::string& text) {
    if (text.size() <= 255) {
        out.U8(TagString);
        WriteShortString(out, text);
        return;
    }
    out.U8(TagLString);
    out.U32(static_cast<uint32_t>(text.size()));
    out.Append(text);
}

void WriteBooleanValue(ByteWriter& out, bool value) { out.U8(value ? TagTrue : TagFalse); }

void WriteColourValue(ByteWriter& out, uint32_t colour) {
    if (const char* name = IdentifierOfColour(colour)) {
        out.U8(TagIdent);
        WriteShortString(out, name);
        return;
    }
    WriteIntegerValue(out, static_cast<int32_t>(colour));
}

void WriteBinaryValue(ByteWriter& out, const uint8_t* data, size_t size) {
    if (size > 0xFFFFFFFFu) throw std::length_error("binary value above 4 GiB");
    out.U8(TagBinary);
    out.U32(static_cast<uint32_t>(size));
    out.Append(data, size);
}

}  // namespace kelvane
