// RIFF WAVE payloads: reading the format and samples, and writing them back.

#include "media/WaveFile.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "base/ByteReader.h"

namespace kelvane {

namespace {

constexpr const char* WaveInvalid = "Wave is invalid";

bool IdIs(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

}  // namespace

WaveData ReadWaveFile(const uint8_t* data, size_t size) {
    if (size < 12 || !IdIs(data, "RIFF") || !IdIs(data + 8, "WAVE")) throw std::runtime_error(WaveInvalid);
    ByteReader reader(data, size, WaveInvalid);
    reader.Skip(12);
    WaveData wave;
    while (reader.Remaining() >= 8) {
        const uint8_t* id = reader.Bytes(4);
        const uint32_t declared = reader.U32();
        const size_t length = std::min<size_t>(declared, reader.Remaining());
        const uint8_t* body = reader.Bytes(length);
        if (IdIs(id, "fmt "))
            wave.Format.assign(body, body + length);
        else if (IdIs(id, "data"))
            wave.Samples.assign(body, body + length);
    }
    return wave;
}

std::vector<uint8_t> BuildWaveFile(const std::vector<uint8_t>& format, const std::vector<uint8_t>& samples) {
    ByteWriter out;
    out.Append(std::string("RIFF"));
    out.U32(static_cast<uint32_t>(4 + 8 + format.size() + 8 + samples.size()));
    out.Append(std::string("WAVEfmt "));
    out.U32(static_cast<uint32_t>(format.size()));
    out.Append(format);
    out.Append(std::string("data"));
    out.U32(static_cast<uint32_t>(samples.size()));
    out.Append(samples);
    return std::move(out.Bytes());
}

}  // namespace kelvane
