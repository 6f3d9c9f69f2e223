#pragma once
// A small recording as text, with every kind of record, for the reader's tests.

#include <string>

namespace kelvane::testing {

inline const std::string& SampleRecording() {
    static const std::string text =
        "kelvane-replay 1\n"
        "seed 7\n"
        "file 0000000000000001 Data/GFX.dxg\n"
        "file 00000000000000ff Scripts/my\\x20script\n"
        "start\n"
        "pointer 10 -20\n"
        "frames 1\n"
        "command EXEC battle\n"
        "frames 24\n"
        "check 25 00000000000000aa\n"
        "key 32 1\n"
        "mouse 2\n"
        "set Ships[3].Hull int -5\n"
        "set Ships[2].Speed real 2.5\n"
        "set Ships[1].ShipName text A\\\\b\\xe9\\x20\n"
        "skip 3\n"
        "frames 22\n"
        "check 50 00000000000000bb\n"
        "command QUIT\n"
        "end 50 00000000000000cc\n";
    return text;
}

}  // namespace kelvane::testing
