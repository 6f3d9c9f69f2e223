#pragma once
// The RIFF WAVE payload of a sound item ("Wave.WAVE").

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/WaveItem.h"

namespace kelvane {

// Reads a RIFF WAVE file: bytes 0..3 "RIFF" and 8..11 "WAVE" ("Wave is invalid"
// otherwise; the RIFF size is not checked). Chunks follow to the end of the data, each
// an identifier, a 4-byte size and the bytes, with no pad byte after an odd size.
// "fmt " is kept byte for byte, "data" gives the samples (the last of each wins),
// other chunks are skipped. Fewer than 8 bytes left end the walk; a chunk whose size runs
// past the end takes the bytes that are there and ends it.
WaveData ReadWaveFile(const uint8_t* data, size_t size);
inline WaveData ReadWaveFile(const std::vector<uint8_t>& file) {
    return ReadWaveFile(file.data(), file.size());
}

// A RIFF WAVE file holding the format chunk and then the data chunk, no pad bytes,
// so that ReadWaveFile gives back the same Format and Samples.
std::vector<uint8_t> BuildWaveFile(const std::vector<uint8_t>& format, const std::vector<uint8_t>& samples);

}  // namespace kelvane
