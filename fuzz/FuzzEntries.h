#pragma once
// One entry point per input format. Each runs a byte string through the same code the
// game runs on that kind of file, catches only the errors that code is documented to
// throw, and checks what it got back. Anything else leaves the entry as an exception:
// libFuzzer's thin mains (fuzz/fuzz_*.cpp) turn that into a crash, and the regression
// test (tests/media/fuzz_regressions_test.cpp) into a failed expectation.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvane::fuzz {

// A broken invariant. Deliberately not a std::exception, so that no handler of the
// game's (which discards std::exception) can swallow it.
struct Finding {
    std::string What;
};

void FuzzPictureArchive(const uint8_t* data, size_t size);  // ReadPictureArchive, patterns, drawing
void FuzzWaveArchive(const uint8_t* data, size_t size);     // ReadWaveArchive, conversion
void FuzzDib(const uint8_t* data, size_t size);             // DecodeDib ("TDIB" payloads)
void FuzzBmp(const uint8_t* data, size_t size);             // DecodeBmpFile (ship pictures)
void FuzzWave(const uint8_t* data, size_t size);            // ReadWaveFile ("Wave.WAVE" payloads)
void FuzzDefinition(const uint8_t* data, size_t size);      // ProfileFile and the integer rule
void FuzzConsole(const uint8_t* data, size_t size);         // DoConsoleCommand, line by line
void FuzzReplay(const uint8_t* data, size_t size);          // ReadReplay, and writing it back
void FuzzRecording(const uint8_t* data, size_t size);       // a whole recording read and verified by playing it
void FuzzCheck(const uint8_t* data, size_t size);           // kelvane --check on a definition, script and picture

// The body shared by the libFuzzer mains: a Finding is printed and aborts.
int RunFuzzEntry(void (*entry)(const uint8_t*, size_t), const uint8_t* data, size_t size);

}  // namespace kelvane::fuzz
