#pragma once
// The datagrams of a network game. Each starts with "KN", the protocol version and the
// kind of message; numbers are little-endian, frame numbers and counts of frames
// variable-length (7 bits a byte, low first), texts a length and their bytes. Decoding
// trusts nothing: every count and length is checked against what is left and against
// its limit, and anything malformed is simply not a message (nothing is thrown).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "net/PlayerInput.h"
#include "replay/DataFingerprint.h"
#include "world/World.h"

namespace kelvane::net {

inline constexpr uint8_t ProtocolVersion = 1;
// Limits the decoder holds every message to.
inline constexpr size_t MaxBlockFrames = 4096;
inline constexpr size_t MaxDataFiles = 4096;
inline constexpr size_t MaxTextLength = 1024;
inline constexpr size_t MaxPeers = MaxSeats;
inline constexpr size_t MaxHistoryBlocks = 64;
inline constexpr uint64_t MaxFrame = uint64_t{1} << 40;

// A run of one seat's inputs: frames First, First + 1, ...
struct InputBlock {
    uint8_t Seat = 0;
    uint64_t First = 1;
    std::vector<FrameInputs> Frames;
    bool operator==(const InputBlock&) const = default;
};

// Asks to join (Seat 0, to the host) or to be let in by a peer already playing (Seat and
// the Secret the host gave).
struct Hello {
    std::string Version;
    std::string Name;
    uint8_t Seat = 0;
    uint64_t Secret = 0;
    std::vector<DataFile> Data;
    bool operator==(const Hello&) const = default;
};

struct Refuse {
    std::string Reason;
    bool operator==(const Refuse&) const = default;
};

struct PeerEntry {
    uint8_t Seat = 0;
    std::string Name;
    std::string Address;  // "HOST:PORT" as the host reaches it
    bool operator==(const PeerEntry&) const = default;
};

// The host lets someone in: their seat, taken in JoinFrame, and how to reach the others.
struct Welcome {
    uint32_t Seed = 0;
    int32_t PointerX = 0;
    int32_t PointerY = 0;
    uint8_t Seat = 0;
    uint64_t JoinFrame = 0;
    uint64_t Secret = 0;
    std::vector<PeerEntry> Peers;
    bool operator==(const Welcome&) const = default;
};

// The host tells those playing whom to let in, and the frame in which that seat is taken.
struct Expect {
    uint8_t Seat = 0;
    uint64_t Secret = 0;
    std::string Name;
    uint64_t JoinFrame = 0;
    bool operator==(const Expect&) const = default;
};

// A seat's inputs. Frame: the sender's newest frame; Advantage: that frame less the
// receiver's newest as the sender last heard it (the two sides' advantages tell how far
// apart their frame counters are, whatever the delay between them); Ack: the receiver's
// own inputs known to the sender up to this frame (the rest is sent again).
struct Inputs {
    uint64_t Frame = 0;
    int32_t Advantage = 0;
    uint64_t Ack = 0;
    InputBlock Block;
    bool operator==(const Inputs&) const = default;
};

// The world's checksum after a frame known to all.
struct Check {
    uint64_t Frame = 0;
    uint64_t Sum = 0;
    bool operator==(const Check&) const = default;
};

struct OutOfStep {
    uint64_t Frame = 0;
    bool operator==(const OutOfStep&) const = default;
};

// The sender lost a seat, whose inputs it knows up to KnownUpTo; Block holds the last of
// them. To the seat that decides the leave; from it, asking everyone to say what they know.
struct Lost {
    uint8_t Seat = 0;
    uint64_t KnownUpTo = 0;
    InputBlock Block;
    bool operator==(const Lost&) const = default;
};

// From the seat that decides: the seat has left after frame Last; Block holds its last
// inputs, so that everyone has them all.
struct Left {
    uint8_t Seat = 0;
    uint64_t Last = 0;
    InputBlock Block;
    bool operator==(const Left&) const = default;
};

// The host brings a joiner up to date: every seat's inputs so far, a part at a time.
struct History {
    std::vector<InputBlock> Blocks;
    bool operator==(const History&) const = default;
};

// The sender leaves the game.
struct Bye {
    bool operator==(const Bye&) const = default;
};

// The sender has confirmed every frame up to this one and needs nothing more (the
// runner's end).
struct Done {
    uint64_t Frame = 0;
    bool operator==(const Done&) const = default;
};

using Message = std::variant<Hello, Refuse, Welcome, Expect, Inputs, Check, OutOfStep, Lost, Left, History, Bye, Done>;

std::vector<uint8_t> Encode(const Message& message);
// Nothing for a datagram that is not a well-formed message of this protocol version.
std::optional<Message> Decode(std::span<const uint8_t> datagram);

}  // namespace kelvane::net
