#pragma once
// One machine's part in a network game: the host, who lets people in, or someone who
// joined. It speaks the protocol (Packets.h) over the link, feeds the inputs it gets to
// the rollback, sends this seat's inputs to every peer until they are acknowledged,
// compares world checksums every 25 frames, and agrees with the others on when someone
// who left or fell silent for 5 seconds is gone.
//
//   session = NetSession::Host(link, setup, clock, say);   // or Join(..., "host:26524", ...)
//   while (!session->Welcomed()) session->Pump(50);         // a joiner: until let in or refused
//   TMainForm form(services with session->Seed(), its pointer);
//   session->Attach(form, recorder);
//   every tick: session->Pump(0); session->AddLocal(...); session->Tick(draw);

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/Settings.h"
#include "net/ConditionedLink.h"
#include "net/Link.h"
#include "net/Packets.h"
#include "net/Rollback.h"

namespace kelvane::net {

struct NetSetup {
    std::string Version;         // of the game: everyone must play the same
    std::string Name;            // this person's
    std::vector<DataFile> Data;  // the game data's fingerprint: everyone's must be the same
    // Host: the game begins once this many play (the runner); 0: at once, others join as
    // they come (the game).
    int Players = 0;
    uint32_t Seed = 0;  // host: the game's seed, given to everyone
    int32_t PointerX = 0;  // host: the pointer the loading reads, the same for everyone
    int32_t PointerY = 0;
};

enum class SessionState : uint8_t {
    Joining,    // a joiner not yet let in
    Playing,
    Refused,    // the host said no (Problem says why)
    Failed,     // the host could not be reached, or went away before letting us in
    OutOfStep,  // two machines' worlds differed: the game stopped
};

struct SessionCounts {
    uint64_t Waits = 0;       // ticks in which the game waited for someone's inputs
    uint64_t LongestWait = 0; // the most ticks in a row it waited
    uint64_t SyncPauses = 0;  // ticks left out so that slower machines catch up
    uint64_t BytesSent = 0;   // datagram bytes handed to the link
    uint64_t DatagramsSent = 0;
};

class NetSession {
public:
    using Clock = std::function<uint64_t()>;                 // steady milliseconds
    using Say = std::function<void(const std::string&)>;     // a line for the person

    static constexpr uint16_t DefaultPort = DefaultNetworkPort;
    static constexpr uint64_t SilenceMs = 5000;

    static std::unique_ptr<NetSession> Host(ILink& link, NetSetup setup, Clock clock, Say say);
    static std::unique_ptr<NetSession> Join(ILink& link, NetSetup setup, const std::string& address, Clock clock,
                                            Say say);
    ~NetSession();
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;

    // Handles what the link brings, waiting at most waitMs for the first of it.
    void Pump(uint32_t waitMs);

    SessionState State() const { return state_; }
    const std::string& Problem() const { return problem_; }
    bool Welcomed() const { return state_ != SessionState::Joining; }
    bool IsHost() const { return host_; }
    int Seat() const { return seat_; }
    uint32_t Seed() const { return setup_.Seed; }
    int32_t PointerX() const { return setup_.PointerX; }
    int32_t PointerY() const { return setup_.PointerY; }
    // Host: the people let in so far, the host included.
    int Seated() const;

    // The form, made with Seed and the pointer, is driven from here from now on; the
    // recorder sees the confirmed frames.
    void Attach(TMainForm& form, IFrameObserver* recorder);
    Rollback& Game() { return *game_; }
    const Rollback& Game() const { return *game_; }
    bool Attached() const { return game_ != nullptr; }

    // An input of this person, for the next frame.
    void AddLocal(PlayerInput input);
    // One tick of the frame clock: corrects the world, runs the next frame (none while
    // waiting or letting slower machines catch up, more while catching up), and sends
    // this seat's inputs and checksums. No frame after lastFrame is run.
    void Tick(bool draw, uint64_t lastFrame = NoFrame);

    // Between ticks, while waiting: notices who has fallen silent, and ends the leaves
    // agreed on.
    void Watch();
    // The runner's end: this machine has confirmed lastFrame, told the others, and heard
    // the same from everyone still playing.
    bool AllDone(uint64_t lastFrame) const;
    // Leaving: everyone is told; the link is let go.
    void Leave();
    // The names of those whose inputs the game has waited for longer than the frames it
    // may predict (8 ticks without a frame); none while it runs.
    std::vector<std::string> WaitingFor() const;
    bool Waiting() const { return waitedLastTick_; }
    const SessionCounts& Counts() const { return counts_; }

    // In game time (the runner): peers are kept in step through this link.
    ConditionedLink* Lockstep = nullptr;
    // Called before this machine first runs a frame, with its number: the place to add
    // the local inputs meant for that very frame (a runner's scripted steps).
    std::function<void(uint64_t frame)> BeforeFrame;

private:
    struct Remote {
        bool InGame = false;     // the seat is taken (known from the host)
        PeerId Peer = 0;         // bound: datagrams from it count
        std::string Name;
        std::string Address;
        uint64_t Secret = 0;     // what its Hello must carry
        uint64_t JoinFrame = 0;  // the frame in which the seat was taken (0: the host's)
        uint64_t Ack = 0;        // this seat's inputs it knows, up to
        uint64_t Frame = 0;      // its newest frame, as it last said
        int32_t Advantage = 0;   // its frame less ours, as it last said
        uint64_t ExpectedMs = 0; // when we learnt of the seat (it must connect within 5 s)
        uint64_t HeardMs = 0;
        uint64_t DoneFrame = 0;
        uint64_t HistorySent = 0;  // host: frames of history given to it
        bool Lost = false;       // we no longer take its inputs
        bool Gone = false;       // its leave is agreed
    };
    struct LossVote {
        std::map<int, uint64_t> Known;  // reporting seat -> the lost seat's inputs known up to
        bool Asked = false;
    };

    NetSession(ILink& link, NetSetup setup, Clock clock, Say say, bool host);

    // Joining (SessionJoining.cpp).
    void OnConnected(PeerId peer);
    void OnHello(PeerId peer, const Hello& hello);
    void Admit(PeerId peer, const Hello& hello);
    void RefuseJoin(PeerId peer, const std::string& reason);
    void OnWelcome(PeerId peer, const Welcome& welcome);
    void OnExpect(const Expect& expect);
    void SendHistory();
    Hello MyHello(int seat, uint64_t secret) const;
    std::string Mismatch(const Hello& hello) const;
    void Bind(int seat, PeerId peer);

    // Leaving (SessionLeaving.cpp).
    // Stops taking the seat's inputs and lets its connection go.
    void Drop(int seat);
    // Drop, then tells the deciding seat what this machine knows of it.
    void Lose(int seat);
    void OnLost(int from, const Lost& lost);
    void OnLeft(const Left& left);
    void Decide();
    int Authority() const;
    bool Present(int seat) const;
    InputBlock LastInputs(int seat, uint64_t upTo) const;
    void TakeInputs(const InputBlock& block, uint64_t upTo);
    void CheckSilence();

    // Playing (NetSession.cpp).
    void OnDatagram(PeerId peer, const std::vector<uint8_t>& data);
    void OnMessage(int seat, PeerId peer, Message message);
    void OnInputs(int seat, const Inputs& inputs);
    void OnCheck(int seat, const Check& check);
    void GoOutOfStep(uint64_t frame);
    void SendInputs();
    void Send(PeerId peer, const Message& message, bool reliable);
    void SendToAll(const Message& message);
    int SeatOf(PeerId peer) const;
    int FramesThisTick();
    void Compare(uint64_t frame);

    ILink& link_;
    NetSetup setup_;
    Clock clock_;
    Say say_;
    bool host_;
    SessionState state_;
    std::string problem_;
    int seat_ = 0;
    uint64_t secret_ = 0;
    uint64_t joinFrame_ = 0;
    PeerId hostPeer_ = 0;
    std::array<Remote, MaxSeats + 1> remotes_{};
    std::map<PeerId, int> dialing_;  // connections made to reach a seat
    std::map<PeerId, Hello> unexpected_;  // greetings of seats the host has not announced yet
    std::map<int, LossVote> votes_;  // the authority's: per lost seat
    std::map<int, uint64_t> reported_;  // lost seats not yet agreed on, and what this machine knew
    int lastAuthority_ = 0;
    std::vector<std::pair<PeerId, Message>> early_;  // arrived before the form was attached
    std::unique_ptr<Rollback> game_;
    std::map<uint64_t, uint64_t> ownSums_;                 // frame -> checksum here
    std::map<uint64_t, std::map<int, uint64_t>> theirSums_;  // frame -> seat -> checksum
    bool doneSent_ = false;
    bool waitedLastTick_ = false;
    uint64_t waitRun_ = 0;
    uint64_t idleTicks_ = 0;  // ticks in a row that ran no frame (waiting, or letting others catch up)
    SessionCounts counts_;
};

// "bob was refused: ..." and the like use this: the first file in name order that differs
// between the host's data and the joiner's.
std::string DataDifference(const std::vector<DataFile>& host, const std::vector<DataFile>& joiner);

}  // namespace kelvane::net
