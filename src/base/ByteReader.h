#pragma once
// One bounds-checked cursor over a byte buffer, used by the archive reader and the
// picture and wave decoders. Every read checks what is left first and throws a
// std::runtime_error with the owner's message at the end of the buffer, so no length
// taken from a file can make us read outside it. Numbers are little-endian.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kelvane {

inline constexpr const char* StreamReadError = "Stream read error";

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size, const char* endMessage = StreamReadError)
        : data_(data), size_(size), endMessage_(endMessage) {}
    explicit ByteReader(const std::vector<uint8_t>& bytes, const char* endMessage = StreamReadError)
        : ByteReader(bytes.data(), bytes.size(), endMessage) {}

    size_t Position() const { return pos_; }
    size_t Size() const { return size_; }
    size_t Remaining() const { return size_ - pos_; }
    const uint8_t* Data() const { return data_; }

    void Seek(size_t position) {
        if (position > size_) Fail();
        pos_ = position;
    }
    void Skip(size_t count) {
        Need(count);
        pos_ += count;
    }
    // Throws unless count more bytes are there.
    void Need(size_t count) const {
        if (count > Remaining()) Fail();
    }

    uint8_t PeekU8() const {
        Need(1);
        return data_[pos_];
    }
    uint8_t U8() {
        Need(1);
        return data_[pos_++];
    }
    uint16_t U16() {
        Need(2);
        uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    uint32_t U32() {
        Need(4);
        uint32_t v = static_cast<uint32_t>(data_[pos_]) | (static_cast<uint32_t>(data_[pos_ + 1]) << 8) |
                     (static_cast<uint32_t>(data_[pos_ + 2]) << 16) |
                     (static_cast<uint32_t>(data_[pos_ + 3]) << 24);
        pos_ += 4;
        return v;
    }
    uint64_t U64() {
        const uint64_t low = U32();
        return low | (static_cast<uint64_t>(U32()) << 32);
    }
    int8_t I8() { return static_cast<int8_t>(U8()); }
    int16_t I16() { return static_cast<int16_t>(U16()); }
    int32_t I32() { return static_cast<int32_t>(U32()); }

    // A pointer to the next count bytes, which the cursor then passes.
    const uint8_t* Bytes(size_t count) {
        Need(count);
        const uint8_t* p = data_ + pos_;
        pos_ += count;
        return p;
    }
    std::vector<uint8_t> Vector(size_t count) {
        const uint8_t* p = Bytes(count);
        return std::vector<uint8_t>(p, p + count);
    }
    std::string String(size_t count) {
        const uint8_t* p = Bytes(count);
        return std::string(reinterpret_cast<const char*>(p), count);
    }

    [[noreturn]] void Fail() const { throw std::runtime_error(endMessage_); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    const char* endMessage_;
};

// The matching writer: appends little-endian numbers to a growing buffer.
class ByteWriter {
public:
    std::vector<uint8_t>& Bytes() { return bytes_; }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    size_t Size() const { return bytes_.size(); }

    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v) {
        bytes_.push_back(static_cast<uint8_t>(v));
        bytes_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<uint8_t>(v >> shift));
    }
    void U64(uint64_t v) {
        U32(static_cast<uint32_t>(v));
        U32(static_cast<uint32_t>(v >> 32));
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void Append(const uint8_t* data, size_t count) { bytes_.insert(bytes_.end(), data, data + count); }
    void Append(const std::vector<uint8_t>& data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
    void Append(const std::string& text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
    void Fill(uint8_t value, size_t count) { bytes_.insert(bytes_.end(), count, value); }
    // Overwrites four bytes already written (a length known only afterwards).
    void PatchU32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
    }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace kelvane
