#include "app/LanguageChoice.h"

namespace kelvane {

Language ChooseLanguage(const std::optional<std::string>& option, const std::string& setting,
                        const std::vector<std::string>& folders, const std::function<void(const std::string&)>& say) {
    if (option) return LoadLanguage(*option, folders);
    try {
        return LoadLanguage(setting, folders);
    } catch (const LanguageError& error) {
        // A setting that cannot be had costs the player the language, not the game.
        if (say) say(std::string("settings: ") + error.what() + "; the game's own texts are used");
        return Language();
    }
}

}  // namespace kelvane
