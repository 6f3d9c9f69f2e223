#pragma once
// How the programs end: kelvane (the game, --check and --replay), kelvane-sim (runs,
// replays, tournaments and merges) and kelvane-assets share one list of exit statuses,
// so a script can tell what went wrong whichever program it ran.

namespace kelvane {

enum class ExitStatus : int {
    Success = 0,
    // The game cannot start (no display, no data, a damaged file); --check found an error;
    // a recording diverges or was made with other data; a tournament stopped.
    Failure = 1,
    // A wrong option, a bad scenario, a file that is no recording or a damaged one, parts
    // of a tournament that cannot be merged.
    BadInput = 2,
    // A file or standard output could not be written (a full disk, a missing folder).
    WriteFailed = 3,
    // A recording that was cut off verified up to where it ends.
    Truncated = 4,
};

}  // namespace kelvane
