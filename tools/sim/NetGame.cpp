#include "NetGame.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "Output.h"
#include "Scenario.h"
#include "SimFolders.h"
#include "StateDump.h"
#include "app/Version.h"
#include "base/FailureReport.h"
#include "net/ConditionedLink.h"
#include "net/EnetLink.h"
#include "net/NetSession.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/DataFingerprint.h"
#include "replay/ReplayWriter.h"

namespace kelvane::sim {
namespace {

using namespace kelvane::net;

// How long the runner waits, in real time, for the others before giving up.
constexpr uint64_t JoinWaitMs = 20000;
constexpr uint64_t StallMs = 30000;
constexpr uint64_t RemindMs = 250;
// After the end, a moment for what is still on its way out.
constexpr uint64_t LingerMs = 300;

uint64_t SteadyMs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

void Say(const std::string& line) { std::fprintf(stderr, "kelvane-sim: %s\n", line.c_str()); }

// "[ADDR:]PORT": the address to listen on ("" any) and the port (0: any free one, which
// the host then names).
void ListenAddress(const std::string& text, std::string& host, uint16_t& port) {
    const bool bare = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    std::string spelled = bare ? "any:" + text : text;
    const bool anyPort = spelled.size() >= 2 && spelled.compare(spelled.size() - 2, 2, ":0") == 0;
    if (anyPort) spelled.back() = '1';
    if (!SplitAddress(spelled, 0, host, port)) throw UsageError("--host needs [ADDR:]PORT, not '" + text + "'");
    if (anyPort) port = 0;
    if (bare) host.clear();
}

FrameInputs StepInputs(const ScenarioStep& step) {
    FrameInputs inputs;
    switch (step.Kind) {
        case ScenarioStep::StepKind::Key:
            inputs.push_back(KeyInput(step.Key, step.Shift));
            break;
        case ScenarioStep::StepKind::Keys:
            for (uint16_t key : step.Keys) inputs.push_back(KeyInput(key, 0));
            break;
        case ScenarioStep::StepKind::Mouse:
            inputs.push_back(MouseInput(static_cast<uint8_t>(step.Button)));
            break;
        case ScenarioStep::StepKind::Command:
            if (step.Command.size() > MaxCommandLength)
                throw ScenarioError("step after " + std::to_string(step.After) + ": a line longer than " +
                                    std::to_string(MaxCommandLength) + " bytes");
            inputs.push_back(CommandInput(step.Command));
            break;
        case ScenarioStep::StepKind::Set:
            throw ScenarioError("step after " + std::to_string(step.After) +
                                ": a \"set\" step writes this machine's world alone; a network game takes none");
    }
    return inputs;
}

// Waits in real time, handling the link, until `done` or the limit; false at the limit.
template <class Done>
bool WaitFor(NetSession& session, uint64_t limitMs, Done done) {
    const uint64_t until = SteadyMs() + limitMs;
    while (!done()) {
        if (SteadyMs() > until) return false;
        session.Pump(20);
        session.Watch();
    }
    return true;
}

class NetRun {
public:
    explicit NetRun(const SimOptions& options) : options_(options) {}

    ExitStatus Run() {
        Scenario scenario;
        if (!options_.ScenarioFile.empty()) scenario = LoadScenario(options_.ScenarioFile);
        for (const ScenarioStep& step : scenario.Steps) steps_.emplace_back(step.After + 1, StepInputs(step));
        std::stable_sort(steps_.begin(), steps_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        frames_ = options_.Frames ? *options_.Frames : scenario.Frames.value_or(1);
        const Result<SimFolders> found = FindSimFolders(options_.DataDir);
        if (!found) return ReportFailure("kelvane-sim", found.Error());
        const SimFolders& folders = *found;

        NetSetup setup;
        setup.Version = KelvaneVersion;
        setup.Name = options_.Name.empty() ? (options_.Host.empty() ? "guest" : "host") : options_.Name;
        setup.Data = FingerprintGameData(folders.GameDir, folders.Player);
        setup.Players = options_.Players;
        setup.Seed = options_.Seed ? *options_.Seed : scenario.Seed.value_or(1);

        std::string listenHost;
        uint16_t listenPort = 0;
        if (!options_.Host.empty()) ListenAddress(options_.Host, listenHost, listenPort);
        try {
            link_ = std::make_unique<EnetLink>(listenHost, listenPort);
        } catch (const LinkError& error) {
            Say(error.what());
            return ExitStatus::Failure;
        }
        conditioned_ = std::make_unique<ConditionedLink>(
            *link_, LinkConditions{options_.NetDelayMs, options_.NetJitterMs, options_.NetLossPercent, setup.Seed});
        session_ = options_.Host.empty()
                       ? NetSession::Join(*conditioned_, setup, options_.Join, SteadyMs, Say)
                       : NetSession::Host(*conditioned_, setup, SteadyMs, Say);
        session_->Lockstep = conditioned_.get();
        if (!options_.Join.empty()) {
            const bool answered = WaitFor(*session_, JoinWaitMs, [&] { return session_->Welcomed(); });
            if (session_->State() != SessionState::Playing) {
                Say(session_->State() == SessionState::Refused ? "the host refused: " + session_->Problem()
                                                               : session_->Problem());
                return ExitStatus::Failure;
            }
            if (!answered) {
                Say("no answer from " + options_.Join);
                return ExitStatus::Failure;
            }
        }

        machine_.Pointer.X = session_->PointerX();
        machine_.Pointer.Y = session_->PointerY();
        form_ = std::make_unique<TMainForm>(machine_.Services(folders.GameDir, session_->Seed(), folders.Player));
        form_->DrawsPictures = false;
        if (!options_.RecordFile.empty()) {
            ReplayWriterOptions writing;
            writing.Report = Say;
            // Written out by game time, so every machine's recording is the same byte for byte.
            writing.Clock = [this] { return session_->Attached() ? session_->Game().Confirmed() * TFrameTimer::Interval : 0; };
            recorder_ = std::make_unique<ReplayWriter>(options_.RecordFile, ReplayHeader{session_->Seed(), setup.Data},
                                                       writing);
        }
        session_->Attach(*form_, recorder_.get());
        session_->BeforeFrame = [this](uint64_t frame) { AddSteps(frame); };
        session_->Game().FrameConfirmed = [this](uint64_t frame) { WriteDumps(frame, false); };
        WriteDumps(0, frames_ == 0);

        if (!options_.Host.empty()) {
            Say("hosting on " + link_->LocalAddress() + " for " + std::to_string(options_.Players) + " players");
            const bool full = WaitFor(*session_, JoinWaitMs, [&] { return session_->Seated() >= options_.Players; });
            if (!full) {
                Say("only " + std::to_string(session_->Seated()) + " of " + std::to_string(options_.Players) +
                    " players joined in " + std::to_string(JoinWaitMs / 1000) + " seconds");
                return ExitStatus::Failure;
            }
        }
        const bool finished = Play();
        return End(finished);
    }

private:
    void AddSteps(uint64_t frame) {
        for (; nextStep_ < steps_.size() && steps_[nextStep_].first <= frame; ++nextStep_) {
            if (steps_[nextStep_].first < frame) continue;  // before this seat was seated
            for (const PlayerInput& input : steps_[nextStep_].second) session_->AddLocal(input);
        }
    }

    void WriteDumps(uint64_t frame, bool last) {
        for (const TickOutput& dump : options_.Dumps) {
            if ((dump.Tick && *dump.Tick == frame && frame <= frames_) || (!dump.Tick && last))
            {
                const Result<void> written =
                    WriteOutput(dump.File, DumpState(*form_, frame, &session_->Game().Sounds().Confirmed()).dump(1) + "\n");
                if (!written) {
                    ReportFailure("kelvane-sim", written.Error());
                    dumpsOk_ = false;
                }
            }
        }
    }

    // Ticks of game time, each begun once every peer has ended the one before.
    bool Play() {
        uint64_t lastProgress = SteadyMs();
        for (uint64_t tick = 0;; ++tick) {
            uint64_t reminded = SteadyMs();
            while (!conditioned_->InStep(tick)) {
                if (session_->State() != SessionState::Playing) return false;
                const uint64_t now = SteadyMs();
                if (now > lastProgress + StallMs) {
                    Say("the game stalled: no word from the others for " + std::to_string(StallMs / 1000) + " seconds");
                    return false;
                }
                // Those waiting with this one must not take it for gone.
                if (now > reminded + RemindMs) {
                    conditioned_->Remind();
                    reminded = now;
                }
                session_->Pump(5);
                session_->Watch();
            }
            lastProgress = SteadyMs();
            conditioned_->BeginTick(tick);
            session_->Pump(0);
            machine_.Clock.Advance(TFrameTimer::Interval);
            form_->MainTimer.CountTick();
            session_->Tick(false, frames_);
            conditioned_->EndTick(tick);
            if (session_->State() != SessionState::Playing) return false;
            if (session_->AllDone(frames_)) return true;
            if (form_->StartError()) return false;
        }
    }

    ExitStatus End(bool finished) {
        // A peer that cannot go on says so, rather than leaving the others to find out.
        if (!finished && session_->State() == SessionState::Playing) session_->Leave();
        conditioned_->Finish();
        const uint64_t until = SteadyMs() + LingerMs;
        while (SteadyMs() < until) session_->Pump(10);
        if (form_->StartError()) {
            Say("the game cannot start: " + *form_->StartError());
            return ExitStatus::Failure;
        }
        // The game ends at the last frame every machine agrees on.
        Rollback& game = session_->Game();
        game.RestoreConfirmed();
        if (recorder_) recorder_->Finish(form_->World);
        WriteDumps(game.Confirmed(), true);
        const SessionCounts& counts = session_->Counts();
        const RollbackCounts& rolls = game.Counts();
        const double seconds = static_cast<double>(std::max<uint64_t>(game.Confirmed(), 1)) / 25.0;
        std::printf(
            "network: %llu frames confirmed; waits beyond the %llu-frame window: %llu (longest %llu); "
            "rollbacks %llu (frames run again %llu, at most %llu ahead); sync pauses %llu; sent %llu bytes "
            "(%.0f a second of play); datagrams lost on purpose %llu\n",
            static_cast<unsigned long long>(game.Confirmed()), static_cast<unsigned long long>(Rollback::Window),
            static_cast<unsigned long long>(counts.Waits), static_cast<unsigned long long>(counts.LongestWait),
            static_cast<unsigned long long>(rolls.Rollbacks), static_cast<unsigned long long>(rolls.FramesRunAgain),
            static_cast<unsigned long long>(rolls.MostAhead),
            static_cast<unsigned long long>(counts.SyncPauses), static_cast<unsigned long long>(link_->BytesSent()),
            static_cast<double>(link_->BytesSent()) / seconds, static_cast<unsigned long long>(conditioned_->Dropped()));
        std::fflush(stdout);
        if (!finished) {
            if (!session_->Problem().empty()) Say(session_->Problem());
            return ExitStatus::Failure;
        }
        if (recorder_ && recorder_->Failed()) return ExitStatus::WriteFailed;  // its line said why
        return dumpsOk_ ? ExitStatus::Success : ExitStatus::WriteFailed;
    }

    const SimOptions& options_;
    uint64_t frames_ = 1;
    std::vector<std::pair<uint64_t, FrameInputs>> steps_;  // by the frame they go into
    size_t nextStep_ = 0;
    std::unique_ptr<EnetLink> link_;
    std::unique_ptr<ConditionedLink> conditioned_;
    std::unique_ptr<NetSession> session_;
    HeadlessMachine machine_;
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<ReplayWriter> recorder_;
    bool dumpsOk_ = true;
};

}  // namespace

ExitStatus RunNetGame(const SimOptions& options) { return NetRun(options).Run(); }

}  // namespace kelvane::sim
