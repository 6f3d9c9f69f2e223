// The table of the player's actions: what settings.ini, the pad and the help rely on.
// What each action does is tested with the controls, the steering and the frame loop.

#include "game/PlayerActions.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <stdexcept>
#include <string>

namespace kelvane {
namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

TEST(PlayerActions, NamesAndKeysAreOneEachAndNoneIsTheDesktopsOrTheConsoles) {
    std::set<std::string> names;
    std::set<uint16_t> keys;
    for (const PlayerActionRow& row : PlayerActions) {
        // A name is an INI key: letters only, found in any letter case.
        ASSERT_FALSE(row.Name.empty());
        for (char c : row.Name) EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(c))) << row.Name;
        EXPECT_TRUE(names.insert(Upper(row.Name)).second) << row.Name;
        EXPECT_EQ(FindPlayerAction(Upper(row.Name)), &row);
        EXPECT_EQ(&ActionRow(row.Action), &row);

        EXPECT_TRUE(keys.insert(row.Key).second) << row.Name;
        EXPECT_EQ(ActionOfKey(row.Key), &row);
        for (uint16_t desktop : {uint16_t{0}, ConsoleKey, VK_ESCAPE, VK_F1, uint16_t(VK_F1 + 10), uint16_t(VK_F1 + 11)}) {
            EXPECT_NE(row.Key, desktop) << row.Name;
        }
        EXPECT_FALSE(row.KeyWords.empty()) << row.Name;
        EXPECT_FALSE(row.Words.empty()) << row.Name;
    }
    EXPECT_EQ(FindPlayerAction("Fire"), nullptr);
    EXPECT_EQ(FindPlayerAction(""), nullptr);
    EXPECT_EQ(ActionOfKey('Q'), nullptr);
    EXPECT_THROW(ActionRow(static_cast<PlayerAction>(PlayerActionCount)), std::out_of_range);
}

TEST(PlayerActions, EachPadInputPressesOneActionsKey) {
    std::set<PadInput> used;
    for (const PlayerActionRow& row : PlayerActions) {
        int inputs = 0;
        for (PadInput input : row.Pad) {
            if (input == PadInput::None) continue;
            ++inputs;
            EXPECT_TRUE(used.insert(input).second) << row.Name;
            EXPECT_EQ(KeyOfPadInput(input), row.Key) << row.Name;
        }
        // The help names every input, joined with "or".
        const std::string words = PadWords(row);
        EXPECT_EQ(words.empty(), inputs == 0) << row.Name;
        EXPECT_EQ(words.find(" or ") != std::string::npos, inputs == 2) << row.Name;
    }
    EXPECT_EQ(KeyOfPadInput(PadInput::None), 0);
}

}  // namespace
}  // namespace kelvane
