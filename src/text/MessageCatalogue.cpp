#include "text/MessageCatalogue.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "base/ByteReader.h"

namespace kelvane {
namespace {

constexpr uint32_t Magic = 0x950412DE;
constexpr uint32_t SwappedMagic = 0xDE120495;
constexpr const char* Damaged = "the catalogue is damaged";

uint32_t Swap(uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

// The file's numbers in its own byte order.
class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes, Damaged) {
        const uint32_t magic = bytes_.U32();
        if (magic != Magic && magic != SwappedMagic) throw CatalogueError("not a message catalogue");
        swapped_ = magic == SwappedMagic;
    }
    uint32_t At(size_t offset) {
        bytes_.Seek(offset);
        const uint32_t v = bytes_.U32();
        return swapped_ ? Swap(v) : v;
    }
    // The string that entry `index` of the table at `table` describes (length, offset), which
    // must end in a NUL right after it.
    std::string String(uint32_t table, uint32_t index) {
        const uint64_t place = uint64_t{table} + uint64_t{index} * 8;
        if (place > bytes_.Size()) throw CatalogueError(Damaged);
        const uint32_t length = At(static_cast<size_t>(place));
        const uint32_t offset = At(static_cast<size_t>(place) + 4);
        if (uint64_t{offset} + length + 1 > bytes_.Size()) throw CatalogueError(Damaged);
        bytes_.Seek(offset);
        std::string text = bytes_.String(length);
        if (bytes_.U8() != 0) throw CatalogueError(Damaged);
        return text;
    }
    size_t Size() const { return bytes_.Size(); }

private:
    ByteReader bytes_;
    bool swapped_ = false;
};

// "Content-Type: text/plain; charset=UTF-8" among the header's lines.
std::string HeaderCharset(std::string_view header) {
    constexpr std::string_view Key = "charset=";
    const size_t at = header.find(Key);
    if (at == std::string_view::npos) return "UTF-8";
    std::string charset;
    for (size_t i = at + Key.size(); i < header.size() && !std::isspace(static_cast<unsigned char>(header[i])) &&
                                     header[i] != ';';
         ++i) {
        charset += static_cast<char>(std::toupper(static_cast<unsigned char>(header[i])));
    }
    return charset;
}

}  // namespace

MessageCatalogue ReadMessageCatalogue(const std::vector<uint8_t>& bytes) {
    try {
        Reader file(bytes);
        const uint32_t revision = file.At(4);
        // Major revisions 0 and 1 share this layout; a later one may not.
        if ((revision >> 16) > 1) throw CatalogueError("a message catalogue of an unknown revision");
        const uint32_t count = file.At(8);
        const uint32_t originals = file.At(12);
        const uint32_t translations = file.At(16);
        // Each entry takes 8 bytes in both tables: a count the file cannot hold is damage.
        if (uint64_t{count} * 8 > file.Size()) throw CatalogueError(Damaged);
        MessageCatalogue catalogue;
        catalogue.Entries.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            std::string original = file.String(originals, i);
            std::string translation = file.String(translations, i);
            // Plural forms follow the first after a NUL; the game has none to choose between.
            if (const size_t nul = original.find('\0'); nul != std::string::npos) original.resize(nul);
            if (const size_t nul = translation.find('\0'); nul != std::string::npos) translation.resize(nul);
            if (original.empty()) {
                catalogue.Charset = HeaderCharset(translation);
                continue;
            }
            catalogue.Entries.push_back({std::move(original), std::move(translation)});
        }
        return catalogue;
    } catch (const CatalogueError&) {
        throw;
    } catch (const std::runtime_error&) {
        throw CatalogueError(Damaged);
    }
}

}  // namespace kelvane
