#include "net/Packets.h"

#include <stdexcept>

#include "base/ByteReader.h"

namespace kelvane::net {
namespace {

constexpr uint8_t Magic0 = 'K';
constexpr uint8_t Magic1 = 'N';

// Any check that fails while decoding; caught at the top and never seen outside.
struct Malformed : std::runtime_error {
    Malformed() : std::runtime_error("malformed") {}
};

void Require(bool fine) {
    if (!fine) throw Malformed();
}

class Writer {
public:
    explicit Writer(uint8_t kind) {
        out_.U8(Magic0);
        out_.U8(Magic1);
        out_.U8(ProtocolVersion);
        out_.U8(kind);
    }
    void U8(uint8_t value) { out_.U8(value); }
    void U16(uint16_t value) { out_.U16(value); }
    void U32(uint32_t value) { out_.U32(value); }
    void I32(int32_t value) { out_.I32(value); }
    void U64(uint64_t value) { out_.U64(value); }
    void Var(uint64_t value) {
        while (value >= 0x80) {
            out_.U8(static_cast<uint8_t>(value | 0x80));
            value >>= 7;
        }
        out_.U8(static_cast<uint8_t>(value));
    }
    void Signed(int32_t value) {
        Var(value < 0 ? (static_cast<uint64_t>(-int64_t{value}) << 1) - 1 : static_cast<uint64_t>(value) << 1);
    }
    void Text(const std::string& text) {
        out_.U16(static_cast<uint16_t>(text.size()));
        out_.Append(text);
    }
    void Input(const PlayerInput& input) {
        U8(static_cast<uint8_t>(input.Kind));
        switch (input.Kind) {
            case InputKind::Key:
                U16(input.Key);
                U8(input.Shift);
                break;
            case InputKind::Mouse:
                U8(input.Button);
                break;
            case InputKind::Command:
                Text(input.Text);
                break;
            case InputKind::Join:
                U8(input.Seat);
                Text(input.Text);
                break;
            case InputKind::Leave:
                break;
        }
    }
    void Block(const InputBlock& block) {
        U8(block.Seat);
        Var(block.First);
        Var(block.Frames.size());
        for (const FrameInputs& frame : block.Frames) {
            U8(static_cast<uint8_t>(frame.size()));
            for (const PlayerInput& input : frame) Input(input);
        }
    }
    std::vector<uint8_t> Take() { return std::move(out_.Bytes()); }

private:
    ByteWriter out_;
};

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : in_(bytes.data(), bytes.size()) {}

    uint8_t U8() { return in_.U8(); }
    uint16_t U16() { return in_.U16(); }
    uint32_t U32() { return in_.U32(); }
    int32_t I32() { return in_.I32(); }
    uint64_t U64() { return in_.U64(); }
    // At most 6 bytes: nothing beyond MaxFrame is a frame.
    uint64_t Var() {
        uint64_t value = 0;
        for (int shift = 0; shift < 42; shift += 7) {
            const uint8_t byte = U8();
            value |= static_cast<uint64_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80)) return value;
        }
        throw Malformed();
    }
    uint64_t Frame() {
        const uint64_t frame = Var();
        Require(frame <= MaxFrame);
        return frame;
    }
    int32_t Signed() {
        const uint64_t value = Var();
        Require(value <= 0xFFFFFFFFu);
        const auto magnitude = static_cast<int64_t>((value + 1) >> 1);
        return static_cast<int32_t>(value & 1 ? -magnitude : magnitude);
    }
    uint8_t Seat(int lowest = 1) {
        const uint8_t seat = U8();
        Require(seat >= lowest && seat <= MaxSeats);
        return seat;
    }
    std::string Text(size_t limit) {
        const uint16_t size = U16();
        Require(size <= limit);
        return in_.String(size);
    }
    // A count of entries, each at least `smallest` bytes: never more than what is left.
    size_t Count(uint64_t count, size_t limit, size_t smallest) {
        Require(count <= limit && count * smallest <= in_.Remaining());
        return static_cast<size_t>(count);
    }
    PlayerInput Input() {
        PlayerInput input;
        const uint8_t kind = U8();
        Require(kind <= static_cast<uint8_t>(InputKind::Leave));
        input.Kind = static_cast<InputKind>(kind);
        switch (input.Kind) {
            case InputKind::Key:
                input.Key = U16();
                input.Shift = U8();
                break;
            case InputKind::Mouse:
                input.Button = U8();
                Require(input.Button <= 2);
                break;
            case InputKind::Command:
                input.Text = Text(MaxCommandLength);
                break;
            case InputKind::Join:
                input.Seat = Seat();
                input.Text = Text(MaxNameLength);
                break;
            case InputKind::Leave:
                break;
        }
        return input;
    }
    InputBlock Block() {
        InputBlock block;
        block.Seat = Seat();
        block.First = Frame();
        Require(block.First >= 1);
        const size_t frames = Count(Var(), MaxBlockFrames, 1);
        Require(block.First + frames <= MaxFrame);
        block.Frames.resize(frames);
        for (FrameInputs& frame : block.Frames) {
            const size_t inputs = Count(U8(), MaxInputsPerFrame, 1);
            frame.reserve(inputs);
            for (size_t i = 0; i < inputs; ++i) frame.push_back(Input());
        }
        return block;
    }
    void End() const { Require(in_.Remaining() == 0); }

private:
    ByteReader in_;
};

enum Kind : uint8_t { KHello = 1, KRefuse, KWelcome, KExpect, KInputs, KCheck, KOutOfStep, KLost, KLeft, KHistory, KBye, KDone };

struct EncodeVisitor {
    std::vector<uint8_t> operator()(const Hello& hello) const {
        Writer out(KHello);
        out.Text(hello.Version);
        out.Text(hello.Name);
        out.U8(hello.Seat);
        out.U64(hello.Secret);
        out.U16(static_cast<uint16_t>(hello.Data.size()));
        for (const DataFile& file : hello.Data) {
            out.U64(file.Hash);
            out.Text(file.Name);
        }
        return out.Take();
    }
    std::vector<uint8_t> operator()(const Refuse& refuse) const {
        Writer out(KRefuse);
        out.Text(refuse.Reason);
        return out.Take();
    }
    std::vector<uint8_t> operator()(const Welcome& welcome) const {
        Writer out(KWelcome);
        out.U32(welcome.Seed);
        out.I32(welcome.PointerX);
        out.I32(welcome.PointerY);
        out.U8(welcome.Seat);
        out.Var(welcome.JoinFrame);
        out.U64(welcome.Secret);
        out.U8(static_cast<uint8_t>(welcome.Peers.size()));
        for (const PeerEntry& peer : welcome.Peers) {
            out.U8(peer.Seat);
            out.Text(peer.Name);
            out.Text(peer.Address);
        }
        return out.Take();
    }
    std::vector<uint8_t> operator()(const Expect& expect) const {
        Writer out(KExpect);
        out.U8(expect.Seat);
        out.U64(expect.Secret);
        out.Text(expect.Name);
        out.Var(expect.JoinFrame);
        return out.Take();
    }
    std::vector<uint8_t> operator()(const Inputs& inputs) const {
        Writer out(KInputs);
        out.Var(inputs.Frame);
        out.Signed(inputs.Advantage);
        out.Var(inputs.Ack);
        out.Block(inputs.Block);
        return out.Take();
    }
    std::vector<uint8_t> operator()(const Check& check) const {
        Writer out(KCheck);
        out.Var(check.Frame);
        out.U64(check.Sum);
        return out.Take();
    }
    std::vector<uint8_t> operator()(const OutOfStep& out_) const {
        Writer out(KOutOfStep);
        out.Var(out_.Frame);
        return out.Take();
    }
    std::vector<uint8_t> operator()(const Lost& lost) const {
        Writer out(KLost);
        out.U8(lost.Seat);
        out.Var(lost.KnownUpTo);
        out.Block(lost.Block);
        return out.Take();
    }
    std::vector<uint8_t> operator()(const Left& left) const {
        Writer out(KLeft);
        out.U8(left.Seat);
        out.Var(left.Last);
        out.Block(left.Block);
        return out.Take();
    }
    std::vector<uint8_t> operator()(const History& history) const {
        Writer out(KHistory);
        out.U8(static_cast<uint8_t>(history.Blocks.size()));
        for (const InputBlock& block : history.Blocks) out.Block(block);
        return out.Take();
    }
    std::vector<uint8_t> operator()(const Bye&) const { return Writer(KBye).Take(); }
    std::vector<uint8_t> operator()(const Done& done) const {
        Writer out(KDone);
        out.Var(done.Frame);
        return out.Take();
    }
};

Message DecodeBody(uint8_t kind, Reader& in) {
    switch (kind) {
        case KHello: {
            Hello hello;
            hello.Version = in.Text(MaxTextLength);
            hello.Name = in.Text(MaxNameLength);
            hello.Seat = in.Seat(0);
            hello.Secret = in.U64();
            const size_t files = in.Count(in.U16(), MaxDataFiles, 10);
            hello.Data.resize(files);
            for (DataFile& file : hello.Data) {
                file.Hash = in.U64();
                file.Name = in.Text(MaxTextLength);
            }
            return hello;
        }
        case KRefuse:
            return Refuse{in.Text(MaxTextLength)};
        case KWelcome: {
            Welcome welcome;
            welcome.Seed = in.U32();
            welcome.PointerX = in.I32();
            welcome.PointerY = in.I32();
            welcome.Seat = in.Seat();
            welcome.JoinFrame = in.Frame();
            welcome.Secret = in.U64();
            const size_t peers = in.Count(in.U8(), MaxPeers, 5);
            welcome.Peers.resize(peers);
            for (PeerEntry& peer : welcome.Peers) {
                peer.Seat = in.Seat();
                peer.Name = in.Text(MaxNameLength);
                peer.Address = in.Text(MaxTextLength);
            }
            return welcome;
        }
        case KExpect: {
            Expect expect;
            expect.Seat = in.Seat();
            expect.Secret = in.U64();
            expect.Name = in.Text(MaxNameLength);
            expect.JoinFrame = in.Frame();
            return expect;
        }
        case KInputs: {
            Inputs inputs;
            inputs.Frame = in.Frame();
            inputs.Advantage = in.Signed();
            inputs.Ack = in.Frame();
            inputs.Block = in.Block();
            return inputs;
        }
        case KCheck: {
            Check check;
            check.Frame = in.Frame();
            check.Sum = in.U64();
            return check;
        }
        case KOutOfStep:
            return OutOfStep{in.Frame()};
        case KLost: {
            Lost lost;
            lost.Seat = in.Seat();
            lost.KnownUpTo = in.Frame();
            lost.Block = in.Block();
            return lost;
        }
        case KLeft: {
            Left left;
            left.Seat = in.Seat();
            left.Last = in.Frame();
            left.Block = in.Block();
            return left;
        }
        case KHistory: {
            History history;
            // The smallest block: its seat, first frame and count of frames, a byte each.
            const size_t blocks = in.Count(in.U8(), MaxHistoryBlocks, 3);
            for (size_t i = 0; i < blocks; ++i) history.Blocks.push_back(in.Block());
            return history;
        }
        case KBye:
            return Bye{};
        case KDone:
            return Done{in.Frame()};
        default:
            throw Malformed();
    }
}

}  // namespace

std::vector<uint8_t> Encode(const Message& message) { return std::visit(EncodeVisitor{}, message); }

std::optional<Message> Decode(std::span<const uint8_t> datagram) {
    try {
        Reader in(datagram);
        Require(in.U8() == Magic0 && in.U8() == Magic1 && in.U8() == ProtocolVersion);
        const uint8_t kind = in.U8();
        Message message = DecodeBody(kind, in);
        in.End();
        return message;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace kelvane::net
