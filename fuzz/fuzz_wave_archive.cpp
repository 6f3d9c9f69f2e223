// libFuzzer main of the wave archive entry (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kelvane::fuzz::RunFuzzEntry(kelvane::fuzz::FuzzWaveArchive, data, size);
}
