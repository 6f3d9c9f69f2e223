#pragma once
// Every seat's inputs, frame by frame, as far as they are known here. A seat's inputs
// are needed over its terms: from the frame after the host's input that seated it to
// the frame of its leave input (a seat left and taken again has two terms). A frame is
// confirmed when every input it needs is known; the frames run on predictions before
// that are run again (Rollback). The whole game stays in the log: a late joiner is
// brought up to date from it, and every machine records the same inputs.

#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "net/PlayerInput.h"
#include "world/World.h"

namespace kelvane::net {

inline constexpr uint64_t NoFrame = std::numeric_limits<uint64_t>::max();

class InputLog {
public:
    InputLog();

    // The seat's inputs are needed from `frame` on (a seat taken in frame F needs them
    // from F + 1; the host's seat from frame 1).
    void Open(int seat, uint64_t frame);

    // Stores the seat's inputs before `frame`. A Join among them opens the joining
    // seat's term after this frame; a Leave closes the seat's own term with it. False,
    // storing nothing, when the frame is outside the seat's terms or already known.
    bool Put(int seat, uint64_t frame, FrameInputs inputs);

    // Forgets what is stored of the seat after this frame (a seat being dropped: only what
    // everyone can be given counts).
    void DropAfter(int seat, uint64_t frame);

    bool Needed(int seat, uint64_t frame) const;
    // The stored inputs, or nullptr when they are not known (or not needed).
    const FrameInputs* Known(int seat, uint64_t frame) const;
    // Every needed frame of the seat up to this one is known (0: none yet).
    uint64_t KnownUpTo(int seat) const;

    // The inputs to run the frame with: the known ones, else a prediction: the keys that
    // act while held (steering, thrust, the triggers) as the seat's last known frame had
    // them; a console line or a toggle is never guessed.
    FrameInputs InputsFor(int seat, uint64_t frame) const;

    // The last frame every needed input of which is known, counting from frame 1.
    uint64_t ConfirmedUpTo() const;

private:
    struct Term {
        uint64_t First = 0;
        uint64_t Last = NoFrame;
    };
    struct SeatLog {
        std::vector<Term> Terms;
        std::vector<std::optional<FrameInputs>> Frames;  // index: frame - 1
        uint64_t KnownUpTo = 0;
    };

    SeatLog& Seat(int seat);
    const SeatLog& Seat(int seat) const;
    void Close(int seat, uint64_t frame);
    void AdvanceKnown(int seat);
    uint64_t HighestStored() const;

    std::vector<SeatLog> seats_;  // index: seat - 1
    mutable uint64_t confirmed_ = 0;  // a cache: the frames confirmed never go back
};

}  // namespace kelvane::net
