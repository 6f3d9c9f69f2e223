#pragma once
// Which language a program starts in: --language for this run, else settings.ini's
// Language=, else the original texts.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "text/Language.h"

namespace kelvane {

// The option's language, which must be there (LanguageError naming those there are,
// otherwise); without the option the setting's, where a language that is not there is
// said with `say` and the original texts are used instead.
Language ChooseLanguage(const std::optional<std::string>& option, const std::string& setting,
                        const std::vector<std::string>& folders, const std::function<void(const std::string&)>& say);

}  // namespace kelvane
