// libFuzzer main of the network datagram decoder's entry (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kelvane::fuzz::RunFuzzEntry(kelvane::fuzz::FuzzPacket, data, size);
}
