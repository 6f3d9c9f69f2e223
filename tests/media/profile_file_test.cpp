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
    const ProfileFile missing = ProfileFile::Load("/nonexistent/definitely/missing.ini");
    EXPECT_EQ(missing.ReadInteger("A", "B", 42), 42);
}

}  // namespace
}  // namespace kelvane
