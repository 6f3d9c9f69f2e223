#pragma once
// A network game in the real game: this person's part of it, hosted or joined, on the
// frame timer. Each tick handles what arrived and runs the session's frames (a frame's
// picture is this person's view); the person's keys and clicks travel as inputs for the
// next frame. Like the game for one it is recorded; it goes on without the window's
// focus and while the window is minimised, since the others play on. Over the picture
// stand the host's address while nobody has joined, who paused, whom the game waits for,
// and, when the machines went out of step, that the game stopped there.

#include <ctime>
#include <deque>
#include <memory>
#include <string>

#include "app/RecordedGame.h"
#include "net/NetPlay.h"
#include "text/Language.h"

namespace kelvane {

class NetworkGame : public RecordedGame {
public:
    // play: the session, a joiner's already let in. hosting: the line telling the
    // host's address ("hosting on ..."), shown until someone joins; empty for a joiner.
    NetworkGame(std::unique_ptr<net::NetPlay> play, std::string hosting, std::string folder, const std::tm& startTime,
                SayLine say);
    ~NetworkGame() override;

    MainFormServices Services(const MainFormServices& platform) override;
    void Begin(TMainForm& form) override;
    kelvane::GameInput& Input() override { return keys_; }
    bool Ticking() const override { return play_->Playing(); }
    bool TicksUnfocused() const override { return true; }
    // Leaves the game (the others are told), then ends the recording at the last frame
    // every machine agrees on.
    void End(TMainForm& form) override;
    StandingLine Standing() const override;
    ExitStatus Outcome() const override;

    net::NetSession& Session() { return play_->Session(); }

protected:
    void RunTick(TMainForm& form) override;

private:
    // The person's keys and clicks, as inputs of their seat for the next frame.
    class OwnKeys : public kelvane::GameInput {
    public:
        explicit OwnKeys(NetworkGame& game) : game_(game) {}
        void KeyPressed(uint16_t key, ShiftState shift) override;
        void MouseClick(int button, ShiftState shift, int32_t x, int32_t y) override;
        bool ConsoleOpen() const override;

    private:
        NetworkGame& game_;
    };
    // Frames run whether or not the window shows: a minimised window must not stop the
    // world here while it goes on everywhere else.
    class AlwaysDrawing : public IPresenter {
    public:
        IPresenter* Window = nullptr;
        bool CanDraw() override { return true; }
        void Present(const uint32_t* pixels, int width, int height) override;
    };
    // Everyone's loading reads the host's pointer; the real one is only hidden.
    class SharedPointer : public IPointer {
    public:
        IPointer* Real = nullptr;
        int32_t X = 0;
        int32_t Y = 0;
        void HideCursor() override;
        void GetCursorPos(int32_t& x, int32_t& y) override;
    };

    static bool IsConsoleKey(const net::PlayerInput& input);

    std::unique_ptr<net::NetPlay> play_;
    std::string hosting_;
    OwnKeys keys_{*this};
    AlwaysDrawing presenter_;
    SharedPointer pointer_;
    const Language* texts_ = &OriginalLanguage();
    TMainForm* form_ = nullptr;
    // The person's inputs not yet handed to the session, and whether the batch handed
    // over last has gone into a frame (see RunTick).
    std::deque<net::PlayerInput> waiting_;
    bool batchPending_ = false;
    int batchFlips_ = 0;  // console keys in that batch
};

}  // namespace kelvane
