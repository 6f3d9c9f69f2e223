#include "media/Sound.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "media/Mixer.h"
#include "media/WaveConvert.h"

namespace kelvane {

namespace {

// Holds the output's lock for one change to the voices.
class VoiceLock {
public:
    explicit VoiceLock(TSoundDevice& device) : device_(device) { device_.Lock(); }
    ~VoiceLock() { device_.Unlock(); }
    VoiceLock(const VoiceLock&) = delete;
    VoiceLock& operator=(const VoiceLock&) = delete;

private:
    TSoundDevice& device_;
};

}  // namespace

// An initialised item: its converted samples, the main buffer (used by looped items)
// and the copies that one-shot plays sound on. Voices live on the heap so the mixer's
// pointers to them stay valid while the copy list is reordered or grows.
struct TWaveList::Playback {
    const TWaveCollectionItem* Item = nullptr;
    std::vector<int16_t> Samples;
    Voice Main;
    std::vector<std::unique_ptr<Voice>> Copies;
};

// ---- TSoundDevice ------------------------------------------------------------------

TSoundDevice::TSoundDevice(IAudioOutput* output) : output_(output), mixer_(std::make_unique<Mixer>()) {}

TSoundDevice::~TSoundDevice() {
    Finalize();
    for (TWaveList* list : lists_) list->device_ = nullptr;
}

void TSoundDevice::InitializeSound() {
    if (initialized_) Finalize();
    if (!output_) throw std::runtime_error("Sound device cannot be opened: no sound output");
    Mixer* mixer = mixer_.get();
    format_ = output_->Open([mixer](int16_t* samples, int frames) { mixer->Mix(samples, frames); });
    if (format_.Frequency <= 0 || format_.Channels < 1) {
        output_->Close();
        throw std::runtime_error("Sound device cannot be opened: unusable sound format");
    }
    initialized_ = true;
    {
        VoiceLock lock(*this);
        mixer_->SetChannels(format_.Channels);
    }
    try {
        for (TWaveList* list : lists_) list->InitializeItems();
    } catch (...) {
        Finalize();
        throw;
    }
}

void TSoundDevice::Finalize() {
    if (!initialized_) return;
    for (TWaveList* list : lists_) list->FinalizeItems();
    output_->Close();
    // The callback has stopped with Close, so the mixer can be emptied without the lock.
    mixer_->DetachAll();
    mixer_->SetChannels(0);
    initialized_ = false;
}

void TSoundDevice::Bind(TWaveList* list) {
    if (list && std::find(lists_.begin(), lists_.end(), list) == lists_.end()) lists_.push_back(list);
}

void TSoundDevice::Unbind(TWaveList* list) {
    lists_.erase(std::remove(lists_.begin(), lists_.end(), list), lists_.end());
}

void TSoundDevice::Lock() {
    if (initialized_) output_->Lock();
}

void TSoundDevice::Unlock() {
    if (initialized_) output_->Unlock();
}

// ---- TWaveList ---------------------------------------------------------------------

TWaveList::TWaveList(TSoundDevice* device) : device_(device) {
    if (device_) device_->Bind(this);
}

TWaveList::~TWaveList() {
    FinalizeItems();
    if (device_) device_->Unbind(this);
}

void TWaveList::CheckIndex(int32_t index) const {
    if (index < 0 || index >= Count())
        throw std::runtime_error("List index out of bounds (" + std::to_string(index) + ")");
}

TWaveCollectionItem& TWaveList::Item(int32_t index) {
    CheckIndex(index);
    return *Items[static_cast<size_t>(index)];
}

TWaveList::Playback* TWaveList::PlaybackOf(int32_t index) const {
    if (!device_ || !device_->Initialized()) return nullptr;
    const size_t i = static_cast<size_t>(index);
    if (index < 0 || i >= playback_.size() || i >= Items.size() || !playback_[i]) return nullptr;
    // Items put into the list after it was initialised have no buffer yet.
    if (playback_[i]->Item != Items[i].get()) return nullptr;
    return playback_[i].get();
}

void TWaveList::Play(int32_t index, bool wait) {
    CheckIndex(index);
    if (playCounts_.size() < Items.size()) playCounts_.resize(Items.size(), 0);
    ++playCounts_[static_cast<size_t>(index)];

    Playback* playback = PlaybackOf(index);
    if (!playback) return;
    const TWaveCollectionItem& item = *Items[static_cast<size_t>(index)];
    Voice* started = nullptr;
    {
        VoiceLock lock(*device_);
        if (item.Looped) {
            // A looped wave has only its main buffer: playing it again starts it over.
            playback->Main.Rewind();
            playback->Main.Start(true);
            return;
        }
        started = ChooseCopy(*playback, std::max(0, item.MaxPlayingCount));
        started->Rewind();
        started->Start(false);
    }
    if (wait) WaitUntilStopped(started);
}

Voice* TWaveList::ChooseCopy(Playback& playback, int32_t maxPlayingCount) {
    for (const std::unique_ptr<Voice>& copy : playback.Copies) {
        if (!copy->Sounding()) return copy.get();
    }
    if (maxPlayingCount == 0 || playback.Copies.size() < static_cast<size_t>(maxPlayingCount)) {
        auto copy = std::make_unique<Voice>();
        copy->Samples = playback.Main.Samples;
        copy->Frames = playback.Main.Frames;
        device_->GetMixer().Attach(copy.get());
        playback.Copies.push_back(std::move(copy));
        return playback.Copies.back().get();
    }
    // At the limit the oldest copy in the list is cut off, restarted and put last.
    std::rotate(playback.Copies.begin(), playback.Copies.begin() + 1, playback.Copies.end());
    return playback.Copies.back().get();
}

void TWaveList::WaitUntilStopped(const Voice* copy) {
    // An output that is not pulling (the headless one, or a paused device) would never
    // stop the copy, so the wait ends at the latest when the copy's own length has passed.
    const int frequency = device_->Format().Frequency;
    size_t framesLeft = 0;
    {
        VoiceLock lock(*device_);
        framesLeft = copy->Frames - std::min(copy->Position, copy->Frames);
    }
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(framesLeft * 1000 / static_cast<size_t>(frequency) + 100);
    while (std::chrono::steady_clock::now() < deadline) {
        bool sounding = false;
        {
            VoiceLock lock(*device_);
            sounding = copy->Sounding();
        }
        if (!sounding) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

uint64_t TWaveList::PlayCount(int32_t index) const {
    CheckIndex(index);
    const size_t i = static_cast<size_t>(index);
    return i < playCounts_.size() ? playCounts_[i] : 0;
}

void TWaveList::SetLooped(int32_t index, bool looped) {
    TWaveCollectionItem& item = Item(index);
    if (item.Looped == looped) return;
    item.Looped = looped;
    Playback* playback = PlaybackOf(index);
    if (!playback) return;
    VoiceLock lock(*device_);
    playback->Main.Rewind();
    for (const std::unique_ptr<Voice>& copy : playback->Copies) copy->Rewind();
}

void TWaveList::SetMaxPlayingCount(int32_t index, int32_t count) {
    TWaveCollectionItem& item = Item(index);
    count = std::max(0, count);
    if (item.MaxPlayingCount == count) return;
    item.MaxPlayingCount = count;
    if (Playback* playback = PlaybackOf(index)) FreeCopies(*playback);
}

void TWaveList::FreeCopies(Playback& playback) {
    VoiceLock lock(*device_);
    for (const std::unique_ptr<Voice>& copy : playback.Copies) device_->GetMixer().Detach(copy.get());
    playback.Copies.clear();
}

void TWaveList::InitializeItems() {
    FinalizeItems();
    if (!device_ || !device_->Initialized()) return;
    // Conversion is done before taking the lock: the callback must not wait for it.
    std::vector<std::unique_ptr<Playback>> made(Items.size());
    for (size_t i = 0; i < Items.size(); ++i) {
        std::vector<int16_t> samples = ConvertWave(Items[i]->Wave, device_->Format());
        if (samples.empty()) continue;
        auto playback = std::make_unique<Playback>();
        playback->Item = Items[i].get();
        playback->Samples = std::move(samples);
        playback->Main.Samples = playback->Samples.data();
        playback->Main.Frames = playback->Samples.size() / static_cast<size_t>(device_->Format().Channels);
        made[i] = std::move(playback);
    }
    VoiceLock lock(*device_);
    for (const std::unique_ptr<Playback>& playback : made) {
        if (playback) device_->GetMixer().Attach(&playback->Main);
    }
    playback_ = std::move(made);
}

void TWaveList::FinalizeItems() {
    if (playback_.empty()) return;
    if (device_) {
        VoiceLock lock(*device_);
        for (const std::unique_ptr<Playback>& playback : playback_) {
            if (!playback) continue;
            device_->GetMixer().Detach(&playback->Main);
            for (const std::unique_ptr<Voice>& copy : playback->Copies)
                device_->GetMixer().Detach(copy.get());
        }
    }
    playback_.clear();
}

bool TWaveList::ItemInitialized(int32_t index) const {
    CheckIndex(index);
    return PlaybackOf(index) != nullptr;
}

const Voice* TWaveList::MainVoice(int32_t index) const {
    CheckIndex(index);
    const Playback* playback = PlaybackOf(index);
    return playback ? &playback->Main : nullptr;
}

int32_t TWaveList::CopyCount(int32_t index) const {
    CheckIndex(index);
    const Playback* playback = PlaybackOf(index);
    return playback ? static_cast<int32_t>(playback->Copies.size()) : 0;
}

const Voice* TWaveList::CopyVoice(int32_t index, int32_t copy) const {
    CheckIndex(index);
    const Playback* playback = PlaybackOf(index);
    if (!playback || copy < 0 || static_cast<size_t>(copy) >= playback->Copies.size()) return nullptr;
    return playback->Copies[static_cast<size_t>(copy)].get();
}

int32_t TWaveList::SoundingCount(int32_t index) const {
    CheckIndex(index);
    const Playback* playback = PlaybackOf(index);
    if (!playback) return 0;
    VoiceLock lock(*device_);
    int32_t sounding = playback->Main.Sounding() ? 1 : 0;
    for (const std::unique_ptr<Voice>& copy : playback->Copies) sounding += copy->Sounding() ? 1 : 0;
    return sounding;
}

}  // namespace kelvane
