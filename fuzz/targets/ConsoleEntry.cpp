// The console language on arbitrary lines: every line of the input is entered as a
// command against a world with a few named ships, in a game folder whose scripts
// run other scripts and themselves.

#include <filesystem>
#include <string>

#include "FuzzSupport.h"
#include "console/Commands.h"

namespace kelvane::fuzz {

namespace {

// Enough lines to fill the arena, empty it and run scripts in between; more only
// slow each input down.
constexpr size_t MaxLines = 64;

// A game folder of our own, made once per process and removed at its end.
const FuzzFolder& Folder() {
    static const FuzzFolder folder("kelvane-fuzz");
    static const bool written = [] {
        folder.Write("Scripts/fleet", "CREATESHIP KESTREL\nCREATESHIP talon\nYOURSHIP TALON\nCREATESHIP TWIN\n");
        // Runs itself until the nesting limit refuses the next level.
        folder.Write("Scripts/Again", "CREATESHIP WISP\nEXEC AGAIN\nDELETESHIP WISP\nYOURSHIP\n");
        folder.Write("Scripts/CLEANUP",
                     "DELETESHIP KESTREL\r\nDELETESHIP TALON\r\nEXEC fleet\r\nquit\r\n\r\nDELETESHIP TWIN");
        std::filesystem::create_directories(folder.Root() / "Scripts" / "folder");  // a directory is not a script
        return true;
    }();
    static_cast<void>(written);
    return folder;
}

void AddShip(World& world, int slot, const char* name, const char* fullName, int32_t x, int32_t y) {
    TShip& ship = world.Ships[slot];
    ship.ShipName = name;
    ship.FullShipName = fullName;
    ship.X = x;
    ship.Y = y;
    ship.Target = static_cast<uint8_t>(slot);
}

// Two slots share a name (in different case); slot 7 has none; the last slot is named too.
void FillShips(World& world) {
    AddShip(world, 1, "Kestrel", "USS Kestrel", 400, 300);
    AddShip(world, 2, "Talon", "IKS Talon", 900, 700);
    AddShip(world, 3, "Wisp", "Wisp", 1200, 400);
    AddShip(world, 4, "Twin", "Twin One", 600, 600);
    AddShip(world, 5, "TWIN", "Twin Two", 600, 600);
    AddShip(world, 6, "Ardent", "Ardent", 1700, 1200);
    AddShip(world, 8, "Sable", "Sable", 300, 1500);
    AddShip(world, MaxShips, "Last", "The Last One", 2000, 100);
}

void CheckWorld(const World& world, const ConsoleContext& context) {
    int inPlay = 0;
    for (const TShip& ship : world.Ships) inPlay += ship.InPlay ? 1 : 0;
    Check(world.ShipCount == inPlay, "ShipCount does not count the ships in play");
    Check(world.ShipCount <= MaxShipsInPlay, "more ships in play than allowed");
    Check(world.ControlledShip <= MaxShips, "controlled ship outside the table");
    Check(world.Ships[0].ShipName.empty() && !world.Ships[0].InPlay, "slot 0 was written");
    Check(context.ScriptDepth == 0, "script depth not restored");
    for (const std::string& line : world.ConsoleLog)
        Check(!line.empty() && line[0] >= '0' && line[0] <= '7', "console line without its colour digit");
}

}  // namespace

void FuzzConsole(const uint8_t* data, size_t size) {
    World world;
    FillShips(world);
    int closeRequests = 0;
    ConsoleContext context{world, Folder().GameDir(), [&] { ++closeRequests; }};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    for (size_t line = 0; line < MaxLines && start <= size; ++line) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = size;
        // Each line is entered in a frame of its own, whose error handling discards
        // whatever a command throws.
        try {
            DoConsoleCommand(context, text.substr(start, end - start));
        } catch (const std::exception&) {
        }
        CheckWorld(world, context);
        start = end + 1;
    }
    (void)closeRequests;
}

}  // namespace kelvane::fuzz
