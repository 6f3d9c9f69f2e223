#include "app/CommandLine.h"

namespace kelvane {

const char* const GameUsage =
    "usage: kelvane [OPTION]...\n"
    "Kelvane, a top-down space-combat game. Open the console with the key left of 1\n"
    "and type EXEC battle; F1 shows the keys.\n"
    "\n"
    "  --fullscreen   play full screen (the default)\n"
    "  --windowed     play in a window\n"
    "  --data DIR     read Data/ and Scripts/ from DIR instead of the installed data\n"
    "  --version      print the version and exit\n"
    "  --help         print this help and exit\n";

GameOptions ParseGameOptions(const std::vector<std::string>& arguments) {
    GameOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) throw UsageError(option + " needs a value");
            return arguments[++i];
        };
        if (option == "--help" || option == "-h") options.Help = true;
        else if (option == "--version") options.Version = true;
        else if (option == "--fullscreen") options.Fullscreen = true;
        else if (option == "--windowed") options.Fullscreen = false;
        else if (option == "--data") options.DataDir = value();
        else if (option.rfind("--data=", 0) == 0 && option.size() > 7) options.DataDir = option.substr(7);
        else throw UsageError("unknown option '" + option + "'");
    }
    return options;
}

}  // namespace kelvane
