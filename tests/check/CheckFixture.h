#pragma once
// A private game folder for checker tests: definitions, pictures and scripts written by
// the test, then checked as kelvane --check checks them.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TempGameDir.h"
#include "check/Checker.h"
#include "media/Bitmap.h"
#include "media/Dib.h"

namespace kelvane::check::testing {

using kelvane::testing::TempGameDir;

// A complete definition that checks clean; the numbers in the comments are its lines.
inline const std::string GoodDefinition =
    "[OverallInfo]\n"                       // 1
    "ClassName=Test class\n"                // 2
    "ShipName=Probe\n"                      // 3
    "FullShipName=The Probe\n"              // 4
    "Crew=10\n"                             // 5
    "Length=100\n"                          // 6
    "[StrengthIndices]\n"                   // 7
    "PrimaryWeapon=300\n"                   // 8
    "SecondaryWeapon=300\n"                 // 9
    "Accurancy=600\n"                       // 10
    "Shields=200\n"                         // 11
    "Hull=200\n"                            // 12
    "Speed=600\n"                           // 13
    "Manoeuvrability=9000\n"                // 14
    "[Weapons]\n"                           // 15
    "PrimaryWeaponType=PHASER_ORANGE\n"     // 16
    "SecondaryWeaponType=TORPEDO_PHOTON\n"  // 17
    "SpecialDevice=NONE\n"                  // 18
    "[ExploDefinition]\n"                   // 19
    "ShipDisappearance=12\n"                // 20
    "Explo1=1\n"                            // 21
    "Type1Explo=SMALL\n"                    // 22
    "Angle1Explo=0\n"                       // 23
    "Distance1Explo=10\n"                   // 24
    "Delay1Explo=3\n";                      // 25

// `text` with its first `from` replaced by `to` (the test stops if `from` is absent).
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    if (at == std::string::npos) throw std::runtime_error("test text lacks " + from);
    return text.replace(at, from.size(), to);
}

constexpr uint32_t Green = 0x00FF00, Magenta = 0xFF00FF, HullGrey = 0x8899AA;

// Three patterns of `size` x `size`: a square hull from 10 to size - 10 on green, its
// mask drawn 7 pixels up and left of it as the game reads it, a black third.
inline Bitmap ShipBitmap(int size = 60) {
    Bitmap picture;
    picture.Resize(3 * size, size, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool hull = x >= 10 && x < size - 10 && y >= 10 && y < size - 10;
            picture.At(x, y) = hull ? HullGrey : Green;
            const bool mask = x + 7 >= 10 && x + 7 < size - 10 && y + 7 >= 10 && y + 7 < size - 10;
            picture.At(size + x, y) = mask ? Magenta : 0;
        }
    return picture;
}

inline std::string Bytes(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
inline std::string Bmp(const Bitmap& picture) { return Bytes(EncodeBmpFile(picture)); }

class CheckGame {
public:
    CheckGame() : dir_(TempGameDir::Options{false, false, false}) {}

    // Data/Ships/<name>.ini and, unless told otherwise, a good picture <name>.bmp.
    void Definition(const std::string& name, const std::string& text, bool withPicture = true) {
        dir_.WriteFile("Data/Ships/" + name + ".ini", text);
        if (withPicture) Picture(name, Bmp(ShipBitmap()));
    }
    void Picture(const std::string& name, const std::string& bytes) {
        dir_.WriteFile("Data/Ships/" + name + ".bmp", bytes);
    }
    void Script(const std::string& name, const std::string& text) { dir_.WriteFile("Scripts/" + name, text); }
    // A file of the player's own folder (Ships/..., Scripts/...).
    void Own(const std::string& relative, const std::string& text) { dir_.WriteFile("player/" + relative, text); }

    Report Run(IFontRasteriser* font = nullptr) const {
        return CheckGameData({dir_.Path(), dir_.Path() + "player/", font});
    }
    std::string Path(const std::string& relative) const { return dir_.Path() + relative; }
    const TempGameDir& Dir() const { return dir_; }

private:
    TempGameDir dir_;
};

// What a test expects: the level, the line and a piece of the message.
struct Expected {
    Severity Level;
    int Line;
    std::string Piece;
};

inline std::string Listed(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& finding : findings) text += FormatFinding(finding) + "\n";
    return text;
}

inline bool Matches(const Finding& finding, const Expected& expected) {
    return finding.Level == expected.Level && finding.Line == expected.Line &&
           finding.Message.find(expected.Piece) != std::string::npos;
}

// Every expected finding is there; with `exactly`, nothing else is.
inline void ExpectFindings(const std::vector<Finding>& findings, const std::vector<Expected>& expected,
                           bool exactly = true) {
    for (const Expected& want : expected) {
        EXPECT_TRUE(std::any_of(findings.begin(), findings.end(), [&](const Finding& f) { return Matches(f, want); }))
            << "missing: line " << want.Line << " \"" << want.Piece << "\"\nfound:\n"
            << Listed(findings);
    }
    if (exactly) {
        EXPECT_EQ(findings.size(), expected.size()) << Listed(findings);
    }
}

// The findings about one file (a path ending in `suffix`).
inline std::vector<Finding> About(const Report& report, const std::string& suffix) {
    std::vector<Finding> found;
    for (const Finding& finding : report.Findings())
        if (finding.Path.ends_with(suffix)) found.push_back(finding);
    return found;
}

}  // namespace kelvane::check::testing
