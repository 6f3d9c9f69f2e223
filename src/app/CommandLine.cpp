#include "app/CommandLine.h"

#include <charconv>

#include "base/FailureReport.h"
#include "text/Language.h"

namespace kelvane {

const char* const GameUsage =
    "usage: kelvane [OPTION]...\n"
    "Kelvane, a top-down space-combat game. Open the console with the key left of 1\n"
    "and type EXEC battle; F1 shows the keys.\n"
    "\n"
    "  --fullscreen   play full screen (the default)\n"
    "  --windowed     play in a window\n"
    "  --data DIR     read Data/ and Scripts/ from DIR instead of the installed data\n"
    "  --seed N       start the random numbers from N, as kelvane-sim --seed N does\n"
    "                 (for tests and bug reports: the same ships in the same places)\n"
    "  --pilot NAME   who flies the computer's ships in this game: classic (the game's\n"
    "                 own pilot) or veteran (flies with the player's keys, and well);\n"
    "                 the default is Pilot= of settings.ini, else classic\n"
    "  --check        check the ship definitions, pictures and scripts the game would\n"
    "                 read (with --data DIR, and your own), print what is wrong and exit:\n"
    "                 status 1 when something does not work, else 0; no window opens\n"
    "  --replay FILE  watch a recording (every game is recorded into\n"
    "                 ~/.local/state/kelvane/replays/); Esc pauses it, F11, F12 and F1\n"
    "                 work as in the game, closing the window ends it\n"
    "  --force        with --replay: play a recording made with other data\n"
    "  --host [PORT]  host a network game on UDP port PORT (default: Port= of\n"
    "                 settings.ini, else 26524); others join it while it runs\n"
    "  --join HOST[:PORT]\n"
    "                 join the network game hosted at HOST\n"
    "  --name NAME    your name in a network game (default: PlayerName= of\n"
    "                 settings.ini, else your login name)\n"
    "  --language L   the language of the game's texts for this game: original (the\n"
    "                 game's own, the default) or en; settings.ini keeps Language=\n"
    "  --version      print the version and exit\n"
    "  --help         print this help and exit\n"
    "\n"
    "Exit status: 0 after a normal end; 1 when the game cannot start, --check found an\n"
    "error, or a recording was made with other data; 2 for a wrong option or a file that\n"
    "is no recording; 3 when standard output cannot be written.\n";

namespace {
// A whole number 0..4294967295, nothing else.
uint32_t ParseSeed(const std::string& text) {
    uint32_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw UsageError("--seed needs a whole number from 0 to 4294967295, not '" + text + "'");
    return seed;
}

std::string ParseLanguage(const std::string& text) {
    if (!IsLanguageName(text))
        throw UsageError("--language needs the name of a language (original, en, ...), not '" + text + "'");
    return text;
}

uint16_t ParsePort(const std::string& text) {
    uint16_t port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || port == 0)
        throw UsageError("--host needs a port from 1 to 65535, not '" + text + "'");
    return port;
}

bool IsNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

Pilot ParsePilot(const std::string& text) {
    const std::optional<Pilot> pilot = FindPilot(text);
    if (!pilot) throw UsageError("--pilot needs " + PilotChoices() + ", not '" + text + "'");
    return *pilot;
}

// Throws UsageError naming the option that is wrong.
GameOptions ReadGameOptions(const std::vector<std::string>& arguments) {
    GameOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) throw UsageError(option + " needs a value");
            return arguments[++i];
        };
        if (option == "--help" || option == "-h") options.Help = true;
        else if (option == "--version") options.Version = true;
        else if (option == "--check") options.Check = true;
        else if (option == "--fullscreen") options.Fullscreen = true;
        else if (option == "--windowed") options.Fullscreen = false;
        else if (option == "--data") options.DataDir = value();
        else if (option == "--seed") options.Seed = ParseSeed(value());
        else if (option.rfind("--seed=", 0) == 0) options.Seed = ParseSeed(option.substr(7));
        else if (option.rfind("--data=", 0) == 0 && option.size() > 7) options.DataDir = option.substr(7);
        else if (option == "--replay") options.ReplayFile = value();
        else if (option.rfind("--replay=", 0) == 0 && option.size() > 9) options.ReplayFile = option.substr(9);
        else if (option == "--force") options.Force = true;
        else if (option == "--language") options.Language = ParseLanguage(value());
        else if (option.rfind("--language=", 0) == 0) options.Language = ParseLanguage(option.substr(11));
        else if (option == "--pilot") options.Pilot = ParsePilot(value());
        else if (option.rfind("--pilot=", 0) == 0) options.Pilot = ParsePilot(option.substr(8));
        else if (option == "--host") {
            // The port is optional: a number after --host is its port.
            options.Host = i + 1 < arguments.size() && IsNumber(arguments[i + 1]) ? ParsePort(arguments[++i]) : 0;
        } else if (option.rfind("--host=", 0) == 0) options.Host = ParsePort(option.substr(7));
        else if (option == "--join") options.Join = value();
        else if (option.rfind("--join=", 0) == 0 && option.size() > 7) options.Join = option.substr(7);
        else if (option == "--name") options.Name = value();
        else if (option.rfind("--name=", 0) == 0 && option.size() > 7) options.Name = option.substr(7);
        else throw UsageError("unknown option '" + option + "'");
    }
    // A recording holds its own seed and pilots.
    if (options.ReplayFile && options.Seed) throw UsageError("--seed does not go with --replay");
    if (options.ReplayFile && options.Pilot) throw UsageError("--pilot does not go with --replay");
    if (options.Force && !options.ReplayFile) throw UsageError("--force goes only with --replay");
    // A network game: the host's seed, the classic pilot, everyone's own recording.
    const bool network = options.Host || options.Join;
    if (options.Host && options.Join) throw UsageError("--host does not go with --join");
    if (network && options.ReplayFile) throw UsageError("--replay does not go with --host or --join");
    if (options.Join && options.Seed) throw UsageError("--seed does not go with --join (the host's seed is played)");
    if (network && options.Pilot) throw UsageError("--pilot does not go with --host or --join");
    if (options.Name && !network) throw UsageError("--name goes only with --host or --join");
    return options;
}

}  // namespace

Result<GameOptions> ParseGameOptions(const std::vector<std::string>& arguments) {
    return Catching<UsageError>(ExitStatus::BadInput, [&] { return ReadGameOptions(arguments); });
}

}  // namespace kelvane
