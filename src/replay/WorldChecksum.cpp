#include "replay/WorldChecksum.h"

#include <bit>
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
    FieldBytes() { bytes_.reserve(32 * 1024); }

    void Byte(uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void Flag(bool value) { Byte(value ? 1 : 0); }
    void Int(int32_t value) { Wide(static_cast<uint32_t>(value), 4); }
    void Real(double value) { Wide(std::bit_cast<uint64_t>(value), 8); }
    void Text(const std::string& text) {
        Wide(text.size(), 8);
        bytes_ += text;
    }
    void Bytes(const uint8_t* data, size_t size) { bytes_.append(reinterpret_cast<const char*>(data), size); }
    // A long byte table by its own hash, rather than copied in whole.
    void HashedBytes(const uint8_t* data, size_t size) {
        Wide(size, 8);
        Wide(Hash64(data, size), 8);
    }

    uint64_t Hash() const { return Hash64(bytes_); }

private:
    void Wide(uint64_t value, int width) {
        for (int i = 0; i < width; ++i, value >>= 8) bytes_.push_back(static_cast<char>(value & 0xFF));
    }

    std::string bytes_;
};

// Each field of the description at its own width, tables slot by slot from slot 0 (it
// must stay zero, and a rule that wrote it would show here).
struct AddFields {
    FieldBytes& Out;

    template <class T>
    void operator()(const char*, const T& field) {
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
            for (const auto& slot : field.Slots()) {
                if constexpr (std::is_same_v<typename TableKind<T>::Slot, std::string>) {
                    Out.Text(slot);
                } else {
                    Describe(*this, slot);
                }
            }
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
