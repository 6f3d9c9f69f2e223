#pragma once
// The language the player reads the game in. The game's own texts (Czech status labels,
// console messages with their own spellings) are the originals: "original" shows them as
// they are, and any other language is a GNU gettext catalogue (po/LANG.po, compiled to
// LANG/LC_MESSAGES/kelvane.mo) whose entries translate those originals. Texts are
// Windows-1250 on both sides here, as all of the game's text is; the catalogue's UTF-8 is
// converted once, when it is read.
//
// The language belongs to whoever watches: it is looked up where a text is drawn, never
// written into the world, so a game recorded in one language plays back in another.

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/TextFormat.h"

namespace kelvane {

inline constexpr std::string_view OriginalLanguageName = "original";
// The catalogues' file name (the gettext domain).
inline constexpr std::string_view CatalogueDomain = "kelvane";

class LanguageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Language {
public:
    // The original texts: nothing is looked up.
    Language() = default;
    // `translations`: Windows-1250 originals to Windows-1250 translations.
    Language(std::string name, std::vector<std::pair<std::string, std::string>> translations);

    const std::string& Name() const { return name_; }
    bool IsOriginal() const { return name_ == OriginalLanguageName; }

    // The text in this language; the original itself where the catalogue has no entry.
    std::string_view Translate(std::string_view original) const;
    // The same, with its places ("%s", "%1$s") filled with the arguments.
    std::string Format(std::string_view original, std::initializer_list<std::string_view> args) const;

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    std::string name_ = std::string(OriginalLanguageName);
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> texts_;
};

// The original texts, shared by everything that was given no language.
const Language& OriginalLanguage();

// A language's name is a folder's name ("en", "pt_BR", "sr@latin"), never a path.
bool IsLanguageName(std::string_view name);

// Where catalogues are looked for: LANG/LC_MESSAGES/kelvane.mo in the first of these
// folders (each ending in '/') that has one.
std::vector<std::string> CatalogueFolders(const std::string& gameDir, const std::string& programDir);

// "original" and every language with a catalogue in the folders, sorted.
std::vector<std::string> AvailableLanguages(const std::vector<std::string>& folders);

// The language of that name: "original", or the catalogue found in the folders.
// LanguageError when there is no such catalogue, or it cannot be read; the message names
// the languages there are.
Language LoadLanguage(const std::string& name, const std::vector<std::string>& folders);

}  // namespace kelvane
