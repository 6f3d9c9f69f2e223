#pragma once
// Sound playback: the sound device with its mixer, and the wave list whose items
// are started by index. Each Play of a one-shot wave sounds on a copy of the item's
// buffer; copies are reused once they have stopped, as many as were ever needed at once.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/Platform.h"
#include "media/WaveItem.h"

namespace kelvane {

class TWaveList;
class Mixer;
struct Voice;

class TSoundDevice {
public:
    explicit TSoundDevice(IAudioOutput* output);
    ~TSoundDevice();
    TSoundDevice(const TSoundDevice&) = delete;
    TSoundDevice& operator=(const TSoundDevice&) = delete;

    // Opens the output (closing it first if open) and initialises every bound wave
    // list's items. Throws with the platform's message when no device opens.
    void InitializeSound();
    void Finalize();
    bool Initialized() const { return initialized_; }
    AudioFormat Format() const { return format_; }

    void Bind(TWaveList* list);
    void Unbind(TWaveList* list);
    Mixer& GetMixer() { return *mixer_; }

    // Voice changes bracketed so the audio callback never sees them half done.
    void Lock();
    void Unlock();

private:
    IAudioOutput* output_;
    std::unique_ptr<Mixer> mixer_;
    bool initialized_ = false;
    AudioFormat format_{};
    std::vector<TWaveList*> lists_;
};

class TWaveList : public WaveCollection {
public:
    explicit TWaveList(TSoundDevice* device = nullptr);
    ~TWaveList();
    TWaveList(const TWaveList&) = delete;
    TWaveList& operator=(const TWaveList&) = delete;

    int32_t Count() const { return static_cast<int32_t>(Items.size()); }
    // Throws "List index out of bounds (%d)".
    TWaveCollectionItem& Item(int32_t index);

    // Replaces all items with a sound archive's; initialises them when the device is open.
    void LoadFromFile(const std::string& path);

    // Starts item `index`; with wait it returns only once that copy has stopped.
    // Throws "List index out of bounds (%d)" for a bad index.
    void Play(int32_t index, bool wait = false);
    // How often each item was asked to play (for the headless runner's state dump).
    uint64_t PlayCount(int32_t index) const;

    // Changing Looped stops the item's main buffer and all its copies.
    void SetLooped(int32_t index, bool looped);
    // Changing the limit (a negative one counts as 0) frees all copies of the item.
    void SetMaxPlayingCount(int32_t index, int32_t count);

    // Gives every item with a playable wave its main buffer (the device must be open).
    void InitializeItems();
    void FinalizeItems();

    // What the item is doing, for tests and the runner. An item is initialised when it
    // has a main buffer; copies are listed in the order Play looks through them.
    bool ItemInitialized(int32_t index) const;
    const Voice* MainVoice(int32_t index) const;
    int32_t CopyCount(int32_t index) const;
    const Voice* CopyVoice(int32_t index, int32_t copy) const;
    int32_t SoundingCount(int32_t index) const;

private:
    friend class TSoundDevice;
    struct Playback;

    void CheckIndex(int32_t index) const;
    // The item's playing state, or nullptr when it has no main buffer (device closed,
    // empty or unplayable wave, or an item added after the list was initialised).
    Playback* PlaybackOf(int32_t index) const;
    Voice* ChooseCopy(Playback& playback, int32_t maxPlayingCount);
    void WaitUntilStopped(const Voice* copy);
    void FreeCopies(Playback& playback);

    TSoundDevice* device_;
    std::vector<std::unique_ptr<Playback>> playback_;
    std::vector<uint64_t> playCounts_;
};

}  // namespace kelvane
