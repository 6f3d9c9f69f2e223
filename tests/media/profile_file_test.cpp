#include <gtest/gtest.h>

#include <string>

#include "media/ProfileFile.h"

namespace kelvane {
namespace {

TEST(ProfileFile, IntegerRule) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    } cases[] = {
        {"100", true, 100},        {"-5", true, -5},          {"+7", true, 7},
        {"0x64", true, 100},       {"0X64", true, 100},       {"$64", true, 100},
        {"$FFFFFFFF", true, -1},   {"12abc", false, 0},       {"", false, 0},
        {"0x", false, 0},          {"$", false, 0},           {"2147483647", true, 2147483647},
        {"2147483648", false, 0},  {"-2147483648", true, INT32_MIN}, {"$123456789", false, 0},
        {"1.5", false, 0},         {"- 5", false, 0},
    };
    for (const Case& c : cases) {
        int32_t value = 0;
        EXPECT_EQ(ParseProfileInteger(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(ProfileFile, SectionsAndKeysIgnoreCaseAndValuesAreTrimmed) {
    const ProfileFile ini = ProfileFile::Parse(
        "; a comment\r\n"
        "orphan=before any section\r\n"
        "[Weapons]\r\n"
        "  PrimaryWeaponType =  phaser_orange  \r\n"
        "[STRENGTHINDICES]\r\n"
        "hull=0x64\r\n"
        "Shields=12abc\r\n"
        "Speed=500\r\n"
        "Speed=900\r\n"
        "flag=7\n"
        "nothing here\n"
        "[weapons]\n"
        "SecondaryWeaponType=TORPEDO_ION\n");
    EXPECT_EQ(ini.ReadString("weapons", "primaryweapontype", "NONE"), "phaser_orange");
    EXPECT_EQ(ini.ReadInteger("StrengthIndices", "Hull", 0), 100);
    EXPECT_EQ(ini.ReadInteger("StrengthIndices", "Shields", 33), 33);
    EXPECT_EQ(ini.ReadInteger("StrengthIndices", "Speed", 0), 500);  // the first key counts
    EXPECT_TRUE(ini.ReadBool("StrengthIndices", "flag", false));
    EXPECT_EQ(ini.ReadString("Nowhere", "x", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadString("", "orphan", "none"), "none");
}

TEST(ProfileFile, LongValuesAreCutAndMissingFilesReadAsEmpty) {
    const std::string longValue(5000, 'x');
    const ProfileFile ini = ProfileFile::Parse("[A]\nKey=" + longValue + "\n");
    EXPECT_EQ(ini.ReadString("A", "Key", "").size(), ProfileFile::MaxValueLength);
    const ProfileFile missing = ProfileFile::Load("/nonexistent/definitely/missing.ini", {1024, "a test file"});
    EXPECT_EQ(missing.ReadInteger("A", "B", 42), 42);
}

TEST(ProfileFile, AByteOrderMarkBeforeTheFirstSectionIsSkipped) {
    const std::string text = "[OverallInfo]\r\nShipName=Vigil\r\n[Weapons]\r\nPrimaryWeaponType=PHASER_ORANGE\r\n";
    const ProfileFile marked = ProfileFile::Parse("\xEF\xBB\xBF" + text);
    EXPECT_EQ(marked.ReadString("OverallInfo", "ShipName", ""), "Vigil");
    ASSERT_EQ(marked.Sections().size(), 2u);
    EXPECT_EQ(marked.Sections()[0].Line, 1);
    EXPECT_TRUE(marked.SkippedLines().empty());
    // Only at the very start: after a blank it is text of a line the reader skips.
    const ProfileFile late = ProfileFile::Parse(" \xEF\xBB\xBF" + text);
    EXPECT_EQ(late.ReadString("OverallInfo", "ShipName", "none"), "none");
    EXPECT_EQ(late.ReadString("Weapons", "PrimaryWeaponType", ""), "PHASER_ORANGE");
}

TEST(ProfileFile, KeepsWhereEverythingStoodAndRecordsWhatIsAsked) {
    const ProfileFile ini = ProfileFile::Parse(
        "orphan=1\n"   // 1
        "[A]\n"        // 2
        "x=1\n"        // 3
        "junk\n"       // 4
        "; note\n"     // 5
        "[B\n"         // 6
        "y=two\n"      // 7
        "x=3\n");      // 8
    ASSERT_EQ(ini.Entries().size(), 3u);
    EXPECT_EQ(ini.Entries()[1].Line, 7);
    EXPECT_EQ(ini.Entries()[1].Section, "B");
    ASSERT_EQ(ini.Sections().size(), 2u);
    EXPECT_TRUE(ini.Sections()[0].Closed);
    EXPECT_FALSE(ini.Sections()[1].Closed);
    ASSERT_EQ(ini.SkippedLines().size(), 2u);
    EXPECT_EQ(ini.SkippedLines()[0].Line, 1);
    EXPECT_TRUE(ini.SkippedLines()[0].BeforeAnySection);
    EXPECT_EQ(ini.SkippedLines()[1].Text, "junk");
    EXPECT_FALSE(ini.SkippedLines()[1].BeforeAnySection);

    std::vector<ProfileRead> reads;
    ini.RecordReads(&reads);
    EXPECT_EQ(ini.ReadInteger("b", "Y", 5), 5);
    EXPECT_TRUE(ini.ReadBool("a", "x", false));
    EXPECT_EQ(ini.ReadString("C", "z", "NONE"), "NONE");
    ini.RecordReads(nullptr);
    EXPECT_EQ(ini.ReadString("A", "x", ""), "1");  // no longer recorded
    ASSERT_EQ(reads.size(), 3u);
    EXPECT_EQ(reads[0].Kind, ProfileReadKind::Integer);
    EXPECT_EQ(reads[0].Fallback, "5");
    ASSERT_NE(reads[0].Entry, nullptr);
    EXPECT_EQ(reads[0].Entry->Line, 7);
    EXPECT_EQ(reads[1].Kind, ProfileReadKind::Bool);
    EXPECT_EQ(reads[1].Fallback, "0");
    EXPECT_EQ(reads[1].Entry, ini.FindEntry("A", "X"));
    EXPECT_EQ(reads[2].Entry, nullptr);
    EXPECT_EQ(reads[2].Fallback, "NONE");
}

}  // namespace
}  // namespace kelvane
