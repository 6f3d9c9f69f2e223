// The Windows-1250 table checked byte for byte against the C library's own converter.

#include <gtest/gtest.h>

#include <iconv.h>

#include <cerrno>

#include "base/Windows1250.h"

namespace kelvane {
namespace {

TEST(Cp1250, EveryByteMatchesTheSystemConverter) {
    iconv_t converter = iconv_open("UTF-32LE", "CP1250");
    if (converter == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no CP1250 converter installed";
    int undefined = 0;
    for (int byte = 0; byte < 256; ++byte) {
        char in = static_cast<char>(byte);
        unsigned char out[4] = {};
        char* inPointer = &in;
        char* outPointer = reinterpret_cast<char*>(out);
        size_t inLeft = 1;
        size_t outLeft = sizeof(out);
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1)) {
            // Bytes the code page leaves unused become the control code of the same value.
            EXPECT_EQ(errno, EILSEQ) << byte;
            EXPECT_EQ(Windows1250ToUnicode(static_cast<uint8_t>(byte)), static_cast<char32_t>(byte)) << byte;
            ++undefined;
            continue;
        }
        const char32_t expected =
            out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<char32_t>(out[3]) << 24);
        EXPECT_EQ(Windows1250ToUnicode(static_cast<uint8_t>(byte)), expected) << byte;
    }
    iconv_close(converter);
    EXPECT_EQ(undefined, 5);
}

}  // namespace
}  // namespace kelvane
