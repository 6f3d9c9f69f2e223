// The pieces under the findings: text encodings, what the console can type, near names,
// and the report's lines.

#include <gtest/gtest.h>

#include "CheckFixture.h"
#include "check/ConsoleKeyboard.h"
#include "check/Naming.h"
#include "check/TextEncoding.h"

namespace kelvane::check::testing {
namespace {

using enum Severity;

TEST(TextEncoding, WhatEditorsSaveAndWhatTheGameReads) {
    struct Case {
        const char* What;
        std::string Text;
        bool Readable;
        std::vector<Expected> Findings;
    };
    const std::vector<Case> cases = {
        {"plain ASCII", "[OverallInfo]\r\nShipName=Probe\r\n", true, {}},
        {"Windows-1250 letters", "ShipName=\x8A\xEDp\n", true, {}},  // Šíp
        {"a byte-order mark",
         "\xEF\xBB\xBF[OverallInfo]\n",
         true,
         {{Warning, 1, "starts with a UTF-8 byte-order mark"}}},
        {"UTF-8 letters",
         "[OverallInfo]\nShipName=\xC5\xA0\xC3\xADp\n",
         true,  // Šíp in UTF-8
         {{Warning, 2,
           "UTF-8 text: the game reads Windows-1250 and shows \"ShipName=\xC4\xB9\xC2\xA0\xC4\x82\xC2\xADp\" "
           "where \"ShipName=\xC5\xA0\xC3\xADp\" was meant; save the file as Windows-1250"}}},
        {"UTF-8 letters Windows-1250 cannot hold",
         "ShipName=\xE2\x98\x85\n",
         true,  // a star
         {{Warning, 1, "Windows-1250 cannot hold every one of these letters"}}},
        {"UTF-16", std::string("\xFF\xFE[\0O\0", 6), false, {{Error, 0, "UTF-16 text"}}},
        {"a byte the code page leaves unused",
         "ShipName=A\x81"
         "B\n",
         true,
         {{Warning, 1, "byte 0x81 is no character of Windows-1250"}}},
        {"a control character",
         "ShipName=A\x07"
         "B\n",
         true,
         {{Warning, 1, "byte 0x07"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Report report;
        EXPECT_EQ(CheckTextEncoding(c.Text, "file", report), c.Readable);
        ExpectFindings(report.Findings(), c.Findings);
    }
}

TEST(ConsoleKeyboard, TypesWhatItsLayoutTypesAndNothingElse) {
    const ConsoleKeyboard keyboard;
    // Letters, digits (with Shift), the Czech letters of the number row, AltGr characters,
    // composed letters (caron or acute, then a letter) and the blank.
    for (const char c : std::string("azAZ09 .,-:?_=%+*/@#&{}[]\\!()'\"\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\xFA\xF9"
                                    "\xC8\xCF\xCC\xD2\xD8\x8A\x8D\x8E\xC1\xC9\xCD\xD3\xDA\xDD\xF3\xA1\xB4"))
        EXPECT_TRUE(keyboard.CanType(c)) << static_cast<int>(static_cast<unsigned char>(c));
    // The console key's own characters (; and the ring, so no Ů either), and what no key has.
    for (const char c : std::string(";\xB0\xD9<>$^|~\t\xE4\xDF"))
        EXPECT_FALSE(keyboard.CanType(c)) << static_cast<int>(static_cast<unsigned char>(c));
    EXPECT_EQ(keyboard.Untypable("Sea <Wolf> <3"), "<>");
}

TEST(Naming, EditDistanceAndTheNearestName) {
    EXPECT_EQ(EditDistance("Accuracy", "Accurancy"), 1);
    EXPECT_EQ(EditDistance("Sheilds", "Shields"), 1);  // two neighbours swapped
    EXPECT_EQ(EditDistance("vigil", "VIGIL"), 0);
    EXPECT_EQ(EditDistance("", "abc"), 3);
    EXPECT_EQ(EditDistance("kitten", "sitting"), 3);
    const std::vector<std::string> names = {"Vigil", "Wisp", "Kestrel", "Halberd"};
    EXPECT_EQ(NearestName("Vigl", names), "Vigil");
    EXPECT_EQ(NearestName("kestrl", names), "Kestrel");
    EXPECT_EQ(NearestName("Wasp", names), "Wisp");
    EXPECT_EQ(NearestName("Zanzibar", names), std::nullopt);
    EXPECT_EQ(NearestName("VIGIL", names), std::nullopt);  // the same name is no suggestion
    EXPECT_EQ(Shown("\x8At\xEDty\t"), "\"\xC5\xA0t\xC3\xADty\\x09\"");
}

TEST(Report, LinesSummaryAndExitStatus) {
    Report report;
    report.Definitions = 1;
    report.Pictures = 1;
    report.Scripts = 2;
    EXPECT_EQ(report.Summary(), "1 ship definition, 1 picture and 2 scripts checked: no errors, no warnings");
    EXPECT_EQ(report.Status(), ExitStatus::Success);
    report.Warning("b.ini", 3, "w");
    report.Note("b.ini", 1, "n");
    EXPECT_EQ(report.Status(), ExitStatus::Success);
    report.Error("a.ini", 0, "e");
    report.Error("a.ini", 0, "f");
    EXPECT_EQ(report.Status(), ExitStatus::Failure);
    EXPECT_EQ(report.Summary(), "1 ship definition, 1 picture and 2 scripts checked: 2 errors, 1 warning, 1 note");
    report.SortSince(0);
    std::vector<std::string> lines;
    for (const Finding& finding : report.Findings()) lines.push_back(FormatFinding(finding));
    EXPECT_EQ(lines, (std::vector<std::string>{"b.ini:1: note: n", "b.ini:3: warning: w", "a.ini:0: error: e",
                                               "a.ini:0: error: f"}));
}

}  // namespace
}  // namespace kelvane::check::testing
