#include "app/NetworkGame.h"

#include <algorithm>

#include "world/PlayerSeats.h"

namespace kelvane {

NetworkGame::NetworkGame(std::unique_ptr<net::NetPlay> play, std::string hosting, std::string folder,
                         const std::tm& startTime, SayLine say)
    : RecordedGame(std::move(folder), startTime, play->Session().Seed(), std::move(say), Pilot::Classic,
                   // Written out by game time, as every other machine writes its recording.
                   [this] { return play_->GameTimeMs(); }),
      play_(std::move(play)),
      hosting_(std::move(hosting)) {}

NetworkGame::~NetworkGame() = default;

MainFormServices NetworkGame::Services(const MainFormServices& platform) {
    MainFormServices services = RecordedGame::Services(platform);
    presenter_.Window = platform.Presenter;
    services.Presenter = &presenter_;
    pointer_.Real = platform.Pointer;
    pointer_.X = play_->Session().PointerX();
    pointer_.Y = play_->Session().PointerY();
    services.Pointer = &pointer_;
    if (platform.Texts) texts_ = platform.Texts;
    return services;
}

void NetworkGame::Begin(TMainForm& form) {
    RecordedGame::Begin(form);
    form_ = &form;
    // The recording sees only the frames every machine agrees on: the session hands them on.
    IFrameObserver* recorder = form.Observer;
    form.Observer = nullptr;
    play_->Attach(form, recorder);
}

// The person's inputs go into frames in batches, each console key beginning a batch of
// its own: a frame's typing takes the keys after its console key (those before were
// pressed while the console was closed), so a line typed and the console closed while
// the game waited a moment must not meet in one frame.
void NetworkGame::RunTick(TMainForm&) {
    net::NetSession& session = play_->Session();
    if (!batchPending_ && !waiting_.empty()) {
        batchFlips_ = 0;
        do {
            if (IsConsoleKey(waiting_.front())) ++batchFlips_;
            session.AddLocal(std::move(waiting_.front()));
            waiting_.pop_front();
        } while (!waiting_.empty() && !IsConsoleKey(waiting_.front()));
        batchPending_ = true;
    }
    const uint64_t before = session.Game().Frame();
    play_->Tick(true);
    if (session.Game().Frame() != before) {
        batchPending_ = false;
        batchFlips_ = 0;
    }
}

bool NetworkGame::IsConsoleKey(const net::PlayerInput& input) {
    return input.Kind == net::InputKind::Key && input.Key == ConsoleKey;
}

void NetworkGame::End(TMainForm& form) {
    play_->End(false);
    RecordedGame::End(form);
}

StandingLine NetworkGame::Standing() const {
    const net::NetSession& session = play_->Session();
    const std::string leave(texts_->Translate("Close the window to leave."));
    if (session.State() == net::SessionState::OutOfStep)
        return {session.Problem(), std::string(texts_->Translate("Your recording of the game is kept.")) + " " + leave};
    if (session.State() != net::SessionState::Playing) return {session.Problem(), leave};
    if (const std::vector<std::string> late = session.WaitingFor(); !late.empty()) {
        std::string names;
        for (const std::string& name : late) names += (names.empty() ? "" : ", ") + name;
        return {texts_->Format("waiting for %s", {names}), {}};
    }
    if (form_) {
        const World& world = form_->World;
        if (world.Paused && world.PausedBy >= 1 && world.PausedBy <= MaxSeats)
            return {texts_->Format("paused by %s", {world.Seats[world.PausedBy].Name}), {}};
    }
    if (!hosting_.empty() && session.Seated() <= 1)
        return {hosting_, std::string(texts_->Translate("Others join with kelvane --join and one of these addresses."))};
    return {};
}

ExitStatus NetworkGame::Outcome() const {
    return play_->Session().State() == net::SessionState::OutOfStep ? ExitStatus::Failure : ExitStatus::Success;
}

void NetworkGame::OwnKeys::KeyPressed(uint16_t key, ShiftState shift) {
    game_.waiting_.push_back(net::KeyInput(key, shift));
}

void NetworkGame::OwnKeys::MouseClick(int button, ShiftState, int32_t, int32_t) {
    game_.waiting_.push_back(net::MouseInput(static_cast<uint8_t>(button)));
}

// The console of this person's seat, flipped by every console key pressed that no frame
// has taken yet: keys typed quickly after it are the console's (or the flight's) already.
bool NetworkGame::OwnKeys::ConsoleOpen() const {
    if (!game_.form_) return false;
    const World& world = game_.form_->World;
    const int seat = game_.play_->Session().Seat();
    const bool open = SeatJoined(world, seat) && world.Seats[seat].ConsoleOpen;
    const auto flips = game_.batchFlips_ + std::count_if(game_.waiting_.begin(), game_.waiting_.end(), IsConsoleKey);
    return open != (flips % 2 == 1);
}

void NetworkGame::AlwaysDrawing::Present(const uint32_t* pixels, int width, int height) {
    if (Window && Window->CanDraw()) Window->Present(pixels, width, height);
}

void NetworkGame::SharedPointer::HideCursor() {
    if (Real) Real->HideCursor();
}

void NetworkGame::SharedPointer::GetCursorPos(int32_t& x, int32_t& y) {
    x = X;
    y = Y;
}

}  // namespace kelvane
