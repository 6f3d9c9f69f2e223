#include "replay/WorldChecksum.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "base/Hash64.h"
#include "world/WorldFields.h"

namespace kelvane {
namespace {

// The world's fields laid end to end, little-endian, each at its own width.
class FieldBytes {
public:
    FieldBytes() : bytes_(64 * 1024) {}

    void Byte(uint8_t value) { Put(&value, 1); }
    void Flag(bool value) { Byte(value ? 1 : 0); }
    void Int(int32_t value) { Wide(static_cast<uint32_t>(value)); }
    void Real(double value) { Wide(std::bit_cast<uint64_t>(value)); }
    void Text(const std::string& text) {
        Wide(uint64_t{text.size()});
        Put(text.data(), text.size());
    }
    void Bytes(const uint8_t* data, size_t size) { Put(data, size); }
    // A long byte table by its own hash, rather than copied in whole.
    void HashedBytes(const uint8_t* data, size_t size) {
        Wide(uint64_t{size});
        Wide(Hash64(data, size));
    }

    uint64_t Hash() const { return Hash64(bytes_.data(), size_); }

private:
    template <class Unsigned>
    void Wide(Unsigned value) {
        unsigned char little[sizeof value];
        for (size_t i = 0; i < sizeof value; ++i, value >>= 8) little[i] = static_cast<unsigned char>(value & 0xFF);
        Put(little, sizeof little);
    }
    [[gnu::always_inline]] void Put(const void* data, size_t size) {
        if (size > bytes_.size() - size_) [[unlikely]] bytes_.resize(std::max(2 * bytes_.size(), size_ + size));
        std::memcpy(bytes_.data() + size_, data, size);
        size_ += size;
    }

    std::vector<char> bytes_;
    size_t size_ = 0;
};

// Each field of the description at its own width, tables slot by slot from slot 0 (it
// must stay zero, and a rule that wrote it would show here).
struct AddFields {
    FieldBytes& Out;

    template <class T>
    void operator()(const char* name, const T& field) {
        if constexpr (std::is_same_v<T, bool>) {
            Out.Flag(field);
        } else if constexpr (std::is_same_v<T, uint8_t>) {
            Out.Byte(field);
        } else if constexpr (std::is_same_v<T, int32_t>) {
            Out.Int(field);
        } else if constexpr (std::is_same_v<T, double>) {
            Out.Real(field);
        } else if constexpr (std::is_same_v<T, std::string>) {
            Out.Text(field);
        } else if constexpr (TableType<T>) {
            DescribeSlots(*this, name, field);
        } else if constexpr (std::is_same_v<T, std::vector<uint8_t>>) {
            Out.HashedBytes(field.data(), field.size());  // the key table
        } else if constexpr (ByteArrayType<T>) {
            Out.Bytes(field.data(), field.size());
        } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
            Out.Int(static_cast<int32_t>(field.size()));  // the console log
            for (const std::string& line : field) Out.Text(line);
        } else if constexpr (std::is_same_v<T, RandomGenerator>) {
            Out.Int(static_cast<int32_t>(field.State()));
        } else {
            static_assert(UnknownFieldKind<T>, "a kind of field the checksum does not know");
        }
    }
};

}  // namespace

uint64_t WorldChecksum(const World& world) {
    FieldBytes out;
    AddFields add{out};
    Describe(add, world);
    return out.Hash();
}

}  // namespace kelvane
