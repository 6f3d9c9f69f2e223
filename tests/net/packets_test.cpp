// The datagrams: every message comes back as it went, and the decoder takes nothing it
// should not: wrong magic or version, lengths past the end, values out of range, bytes
// left over.
#include <gtest/gtest.h>

#include "net/Packets.h"

namespace kelvane::net {
namespace {

InputBlock SampleBlock() {
    InputBlock block;
    block.Seat = 3;
    block.First = 4000;
    block.Frames = {{}, {KeyInput(VK_UP, ssShift), MouseInput(2)}, {CommandInput("EXEC battle")},
                    {JoinInput(4, "dora"), LeaveInput()}};
    return block;
}

TEST(Packets, EveryMessageComesBackAsItWent) {
    const std::vector<Message> messages = {
        Hello{"1.1.0", "ann", 0, 0, {{"Data/GFX.dxg", 1}, {"Data/Ships/Vigil.ini", 0xFEDCBA9876543210}}},
        Refuse{"other game data: Data/Ships/Vigil.ini differs"},
        Welcome{77, -5, 900, 2, 123456, 0x1122334455667788, {{1, "ann", ""}, {3, "cy", "127.0.0.1:4000"}}},
        Expect{5, 42, "eve", 99},
        Inputs{5000, -3, 4998, SampleBlock()},
        Check{4975, 0xDEADBEEFCAFEF00D},
        OutOfStep{25},
        Lost{2, 300, SampleBlock()},
        Left{2, 301, SampleBlock()},
        History{{SampleBlock(), SampleBlock()}},
        History{{InputBlock{1, 1, {}}, InputBlock{2, 7, {{}}}, InputBlock{3, 2, {}}}},  // blocks of three or four bytes
        Bye{},
        Done{5000},
    };
    for (const Message& message : messages) {
        const std::optional<Message> back = Decode(Encode(message));
        ASSERT_TRUE(back) << "kind " << message.index();
        EXPECT_EQ(*back, message) << "kind " << message.index();
    }
}

TEST(Packets, AFrameOfInputsIsAFewBytes) {
    Inputs inputs{5000, 0, 4998, InputBlock{2, 4999, {{KeyInput(VK_LEFT, 0)}, {}}}};
    EXPECT_LE(Encode(inputs).size(), 24u);
}

std::vector<uint8_t> Bytes(const Message& message) { return Encode(message); }

TEST(Packets, MalformedDatagramsAreNoMessages) {
    const std::vector<uint8_t> good = Bytes(Inputs{10, 0, 9, InputBlock{1, 10, {{KeyInput(VK_UP, 0)}}}});
    struct Case {
        const char* What;
        std::vector<uint8_t> Datagram;
    };
    std::vector<Case> cases = {{"empty", {}}, {"magic only", {'K', 'N'}}};
    auto changed = [&](const char* what, size_t at, uint8_t value) {
        std::vector<uint8_t> bytes = good;
        bytes.at(at) = value;
        cases.push_back({what, bytes});
    };
    changed("wrong magic", 0, 'X');
    changed("another version", 2, ProtocolVersion + 1);
    changed("unknown kind", 3, 200);
    std::vector<uint8_t> cut = good;
    cut.pop_back();
    cases.push_back({"cut short", cut});
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    cases.push_back({"bytes left over", longer});
    cases.push_back({"seat 9", Bytes(Inputs{10, 0, 9, InputBlock{9, 10, {{}}}})});
    cases.push_back({"frame 0", Bytes(Inputs{10, 0, 9, InputBlock{1, 0, {{}}}})});
    cases.push_back({"mouse button 3", Bytes(Inputs{10, 0, 9, InputBlock{1, 1, {{MouseInput(3)}}}})});
    cases.push_back({"a name too long", Bytes(Expect{2, 1, std::string(MaxNameLength + 1, 'x'), 1})});
    cases.push_back({"a line too long", Bytes(Inputs{1, 0, 1, InputBlock{1, 1, {{CommandInput(std::string(MaxCommandLength + 1, 'x'))}}}})});
    cases.push_back({"a frame beyond the last", Bytes(Done{MaxFrame + 1})});
    // A count of frames far beyond what the datagram holds.
    cases.push_back({"a huge count", {'K', 'N', ProtocolVersion, 5, 10, 0, 9, 1, 1, 0xFF, 0xFF, 0x03}});
    // A frame number that never ends.
    cases.push_back({"an endless number", {'K', 'N', ProtocolVersion, 12, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 1}});
    for (const Case& malformed : cases) EXPECT_FALSE(Decode(malformed.Datagram)) << malformed.What;
}

}  // namespace
}  // namespace kelvane::net
