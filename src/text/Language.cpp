#include "text/Language.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/TextFormat.h"
#include "base/Windows1250.h"
#include "text/MessageCatalogue.h"

namespace kelvane {
namespace {

std::string CataloguePath(const std::string& folder, const std::string& name) {
    return folder + name + "/LC_MESSAGES/" + std::string(CatalogueDomain) + ".mo";
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string ToGameText(const std::string& utf8) {
    return Utf8ToWindows1250(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size());
}

std::string Listed(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
    return list;
}

}  // namespace

bool IsLanguageName(std::string_view name) {
    if (name.empty() || name.size() > 32 || name == "." || name == "..") return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '@' ||
               c == '-' || c == '.';
    });
}

Language::Language(std::string name, std::vector<std::pair<std::string, std::string>> translations)
    : name_(std::move(name)) {
    for (auto& [original, translation] : translations) texts_.emplace(std::move(original), std::move(translation));
}

std::string_view Language::Translate(std::string_view original) const {
    if (texts_.empty()) return original;
    const auto found = texts_.find(original);
    return found == texts_.end() ? original : std::string_view(found->second);
}

std::string Language::Format(std::string_view original, std::initializer_list<std::string_view> args) const {
    return FormatText(Translate(original), args);
}

const Language& OriginalLanguage() {
    static const Language original;
    return original;
}

std::vector<std::string> CatalogueFolders(const std::string& gameDir, const std::string& programDir) {
    // Beside the data (a build folder: build/locale/), where an installed game's data has
    // it (/usr/share/kelvane/../locale/), and the same from the program's own folder, for
    // data given with --data.
    return {gameDir + "locale/", gameDir + "../locale/", programDir + "locale/", programDir + "../share/locale/"};
}

std::vector<std::string> AvailableLanguages(const std::vector<std::string>& folders) {
    std::vector<std::string> names{std::string(OriginalLanguageName)};
    for (const std::string& folder : folders) {
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (IsLanguageName(name) && IsFile(CataloguePath(folder, name)) &&
                std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
        }
    }
    std::sort(names.begin() + 1, names.end());
    return names;
}

Language LoadLanguage(const std::string& name, const std::vector<std::string>& folders) {
    if (name == OriginalLanguageName) return Language();
    const auto none = [&] {
        return LanguageError("no language " + name + " (there are: " + Listed(AvailableLanguages(folders)) + ")");
    };
    if (!IsLanguageName(name)) throw none();
    for (const std::string& folder : folders) {
        const std::string path = CataloguePath(folder, name);
        if (!IsFile(path)) continue;
        std::ifstream file(path, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (!file && !file.eof()) throw LanguageError("cannot read " + path);
        try {
            MessageCatalogue catalogue = ReadMessageCatalogue(bytes);
            if (catalogue.Charset != "UTF-8" && catalogue.Charset != "ASCII")
                throw CatalogueError("its texts are " + catalogue.Charset + ", not UTF-8");
            std::vector<std::pair<std::string, std::string>> translations;
            translations.reserve(catalogue.Entries.size());
            for (const CatalogueEntry& entry : catalogue.Entries)
                translations.emplace_back(ToGameText(entry.Original), ToGameText(entry.Translation));
            return Language(name, std::move(translations));
        } catch (const CatalogueError& error) {
            throw LanguageError("cannot read the language " + name + " from " + path + ": " + error.what());
        }
    }
    throw none();
}

}  // namespace kelvane
