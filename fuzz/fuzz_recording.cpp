// libFuzzer main of the whole-recording verifier's entry (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kelvane::fuzz::RunFuzzEntry(kelvane::fuzz::FuzzRecording, data, size);
}
