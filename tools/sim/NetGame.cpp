#include "NetGame.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "Output.h"
#include "Scenario.h"
#include "SimFolders.h"
#include "StateDump.h"
#include "app/Version.h"
#include "base/FailureReport.h"
#include "net/NetPlay.h"
#include "platform/headless/HeadlessMachine.h"
#include "replay/DataFingerprint.h"
#include "replay/ReplayWriter.h"

namespace kelvane::sim {
namespace {

using namespace kelvane::net;

// How long the runner waits, in real time, for the others before giving up.
constexpr uint64_t StallMs = 30000;
constexpr uint64_t RemindMs = 250;

void Say(const std::string& line) { std::fprintf(stderr, "kelvane-sim: %s\n", line.c_str()); }

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

        NetPlayOptions net;
        net.Listen = options_.Host;
        net.Join = options_.Join;
        net.Setup = setup;
        net.Conditions = LinkConditions{options_.NetDelayMs, options_.NetJitterMs, options_.NetLossPercent, setup.Seed};
        try {
            play_ = std::make_unique<NetPlay>(net, Say);
        } catch (const NetPlayError& error) {
            Say(error.what());
            return ExitStatus::Failure;
        }
        session_ = &play_->Session();
        if (!options_.Join.empty()) {
            if (const std::optional<std::string> problem = play_->WaitForWelcome()) {
                Say(*problem);
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
            writing.Clock = [this] { return play_->GameTimeMs(); };
            recorder_ = std::make_unique<ReplayWriter>(options_.RecordFile, ReplayHeader{session_->Seed(), setup.Data},
                                                       writing);
        }
        play_->Attach(*form_, recorder_.get());
        session_->BeforeFrame = [this](uint64_t frame) { AddSteps(frame); };
        session_->Game().FrameConfirmed = [this](uint64_t frame) { WriteDumps(frame, false); };
        WriteDumps(0, frames_ == 0);

        if (!options_.Host.empty()) {
            Say("hosting on " + play_->Link().LocalAddress() + " for " + std::to_string(options_.Players) + " players");
            if (!play_->WaitForPlayers(options_.Players, NetPlay::JoinWaitMs)) {
                Say("only " + std::to_string(session_->Seated()) + " of " + std::to_string(options_.Players) +
                    " players joined in " + std::to_string(NetPlay::JoinWaitMs / 1000) + " seconds");
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
        ConditionedLink& lockstep = *play_->Lockstep();
        uint64_t lastProgress = SteadyMs();
        for (uint64_t tick = 0;; ++tick) {
            uint64_t reminded = SteadyMs();
            while (!lockstep.InStep(tick)) {
                if (session_->State() != SessionState::Playing) return false;
                const uint64_t now = SteadyMs();
                if (now > lastProgress + StallMs) {
                    Say("the game stalled: no word from the others for " + std::to_string(StallMs / 1000) + " seconds");
                    return false;
                }
                // Those waiting with this one must not take it for gone.
                if (now > reminded + RemindMs) {
                    lockstep.Remind();
                    reminded = now;
                }
                session_->Pump(5);
                session_->Watch();
            }
            lastProgress = SteadyMs();
            lockstep.BeginTick(tick);
            machine_.Clock.Advance(TFrameTimer::Interval);
            play_->Tick(false, frames_);
            lockstep.EndTick(tick);
            if (session_->State() != SessionState::Playing) return false;
            if (session_->AllDone(frames_)) return true;
            if (form_->StartError()) return false;
        }
    }

    ExitStatus End(bool finished) {
        play_->End(finished);
        if (form_->StartError()) {
            Say("the game cannot start: " + *form_->StartError());
            return ExitStatus::Failure;
        }
        const Rollback& game = session_->Game();
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
            static_cast<unsigned long long>(counts.SyncPauses), static_cast<unsigned long long>(play_->Link().BytesSent()),
            static_cast<double>(play_->Link().BytesSent()) / seconds, static_cast<unsigned long long>(play_->Lockstep()->Dropped()));
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
    std::unique_ptr<NetPlay> play_;
    NetSession* session_ = nullptr;
    HeadlessMachine machine_;
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<ReplayWriter> recorder_;
    bool dumpsOk_ = true;
};

}  // namespace

ExitStatus RunNetGame(const SimOptions& options) { return NetRun(options).Run(); }

}  // namespace kelvane::sim
