#pragma once
// A compiled GNU gettext catalogue (a .mo file, as msgfmt writes it from a .po file): the
// pairs of an original text and its translation. Read through one bounds-checked cursor:
// no count or offset in the file is trusted, and a damaged file is refused whole.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kelvane {

class CatalogueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CatalogueEntry {
    std::string Original;     // the msgid (a context, if any, before it and a \x04)
    std::string Translation;  // the msgstr; of plural forms, the first
};

struct MessageCatalogue {
    // The header's Content-Type charset, upper-cased ("UTF-8" when the header names none).
    std::string Charset = "UTF-8";
    // Every translated entry but the header, in the file's order (sorted by original).
    std::vector<CatalogueEntry> Entries;
};

// The catalogue in a .mo file's bytes, either byte order; CatalogueError when it is none
// or is damaged.
MessageCatalogue ReadMessageCatalogue(const std::vector<uint8_t>& bytes);

}  // namespace kelvane
