// Kelvane: a two-dimensional space-combat game.

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Folders.h"
#include "app/LanguageChoice.h"
#include "app/NetworkGame.h"
#include "app/RecordedGame.h"
#include "app/ShaderCache.h"
#include "app/SettingsFile.h"
#include "app/Version.h"
#include "app/WatchedRecording.h"
#include "base/FailureReport.h"
#include "check/Checker.h"
#include "game/GameDir.h"
#include "net/HostAddresses.h"
#include "platform/font/FontRasteriser.h"
#include "platform/sdl/SdlGame.h"
#include "platform/sdl/StartFailureBox.h"
#include "replay/DataFingerprint.h"
#include "replay/RecordingToPlay.h"

namespace {

constexpr const char* Program = "kelvane";

// kelvane --check: the findings and a summary on stdout; no display and no sound are
// touched, so it runs anywhere (a build machine, over ssh).
kelvane::ExitStatus RunCheck(const kelvane::GameDataSearch& data) {
    using namespace kelvane;
    std::unique_ptr<IFontRasteriser> font;
    try {
        font = MakeFontRasteriser();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvane: no font to measure ship names (%s): names are counted in characters\n",
                     error.what());
    }
    const check::CheckOptions options{data.GameDir, ResolvePlayerFolders(ProcessEnvironment()).Data, font.get()};
    const check::Report report = check::CheckGameData(options);
    for (const check::Finding& finding : report.Findings()) std::puts(check::FormatFinding(finding).c_str());
    std::puts(report.Summary().c_str());
    return report.Status();
}

// Now, in local time: a recording is named by when its game began.
std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// This person's name in a network game: --name, else PlayerName= of the settings, else
// the login name (the session makes any of them fit).
std::string PlayerName(const kelvane::GameOptions& options, const kelvane::Settings& settings,
                       const kelvane::EnvironmentLookup& environment) {
    if (options.Name) return *options.Name;
    if (!settings.PlayerName.empty()) return settings.PlayerName;
    return environment("USER").value_or("Player");
}

// Hosts or joins; a joiner waits for the host's answer before any window opens. A failure
// (the port taken, refused, no answer) is said on stderr and, where there is a display, in
// a box, as any start that fails.
kelvane::Result<std::unique_ptr<kelvane::NetworkGame>> OpenNetworkGame(
    const kelvane::GameOptions& options, const kelvane::Settings& settings, const kelvane::EnvironmentLookup& environment,
    const kelvane::SdlGameOptions& game, const std::string& replays, const kelvane::SayLine& say,
    const kelvane::Language& texts) {
    using namespace kelvane;
    const uint16_t port = options.Host && *options.Host ? *options.Host : static_cast<uint16_t>(settings.Port);
    net::NetPlayOptions net;
    net.Setup.Version = KelvaneVersion;
    net.Setup.Name = PlayerName(options, settings, environment);
    net.Setup.Data = FingerprintGameData(game.GameDir, game.Folders);
    net.Setup.Seed = options.Seed ? *options.Seed : ClockSeed();
    if (options.Host) net.Listen = std::to_string(port);
    else net.Join = *options.Join;
    net.Port = static_cast<uint16_t>(settings.Port);
    const auto failed = [&](const std::string& reason) -> Result<std::unique_ptr<NetworkGame>> {
        const Failure failure{ExitStatus::Failure, reason, {}};
        ReportFailure(Program, failure);
        ShowStartFailureBox(nullptr, reason, {}, texts);
        return Failure{ExitStatus::Failure, {}, {}};  // said already
    };
    std::unique_ptr<net::NetPlay> play;
    try {
        play = std::make_unique<net::NetPlay>(net, say);
    } catch (const std::exception& error) {
        return failed(std::string("cannot start a network game: ") + error.what());
    }
    std::string hosting;
    if (options.Host) {
        hosting = net::HostingLine(net::InterfaceAddresses(), net::MachineName(), port);
        say(hosting);
    } else {
        say("joining " + net.Join + " ...");
        if (const std::optional<std::string> problem = play->WaitForWelcome())
            return failed("cannot join " + *options.Join + ": " + *problem);
    }
    return std::make_unique<NetworkGame>(std::move(play), hosting, replays, LocalNow(), say);
}

kelvane::ExitStatus RunGame(const std::vector<std::string>& arguments) {
    using namespace kelvane;
    const Result<GameOptions> parsed = ParseGameOptions(arguments);
    if (!parsed) {
        ReportFailure(Program, parsed.Error());
        std::fputs(GameUsage, stderr);
        return parsed.Error().Status;
    }
    const GameOptions& options = *parsed;
    if (options.Help) {
        std::fputs(GameUsage, stdout);
        return ExitStatus::Success;
    }
    if (options.Version) {
        std::printf("kelvane %s\n", KelvaneVersion);
        return ExitStatus::Success;
    }
    const GameDataSearch data = FindGameData(options.DataDir, GameDir());
    if (data.GameDir.empty()) return ReportFailure(Program, {ExitStatus::Failure, GameDataNotFound(data), {}});
    if (options.Check) return RunCheck(data);

    const EnvironmentLookup environment = ProcessEnvironment();
    const UserFolders folders = ResolveUserFolders(environment);
    // Without a home there is nowhere to keep settings: the defaults, and nothing saved.
    const std::string settingsPath = folders.Config.empty() ? std::string() : folders.Config + "settings.ini";
    Settings settings;
    if (!settingsPath.empty()) {
        const LoadedSettings loaded = LoadSettings(settingsPath);
        if (!loaded.Problem.empty()) std::fprintf(stderr, "kelvane: %s\n", loaded.Problem.c_str());
        settings = loaded.Values;
    }

    SdlGameOptions game;
    game.GameDir = data.GameDir;
    game.Folders = ResolvePlayerFolders(environment);
    const SayLine say = [](const std::string& line) { std::fprintf(stderr, "kelvane: %s\n", line.c_str()); };

    const std::vector<std::string> catalogues = CatalogueFolders(data.GameDir, GameDir());
    Language language;
    try {
        language = ChooseLanguage(options.Language, settings.Language, catalogues, say);
    } catch (const LanguageError& error) {
        return ReportFailure(Program, {ExitStatus::BadInput, error.what(), {}});
    }
    game.Texts = &language;
    game.Languages = AvailableLanguages(catalogues);

    // Every game is recorded; a recording watched is not recorded again.
    const std::string replays = folders.State.empty() ? std::string() : folders.State + "replays/";
    Replay replay;
    std::unique_ptr<GameSession> session;
    if (options.ReplayFile) {
        Result<Replay> opened = OpenRecording(*options.ReplayFile, options.Force, game.GameDir, game.Folders, say);
        if (!opened) return ReportFailure(Program, opened.Error());
        replay = std::move(*opened);
        try {
            session = std::make_unique<WatchedRecording>(replay, say);
        } catch (const ReplayError& error) {  // the file changed since it was read through
            return ReportFailure(Program, Failure{ExitStatus::BadInput,
                                                  "cannot replay " + *options.ReplayFile + ": " + error.what(), {}});
        }
    } else if (options.Host || options.Join) {
        Result<std::unique_ptr<NetworkGame>> network =
            OpenNetworkGame(options, settings, environment, game, replays, say, language);
        if (!network) return network.Error().Status;
        session = std::move(*network);
    } else {
        const uint32_t seed = options.Seed ? *options.Seed : ClockSeed();
        session = std::make_unique<RecordedGame>(replays, LocalNow(), seed, say, options.Pilot.value_or(settings.Pilot));
    }
    game.Chosen = settings;
    // --fullscreen and --windowed hold for this game only; F11 changes the saved setting.
    game.Fullscreen = options.Fullscreen;
    game.SettingsFile = settingsPath;
    game.PicturesFolder = ResolvePicturesFolder(environment, AskXdgUserDir);
    game.SettingsChanged = [&settingsPath](const Settings& changed) {
        if (settingsPath.empty()) return;
        const Result<void> saved = SaveSettings(settingsPath, changed);
        if (!saved) std::fprintf(stderr, "kelvane: settings not saved: %s\n", saved.Error().Reason.c_str());
    };
    // Before the window is made: the driver opens its shader cache then, and a full disk
    // there would end the game with a bus error.
    if (const ShaderCacheCheck cache = CheckShaderCache(environment); !cache.Problem.empty()) {
        TurnShaderCacheOff();
        say(ShaderCacheOffLine(cache));
    }
    return RunSdlGame(game, *session);
}

}  // namespace

int main(int argc, char** argv) {
    return kelvane::EndProgram(Program, RunGame(std::vector<std::string>(argv + 1, argv + argc)));
}
