#include "net/NetPlay.h"

#include <chrono>

#include "base/Result.h"
#include "game/FrameTimer.h"

namespace kelvane::net {

uint64_t SteadyMs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

void ListenAddress(const std::string& text, std::string& host, uint16_t& port) {
    const bool bare = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    std::string spelled = bare ? "any:" + text : text;
    const bool anyPort = spelled.size() >= 2 && spelled.compare(spelled.size() - 2, 2, ":0") == 0;
    if (anyPort) spelled.back() = '1';
    if (!SplitAddress(spelled, 0, host, port)) throw UsageError("--host needs [ADDR:]PORT, not '" + text + "'");
    if (anyPort) port = 0;
    if (bare) host.clear();
}

NetPlay::NetPlay(const NetPlayOptions& options, NetSession::Say say) {
    std::string listenHost;
    uint16_t listenPort = 0;
    if (options.Join.empty()) ListenAddress(options.Listen, listenHost, listenPort);
    try {
        link_ = std::make_unique<EnetLink>(listenHost, listenPort);
    } catch (const LinkError& error) {
        throw NetPlayError(error.what());
    }
    ILink* link = link_.get();
    if (options.Conditions) {
        conditioned_ = std::make_unique<ConditionedLink>(*link_, *options.Conditions);
        link = conditioned_.get();
    }
    if (options.Join.empty()) {
        session_ = NetSession::Host(*link, options.Setup, SteadyMs, std::move(say));
    } else {
        // "HOST" alone means the game's own port.
        std::string host;
        uint16_t port = 0;
        join_ = SplitAddress(options.Join, options.Port, host, port) ? JoinAddress(host, port) : options.Join;
        session_ = NetSession::Join(*link, options.Setup, join_, SteadyMs, std::move(say));
    }
    session_->Lockstep = conditioned_.get();
}

NetPlay::~NetPlay() = default;

std::optional<std::string> NetPlay::WaitForWelcome(uint64_t limitMs) {
    const bool answered = WaitFor(limitMs, [&] { return session_->Welcomed(); });
    switch (session_->State()) {
        case SessionState::Playing:
            return std::nullopt;
        case SessionState::Refused:
            return "the host refused: " + session_->Problem();
        default:
            if (!answered) return "no answer from " + join_;
            return session_->Problem();
    }
}

bool NetPlay::WaitForPlayers(int players, uint64_t limitMs) {
    return WaitFor(limitMs, [&] { return session_->Seated() >= players; });
}

void NetPlay::Attach(TMainForm& form, IFrameObserver* recorder) {
    form_ = &form;
    session_->Attach(form, recorder);
}

uint64_t NetPlay::GameTimeMs() const {
    return session_->Attached() ? session_->Game().Confirmed() * TFrameTimer::Interval : 0;
}

void NetPlay::Tick(bool draw, uint64_t lastFrame) {
    session_->Pump(0);
    if (form_) form_->MainTimer.CountTick();
    session_->Tick(draw, lastFrame);
}

void NetPlay::End(bool finished) {
    if (ended_) return;
    ended_ = true;
    // A machine that cannot go on says so, rather than leaving the others to find out.
    if (!finished && Playing()) session_->Leave();
    if (conditioned_) conditioned_->Finish();
    const uint64_t until = SteadyMs() + LingerMs;
    while (SteadyMs() < until) session_->Pump(10);
    // The game ends at the last frame every machine agrees on.
    if (session_->Attached()) session_->Game().RestoreConfirmed();
}

}  // namespace kelvane::net
