#include "media/Blit.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace kelvane {

// The colour-key loop is a plain select that the compiler turns into vector compares and
// blends; on x86-64, AVX2 machines get a second copy picked at load time (other processors
// take their baseline vectors). GCC is asked for its full vectoriser also in builds below
// -O3 (clang vectorises such loops at -O2 already).
#if defined(__x86_64__)
#define KELVANE_CLONES target_clones("avx2", "default"),
#else
#define KELVANE_CLONES
#endif
#if defined(__clang__)
#define KELVANE_VECTOR_KERNEL __attribute__((KELVANE_CLONES))
#else
#define KELVANE_VECTOR_KERNEL \
    __attribute__((KELVANE_CLONES optimize("tree-vectorize", "vect-cost-model=dynamic")))
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

namespace {

void SampleRowKeyedScalar(uint32_t* __restrict dst, const uint32_t* __restrict picture, int32_t stride,
                          int32_t count, int64_t sx, int64_t sy, int64_t ax, int64_t ay, uint32_t key) {
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t pixel = picture[(sy >> 16) * stride + (sx >> 16)];
        sx += ax;
        sy += ay;
        if (pixel != key) dst[i] = pixel;
    }
}

}  // namespace

// Rotated sprites are most of a busy frame's drawing, and their rows cannot be vectorised
// by the compiler, so AVX2 machines gather eight pixels at a time. Every sample position
// of the row lies inside the picture, below 2^30 in 16.16, so 32-bit lanes hold them; the
// lane sums wrap like the exact sums would and are exact wherever they are used. The
// version is picked at load time among the definitions of this file.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KELVANE_GATHER_VERSIONS 1
__attribute__((target("default")))
void SampleRowKeyedBest(uint32_t* __restrict dst, const uint32_t* __restrict picture, int32_t stride,
                        int32_t count, int64_t sx, int64_t sy, int64_t ax, int64_t ay, uint32_t key) {
    SampleRowKeyedScalar(dst, picture, stride, count, sx, sy, ax, ay, key);
}

namespace {

// All eight lanes hold value modulo 2^32.
__attribute__((target("avx2"))) inline __m256i Lanes(int64_t value) {
    return _mm256_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

// Lane i holds start + i * step, modulo 2^32.
__attribute__((target("avx2"))) inline __m256i Progression(int64_t start, int64_t step) {
    const __m256i laneIndex = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    return _mm256_add_epi32(Lanes(start), _mm256_mullo_epi32(laneIndex, Lanes(step)));
}

}  // namespace

__attribute__((target("avx2")))
void SampleRowKeyedBest(uint32_t* __restrict dst, const uint32_t* __restrict picture, int32_t stride,
                        int32_t count, int64_t sx, int64_t sy, int64_t ax, int64_t ay, uint32_t key) {
    __m256i x = Progression(sx, ax), y = Progression(sy, ay);
    const __m256i stepX = Lanes(static_cast<int64_t>(static_cast<uint64_t>(ax) * 8u));
    const __m256i stepY = Lanes(static_cast<int64_t>(static_cast<uint64_t>(ay) * 8u));
    const __m256i rowStride = Lanes(stride), keyColour = Lanes(key);
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i index = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(y, 16), rowStride),
                                               _mm256_srai_epi32(x, 16));
        const __m256i pixels = _mm256_i32gather_epi32(reinterpret_cast<const int*>(picture), index, 4);
        __m256i* target = reinterpret_cast<__m256i*>(dst + i);
        const __m256i kept = _mm256_loadu_si256(target);
        _mm256_storeu_si256(target, _mm256_blendv_epi8(pixels, kept, _mm256_cmpeq_epi32(pixels, keyColour)));
        x = _mm256_add_epi32(x, stepX);
        y = _mm256_add_epi32(y, stepY);
    }
    SampleRowKeyedScalar(dst + i, picture, stride, count - i, sx + i * ax, sy + i * ay, ax, ay, key);
}
#endif

void SampleRowKeyed(uint32_t* dst, const uint32_t* picture, int32_t stride, int32_t count, int64_t sx,
                    int64_t sy, int64_t ax, int64_t ay, uint32_t key) {
#if KELVANE_GATHER_VERSIONS
    SampleRowKeyedBest(dst, picture, stride, count, sx, sy, ax, ay, key);
#else
    SampleRowKeyedScalar(dst, picture, stride, count, sx, sy, ax, ay, key);
#endif
}

}  // namespace kelvane
