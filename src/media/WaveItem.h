#pragma once
// The stored part of a sound item: what a sound archive holds for it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelvane {

struct WaveData {
    std::vector<uint8_t> Format;   // the "fmt " chunk, byte for byte (WAVEFORMATEX layout)
    std::vector<uint8_t> Samples;  // the "data" chunk

    bool Empty() const { return Samples.empty() || Format.empty(); }
};

struct TWaveCollectionItem {
    std::string Name;
    bool Looped = false;
    int32_t MaxPlayingCount = 0;  // never below 0; 0 = no limit
    WaveData Wave;
};

struct WaveCollection {
    std::vector<std::unique_ptr<TWaveCollectionItem>> Items;
};

}  // namespace kelvane
