#include "media/Blit.h"

#include <cstring>

namespace kelvane {

// The colour-key loop is a plain select that the compiler turns into vector compares and
// blends; AVX2 machines get a second copy picked at load time. GCC is asked for its full
// vectoriser also in builds below -O3 (clang vectorises such loops at -O2 already).
#if defined(__clang__)
#define KELVANE_VECTOR_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define KELVANE_VECTOR_KERNEL \
    __attribute__((target_clones("avx2", "default"), optimize("tree-vectorize", "vect-cost-model=dynamic")))
#endif

void CopyRow(uint32_t* dst, const uint32_t* src, int32_t count) {
    if (count > 0) std::memcpy(dst, src, static_cast<size_t>(count) * sizeof(uint32_t));
}

KELVANE_VECTOR_KERNEL
void CopyRowKeyed(uint32_t* __restrict dst, const uint32_t* __restrict src, int32_t count, uint32_t key) {
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t pixel = src[i];
        dst[i] = pixel != key ? pixel : dst[i];
    }
}

void ScaleRow(uint32_t* __restrict dst, const uint32_t* __restrict srcRow, int32_t count, int64_t sx,
              int64_t ax) {
    for (int32_t i = 0; i < count; ++i) {
        dst[i] = srcRow[sx >> 16];
        sx += ax;
    }
}

void ScaleRowKeyed(uint32_t* __restrict dst, const uint32_t* __restrict srcRow, int32_t count, int64_t sx,
                   int64_t ax, uint32_t key) {
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t pixel = srcRow[sx >> 16];
        sx += ax;
        if (pixel != key) dst[i] = pixel;
    }
}

void SampleRow(uint32_t* __restrict dst, const uint32_t* __restrict picture, int32_t stride, int32_t count,
               int64_t sx, int64_t sy, int64_t ax, int64_t ay) {
    for (int32_t i = 0; i < count; ++i) {
        dst[i] = picture[(sy >> 16) * stride + (sx >> 16)];
        sx += ax;
        sy += ay;
    }
}

void SampleRowKeyed(uint32_t* __restrict dst, const uint32_t* __restrict picture, int32_t stride,
                    int32_t count, int64_t sx, int64_t sy, int64_t ax, int64_t ay, uint32_t key) {
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t pixel = picture[(sy >> 16) * stride + (sx >> 16)];
        sx += ax;
        sy += ay;
        if (pixel != key) dst[i] = pixel;
    }
}

}  // namespace kelvane
