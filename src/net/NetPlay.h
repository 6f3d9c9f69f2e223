#pragma once
// Driving one machine's part in a network game, the same in the game and in the runner:
// the link opened (listening for a host, any port for a joiner), the session made, a
// joiner's bounded wait for the host's answer, the form attached with its recording, one
// tick at a time, and the end (the others told, what is on its way out let go, the world
// put back to the last frame every machine agrees on).
//
//   NetPlay play(options, say);                  // throws NetPlayError: cannot listen
//   if (auto refused = play.WaitForWelcome()) ...   // a joiner, before the form is made
//   TMainForm form(services with play.Session().Seed(), its pointer);
//   play.Attach(form, recorder);
//   every tick: play.Tick(draw);  while play.Playing()
//   play.End(finished);
//
// The runner adds game time (a ConditionedLink, Conditions set): its peers run in step,
// as fast as their inputs allow; the game runs on its frame clock.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "net/ConditionedLink.h"
#include "net/EnetLink.h"
#include "net/NetSession.h"

namespace kelvane::net {

class NetPlayError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct NetPlayOptions {
    // Hosting: "[ADDR:]PORT" to listen on ("PORT" alone: every address; port 0: any free
    // one). Joining: empty.
    std::string Listen;
    // Joining: "HOST[:PORT]" (Port when none is given). Hosting: empty.
    std::string Join;
    uint16_t Port = NetSession::DefaultPort;
    NetSetup Setup;
    // The runner's link conditioner and game time; none in the game.
    std::optional<LinkConditions> Conditions;
};

class NetPlay {
public:
    // How long a joiner waits, in real time, for the host to let it in.
    static constexpr uint64_t JoinWaitMs = 20000;
    // After the end, a moment for what is still on its way out.
    static constexpr uint64_t LingerMs = 300;

    // Opens the link and the session; throws NetPlayError when it cannot listen (the port
    // taken) or the address is no address.
    NetPlay(const NetPlayOptions& options, NetSession::Say say);
    ~NetPlay();
    NetPlay(const NetPlay&) = delete;
    NetPlay& operator=(const NetPlay&) = delete;

    NetSession& Session() { return *session_; }
    const NetSession& Session() const { return *session_; }
    EnetLink& Link() { return *link_; }
    // The runner's game-time link; null in the game.
    ConditionedLink* Lockstep() { return conditioned_.get(); }

    // A joiner waits (pumping the link) until the host lets it in; what went wrong
    // otherwise: "the host refused: ...", "cannot reach ...", "no answer from ...".
    std::optional<std::string> WaitForWelcome(uint64_t limitMs = JoinWaitMs);
    // The host waits until this many people play, the host included; false at the limit.
    bool WaitForPlayers(int players, uint64_t limitMs);
    // Waits in real time, handling the link, until `done` or the limit; false at the limit.
    template <class Done>
    bool WaitFor(uint64_t limitMs, Done done);

    // The form, made with the session's seed and pointer, is driven from here on; the
    // recorder sees the confirmed frames.
    void Attach(TMainForm& form, IFrameObserver* recorder);
    // Game time in milliseconds (40 a confirmed frame): a recording of a network game is
    // written out by it, so every machine's splits its frames the same way.
    uint64_t GameTimeMs() const;

    // One tick of the frame clock: what arrived handled (without waiting), the tick
    // counted for the frame rate, then the session's frames (none while waiting, more
    // while catching up).
    void Tick(bool draw, uint64_t lastFrame = NoFrame);
    bool Playing() const { return session_->State() == SessionState::Playing; }

    // The game ends here: a game not finished tells the others it leaves; what is on its
    // way out goes; the world is put back to the last confirmed frame (where the
    // recording ends).
    void End(bool finished);

private:
    std::unique_ptr<EnetLink> link_;
    std::unique_ptr<ConditionedLink> conditioned_;
    std::unique_ptr<NetSession> session_;
    TMainForm* form_ = nullptr;
    std::string join_;
    bool ended_ = false;
};

// Steady milliseconds: the session's clock.
uint64_t SteadyMs();

// "[ADDR:]PORT" as --host takes it: the address to listen on ("" any) and the port (0:
// any free one). Throws UsageError naming the text.
void ListenAddress(const std::string& text, std::string& host, uint16_t& port);

template <class Done>
bool NetPlay::WaitFor(uint64_t limitMs, Done done) {
    const uint64_t until = SteadyMs() + limitMs;
    while (!done()) {
        if (SteadyMs() > until) return false;
        session_->Pump(20);
        session_->Watch();
    }
    return true;
}

}  // namespace kelvane::net
