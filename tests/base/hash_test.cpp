// The recording's hash is xxHash64: published values of it, whichever tail the input
// ends in, and the hex form the recording writes.
#include <gtest/gtest.h>

#include <string>

#include "base/Hash64.h"

namespace kelvane {
namespace {

TEST(Hash64, GivesTheKnownXxHash64Values) {
    const struct {
        std::string input;
        uint64_t hash;
    } cases[] = {
        {"", 0xef46db3751d8e999ull},                       // no stripe, no tail
        {"a", 0xd24ec4f1a98c6e5bull},                      // a one-byte tail
        {"Kelvane replay", 0x8180cb95515844d8ull},         // 8 + 4 + 2 bytes of tail
        {std::string(39, 'y'), 0x56e8a3db470cbc28ull},     // one stripe, 7 bytes of tail
        {std::string(100, 'x'), 0x92f0de5a88a3c094ull},    // three stripes, a 4-byte tail
    };
    for (const auto& c : cases) EXPECT_EQ(Hash64(c.input), c.hash) << "input of " << c.input.size() << " bytes";
}

TEST(Hash64, HexRoundTripAndRefusals) {
    for (uint64_t value : {0ull, 1ull, 0xdd468a3146d20e01ull, ~0ull}) {
        const std::string text = ToHex64(value);
        EXPECT_EQ(text.size(), 16u);
        uint64_t back = 1;
        ASSERT_TRUE(FromHex64(text, back)) << text;
        EXPECT_EQ(back, value);
    }
    uint64_t value = 0;
    for (const char* bad : {"", "dd468a3146d20e0", "dd468a3146d20e011", "DD468A3146D20E01", "dd468a3146d20e0g",
                            " dd468a3146d20e0"}) {
        EXPECT_FALSE(FromHex64(bad, value)) << bad;
    }
}

}  // namespace
}  // namespace kelvane
