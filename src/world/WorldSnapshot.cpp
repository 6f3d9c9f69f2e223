#include "world/WorldSnapshot.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "world/WorldFields.h"

namespace kelvane {
namespace {

// Every field of the description as its bytes: values as they are held, texts and the
// growing tables (key table, log) after their length, tables slot by slot from slot 0.
class Saver {
public:
    explicit Saver(WorldSnapshot& into)
        : bytes_(into.Bytes), next_(bytes_.data()), end_(bytes_.data() + bytes_.size()) {}

    template <class T>
    void operator()(const char* name, const T& field) {
        if constexpr (FieldValueType<T> && !std::is_same_v<T, std::string>) {
            Put(&field, sizeof field);
        } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::vector<uint8_t>>) {
            const size_t size = field.size();
            Put(&size, sizeof size);
            if (size != 0) Put(field.data(), size);  // an empty vector's data() may be null
        } else if constexpr (TableType<T>) {
            DescribeSlots(*this, name, field);
        } else if constexpr (ByteArrayType<T>) {
            Put(field.data(), field.size());
        } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
            const size_t count = field.size();
            Put(&count, sizeof count);
            for (const std::string& line : field) (*this)(name, line);
        } else if constexpr (std::is_same_v<T, RandomGenerator>) {
            const uint32_t state = field.State();
            Put(&state, sizeof state);
        } else {
            static_assert(UnknownFieldKind<T>, "a kind of field the snapshot does not know");
        }
    }

    size_t Size() const { return static_cast<size_t>(next_ - bytes_.data()); }

private:
    // Inlined into every field, so that a value's copy is one store.
    [[gnu::always_inline]] void Put(const void* data, size_t size) {
        if (size > static_cast<size_t>(end_ - next_)) [[unlikely]] Grow(size);
        std::memcpy(next_, data, size);
        next_ += size;
    }
    // Only while a snapshot's first saves find it too small.
    [[gnu::noinline]] void Grow(size_t size) {
        const size_t used = Size();
        bytes_.resize(std::max(2 * bytes_.size(), used + size));
        next_ = bytes_.data() + used;
        end_ = bytes_.data() + bytes_.size();
    }

    std::vector<unsigned char>& bytes_;
    unsigned char* next_;
    unsigned char* end_;
};

// Reads back what the Saver wrote, field for field in the same order.
class Restorer {
public:
    explicit Restorer(const WorldSnapshot& from) : next_(from.Bytes.data()), end_(from.Bytes.data() + from.Size) {}

    template <class T>
    void operator()(const char* name, T& field) {
        if constexpr (FieldValueType<T> && !std::is_same_v<T, std::string>) {
            Get(&field, sizeof field);
        } else if constexpr (std::is_same_v<T, std::string>) {
            const size_t size = Count();
            field.assign(reinterpret_cast<const char*>(Take(size)), size);
        } else if constexpr (std::is_same_v<T, std::vector<uint8_t>>) {
            const size_t size = Count();
            field.resize(size);
            if (size != 0) Get(field.data(), size);  // an empty vector's data() may be null
        } else if constexpr (TableType<T>) {
            DescribeSlots(*this, name, field);
        } else if constexpr (ByteArrayType<T>) {
            Get(field.data(), field.size());
        } else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
            field.resize(Count());
            for (std::string& line : field) (*this)(name, line);
        } else if constexpr (std::is_same_v<T, RandomGenerator>) {
            uint32_t state = 0;
            Get(&state, sizeof state);
            field.Seed(state);
        } else {
            static_assert(UnknownFieldKind<T>, "a kind of field the snapshot does not know");
        }
    }

    bool AtEnd() const { return next_ == end_; }

private:
    const unsigned char* Take(size_t size) {
        if (size > static_cast<size_t>(end_ - next_)) throw std::logic_error("a world snapshot ends early");
        const unsigned char* at = next_;
        next_ += size;
        return at;
    }
    void Get(void* data, size_t size) { std::memcpy(data, Take(size), size); }
    size_t Count() {
        size_t count = 0;
        Get(&count, sizeof count);
        return count;
    }

    const unsigned char* next_;
    const unsigned char* end_;
};

}  // namespace

void SaveWorld(const World& world, WorldSnapshot& into) {
    Saver save(into);
    Describe(save, world);
    DescribeSeating(save, world);
    into.Size = save.Size();
}

void RestoreWorld(World& world, const WorldSnapshot& from) {
    if (from.Size == 0) throw std::logic_error("nothing was saved in this world snapshot");
    Restorer restore(from);
    Describe(restore, world);
    DescribeSeating(restore, world);
    if (!restore.AtEnd()) throw std::logic_error("a world snapshot holds more than a world");
}

}  // namespace kelvane
