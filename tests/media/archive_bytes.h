#pragma once
// Hand assembly of archive and bitmap bytes for the media tests: every byte the tests
// feed to a reader is spelt out here or in the test, not produced by the code under test.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace kelvane::test {

struct Bytes {
    std::vector<uint8_t> b;

    Bytes& U8(uint8_t v) { b.push_back(v); return *this; }
    Bytes& U8s(std::initializer_list<uint8_t> vs) { b.insert(b.end(), vs); return *this; }
    Bytes& U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }
    Bytes& U32(uint32_t v) { return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16)); }
    Bytes& Raw(const std::string& s) { b.insert(b.end(), s.begin(), s.end()); return *this; }
    Bytes& Raw(const std::vector<uint8_t>& v) { b.insert(b.end(), v.begin(), v.end()); return *this; }
    Bytes& Zeros(size_t n) { b.insert(b.end(), n, 0); return *this; }
    // Short string: length byte and text.
    Bytes& Str(const std::string& s) { return U8(static_cast<uint8_t>(s.size())).Raw(s); }

    // Resource header, "TPF0", class name, empty object name.
    Bytes& Start(const std::string& resName = "SPRILAKPICTURECOLLECTION",
                 const std::string& className = "TPictureCollectionComponent") {
        U8s({0xFF, 0x0A, 0x00}).Raw(resName).U8(0).U16(0x1030).U32(0);
        return Raw("TPF0").Str(className).Str("");
    }
    // Values with their tags.
    Bytes& Int8(int8_t v) { return U8(2).U8(static_cast<uint8_t>(v)); }
    Bytes& Int16(int16_t v) { return U8(3).U16(static_cast<uint16_t>(v)); }
    Bytes& Int32(int32_t v) { return U8(4).U32(static_cast<uint32_t>(v)); }
    Bytes& Text(const std::string& s) { return U8(6).Str(s); }
    Bytes& Ident(const std::string& s) { return U8(7).Str(s); }
    Bytes& Bool(bool v) { return U8(v ? 9 : 8); }
    Bytes& Binary(const std::vector<uint8_t>& v) {
        return U8(10).U32(static_cast<uint32_t>(v.size())).Raw(v);
    }
    // A property entry: name, then the caller adds the value.
    Bytes& Prop(const std::string& name) { return Str(name); }
    // End of the collection, root properties and child list.
    Bytes& Finish() { return U8s({0, 0, 0}); }
};

// The 40-byte BITMAPINFOHEADER.
inline Bytes InfoHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0,
                        uint32_t imageSize = 0, uint32_t coloursUsed = 0) {
    Bytes h;
    h.U32(40).U32(static_cast<uint32_t>(width)).U32(static_cast<uint32_t>(height)).U16(1).U16(bits);
    h.U32(compression).U32(imageSize).U32(0).U32(0).U32(coloursUsed).U32(0);
    return h;
}

// A "TDIB" picture payload around DIB bytes, and a "TBitmap" one around a BMP file.
inline std::vector<uint8_t> DibPayload(const std::vector<uint8_t>& dib) {
    return Bytes().Str("TDIB").Raw(dib).b;
}
inline std::vector<uint8_t> BitmapPayload(const std::vector<uint8_t>& file) {
    return Bytes().Str("TBitmap").U32(static_cast<uint32_t>(file.size())).Raw(file).b;
}

// A 2 x 2 24-bit bottom-up DIB: top row red, green; bottom row blue, white.
inline std::vector<uint8_t> SmallDib24() {
    Bytes d = InfoHeader(2, 2, 24);
    d.U8s({0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0, 0});  // bottom row: blue, white, padding
    d.U8s({0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0});  // top row: red, green, padding
    return d.b;
}

// A RIFF WAVE file: 8-bit mono PCM format, an odd "LIST" chunk, then the samples.
inline std::vector<uint8_t> SmallWave(const std::vector<uint8_t>& samples) {
    Bytes w;
    w.Raw("RIFF").U32(0).Raw("WAVE");
    w.Raw("fmt ").U32(16).U16(1).U16(1).U32(11025).U32(11025).U16(1).U16(8);
    w.Raw("LIST").U32(3).U8s({'a', 'b', 'c'});
    w.Raw("data").U32(static_cast<uint32_t>(samples.size())).Raw(samples);
    return w.b;
}

}  // namespace kelvane::test
